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
    m_face.shiftedRect.left = 2;
    m_face.shiftedRect.top = 2;
    m_face.buildPalette();
    m_face.enabled = isEnabled();
    m_face.invalidate = [this] { update(); };

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
    return m_face.backColour;
}

void PaintedButton::setBackColor(Colour colour)
{
    m_face.backColour = colour;
    m_face.buildPalette();
    m_face.redraw(m_face.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::BackColor));
}

Colour PaintedButton::foreColor() const
{
    return m_face.foreColour;
}

void PaintedButton::setForeColor(Colour colour)
{
    m_face.foreColour = colour;
    m_face.buildPalette();
    m_face.redraw(m_face.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::ForeColor));
}

ButtonStyle PaintedButton::buttonType() const
{
    return m_face.buttonType;
}

void PaintedButton::setButtonType(ButtonStyle type)
{
    m_face.buttonType = type;
    applySize();
    m_face.redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::ButtonType));
}

QString PaintedButton::caption() const
{
    return m_face.caption;
}

void PaintedButton::setCaption(const QString &caption)
{
    const bool renamed = caption != m_face.caption;
    m_face.caption = caption;
    m_face.updateAccessKey();
    m_face.redraw(Look::Up, true);
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
        m_face.redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::Enabled));
}

FontRef PaintedButton::fontObject() const
{
    return m_face.font;
}

void PaintedButton::setFontObject(FontRef font)
{
    // The surface always has a font to draw with; a null reference would
    // leave it none.
    if (!font)
        return;
    m_face.font = std::move(font);
    m_face.redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::Font));
}

ColourScheme PaintedButton::colorScheme() const
{
    return m_face.colourScheme;
}

void PaintedButton::setColorScheme(ColourScheme scheme)
{
    m_face.colourScheme = scheme;
    m_face.buildPalette();
    m_face.redraw(Look::Up, true);
    Q_EMIT propertyChanged(settingKey(Setting::ColorScheme));
}

bool PaintedButton::showFocusRect() const
{
    return m_face.showFocusRect;
}

void PaintedButton::setShowFocusRect(bool show)
{
    m_face.showFocusRect = show;
    m_face.redraw(m_face.lastState, true);
    Q_EMIT propertyChanged(settingKey(Setting::ShowFocusRect));
}

void PaintedButton::initNew()
{
    QWidget::setEnabled(true);
    m_face.showFocusRect = true;
    m_face.buttonType = ButtonStyle::Classic3D;
    m_face.colourScheme = ColourScheme::SystemColors;
    m_face.backColour = systemColour(15);
    m_face.foreColour = systemColour(18);
}

void PaintedButton::readProperties(const PropertyBag &bag)
{
    const ButtonSettings settings = readSettings(bag, m_face.font);
    const bool renamed = settings.caption != m_face.caption;
    m_face.buttonType = settings.buttonType;
    m_face.caption = settings.caption;
    m_face.font = settings.font;
    m_face.colourScheme = settings.colourScheme;
    m_face.showFocusRect = settings.showFocusRect;
    m_face.backColour = settings.backColour;
    m_face.foreColour = settings.foreColour;

    QWidget::setEnabled(settings.enabled);
    m_face.buildPalette();
    m_face.updateAccessKey();
    // Settings read into a button that is already laid out must not keep the
    // window shape of the previous style.
    if (m_face.height > 0)
        setMask(m_face.buildRegion());
    m_face.redraw(Look::Up, true);
    if (renamed)
        announceName();
}

void PaintedButton::writeProperties(PropertyBag &bag) const
{
    writeSettings(bag,
                  {m_face.buttonType, m_face.caption, buttonEnabled(), m_face.font,
                   m_face.colourScheme, m_face.showFocusRect, m_face.backColour,
                   m_face.foreColour});
}

QChar PaintedButton::accessKey() const
{
    return m_face.accessKey;
}

void PaintedButton::setDefault(bool isDefault)
{
    m_isDefault = isDefault;
    updateDefaultFlag();
}

bool PaintedButton::isDefault() const
{
    return m_isDefault;
}

