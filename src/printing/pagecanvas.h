#pragma once

#include "store/storeerror.h"

#include <QLineF>
#include <QPointF>
#include <QSizeF>

class QTextLayout;
class QTextLine;

namespace dialvault {

// A surface that printed pages are drawn on: a printer, or a PDF file. Every
// length is in tenths of a point (720 to the inch), from the top-left corner
// of the page's printable area; fonts are sized in pixels of that unit.
class PageCanvas
{
public:
    virtual ~PageCanvas() = default;

    // The printable area of every page.
    virtual QSizeF printableSize() const = 0;
    // Ends the page being drawn, if any, and starts the next.
    virtual void newPage() = 0;
    // Draws `line` of `layout` with the layout's origin at `origin`.
    virtual void drawLine(const QTextLayout &layout, const QTextLine &line, QPointF origin) = 0;
    // A straight line `width` wide.
    virtual void drawRule(const QLineF &rule, qreal width) = 0;
    // Ends the last page. The first failure of the surface, if any.
    virtual Status finish() = 0;
};

} // namespace dialvault
