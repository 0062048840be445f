#include "button/paintedbutton.h"

#include "button/buttonaccessibility.h"
#include "button/buttonsettings.h"
#include "button/colour.h"
#include "button/inputcodes.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace dialvault {

PaintedButton::PaintedButton(QWidget *parent)
    : QWidget(parent)
{
    face_.shiftedRect.left = 2;
    face_.shiftedRect.top = 2;
    face_.BuildPalette();
    face_.Enabled = isEnabled();
    face_.invalidate = [this] { update(); };

    setFocusPolicy(Qt::StrongFocus);
    // Moves with no button held are reported too.
    setMouseTracking(true);
    // Every pixel comes from the opaque surface image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(qApp, &QApplication::focusChanged, this, &PaintedButton::updateDefaultFlag);
    installButtonAccessibility();
}

PaintedButton::~PaintedButton()
{
    // QWidget's destructor hands the focus on, which would call back into a
    // button already half destroyed.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

Colour PaintedButton::backColor() const
{
    return face_.BackColor;
}

void PaintedButton::setBackColor(Colour colour)
{
    face_.BackColor = colour;
    face_.BuildPalette();
    face_.Redraw(face_.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::BackColor));
}

Colour PaintedButton::foreColor() const
{
    return face_.ForeColor;
}

void PaintedButton::setForeColor(Colour colour)
{
    face_.ForeColor = colour;
    face_.BuildPalette();
    face_.Redraw(face_.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::ForeColor));
}

ButtonStyle PaintedButton::buttonType() const
{
    return face_.ButtonType;
}

void PaintedButton::setButtonType(ButtonStyle type)
{
    face_.ButtonType = type;
    applySize();
    face_.Redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::ButtonType));
}

QString PaintedButton::caption() const
{
    return face_.Caption;
}

void PaintedButton::setCaption(const QString &caption)
{
    const bool renamed = caption != face_.Caption;
    face_.Caption = caption;
    face_.UpdateAccessKey();
    face_.Redraw(Look::Up, true);
    if (renamed)
        announceName();
    Q_EMIT propertyChanged(settingKey(Setting::Caption));
}

bool PaintedButton::buttonEnabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void PaintedButton::setButtonEnabled(bool enabled)
{
    const bool wasEnabled = isEnabled();
    // A change of the widget's state redraws it (changeEvent).
    QWidget::setEnabled(enabled);
    // Setting the property shows the released look even when that state
    // stays as it was.
    if (isEnabled() == wasEnabled)
        face_.Redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::Enabled));
}

FontRef PaintedButton::fontObject() const
{
    return face_.font;
}

void PaintedButton::setFontObject(FontRef font)
{
    // The surface always has a font to draw with; a null reference would
    // leave it none.
    if (!font)
        return;
    face_.font = std::move(font);
    face_.Redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::Font));
}

ColourScheme PaintedButton::colorScheme() const
{
    return face_.ColorScheme;
}

void PaintedButton::setColorScheme(ColourScheme scheme)
{
    face_.ColorScheme = scheme;
    face_.BuildPalette();
    face_.Redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::ColorScheme));
}

bool PaintedButton::showFocusRect() const
{
    return face_.ShowFocusRect;
}

void PaintedButton::setShowFocusRect(bool show)
{
    face_.ShowFocusRect = show;
    face_.Redraw(face_.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::ShowFocusRect));
}

WId PaintedButton::hWnd() const
{
    return winId();
}

void PaintedButton::initNew()
{
    QWidget::setEnabled(true);
    face_.ShowFocusRect = true;
    face_.ButtonType = ButtonStyle::Classic3D;
    face_.ColorScheme = ColourScheme::SystemColors;
    face_.BackColor = systemColour(15);
    face_.ForeColor = systemColour(18);
}

