#include "button/paintedbutton.h"

#include "button/colour.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace dialvault {

namespace {

// Mouse button numbers of the events: 1 left, 2 right, 4 middle.
short buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

short buttonMask(Qt::MouseButtons buttons)
{
    return short((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
                 | (buttons & Qt::MiddleButton ? 4 : 0));
}

// Shift state of the events: Shift 1, Ctrl 2, Alt 4.
short shiftState(Qt::KeyboardModifiers modifiers)
{
    return short((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                 | (modifiers & Qt::AltModifier ? 4 : 0));
}

// The Windows virtual-key code of a key (US layout for punctuation); 0 when
// the key has none.
short virtualKey(const QKeyEvent *event)
{
    static const QHash<int, short> keypadCodes{{Qt::Key_Asterisk, 106},
                                               {Qt::Key_Plus, 107},
                                               {Qt::Key_Minus, 109},
                                               {Qt::Key_Period, 110},
                                               {Qt::Key_Slash, 111}};
    static const QHash<int, short> codes{
        {Qt::Key_Backspace, 8},
        {Qt::Key_Tab, 9},
        {Qt::Key_Backtab, 9},
        {Qt::Key_Clear, 12},
        {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17},
        {Qt::Key_Alt, 18},
        {Qt::Key_Pause, 19},
        {Qt::Key_CapsLock, 20},
        {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},
        {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35},
        {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},
        {Qt::Key_Print, 44},
        {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},
        {Qt::Key_Menu, 93},
        {Qt::Key_NumLock, 144},
        {Qt::Key_ScrollLock, 145},
        // Shifted digits are reported by the digit key they are on.
        {Qt::Key_ParenRight, '0'},
        {Qt::Key_Exclam, '1'},
        {Qt::Key_At, '2'},
        {Qt::Key_NumberSign, '3'},
        {Qt::Key_Dollar, '4'},
        {Qt::Key_Percent, '5'},
        {Qt::Key_AsciiCircum, '6'},
        {Qt::Key_Ampersand, '7'},
        {Qt::Key_Asterisk, '8'},
        {Qt::Key_ParenLeft, '9'},
        {Qt::Key_Semicolon, 186},
        {Qt::Key_Colon, 186},
        {Qt::Key_Equal, 187},
        {Qt::Key_Plus, 187},
        {Qt::Key_Comma, 188},
        {Qt::Key_Less, 188},
        {Qt::Key_Minus, 189},
        {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190},
        {Qt::Key_Greater, 190},
        {Qt::Key_Slash, 191},
        {Qt::Key_Question, 191},
        {Qt::Key_QuoteLeft, 192},
        {Qt::Key_AsciiTilde, 192},
        {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219},
        {Qt::Key_Backslash, 220},
        {Qt::Key_Bar, 220},
        {Qt::Key_BracketRight, 221},
        {Qt::Key_BraceRight, 221},
        {Qt::Key_Apostrophe, 222},
        {Qt::Key_QuoteDbl, 222}};

    const int key = event->key();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return short(96 + key - Qt::Key_0);
        if (keypadCodes.contains(key))
            return keypadCodes.value(key);
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return short(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return short(112 + key - Qt::Key_F1);
    return codes.value(key, 0);
}

constexpr short spaceKey = 32;
constexpr short leftKey = 37;
constexpr short upKey = 38;
constexpr short rightKey = 39;
constexpr short downKey = 40;

qint32 readInt(const PropertyBag &bag, const QString &key, qint32 defaultValue)
{
    bool ok = false;
    const qint32 value = bag.read(key, defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

// Colours may be stored as signed 32-bit values (system-colour references),
// so they are read wide and kept bit for bit.
Colour readColour(const PropertyBag &bag, const QString &key, Colour defaultValue)
{
    bool ok = false;
    const qlonglong value = bag.read(key, defaultValue).toLongLong(&ok);
    return ok ? Colour(quint32(value)) : defaultValue;
}

bool readBool(const PropertyBag &bag, const QString &key, bool defaultValue)
{
    return bag.read(key, defaultValue).toBool();
}

} // namespace

PaintedButton::PaintedButton(QWidget *parent)
    : QWidget(parent)
{
    face_.shiftedRect.left = 2;
    face_.shiftedRect.top = 2;
    face_.BuildPalette();
    face_.invalidate = [this] { update(); };

    setFocusPolicy(Qt::StrongFocus);
    // Moves with no button held are reported too.
    setMouseTracking(true);
    // Every pixel comes from the opaque surface image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(qApp, &QApplication::focusChanged, this, &PaintedButton::updateDefaultFlag);
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
    Q_EMIT propertyChanged(QStringLiteral("BCOL"));
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
    Q_EMIT propertyChanged(QStringLiteral("FCOL"));
}

qint32 PaintedButton::buttonType() const
{
    return face_.ButtonType;
}

void PaintedButton::setButtonType(qint32 type)
{
    face_.ButtonType = type;
    applySize();
    face_.Redraw(ButtonFace::Up, true);
    Q_EMIT propertyChanged(QStringLiteral("BTYPE"));
}

QString PaintedButton::caption() const
{
    return face_.Caption;
}

void PaintedButton::setCaption(const QString &caption)
{
    face_.Caption = caption;
    face_.UpdateAccessKey();
    face_.Redraw(ButtonFace::Up, true);
    Q_EMIT propertyChanged(QStringLiteral("TX"));
}

bool PaintedButton::buttonEnabled() const
{
    return face_.Enabled;
}

void PaintedButton::setButtonEnabled(bool enabled)
{
    face_.Enabled = enabled;
    face_.Redraw(ButtonFace::Up, true);
    QWidget::setEnabled(enabled);
    Q_EMIT propertyChanged(QStringLiteral("ENAB"));
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
    face_.Redraw(ButtonFace::Up, true);
    Q_EMIT propertyChanged(QStringLiteral("FONT"));
}

qint32 PaintedButton::colorScheme() const
{
    return face_.ColorScheme;
}

void PaintedButton::setColorScheme(qint32 scheme)
{
    face_.ColorScheme = scheme;
    face_.BuildPalette();
    face_.Redraw(ButtonFace::Up, true);
    Q_EMIT propertyChanged(QStringLiteral("COLTYPE"));
}

bool PaintedButton::showFocusRect() const
{
    return face_.ShowFocusRect;
}

void PaintedButton::setShowFocusRect(bool show)
{
    face_.ShowFocusRect = show;
    face_.Redraw(face_.lastState, true);
    Q_EMIT propertyChanged(QStringLiteral("FOCUSR"));
}

WId PaintedButton::hWnd() const
{
    return winId();
}

void PaintedButton::initNew()
{
    face_.Enabled = true;
    face_.ShowFocusRect = true;
    face_.ButtonType = 2;
    face_.ColorScheme = 1;
    face_.BackColor = systemColour(15);
    face_.ForeColor = systemColour(18);
}

void PaintedButton::readProperties(const PropertyBag &bag)
{
    face_.ButtonType = readInt(bag, QStringLiteral("BTYPE"), 2);
    face_.Caption = bag.read(QStringLiteral("TX"), QString()).toString();
    face_.Enabled = readBool(bag, QStringLiteral("ENAB"), true);
    const QVariant font = bag.read(QStringLiteral("FONT"), QVariant());
    if (font.metaType() == QMetaType::fromType<FontObject>())
        face_.font = std::make_shared<FontObject>(font.value<FontObject>());
    face_.ColorScheme = readInt(bag, QStringLiteral("COLTYPE"), 1);
    face_.ShowFocusRect = readBool(bag, QStringLiteral("FOCUSR"), true);
    face_.BackColor = readColour(bag, QStringLiteral("BCOL"), systemColour(15));
    face_.ForeColor = readColour(bag, QStringLiteral("FCOL"), systemColour(18));

    QWidget::setEnabled(face_.Enabled);
    face_.BuildPalette();
    face_.UpdateAccessKey();
    // Settings read into a button that is already laid out must not keep the
    // window shape of the previous style.
    if (face_.H > 0)
        setMask(face_.BuildRegion());
    face_.Redraw(ButtonFace::Up, true);
}

void PaintedButton::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("BTYPE"), face_.ButtonType);
    bag.write(QStringLiteral("TX"), face_.Caption);
    bag.write(QStringLiteral("ENAB"), face_.Enabled);
    bag.write(QStringLiteral("FONT"), QVariant::fromValue(*face_.font));
    bag.write(QStringLiteral("COLTYPE"), face_.ColorScheme);
    bag.write(QStringLiteral("FOCUSR"), face_.ShowFocusRect);
    bag.write(QStringLiteral("BCOL"), face_.BackColor);
    bag.write(QStringLiteral("FCOL"), face_.ForeColor);
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

void PaintedButton::paintEvent(QPaintEvent *event)
{
    const QImage &surface = face_.surface();
    if (surface.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect(), surface, event->rect());
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
            face_.Redraw(ButtonFace::Up);
        else if (button == 1)
            face_.Redraw(ButtonFace::Down);
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
        face_.Redraw(ButtonFace::Down);
    Q_EMIT MouseDown(button, shift, x, y);
}

void PaintedButton::release(short button, short shift, float x, float y)
{
    if (button != 2)
        face_.Redraw(ButtonFace::Up);
    Q_EMIT MouseUp(button, shift, x, y);
}

void PaintedButton::click()
{
    if (lastButton_ != 1 || !face_.Enabled)
        return;
    face_.Redraw(ButtonFace::Up, true);
    // Show the released look before the host's handler, which may block in a modal box.
    repaint();
    Q_EMIT Click();
}

void PaintedButton::applySize()
{
    face_.setSize(width(), height());
    // The widget keeps its own copy of the shape; the face's region is never released here.
    setMask(face_.BuildRegion());
    face_.Redraw(ButtonFace::Up, true);
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

} // namespace dialvault
