#include "layout/windowdrag.h"

#include "desktop/windowsystem.h"
#include "layout/twips.h"

#include <QMouseEvent>
#include <QWidget>

namespace dialvault {

WindowDrag::WindowDrag(QWidget *window, WindowSystem &windows)
    : QObject(window)
    , m_window(window)
    , m_windows(windows)
{
    window->installEventFilter(this);
}

void WindowDrag::install(QWidget *window, WindowSystem &windows)
{
    if (!window->findChild<WindowDrag *>(QString(), Qt::FindDirectChildrenOnly))
        new WindowDrag(window, windows);
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Controls take their own presses; one that reaches the window from a
        // control that let it pass still belongs to that control.
        const auto *press = static_cast<QMouseEvent *>(event);
        if (m_window->childAt(press->position().toPoint()))
            return false;
        // Where the compositor moves windows, it follows the pointer itself
        // until the button is released.
        if (m_windows.startSystemMove(m_window)) {
            m_dragging = 0;
            return true;
        }
        m_dragging = 1;
        m_grabX = float(press->position().x() * twipsPerPixel);
        m_grabY = float(press->position().y() * twipsPerPixel);
        return true;
    }
    case QEvent::MouseMove: {
        if (m_dragging != 1)
            return false;
        const QPoint pointer = m_windows.pointerPosition();
        // Top first, then Left, each from whole pixels times 15.
        const float top = float(pointer.y() * twipsPerPixel) - m_grabY;
        m_window->move(m_window->x(), qRound(top / twipsPerPixel));
        const float left = float(pointer.x() * twipsPerPixel) - m_grabX;
        m_window->move(qRound(left / twipsPerPixel), m_window->y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragging != 1)
            return false;
        m_dragging = 0;
        return true;
    default:
        return false;
    }
}

} // namespace dialvault
