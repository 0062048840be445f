#include "windows/contactgridaccessibility.h"

#include "windows/contactgrid.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>

#include <algorithm>
#include <limits>

namespace dialvault {

namespace {

// A reader asks for the selected cells to speak them; past a screenful it
// could not, and an interface for each of a million cells would hold the
// window up.
constexpr int mostListed = 1000;
// The cells a person has walked through are kept for the reader up to this
// many, then forgotten together; a reader asks again for those it needs.
constexpr int mostKept = 10000;

int clampedInt(qint64 n)
{
    return int(std::min<qint64>(n, std::numeric_limits<int>::max()));
}

int rowsOf(const ContactGrid *grid)
{
    return grid && grid->model() ? grid->model()->rowCount() : 0;
}

int columnsOf(const ContactGrid *grid)
{
    return grid && grid->model() ? grid->model()->columnCount() : 0;
}

// The table's children: the column headings first, then the cells row by
// row. Row -1 is the heading row; -1 when the index does not fit an int.
int childIndex(const ContactGrid *grid, int row, int column)
{
    const qint64 index = (qint64(row) + 1) * columnsOf(grid) + column;
    return index <= std::numeric_limits<int>::max() ? int(index) : -1;
}

// The selection, as the grid shows it: the rows it marked one by one, whole,
// or else the rectangle from the current cell to its other corner.
struct Selection
{
    const QList<int> &marked; // ascending
    int top = 0;
    int bottom = -1;
    int left = 0;
    int right = -1;

    explicit Selection(const ContactGrid *grid)
        : marked(grid->selectedRows())
    {
        if (!marked.isEmpty()) {
            top = marked.first();
            bottom = marked.last();
            right = columnsOf(grid) - 1;
            return;
        }
        if (grid->currentRow() < 0 || grid->currentColumn() < 0)
            return;
        top = std::min(grid->currentRow(), grid->selectionEndRow());
        bottom = std::max(grid->currentRow(), grid->selectionEndRow());
        left = std::min(grid->currentColumn(), grid->selectionEndColumn());
        right = std::max(grid->currentColumn(), grid->selectionEndColumn());
    }
    bool hasRow(int row) const
    {
        if (!marked.isEmpty())
            return std::binary_search(marked.cbegin(), marked.cend(), row);
        return row >= top && row <= bottom;
    }
    bool contains(int row, int column) const
    {
        return hasRow(row) && column >= left && column <= right;
    }
    qint64 rows() const { return marked.isEmpty() ? bottom - top + 1 : marked.size(); }
    qint64 columns() const { return right - left + 1; }
    // The n-th selected row, n below rows().
    int row(qint64 n) const { return marked.isEmpty() ? int(top + n) : marked.at(n); }
};

// A heading (row -1) or a cell of the grid. It has no object of its own and
// reads the model each time it is asked, so it never goes stale.
class GridItemAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridItemAccessible(ContactGrid *grid, int row, int column)
        : m_grid(grid)
        , m_row(row)
        , m_column(column)
    { }

    bool isValid() const override
    {
        return m_grid && m_row < rowsOf(m_grid) && m_column < columnsOf(m_grid);
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        QAccessibleInterface *owner = table();
        return owner ? owner->window() : nullptr;
    }

    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return table(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        if (m_row < 0)
            return m_grid->model()->headerData(m_column, Qt::Horizontal).toString();
        return m_grid->model()->data(m_grid->model()->index(m_row, m_column)).toString();
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect inView = m_grid->cellRect(m_row, m_column);
        return {m_grid->viewport()->mapToGlobal(inView.topLeft()), inView.size()};
    }

    QAccessible::Role role() const override
    {
        return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.readOnly = true;
        if (!shown())
            state.offscreen = true;
        if (m_row < 0)
            return state;
        state.focusable = true;
        state.selectable = true;
        const bool current = m_row == m_grid->currentRow() && m_column == m_grid->currentColumn();
        state.focused = current && m_grid->hasFocus();
        state.selected = Selection(m_grid).contains(m_row, m_column);
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface && m_row >= 0)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && Selection(m_grid).contains(m_row, m_column);
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }

private:
    // Within the part of the viewport that shows cells: below the heading
    // row (a heading always is) and right of the fixed left column.
    bool shown() const
    {
        const QRect inView = m_grid->cellRect(m_row, m_column);
        const QRect viewport = m_grid->viewport()->rect();
        const bool rowShown
            = m_row < 0 || (m_row >= m_grid->topRow() && inView.top() < viewport.bottom());
        return rowShown && inView.right() > m_grid->cellRect(-1, -1).right()
            && inView.left() < viewport.right();
    }

