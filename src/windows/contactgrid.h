#pragma once

#include "button/colour.h"

#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QList>
#include <QPointer>

namespace dialvault {

// The contact list's read-only grid: one fixed heading row and one fixed left
// column in the button face with black lines, red lines between the cells,
// grey (#808080) beyond the last row and column, the layout's Tahoma font. It
// has a current cell and a rectangular selection from it to a second corner,
// moved by the mouse and the keys (Shift extends; a heading selects its
// column, a fixed left cell its row, the corner everything).
//
// It draws only the rows in view and keeps nothing per row, so a model of a
// million rows costs what one of a thousand does; all rows are one height and
// the vertical scroll bar counts rows.
class ContactGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ContactGrid(QWidget *parent = nullptr);

    // A heading's sort arrow: headerData(column, Qt::Horizontal,
    // sortOrderRole) is the Qt::SortOrder the rows are in by that column,
    // and nothing when they are not ordered by it.
    static constexpr int sortOrderRole = Qt::UserRole;

    // Shows `model`'s rows and columns: DisplayRole texts with their
    // TextAlignmentRole, under the horizontal headings with their sort
    // arrows. Not owned.
    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return m_shown; }

    // The cells' background, as red + 256 * green + 65536 * blue.
    void setCellColour(Colour colour);
    Colour cellColour() const { return m_cells; }

    // Positions count the model's rows and columns from 0; -1 when it has none.
    int currentRow() const { return m_current.row; }
    int currentColumn() const { return m_current.column; }
    // The selection's other corner; the current cell when one cell is selected.
    int selectionEndRow() const { return m_selectionEnd.row; }
    int selectionEndColumn() const { return m_selectionEnd.column; }
    // The first row in view.
    int topRow() const;
    int rowHeight() const { return m_rowPixels; }
    // A cell's place in the viewport, grid line included; row -1 is the
    // heading row and column -1 the fixed left column.
    QRect cellRect(int row, int column) const;
    // Makes the cell current and the only one selected, as near as the
    // rows and columns allow.
    void setCurrentCell(int row, int column);
    // Selects whole rows, however many and wherever they stand (rows of the
    // model, in any order): the first becomes the current cell's row and is
    // brought into view. A click or key that moves the selection lets them go.
    void selectRows(const QList<int> &rows);
    // The rows selectRows() marked, ascending; empty when none are.
    const QList<int> &selectedRows() const { return m_markedRows; }

Q_SIGNALS:
    // The current cell or the selection moved, or the rows changed under them.
    void cellsChanged();
    // A click on the heading of `column`, after it selected the column.
    void headingClicked(int column);

protected:
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Cell
    {
        int row = -1;
        int column = -1;
    };
    enum class Part { Cell, Heading, RowHeading, Corner, Beyond };

    int rowCount() const;
    int columnCount() const;
    int columnWidth(int column) const;
    int columnLeft(int column) const; // in the viewport
    int rowTop(int row) const; // in the viewport
    int rowsInView() const; // rows wholly in view
    Part partAt(QPoint point, Cell &cell) const;
    bool inSelection(Cell cell) const;
    void modelReset();
    void modelChanged();
    void updateScrollBars();
    void select(Cell corner, Cell end);
    void ensureVisible(Cell cell);

    // The lines a cell owns, on its right and bottom edge.
    static void paintCellLines(QPainter &painter, const QRect &rect, QRgb colour);
    void paintCell(QPainter &painter, Cell cell, const QRect &rect) const;
    void paintSortArrow(QPainter &painter, QPoint leftMiddle, bool descending) const;
    void paintFixedCell(QPainter &painter, const QRect &rect, const QString &text,
                        Qt::Alignment alignment, const QVariant &sortOrder = {}) const;

    QPointer<QAbstractItemModel> m_shown;
    Colour m_cells;
    int m_rowPixels = 0;
    Cell m_current;
    Cell m_selectionEnd;
    bool m_selecting = false; // a mouse drag is moving the selection's end
    QList<int> m_markedRows; // ascending
};

} // namespace dialvault
