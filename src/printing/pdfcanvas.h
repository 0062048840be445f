#pragma once

#include "printing/pagecanvas.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <memory>

class QIODevice;

namespace dialvault {

// A PDF document written page by page as it is drawn, so that a printout of
// any length takes the memory of one page: each page goes to the device once
// it is complete, and what the pages share (the fonts) follows the last one.
//
// Text is drawn in the interface font, embedded whole so that every glyph
// (every dot) is there, whatever the reader has installed; glyphs of other
// fonts, for the rare letter it lacks, are drawn as outlines. Every glyph
// reads back as the letters it was shaped from, so that text copied or
// extracted from the file is the text that was printed: Persian letters take
// contextual forms that no character code stands for, and forms that two
// letters share (Persian and Arabic yeh, Persian and Arabic-Indic digits) say
// which of them each one is.
class PdfCanvas final : public PageCanvas
{
public:
    // Pages of `pageSize` points with `margin` points on every side, written
    // to `device`, which must be open.
    PdfCanvas(QIODevice &device, QSizeF pageSize, qreal margin, const QString &title);
    ~PdfCanvas() override;

    QSizeF printableSize() const override;
    void newPage() override;
    void drawLine(const QTextLayout &layout, const QTextLine &line, QPointF origin) override;
    void drawRule(const QLineF &rule, qreal width) override;
    Status finish() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