    QPointer<ContactGrid> m_grid;
    const int m_row;
    const int m_column;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(ContactGrid *grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    { }

    ~GridAccessible() override { forgetItems(); }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override
    {
        return clampedInt((qint64(rowsOf(grid())) + 1) * columnsOf(grid()));
    }

    QAccessibleInterface *child(int index) const override
    {
        const int columns = columnsOf(grid());
        if (index < 0 || index >= childCount() || columns == 0)
            return nullptr;
        return item(index / columns - 1, index % columns);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *gridItem = dynamic_cast<const GridItemAccessible *>(child);
        if (!gridItem || !gridItem->isValid() || gridItem->table() != this)
            return -1;
        return childIndex(grid(), gridItem->rowIndex(), gridItem->columnIndex());
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint point = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!grid()->viewport()->rect().contains(point))
            return nullptr;
        const int heading = grid()->rowHeight();
        const int row = point.y() < heading
            ? -1
            : clampedInt(qint64(grid()->topRow()) + (point.y() - heading) / heading);
        for (int column = 0; column < columnsOf(grid()); ++column) {
            const QRect cell = grid()->cellRect(row, column);
            if (point.x() >= cell.left() && point.x() <= cell.right()
                && point.x() > grid()->cellRect(-1, -1).right())
                return row < rowsOf(grid()) ? item(row, column) : nullptr;
        }
        return nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        if (!grid()->hasFocus() || grid()->currentRow() < 0)
            return nullptr;
        return item(grid()->currentRow(), grid()->currentColumn());
    }

    int rowCount() const override { return rowsOf(grid()); }
    int columnCount() const override { return columnsOf(grid()); }
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }

    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowsOf(grid()) || column < 0 || column >= columnsOf(grid()))
            return nullptr;
        return item(row, column);
    }

    int selectedCellCount() const override
    {
        const Selection selection(grid());
        return clampedInt(selection.rows() * selection.columns());
    }

    QList<QAccessibleInterface *> selectedCells() const override
    {
        const Selection selection(grid());
        QList<QAccessibleInterface *> cells;
        for (qint64 n = 0; n < selection.rows(); ++n) {
            for (int column = selection.left; column <= selection.right; ++column) {
                if (cells.size() == mostListed)
                    return cells;
                cells.append(item(selection.row(n), column));
            }
        }
        return cells;
    }

    QString columnDescription(int column) const override
    {
        return grid()->model() ? grid()->model()->headerData(column, Qt::Horizontal).toString()
                               : QString();
    }
    QString rowDescription(int row) const override
    {
        return grid()->model() ? grid()->model()->headerData(row, Qt::Vertical).toString()
                               : QString();
    }

    // A column is selected when the selection spans every row, a row when
    // it spans every column (a heading or the fixed left cell was clicked).
    int selectedColumnCount() const override
    {
        const Selection selection(grid());
        return spansAllRows(selection) ? int(selection.columns()) : 0;
    }
    int selectedRowCount() const override
    {
        const Selection selection(grid());
        return spansAllColumns(selection) ? int(selection.rows()) : 0;
    }
    QList<int> selectedColumns() const override
    {
        const Selection selection(grid());
        QList<int> columns;
        if (spansAllRows(selection)) {
            for (int column = selection.left; column <= selection.right; ++column)
                columns.append(column);
        }
        return columns;
    }
    QList<int> selectedRows() const override
    {
        const Selection selection(grid());
        QList<int> rows;
        if (spansAllColumns(selection)) {
            for (qint64 n = 0; n < selection.rows() && rows.size() < mostListed; ++n)
                rows.append(selection.row(n));
        }
        return rows;
    }
    bool isColumnSelected(int column) const override
    {
        const Selection selection(grid());
        return spansAllRows(selection) && column >= selection.left && column <= selection.right;
    }
    bool isRowSelected(int row) const override
    {
        const Selection selection(grid());
        return spansAllColumns(selection) && selection.hasRow(row);
    }

    // The selection is the grid's own, moved by the keys and the mouse.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    void modelChange(QAccessibleTableModelChangeEvent *) override { forgetItems(); }

    // Called only between a reader's questions, when no item is in use.
    void forgetItems()
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
        m_items.clear();
    }
    void trimItems()
    {
        if (m_items.size() > mostKept)
            forgetItems();
    }

    QAccessibleInterface *item(int row, int column) const
    {
        const int index = childIndex(grid(), row, column);
        if (index < 0)
            return nullptr;
        if (QAccessibleInterface *known = QAccessible::accessibleInterface(m_items.value(index)))
            return known;
        auto *made = new GridItemAccessible(grid(), row, column);
        m_items.insert(index, QAccessible::registerAccessibleInterface(made));
        return made;
    }

