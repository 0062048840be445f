#pragma once

#include "printing/pagecanvas.h"

#include <QPainter>

class QPagedPaintDevice;

namespace dialvault {

// Pages drawn with a QPainter on a paged device: the printer that Qt's print
// dialogs set up, or the pages of its print preview.
class PainterCanvas final : public PageCanvas
{
public:
    explicit PainterCanvas(QPagedPaintDevice &device);

    QSizeF printableSize() const override;
    void newPage() override;
    void drawLine(const QTextLayout &layout, const QTextLine &line, QPointF origin) override;
    void drawRule(const QLineF &rule, qreal width) override;
    Status finish() override;

private:
    QPagedPaintDevice &m_device;
    QPainter m_painter;
    bool m_started = false;
};

} // namespace dialvault
