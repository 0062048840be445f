#include "layout/formwindow.h"

#include "layout/layoutresources.h"
#include "layout/services.h"
#include "layout/twips.h"
#include "layout/windowdrag.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <utility>

namespace dialvault {

FormWindow::FormWindow(const WindowLayout &layout, const ControlFactory &factory)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , layout_(layout)
    , picture_(layout.picture)
{
    setObjectName(layout.name);
    setWindowTitle(layout.caption);
    if (layout.hasIcon)
        setWindowIcon(bookIcon());
    setLayoutDirection(Qt::LeftToRight);
    setFont(layout.font.toQFont());
    setCursor(pointerCursor(layout.pointer));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    controls_ = buildControls(layout, this, factory);
    WindowDrag::install(this);
}

void FormWindow::unload()
{
    unloaded_ = true;
    services().unloadWindow(this);
}

void FormWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), layoutColour(layout_.backColour));
    painter.drawPixmap(0, 0, picture_);
}

void FormWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(shownBefore_, true))
        return;
    // The first control in tab order that can take the focus takes it.
    QWidget *first = nullptr;
    int firstIndex = 0;
    for (const ControlLayout &control : layout_.controls) {
        auto *widget = qobject_cast<QWidget *>(controls_.value(control.name));
        if (!widget || control.tabIndex < 0 || widget->focusPolicy() == Qt::NoFocus
            || !widget->isEnabled() || widget->isHidden())
            continue;
        if (!first || control.tabIndex < firstIndex) {
            first = widget;
            firstIndex = control.tabIndex;
        }
    }
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

} // namespace dialvault
