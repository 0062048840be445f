#include "windows/contactgrid.h"

#include "button/fontobject.h"
#include "windows/contactgridaccessibility.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <limits>

namespace dialvault {

namespace {

constexpr QRgb gridColour = 0xFFFF0000; // lines between the cells
constexpr QRgb fixedGridColour = 0xFF000000; // lines of the fixed row and column
constexpr QRgb beyondColour = 0xFF808080; // beyond the last row and column

constexpr int fixedColumnWidth = 16;
// Name, phone number, note, row number: together they fit beside the
// vertical scroll bar in the layout's 409 pixels.
constexpr int columnWidths[] = {110, 90, 110, 55};
constexpr int otherColumnWidth = 64;
// A heading's sort arrow: a triangle this wide and half as high, apart from
// the heading's text.
constexpr int arrowWidth = 7;
constexpr int arrowGap = 3;

FontObject gridFont()
{
    FontObject font; // Tahoma 8.25 points, normal weight
    font.charset = 178;
    return font;
}

Qt::Alignment alignmentOf(const QVariant &value)
{
    if (!value.isValid())
        return Qt::AlignLeft | Qt::AlignVCenter;
    return Qt::Alignment(value.toInt());
}

} // namespace

ContactGrid::ContactGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_cells(systemColour(5))
{
    setFont(gridFont().toQFont());
    m_rowPixels = fontMetrics().height() + 2;
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(fixedColumnWidth);
    makeReadable(this);
}

void ContactGrid::setModel(QAbstractItemModel *model)
{
    if (m_shown)
        m_shown->disconnect(this);
    m_shown = model;
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &ContactGrid::modelReset);
        for (auto signal :
             {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
              &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
            connect(model, signal, this, &ContactGrid::modelChanged);
        connect(model, &QAbstractItemModel::layoutChanged, this, &ContactGrid::modelChanged);
        connect(model, &QAbstractItemModel::dataChanged, viewport(), qOverload<>(&QWidget::update));
        connect(model, &QAbstractItemModel::headerDataChanged, viewport(),
                qOverload<>(&QWidget::update));
    }
    modelReset();
}

void ContactGrid::setCellColour(Colour colour)
{
    m_cells = colour;
    viewport()->update();
}

int ContactGrid::topRow() const
{
    return verticalScrollBar()->value();
}

int ContactGrid::rowCount() const
{
    return m_shown ? m_shown->rowCount() : 0;
}

int ContactGrid::columnCount() const
{
    return m_shown ? m_shown->columnCount() : 0;
}

int ContactGrid::columnWidth(int column) const
{
    return column < int(std::size(columnWidths)) ? columnWidths[column] : otherColumnWidth;
}

int ContactGrid::columnLeft(int column) const
{
    int left = fixedColumnWidth - horizontalScrollBar()->value();
    for (int before = 0; before < column; ++before)
        left += columnWidth(before);
    return left;
}

int ContactGrid::rowTop(int row) const
{
    const qint64 top = qint64(m_rowPixels) * (1 + qint64(row) - topRow());
    return int(std::clamp<qint64>(top, std::numeric_limits<int>::min() / 2,
                                  std::numeric_limits<int>::max() / 2));
}

QRect ContactGrid::cellRect(int row, int column) const
{
    return {column < 0 ? 0 : columnLeft(column), row < 0 ? 0 : rowTop(row),
            column < 0 ? fixedColumnWidth : columnWidth(column), m_rowPixels};
}

int ContactGrid::rowsInView() const
{
    return std::max(0, (viewport()->height() - m_rowPixels) / m_rowPixels);
}

bool ContactGrid::inSelection(Cell cell) const
{
    if (std::binary_search(m_markedRows.cbegin(), m_markedRows.cend(), cell.row))
        return true;
    return cell.row >= std::min(m_current.row, m_selectionEnd.row)
        && cell.row <= std::max(m_current.row, m_selectionEnd.row)
        && cell.column >= std::min(m_current.column, m_selectionEnd.column)
        && cell.column <= std::max(m_current.column, m_selectionEnd.column);
}

ContactGrid::Part ContactGrid::partAt(QPoint point, Cell &cell) const
{
    cell = {};
    const int columns = columnCount();
    if (point.x() >= fixedColumnWidth) {
        for (int column = 0; column < columns; ++column) {
            const int left = columnLeft(column);
            if (point.x() >= left && point.x() < left + columnWidth(column))
                cell.column = column;
        }
    }
    if (point.y() < m_rowPixels) {
        if (columns > 0 && point.x() < fixedColumnWidth)
            return Part::Corner;
        return cell.column >= 0 ? Part::Heading : Part::Beyond;
    }
    const qint64 row = qint64(topRow()) + (point.y() - m_rowPixels) / m_rowPixels;
    if (columns == 0 || row >= rowCount())
        return Part::Beyond;
    cell.row = int(row);
    if (point.x() < fixedColumnWidth)
        return Part::RowHeading;
    return cell.column >= 0 ? Part::Cell : Part::Beyond;
}

void ContactGrid::modelReset()
{
    m_markedRows.clear();
    const bool any = rowCount() > 0 && columnCount() > 0;
    m_current = any ? Cell{0, 0} : Cell{};
    m_selectionEnd = m_current;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    modelChanged();
}

void ContactGrid::modelChanged()
{
    const int rows = rowCount();
    const int columns = columnCount();
    const auto clamped = [&](Cell cell) {
        if (rows == 0 || columns == 0)
            return Cell{};
        return Cell{std::clamp(cell.row, 0, rows - 1), std::clamp(cell.column, 0, columns - 1)};
    };
    m_current = clamped(m_current);
    m_selectionEnd = clamped(m_selectionEnd);
    updateScrollBars();
    viewport()->update();
    Q_EMIT cellsChanged();
}

void ContactGrid::updateScrollBars()
{
    const int page = std::max(1, rowsInView());
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - page));
    verticalScrollBar()->setPageStep(page);
    int content = 0;
    for (int column = 0; column < columnCount(); ++column)
        content += columnWidth(column);
    const int width = std::max(1, viewport()->width() - fixedColumnWidth);
    horizontalScrollBar()->setRange(0, std::max(0, content - width));
    horizontalScrollBar()->setPageStep(width);
}

