#include "layout/formwindow.h"

#include "desktop/windowsystem.h"
#include "layout/layoutresources.h"
#include "layout/layouttext.h"
#include "layout/twips.h"
#include "layout/windowdrag.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <utility>

namespace dialvault {

FormWindow::FormWindow(const WindowLayout &layout, WindowSystem &windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_layout(layout)
    , m_windows(windows)
{
    setObjectName(layout.name);
    setWindowTitle(shownText(layout.caption));
    if (layout.hasIcon)
        setWindowIcon(bookIcon());
    setLayoutDirection(Qt::LeftToRight);
    setFont(layout.font.toQFont());
    setCursor(pointerCursor(layout.pointer, devicePixelRatioF()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    WindowDrag::install(this, windows);
}

void FormWindow::unload()
{
    m_unloaded = true;
    m_windows.unloadWindow(this);
}

void FormWindow::paintEvent(QPaintEvent *)
{
    // Read again for a screen of another scale: the window moved there, or
    // this is its first showing.
    if (m_pictureScale != devicePixelRatioF()) {
        m_pictureScale = devicePixelRatioF();
        m_picture = layoutPicture(m_layout.picture, m_pictureScale);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), layoutColour(m_layout.backColour));
    painter.drawPixmap(0, 0, m_picture);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    // A window only hidden would come back with what it showed then: old
    // rows, old typing.
    event->accept();
    if (!m_unloaded)
        unload();
}

void FormWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_shownBefore, true))
        return;
    // The first control in tab order that can take the focus takes it.
    QWidget *first = nullptr;
    int firstIndex = 0;
    for (std::size_t i = 0; i < m_made.size(); ++i) {
        const ControlLayout &control = m_layout.controls[i];
        auto *widget = qobject_cast<QWidget *>(m_made[i]);
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
