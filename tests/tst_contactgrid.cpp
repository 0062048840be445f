// The contact list's grid: the layout's colours where they belong, only the
// rows in view asked for at any size, and the current cell and selection as
// the keys and the mouse move them.
#include "windows/contactgrid.h"

#include <QAbstractTableModel>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

using namespace dialvault;

namespace {

// `rows` rows of four columns, noting which rows were asked for.
class CountingModel : public QAbstractTableModel
{
public:
    explicit CountingModel(int rows)
        : rows(rows)
    { }
    int rowCount(const QModelIndex & = {}) const override { return rows; }
    int columnCount(const QModelIndex & = {}) const override { return 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        asked.insert(index.row());
        return QStringLiteral("%1").arg(index.row());
    }

    int rows;
    mutable QSet<int> asked;
};

// Rows ordered by one column, as its heading says.
class OrderedModel : public CountingModel
{
public:
    OrderedModel(int column, Qt::SortOrder order)
        : CountingModel(3)
        , column(column)
        , order(order)
    { }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role == ContactGrid::sortOrderRole)
            return section == column ? QVariant(int(order)) : QVariant();
        return CountingModel::headerData(section, orientation, role);
    }

    int column;
    Qt::SortOrder order;
};

QRgb pixel(const ContactGrid &grid, const QImage &image, QPoint inViewport)
{
    return image.pixel(grid.viewport()->mapTo(&grid, inViewport)) | 0xFF000000u;
}

} // namespace

class TestContactGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colours()
    {
        CountingModel model(3);
        ContactGrid grid;
        grid.resize(409, 193);
        grid.setModel(&model);
        grid.setCellColour(0x00FF00); // green
        // Column 1 selected from its heading: row 0 is current, the rest highlighted.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(-1, 1).center());
        const QImage image = grid.grab().toImage();
        const QPalette palette = grid.palette();

        const QRect cell = grid.cellRect(0, 0);
        const QPoint nearRightEnd(cell.right() - 2, cell.center().y());
        QCOMPARE(pixel(grid, image, nearRightEnd), qRgb(0, 255, 0));
        QCOMPARE(pixel(grid, image, {cell.right(), cell.center().y()}), qRgb(255, 0, 0));
        QCOMPARE(pixel(grid, image, {cell.center().x(), cell.bottom()}), qRgb(255, 0, 0));
        QCOMPARE(pixel(grid, image, grid.cellRect(0, 1).topRight() + QPoint(-2, 2)),
                 qRgb(0, 255, 0));
        QCOMPARE(pixel(grid, image, grid.cellRect(2, 1).topRight() + QPoint(-2, 2)),
                 palette.color(QPalette::Highlight).rgb());

        const QRect heading = grid.cellRect(-1, 0);
        QCOMPARE(pixel(grid, image, {heading.right() - 2, heading.top() + 2}),
                 palette.color(QPalette::Button).rgb());
        QCOMPARE(pixel(grid, image, {heading.center().x(), heading.bottom()}), qRgb(0, 0, 0));
        const QRect fixed = grid.cellRect(1, -1);
        QCOMPARE(pixel(grid, image, fixed.center()), palette.color(QPalette::Button).rgb());
        QCOMPARE(pixel(grid, image, {fixed.right(), fixed.center().y()}), qRgb(0, 0, 0));

        // Below the last row and right of the last column.
        const QRect last = grid.cellRect(2, 3);
        QCOMPARE(pixel(grid, image, last.bottomLeft() + QPoint(2, 3)), qRgb(128, 128, 128));
        QCOMPARE(pixel(grid, image, last.topRight() + QPoint(3, 2)), qRgb(128, 128, 128));
    }

    // The heading of the column the rows are ordered by, and no other, has
    // an arrow at its right end, away from its text: pointing up when
    // ascending, down when descending.
    void sortArrow_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::newRow("first, ascending") << 0 << false;
        QTest::newRow("last, descending") << 3 << true;
    }
    void sortArrow()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        OrderedModel model(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        ContactGrid grid;
        grid.resize(409, 193);
        grid.setModel(&model);
        const QImage image = grid.grab().toImage();
        const QRgb arrow = grid.palette().color(QPalette::ButtonText).rgb();
        for (int heading = 0; heading < model.columnCount(); ++heading) {
            // The arrow's width in each row of the heading's right end.
            const QRect rect = grid.cellRect(-1, heading);
            QList<int> widths;
            for (int y = rect.top(); y < rect.bottom(); ++y) {
                int width = 0;
                for (int x = rect.right() - 14; x < rect.right(); ++x)
                    width += pixel(grid, image, {x, y}) == arrow;
                if (width > 0)
                    widths << width;
            }
            if (heading != column) {
                QVERIFY2(widths.isEmpty(), qPrintable(QString::number(heading)));
                continue;
            }
            QCOMPARE(widths.size(), 4);
            QList<int> expected{1, 3, 5, 7};
            if (descending)
                std::reverse(expected.begin(), expected.end());
            QCOMPARE(widths, expected);
        }
    }

    // The scroll bar spans every row at once, and only the rows in view are
    // read: at the start, and after dragging to the end.
    void asksOnlyForRowsInView()
    {
        const int rows = 1000000;
        CountingModel model(rows);
        ContactGrid grid;
        grid.resize(409, 193);
        grid.setModel(&model);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.grab();
        const int inView = grid.viewport()->height() / grid.rowHeight();
        QVERIFY(!model.asked.isEmpty());
        for (int row : std::as_const(model.asked))
            QVERIFY2(row <= inView, qPrintable(QString::number(row)));

        QCOMPARE(grid.verticalScrollBar()->maximum() + grid.verticalScrollBar()->pageStep(), rows);
        model.asked.clear();
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        grid.grab();
        QVERIFY(model.asked.contains(rows - 1));
        for (int row : std::as_const(model.asked))
            QVERIFY2(row >= rows - inView, qPrintable(QString::number(row)));
    }

    void keys()
    {
        CountingModel model(100);
        ContactGrid grid;
        grid.resize(409, 193);
        grid.setModel(&model);
        const auto verify = [&](int row, int column, int endRow, int endColumn) {
            QCOMPARE(grid.currentRow(), row);
            QCOMPARE(grid.currentColumn(), column);
            QCOMPARE(grid.selectionEndRow(), endRow);
            QCOMPARE(grid.selectionEndColumn(), endColumn);
        };
        verify(0, 0, 0, 0);
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        verify(99, 0, 99, 0);
        QCOMPARE(grid.topRow(), grid.verticalScrollBar()->maximum());
        QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(&grid, Qt::Key_End, Qt::ShiftModifier);
        verify(99, 0, 98, 3);
        QTest::keyClick(&grid, Qt::Key_Down); // stops at the last row
        verify(99, 0, 99, 0);
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        verify(0, 0, 0, 0);
        QCOMPARE(grid.topRow(), 0);
        QTest::keyClick(&grid, Qt::Key_PageDown);
        const int page = grid.verticalScrollBar()->pageStep();
        verify(page, 0, page, 0);
        QCOMPARE(grid.topRow(), 1);
    }

    void mouse()
    {
        CountingModel model(100);
        ContactGrid grid;
        grid.resize(409, 193);
        grid.setModel(&model);
        const auto click = [&](int row, int column, Qt::KeyboardModifiers modifiers = {}) {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers,
                              grid.cellRect(row, column).center());
        };
        click(2, 1);
        QCOMPARE(grid.currentRow(), 2);
        QCOMPARE(grid.currentColumn(), 1);
        click(4, 3, Qt::ShiftModifier);
        QCOMPARE(grid.currentRow(), 2);
        QCOMPARE(grid.selectionEndRow(), 4);
        QCOMPARE(grid.selectionEndColumn(), 3);
        click(3, -1); // a fixed left cell selects its row
        QCOMPARE(grid.currentRow(), 3);
        QCOMPARE(grid.currentColumn(), 0);
        QCOMPARE(grid.selectionEndRow(), 3);
        QCOMPARE(grid.selectionEndColumn(), 3);
        click(-1, -1); // the corner selects everything, without scrolling
        QCOMPARE(grid.selectionEndRow(), 99);
        QCOMPARE(grid.topRow(), 0);
    }
};

QTEST_MAIN(TestContactGrid)
#include "tst_contactgrid.moc"