void ContactGrid::select(Cell corner, Cell end)
{
    m_markedRows.clear();
    m_current = corner;
    m_selectionEnd = end;
    viewport()->update();
    Q_EMIT cellsChanged();
}

void ContactGrid::setCurrentCell(int row, int column)
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return;
    const Cell cell{std::clamp(row, 0, rows - 1), std::clamp(column, 0, columns - 1)};
    select(cell, cell);
}

void ContactGrid::selectRows(const QList<int> &rows)
{
    QList<int> marked;
    for (const int row : rows) {
        if (row >= 0 && row < rowCount())
            marked.append(row);
    }
    if (marked.isEmpty() || columnCount() == 0) {
        select(m_current, m_current);
        return;
    }
    const Cell first{marked.first(), 0};
    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    select(first, {first.row, columnCount() - 1});
    m_markedRows = marked;
    ensureVisible(first);
}

void ContactGrid::ensureVisible(Cell cell)
{
    const int page = std::max(1, rowsInView());
    if (cell.row < topRow())
        verticalScrollBar()->setValue(cell.row);
    else if (cell.row >= topRow() + page)
        verticalScrollBar()->setValue(cell.row - page + 1);

    const int left = columnLeft(cell.column) + horizontalScrollBar()->value() - fixedColumnWidth;
    const int right = left + columnWidth(cell.column);
    const int width = viewport()->width() - fixedColumnWidth;
    if (left < horizontalScrollBar()->value())
        horizontalScrollBar()->setValue(left);
    else if (right > horizontalScrollBar()->value() + width)
        horizontalScrollBar()->setValue(std::min(left, right - width));
}

bool ContactGrid::viewportEvent(QEvent *event)
{
    // The viewport shrinks and grows as the scroll bars come and go.
    if (event->type() == QEvent::Resize)
        updateScrollBars();
    return QAbstractScrollArea::viewportEvent(event);
}

void ContactGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ContactGrid::paintCellLines(QPainter &painter, const QRect &rect, QRgb colour)
{
    // Whole device pixels, as many as make one pixel or more: a pen's line
    // on a scaled screen straddles device pixels and leaves part of them
    // grey between the cells.
    const qreal scale = painter.device()->devicePixelRatioF();
    const int width = std::max(1, int(std::ceil(scale)));
    const int left = qRound(rect.left() * scale);
    const int top = qRound(rect.top() * scale);
    const int right = qRound((rect.right() + 1) * scale);
    const int bottom = qRound((rect.bottom() + 1) * scale);
    painter.save();
    painter.scale(1 / scale, 1 / scale);
    painter.fillRect(QRect(right - width, top, width, bottom - top), QColor::fromRgb(colour));
    painter.fillRect(QRect(left, bottom - width, right - left, width), QColor::fromRgb(colour));
    painter.restore();
}

void ContactGrid::paintCell(QPainter &painter, Cell cell, const QRect &rect) const
{
    // Each cell owns the grid line on its right and bottom edge.
    const QRect inside = rect.adjusted(0, 0, -1, -1);
    const bool isCurrent = cell.row == m_current.row && cell.column == m_current.column;
    const bool highlighted = !isCurrent && inSelection(cell);
    painter.fillRect(inside,
                     highlighted ? palette().brush(QPalette::Highlight)
                                 : QBrush(QColor::fromRgb(toQRgb(m_cells))));
    const QModelIndex index = m_shown->index(cell.row, cell.column);
    const QRect textRect = inside.adjusted(2, 0, -2, 0);
    const QString text = fontMetrics().elidedText(m_shown->data(index).toString(), Qt::ElideRight,
                                                  textRect.width());
    painter.setPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(
        textRect,
        int(alignmentOf(m_shown->data(index, Qt::TextAlignmentRole))) | Qt::TextSingleLine, text);
    paintCellLines(painter, rect, gridColour);
    if (isCurrent && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(inside.adjusted(0, 0, -1, -1));
    }
}

void ContactGrid::paintFixedCell(QPainter &painter, const QRect &rect, const QString &text,
                                 Qt::Alignment alignment, const QVariant &sortOrder) const
{
    painter.fillRect(rect, palette().brush(QPalette::Button));
    painter.setPen(palette().color(QPalette::ButtonText));
    QRect textRect = rect.adjusted(2, 0, -3, -1);
    if (sortOrder.isValid()) {
        // On the side away from the text, which gives up the room for it.
        const bool textOnRight
            = QStyle::visualAlignment(layoutDirection(), alignment) & Qt::AlignRight;
        const int left = textOnRight ? textRect.left() : textRect.right() + 1 - arrowWidth;
        if (textOnRight)
            textRect.setLeft(textRect.left() + arrowWidth + arrowGap);
        else
            textRect.setRight(textRect.right() - arrowWidth - arrowGap);
        paintSortArrow(painter, {left, textRect.center().y()},
                       sortOrder.toInt() == Qt::DescendingOrder);
    }
    painter.drawText(textRect, int(alignment) | Qt::TextSingleLine,
                     fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    paintCellLines(painter, rect, fixedGridColour);
}

void ContactGrid::paintSortArrow(QPainter &painter, QPoint leftMiddle, bool descending) const
{
    // A row of pixels at a time: crisp at any size, with no smoothing.
    const QColor colour = palette().color(QPalette::ButtonText);
    const int rows = (arrowWidth + 1) / 2;
    const int top = leftMiddle.y() - rows / 2;
    for (int row = 0; row < rows; ++row) {
        // Ascending points up: the narrow row on top.
        const int inset = descending ? row : rows - 1 - row;
        painter.fillRect(QRect(leftMiddle.x() + inset, top + row, arrowWidth - 2 * inset, 1),
                         colour);
    }
}

void ContactGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), QColor::fromRgb(beyondColour));
    const int rows = rowCount();
    const int columns = columnCount();
    if (columns == 0)
        return;
    const int width = viewport()->width();
    const int height = viewport()->height();
    // Only the rows in view are asked for, however many the model has.
    const int top = topRow();
    const int end = int(std::min<qint64>(rows, qint64(top) + rowsInView() + 1));

    painter.setClipRect(QRect(fixedColumnWidth, 0, width - fixedColumnWidth, height));
    for (int column = 0; column < columns; ++column) {
        const QRect heading = cellRect(-1, column);
        if (heading.left() >= width)
            break;
        if (heading.right() < fixedColumnWidth)
            continue;
        paintFixedCell(
            painter, heading, m_shown->headerData(column, Qt::Horizontal).toString(),
            alignmentOf(m_shown->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)),
            m_shown->headerData(column, Qt::Horizontal, sortOrderRole));
        for (int row = top; row < end; ++row)
            paintCell(painter, {row, column}, cellRect(row, column));
    }
    painter.setClipping(false);
    for (int row = top; row < end; ++row)
        paintFixedCell(painter, cellRect(row, -1),
                       m_shown->headerData(row, Qt::Vertical).toString(),
                       Qt::AlignLeft | Qt::AlignVCenter);
    paintFixedCell(painter, cellRect(-1, -1), {}, {});
}

void ContactGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    Cell cell;
    const int lastRow = rowCount() - 1;
    const int lastColumn = columnCount() - 1;
    switch (partAt(event->position().toPoint(), cell)) {
    case Part::Cell:
        if (event->modifiers() & Qt::ShiftModifier)
            select(m_current, cell);
        else
            select(cell, cell);
        m_selecting = true;
        break;
    case Part::Heading:
        if (lastRow >= 0)
            select({0, cell.column}, {lastRow, cell.column});
        Q_EMIT headingClicked(cell.column);
        break;
    case Part::RowHeading:
        select({cell.row, 0}, {cell.row, lastColumn});
        break;
    case Part::Corner:
        if (lastRow >= 0)
            select({0, 0}, {lastRow, lastColumn});
        break;
    case Part::Beyond:
        break;
    }
}

void ContactGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        m_selecting = false;
        return QAbstractScrollArea::mouseMoveEvent(event);
    }
    // Past an edge the end stops at the row or column beyond it, which
    // ensureVisible brings into view: dragging on scrolls a step per move.
    const QPoint point = event->position().toPoint();
    Cell cell = m_selectionEnd;
    const int offset = point.y() - m_rowPixels;
    cell.row = offset < 0 ? topRow() - 1 : topRow() + std::min(offset / m_rowPixels, rowsInView());
    for (int column = 0; column < columnCount(); ++column) {
        if (point.x() >= columnLeft(column))
            cell.column = column;
    }
    if (point.x() < fixedColumnWidth)
        cell.column = std::max(0, m_selectionEnd.column - 1);
    cell.row = std::clamp(cell.row, 0, rowCount() - 1);
    select(m_current, cell);
    ensureVisible(cell);
}

void ContactGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    m_selecting = false;
}

void ContactGrid::keyPressEvent(QKeyEvent *event)
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return QAbstractScrollArea::keyPressEvent(event);
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    Cell target = extend ? m_selectionEnd : m_current;
    const int page = std::max(1, rowsInView());
    switch (event->key()) {
    case Qt::Key_Up:
        --target.row;
        break;
    case Qt::Key_Down:
        ++target.row;
        break;
    case Qt::Key_Left:
        --target.column;
        break;
    case Qt::Key_Right:
        ++target.column;
        break;
    case Qt::Key_PageUp:
        target.row -= page;
        break;
    case Qt::Key_PageDown:
        target.row = int(std::min<qint64>(qint64(target.row) + page, rows - 1));
        break;
    case Qt::Key_Home:
        (control ? target.row : target.column) = 0;
        break;
    case Qt::Key_End:
        if (control)
            target.row = rows - 1;
        else
            target.column = columns - 1;
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    target.row = std::clamp(target.row, 0, rows - 1);
    target.column = std::clamp(target.column, 0, columns - 1);
    if (extend)
        select(m_current, target);
    else
        select(target, target);
    ensureVisible(target);
}

void ContactGrid::focusInEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void ContactGrid::focusOutEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

} // namespace dialvault
