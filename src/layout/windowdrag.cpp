#include "layout/windowdrag.h"

#include "layout/services.h"
#include "layout/twips.h"

#include <QMouseEvent>
#include <QWidget>

namespace dialvault {

WindowDrag::WindowDrag(QWidget *window)
    : QObject(window)
    , window_(window)
{
    window->installEventFilter(this);
}

void WindowDrag::install(QWidget *window)
{
    if (!window->findChild<WindowDrag *>(QString(), Qt::FindDirectChildrenOnly))
        new WindowDrag(window);
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Controls take their own presses; one that reaches the window from a
        // control that let it pass still belongs to that control.
        const auto *press = static_cast<QMouseEvent *>(event);
        if (window_->childAt(press->position().toPoint()))
            return false;
        dragging_ = 1;
        grabX_ = float(press->position().x() * twipsPerPixel);
        grabY_ = float(press->position().y() * twipsPerPixel);
        return true;
    }
    case QEvent::MouseMove: {
        if (dragging_ != 1)
            return false;
        const QPoint pointer = services().cursorPos();
        // Top first, then Left, each from whole pixels times 15.
        const float top = float(pointer.y() * twipsPerPixel) - grabY_;
        window_->move(window_->x(), qRound(top / twipsPerPixel));
        const float left = float(pointer.x() * twipsPerPixel) - grabX_;
        window_->move(qRound(left / twipsPerPixel), window_->y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (dragging_ != 1)
            return false;
        dragging_ = 0;
        return true;
    default:
        return false;
    }
}

} // namespace dialvault