void PaintedButton::setCancel(bool isCancel)
{
    m_isCancel = isCancel;
}

bool PaintedButton::isCancel() const
{
    return m_isCancel;
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
    m_lastButton = 1;
    click();
}

const ButtonFace &PaintedButton::face() const
{
    return m_face;
}

quint8 PaintedButton::lastButton() const
{
    return m_lastButton;
}

quint8 PaintedButton::lastKeyCode() const
{
    return m_lastKeyCode;
}

void PaintedButton::paintEvent(QPaintEvent *)
{
    // Drawn again at the screen's resolution whenever that is new: the first
    // showing, a move to another screen, a change of its scale.
    if (m_face.image().devicePixelRatio() != devicePixelRatioF()) {
        m_face.setScale(devicePixelRatioF());
        m_face.setSize(width(), height());
        m_face.redraw(m_face.lastState, true);
    }
    const QImage &image = m_face.image();
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
    m_leftPressed = button == 1;
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
        const bool inside
            = x >= 0.0f && x <= float(m_face.width) && y >= 0.0f && y <= float(m_face.height);
        if (!inside)
            m_face.redraw(Look::Up);
        else if (button == 1)
            m_face.redraw(Look::Down);
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
    if (button == 1 && std::exchange(m_leftPressed, false)
        && rect().contains(event->position().toPoint()))
        click();
}

void PaintedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The double click stands in for the second press; its release clicks nothing.
    m_leftPressed = false;
    if (event->button() == Qt::LeftButton && m_lastButton == 1)
        press(1, 1, 1.0f, 1.0f);
}

void PaintedButton::keyPressEvent(QKeyEvent *event)
{
    short keyCode = virtualKey(event);
    short shift = shiftState(event->modifiers());
    Q_EMIT KeyDown(keyCode, shift);
    // Codes that do not fit the byte are not kept, so they cannot pass for another key.
    m_lastKeyCode = keyCode >= 0 && keyCode <= 255 ? quint8(keyCode) : 0;

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
        short character = short(text.at(0).unicode());
        Q_EMIT KeyPress(character);
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
    if (m_lastKeyCode == spaceKey && keyCode == spaceKey) {
        release(1, 1, 1.0f, 1.0f);
        m_lastButton = 1;
        click();
    }
}

void PaintedButton::focusInEvent(QFocusEvent *)
{
    m_face.hasFocus = true;
    m_face.redraw(m_face.lastState, true);
}

void PaintedButton::focusOutEvent(QFocusEvent *)
{
    m_face.hasFocus = false;
    m_face.redraw(m_face.lastState, true);
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
        m_face.redraw(m_face.lastState, true);
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void PaintedButton::press(short button, short shift, float x, float y)
{
    m_lastButton = quint8(button);
    if (button != 2)
        m_face.redraw(Look::Down);
    Q_EMIT MouseDown(button, shift, x, y);
}

void PaintedButton::release(short button, short shift, float x, float y)
{
    if (button != 2)
        m_face.redraw(Look::Up);
    Q_EMIT MouseUp(button, shift, x, y);
}

void PaintedButton::click()
{
    if (m_lastButton != 1 || !isEnabled())
        return;
    m_face.redraw(Look::Up, true);
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
    m_face.setSize(width(), height());
    // The widget keeps its own copy of the shape; the face's region is never released here.
    setMask(m_face.buildRegion());
    m_face.redraw(Look::Up, true);
}

void PaintedButton::updateDefaultFlag()
{
    const auto *focused = qobject_cast<PaintedButton *>(QApplication::focusWidget());
    const bool anotherHasFocus = focused && focused != this && focused->window() == window();
    const bool flag = m_isDefault && !anotherHasFocus;
    if (flag == m_face.defaultFlag)
        return;
    m_face.defaultFlag = flag;
    m_face.redraw(m_face.lastState, true);
}

void PaintedButton::updateEnabled()
{
    // Disabled by itself or with its window, the button draws disabled;
    // enabled again, it draws released.
    m_face.enabled = isEnabled();
    m_face.redraw(Look::Up, true);
}

} // namespace dialvault