private:
    ContactGrid *grid() const { return static_cast<ContactGrid *>(widget()); }

    bool spansAllRows(const Selection &selection) const
    {
        return selection.rows() > 0 && selection.rows() == rowsOf(grid());
    }
    bool spansAllColumns(const Selection &selection) const
    {
        return selection.rows() > 0 && selection.left == 0
            && selection.right == columnsOf(grid()) - 1;
    }

    // Only the items a reader has asked for, by child index.
    mutable QHash<int, QAccessible::Id> m_items;
};

QList<QAccessibleInterface *> GridItemAccessible::columnHeaderCells() const
{
    auto *table = static_cast<GridAccessible *>(this->table());
    QAccessibleInterface *heading = table ? table->item(-1, m_column) : nullptr;
    return heading ? QList<QAccessibleInterface *>{heading} : QList<QAccessibleInterface *>{};
}

QAccessibleInterface *gridInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String(ContactGrid::staticMetaObject.className()))
        return nullptr;
    auto *grid = qobject_cast<ContactGrid *>(object);
    return grid ? new GridAccessible(grid) : nullptr;
}

// Tells a listening reader what changed in the grid: the rows, and the cell
// that has the focus.
class GridAnnouncer : public QObject
{
public:
    explicit GridAnnouncer(ContactGrid *grid)
        : QObject(grid)
        , m_grid(grid)
    {
        connect(m_grid, &ContactGrid::cellsChanged, this, &GridAnnouncer::cellsChanged);
        m_grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // Qt names the grid itself as focused after this event; the cell
        // follows, once that is done.
        if (event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(this, &GridAnnouncer::focusCurrent, Qt::QueuedConnection);
        return false;
    }

private:
    GridAccessible *table() const
    {
        return dynamic_cast<GridAccessible *>(QAccessible::queryAccessibleInterface(m_grid));
    }

    void cellsChanged()
    {
        if (!QAccessible::isActive())
            return;
        const Shape now{m_grid->model(), rowsOf(m_grid), columnsOf(m_grid)};
        if (now != m_shape) {
            m_shape = now;
            if (GridAccessible *known = table())
                known->forgetItems();
            QAccessibleTableModelChangeEvent reset(m_grid,
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            QAccessible::updateAccessibility(&reset);
        }
        focusCurrent();
    }

    void focusCurrent()
    {
        if (!QAccessible::isActive() || !m_grid->hasFocus() || m_grid->currentRow() < 0)
            return;
        const int index = childIndex(m_grid, m_grid->currentRow(), m_grid->currentColumn());
        if (index < 0)
            return;
        if (GridAccessible *known = table())
            known->trimItems();
        QAccessibleEvent focus(m_grid, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }

    struct Shape
    {
        const QObject *model = nullptr;
        int rows = 0;
        int columns = 0;
        bool operator==(const Shape &) const = default;
    };

    ContactGrid *m_grid;
    Shape m_shape;
};

} // namespace

void makeReadable(ContactGrid *grid)
{
    static const bool installed = [] {
        QAccessible::installFactory(gridInterface);
        return true;
    }();
    Q_UNUSED(installed);
    new GridAnnouncer(grid);
}

} // namespace dialvault