void PaintedButton::readProperties(const PropertyBag &bag)
{
    const ButtonSettings settings = readSettings(bag, face_.font);
    const bool renamed = settings.caption != face_.Caption;
    face_.ButtonType = settings.buttonType;
    face_.Caption = settings.caption;
    face_.font = settings.font;
    face_.ColorScheme = settings.colourScheme;
    face_.ShowFocusRect = settings.showFocusRect;
    face_.BackColor = settings.backColour;
    face_.ForeColor = settings.foreColour;

    QWidget::setEnabled(settings.enabled);
    face_.BuildPalette();
    face_.UpdateAccessKey();
    // Settings read into a button that is already laid out must not keep the
    // window shape of the previous style.
    if (face_.H > 0)
        setMask(face_.BuildRegion());
    face_.Redraw(Look::Up, true);
    if (renamed)
        announceName();
}

void PaintedButton::writeProperties(PropertyBag &bag) const
{
    writeSettings(bag,
                  {face_.ButtonType, face_.Caption, buttonEnabled(), face_.font, face_.ColorScheme,
                   face_.ShowFocusRect, face_.BackColor, face_.ForeColor});
}

QChar PaintedButton::accessKey() const
{
    return face_.accessKey;
}

void PaintedButton::setDefault(bool isDefault)
{
    isDefault_ = isDefault;
    updateDefaultFlag();
}

bool PaintedButton::isDefault() const
{
    return isDefault_;
}

void PaintedButton::setCancel(bool isCancel)
{
    isCancel_ = isCancel;
}

bool PaintedButton::isCancel() const
{
    return isCancel_;
}

void PaintedButton::accessKeyPress()
{
    click();
}

void PaintedButton::pressAsSpace()
{
    // The key never reaches a disabled button.
    if (!isEnabled())
        return;
    press(1, 1, 1.0f, 1.0f);
    release(1, 1, 1.0f, 1.0f);
    lastButton_ = 1;
    click();
}

const ButtonFace &PaintedButton::face() const
{
    return face_;
}

quint8 PaintedButton::lastButton() const
{
    return lastButton_;
}

quint8 PaintedButton::lastKeyCode() const
{
    return lastKeyCode_;
}

void PaintedButton::paintEvent(QPaintEvent *)
{
    // Drawn again at the screen's resolution whenever that is new: the first
    // showing, a move to another screen, a change of its scale.
    if (face_.image().devicePixelRatio() != devicePixelRatioF()) {
        face_.setScale(devicePixelRatioF());
        face_.setSize(width(), height());
        face_.Redraw(face_.lastState, true);
    }
    const QImage &image = face_.image();
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

void PaintedButton::resizeEvent(QResizeEvent *)
{
    applySize();
}

void PaintedButton::mousePressEvent(QMouseEvent *event)
{
    const short button = buttonCode(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    leftPressed_ = button == 1;
    press(button, shiftState(event->modifiers()), float(event->position().x()),
          float(event->position().y()));
}

void PaintedButton::mouseMoveEvent(QMouseEvent *event)
{
    short button = buttonMask(event->buttons());
    short shift = shiftState(event->modifiers());
    float x = float(event->position().x());
    float y = float(event->position().y());
    if (button < 2) {
        const bool inside = x >= 0.0f && x <= float(face_.W) && y >= 0.0f && y <= float(face_.H);
        if (!inside)
            face_.Redraw(Look::Up);
        else if (button == 1)
            face_.Redraw(Look::Down);
    }
    Q_EMIT MouseMove(button, shift, x, y);
}

void PaintedButton::mouseReleaseEvent(QMouseEvent *event)
{
    const short button = buttonCode(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    release(button, shiftState(event->modifiers()), float(event->position().x()),
            float(event->position().y()));
    // The platform's click: a left press and release, both over the control.
    if (button == 1 && std::exchange(leftPressed_, false)
        && rect().contains(event->position().toPoint()))
        click();
}

void PaintedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The double click stands in for the second press; its release clicks nothing.
    leftPressed_ = false;
    if (event->button() == Qt::LeftButton && lastButton_ == 1)
        press(1, 1, 1.0f, 1.0f);
}

void PaintedButton::keyPressEvent(QKeyEvent *event)
{
    short keyCode = virtualKey(event);
    short shift = shiftState(event->modifiers());
    Q_EMIT KeyDown(keyCode, shift);
    // Codes that do not fit the byte are not kept, so they cannot pass for another key.
    lastKeyCode_ = keyCode >= 0 && keyCode <= 255 ? quint8(keyCode) : 0;

    bool handled = true;
    if (keyCode == spaceKey)
        press(1, 1, 1.0f, 1.0f);
    else if (keyCode == rightKey || keyCode == downKey)
        focusNextPrevChild(true);
    else if (keyCode == leftKey || keyCode == upKey)
        focusNextPrevChild(false);
    else
        handled = false;

    // Characters typed with Alt are access keys, not text.
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & Qt::AltModifier)) {
        short keyAscii = short(text.at(0).unicode());
        Q_EMIT KeyPress(keyAscii);
    }
    event->setAccepted(handled);
}

