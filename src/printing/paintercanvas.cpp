#include "printing/paintercanvas.h"

#include <QPagedPaintDevice>
#include <QTextLayout>

namespace dialvault {

namespace {

constexpr qreal unitsPerInch = 720;

} // namespace

PainterCanvas::PainterCanvas(QPagedPaintDevice &device)
    : m_device(device)
{ }

QSizeF PainterCanvas::printableSize() const
{
    return m_device.pageLayout().paintRect(QPageLayout::Point).size() * (unitsPerInch / 72);
}

void PainterCanvas::newPage()
{
    if (!m_started) {
        m_started = m_painter.begin(&m_device);
        // The painter's origin is the printable area's corner already.
        m_painter.scale(m_device.logicalDpiX() / unitsPerInch,
                        m_device.logicalDpiY() / unitsPerInch);
        m_painter.setRenderHint(QPainter::Antialiasing);
        return;
    }
    m_device.newPage();
}

void PainterCanvas::drawLine(const QTextLayout &, const QTextLine &line, QPointF origin)
{
    if (m_painter.isActive())
        line.draw(&m_painter, origin);
}

void PainterCanvas::drawRule(const QLineF &rule, qreal width)
{
    if (!m_painter.isActive())
        return;
    m_painter.setPen(QPen(Qt::black, width));
    m_painter.drawLine(rule);
}

Status PainterCanvas::finish()
{
    if (!m_started)
        newPage();
    const bool ended = !m_painter.isActive() || m_painter.end();
    if (m_started && ended)
        return {};
    return {{1, QStringLiteral("the printer could not be drawn on"), FailureCause::Other}};
}

} // namespace dialvault
