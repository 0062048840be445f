#pragma once

#include "button/buttonface.h"
#include "button/propertybag.h"

#include <QWidget>

namespace dialvault {

// The program's own push button: keeps its properties in a ButtonFace, shows
// the face's surface, and turns mouse, keyboard and access-key input into
// Click. Every event argument is passed by reference, so a host handler
// connected directly can change what the button then does.
class PaintedButton : public QWidget
{
    Q_OBJECT

public:
    explicit PaintedButton(QWidget *parent = nullptr);
    ~PaintedButton() override;

    // The properties. Each set does its drawing, then names the property by
    // its storage key in propertyChanged.
    Colour backColor() const;
    void setBackColor(Colour colour);
    Colour foreColor() const;
    void setForeColor(Colour colour);
    ButtonStyle buttonType() const;
    void setButtonType(ButtonStyle type);
    QString caption() const;
    void setCaption(const QString &caption);
    // The Enabled property is the widget's own enabled state, so
    // QWidget::setEnabled sets it too. The button draws as the widget is
    // enabled: a disabled window draws it disabled, leaving this unchanged.
    bool buttonEnabled() const;
    void setButtonEnabled(bool enabled);
    FontRef fontObject() const;
    void setFontObject(FontRef font);
    ColourScheme colorScheme() const;
    void setColorScheme(ColourScheme scheme);
    bool showFocusRect() const;
    void setShowFocusRect(bool show);

    // First placement in a designer: the defaults, nothing drawn.
    void initNew();
    // Keys are read with case ignored; absent ones take their defaults.
    void readProperties(const PropertyBag &bag);
    // Stores all eight keys, none omitted.
    void writeProperties(PropertyBag &bag) const;

    // Lower case; null when the caption marks none.
    QChar accessKey() const;

    // The window's marks, set by DialogKeys. A default button shows as such
    // unless another painted button of its window holds the focus.
    void setDefault(bool isDefault);
    bool isDefault() const;
    void setCancel(bool isCancel);
    bool isCancel() const;

    // The access key, or Enter or Esc routed here by the window: clicks
    // unless the last mouse press was not the left button's.
    void accessKeyPress();
    // Space pressed and released, as a screen reader's press action: the
    // press, the release and the click the key gives; nothing when disabled.
    void pressAsSpace();

    const ButtonFace &face() const;
    quint8 lastButton() const;
    quint8 lastKeyCode() const;

Q_SIGNALS:
    void Click();
    void MouseDown(short &button, short &shift, float &x, float &y);
    void MouseMove(short &button, short &shift, float &x, float &y);
    void MouseUp(short &button, short &shift, float &x, float &y);
    void KeyPress(short &character);
    void KeyDown(short &keyCode, short &shift);
    void KeyUp(short &keyCode, short &shift);
    // The key is the changed property's storage key (see settingKey).
    void propertyChanged(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void press(short button, short shift, float x, float y);
    void release(short button, short shift, float x, float y);
    void click();
    void announceName();
    void applySize();
    void updateDefaultFlag();
    void updateEnabled();

    ButtonFace m_face;
    quint8 m_lastButton = 1;
    quint8 m_lastKeyCode = 0;
    bool m_isDefault = false;
    bool m_isCancel = false;
    // A left press seen here, so that the release over the control clicks.
    bool m_leftPressed = false;
};

} // namespace dialvault