void PaintedButton::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its press only; it is released once.
    if (event->isAutoRepeat())
        return;
    short keyCode = virtualKey(event);
    short shift = shiftState(event->modifiers());
    Q_EMIT KeyUp(keyCode, shift);
    if (lastKeyCode_ == spaceKey && keyCode == spaceKey) {
        release(1, 1, 1.0f, 1.0f);
        lastButton_ = 1;
        click();
    }
}

void PaintedButton::focusInEvent(QFocusEvent *)
{
    face_.hasFocus = true;
    face_.Redraw(face_.lastState, true);
}

void PaintedButton::focusOutEvent(QFocusEvent *)
{
    face_.hasFocus = false;
    face_.Redraw(face_.lastState, true);
}

void PaintedButton::changeEvent(QEvent *event)
{
    // The container's font, palette, style or direction reach the button as
    // these changes of its own.
    switch (event->type()) {
    case QEvent::EnabledChange:
        updateEnabled();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::LocaleChange:
    case QEvent::LayoutDirectionChange:
        face_.Redraw(face_.lastState, true);
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void PaintedButton::press(short button, short shift, float x, float y)
{
    lastButton_ = quint8(button);
    if (button != 2)
        face_.Redraw(Look::Down);
    Q_EMIT MouseDown(button, shift, x, y);
}

void PaintedButton::release(short button, short shift, float x, float y)
{
    if (button != 2)
        face_.Redraw(Look::Up);
    Q_EMIT MouseUp(button, shift, x, y);
}

void PaintedButton::click()
{
    if (lastButton_ != 1 || !isEnabled())
        return;
    face_.Redraw(Look::Up, true);
    // Show the released look before the host's handler, which may block in a modal box.
    repaint();
    Q_EMIT Click();
}

void PaintedButton::announceName()
{
    // A screen reader speaks the caption as the button's name.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void PaintedButton::applySize()
{
    face_.setSize(width(), height());
    // The widget keeps its own copy of the shape; the face's region is never released here.
    setMask(face_.BuildRegion());
    face_.Redraw(Look::Up, true);
}

void PaintedButton::updateDefaultFlag()
{
    const auto *focused = qobject_cast<PaintedButton *>(QApplication::focusWidget());
    const bool anotherHasFocus = focused && focused != this && focused->window() == window();
    const bool flag = isDefault_ && !anotherHasFocus;
    if (flag == face_.defaultFlag)
        return;
    face_.defaultFlag = flag;
    face_.Redraw(face_.lastState, true);
}

void PaintedButton::updateEnabled()
{
    // Disabled by itself or with its window, the button draws disabled;
    // enabled again, it draws released.
    face_.Enabled = isEnabled();
    face_.Redraw(Look::Up, true);
}

} // namespace dialvault
