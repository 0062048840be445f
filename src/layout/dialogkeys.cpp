#include "layout/dialogkeys.h"

#include "button/paintedbutton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace dialvault {

namespace {

bool canPress(const PaintedButton *button)
{
    return button && button->isEnabled() && button->isVisible();
}

} // namespace

DialogKeys::DialogKeys(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // Key events go to the focused control, not to the window, so they are
    // watched where the application hands them out.
    qApp->installEventFilter(this);
}

DialogKeys *DialogKeys::install(QWidget *window, PaintedButton *defaultButton,
                                PaintedButton *cancelButton)
{
    auto *keys = window->findChild<DialogKeys *>(QString(), Qt::FindDirectChildrenOnly);
    if (!keys)
        keys = new DialogKeys(window);
    keys->setButtons(defaultButton, cancelButton);
    return keys;
}

void DialogKeys::setButtons(PaintedButton *defaultButton, PaintedButton *cancelButton)
{
    if (m_defaultButton)
        m_defaultButton->setDefault(false);
    if (m_cancelButton)
        m_cancelButton->setCancel(false);
    m_defaultButton = defaultButton;
    m_cancelButton = cancelButton;
    if (m_defaultButton)
        m_defaultButton->setDefault(true);
    if (m_cancelButton)
        m_cancelButton->setCancel(true);
}

bool DialogKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    if (static_cast<QWidget *>(watched)->window() != m_window)
        return false;
    return route(static_cast<QKeyEvent *>(event));
}

bool DialogKeys::route(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    PaintedButton *target = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (modifiers == Qt::NoModifier && qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            target = m_defaultButton;
    } else if (event->key() == Qt::Key_Escape) {
        if (modifiers == Qt::NoModifier)
            target = m_cancelButton;
    } else if ((modifiers & Qt::AltModifier)
               && !(modifiers & (Qt::ControlModifier | Qt::MetaModifier))) {
        target = accessKeyTarget(event);
    }
    if (!canPress(target))
        return false;
    target->accessKeyPress();
    return true;
}

PaintedButton *DialogKeys::accessKeyTarget(const QKeyEvent *event) const
{
    const int key = event->key();
    // Letters are reported as their upper-case code; other keys lie beyond the BMP's range.
    if (key <= 0 || key > 0xFFFF)
        return nullptr;
    const QChar letter = QChar(key).toLower();
    const auto buttons = m_window->findChildren<PaintedButton *>();
    for (PaintedButton *button : buttons) {
        if (canPress(button) && button->accessKey() == letter)
            return button;
    }
    return nullptr;
}

} // namespace dialvault
