#include "printing/printedlist.h"

#include "fonts/interfacefont.h"
#include "printing/pagecanvas.h"
#include "store/contactlistsnapshot.h"
#include "store/contactlistview.h"
#include "store/storeschema.h"

#include <QCalendar>
#include <QCoreApplication>
#include <QTextLayout>

#include <array>
#include <memory>
#include <vector>

namespace dialvault {

namespace {

// Tenths of a point: fonts sized in pixels of the canvas's unit.
constexpr int bodySize = 100; // 10 points
constexpr int headingSize = 140;
constexpr int footSize = 80;
constexpr qreal padding = 40; // within a cell, on either side
constexpr qreal rowGap = 20; // above and below a row's text
constexpr qreal thinRule = 5;
constexpr qreal thickRule = 10;
constexpr int rowsPerRead = 256;

// Name, phone and note, from the right edge as a Persian table reads.
constexpr std::array<qreal, 3> columnShares = {0.30, 0.22, 0.48};

QFont fontOf(int pixels, bool bold)
{
    QFont font(interfaceFontFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A text laid out in lines of at most `width`, right-aligned; a text of
// Persian letters reads right to left, one of Latin letters left to right.
std::unique_ptr<QTextLayout> laidOut(const QString &text, const QFont &font, qreal width,
                                     Qt::Alignment alignment, Qt::LayoutDirection direction)
{
    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option(alignment | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    qreal y = 0;
    while (true) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    // An empty text still takes a line's height.
    return layout;
}

qreal heightOf(const QTextLayout &layout)
{
    qreal height = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        height += layout.lineAt(i).height();
    return height;
}

// Draws the pages.
class Printer
{
public:
    Printer(PageCanvas &canvas, const PrintedHeading &heading)
        : m_canvas(canvas)
        , m_heading(heading)
        , m_size(canvas.printableSize())
        , m_body(fontOf(bodySize, false))
        , m_bold(fontOf(bodySize, true))
        , m_title(fontOf(headingSize, true))
        , m_foot(fontOf(footSize, false))
    {
        qreal right = m_size.width();
        for (std::size_t column = 0; column < columnShares.size(); ++column) {
            const qreal width = m_size.width() * columnShares[column];
            m_columns[column] = {right - width, right};
            right -= width;
        }
        m_lineHeight = heightOf(
            *laidOut(QStringLiteral(" "), m_body, 1000, Qt::AlignRight, Qt::RightToLeft));
        m_footHeight = heightOf(
            *laidOut(QStringLiteral(" "), m_foot, 1000, Qt::AlignRight, Qt::RightToLeft));
    }

    void print(const ContactListRow &row)
    {
        const QString texts[] = {row.name, row.phone, row.note};
        std::vector<std::unique_ptr<QTextLayout>> cells;
        qreal height = 0;
        for (std::size_t column = 0; column < columnShares.size(); ++column) {
            // A number reads left to right whatever its script.
            const Qt::LayoutDirection direction
                = column == 1 ? Qt::LeftToRight : Qt::LayoutDirectionAuto;
            cells.push_back(
                laidOut(texts[column], m_body, cellWidth(column), Qt::AlignRight, direction));
            height = std::max(height, heightOf(*cells.back()));
        }
        height = std::max(height, m_lineHeight) + 2 * rowGap;
        if (!m_pageOpen || (m_y + height > bodyBottom() && m_rowsOnPage > 0))
            startPage();

        // Line by line, so that an entry longer than a page goes on over the next.
        std::vector<int> next(cells.size(), 0);
        qreal top = m_y;
        while (true) {
            const qreal room = bodyBottom() - top - rowGap;
            qreal used = 0;
            bool more = false;
            for (std::size_t column = 0; column < cells.size(); ++column) {
                QTextLayout &cell = *cells[column];
                qreal y = 0;
                while (next[column] < cell.lineCount()) {
                    const QTextLine line = cell.lineAt(next[column]);
                    if (y + line.height() > room && y > 0)
                        break;
                    const QPointF origin(m_columns[column].first + padding,
                                         top + rowGap + y - line.position().y());
                    m_canvas.drawLine(cell, line, origin);
                    y += line.height();
                    ++next[column];
                }
                more = more || next[column] < cell.lineCount();
                used = std::max(used, y);
            }
            const qreal bottom
                = more ? bodyBottom() : top + std::max(used, m_lineHeight) + 2 * rowGap;
            drawCellRules(top, bottom);
            ++m_rowsOnPage;
            if (!more) {
                m_y = bottom;
                return;
            }
            startPage();
            top = m_y;
        }
    }

    void finish()
    {
        if (!m_pageOpen)
            startPage();
    }

private:
    qreal cellWidth(std::size_t column) const
    {
        return m_columns[column].second - m_columns[column].first - 2 * padding;
    }

    qreal bodyBottom() const { return m_size.height() - m_footHeight - 2 * rowGap; }

    void drawText(const QString &text, const QFont &font, qreal left, qreal top, qreal width,
                  Qt::Alignment alignment, Qt::LayoutDirection direction)
    {
        const std::unique_ptr<QTextLayout> layout
            = laidOut(text, font, width, alignment, direction);
        for (int i = 0; i < layout->lineCount(); ++i)
            m_canvas.drawLine(*layout, layout->lineAt(i), QPointF(left, top));
    }

    void startPage()
    {
        m_canvas.newPage();
        m_pageOpen = true;
        m_rowsOnPage = 0;
        ++m_page;
        const qreal width = m_size.width();

        // The title on the right, the date on the left, the filter under them.
        drawText(m_heading.title, m_title, 0, 0, width, Qt::AlignRight, Qt::RightToLeft);
        drawText(m_heading.date, m_body, 0, 0, width / 2, Qt::AlignLeft, Qt::RightToLeft);
        qreal y
            = heightOf(*laidOut(m_heading.title, m_title, width, Qt::AlignRight, Qt::RightToLeft));
        if (!m_heading.filter.isEmpty()) {
            const QString filter
                = QCoreApplication::translate("PrintedList", "فقط شماره هايي که «%1» دارند")
                      .arg(m_heading.filter);
            drawText(filter, m_body, 0, y, width, Qt::AlignRight, Qt::RightToLeft);
            y += heightOf(*laidOut(filter, m_body, width, Qt::AlignRight, Qt::RightToLeft));
        }
        y += rowGap;

        // The fields' names over their columns, as the list heads them.
        using namespace StoreSchema;
        const QString headings[] = {nameField, phoneField, noteField};
        m_canvas.drawRule({0, y, width, y}, thickRule);
        for (std::size_t column = 0; column < columnShares.size(); ++column)
            drawText(headings[column], m_bold, m_columns[column].first + padding, y + rowGap,
                     cellWidth(column), Qt::AlignRight, Qt::RightToLeft);
        const qreal headingBottom = y + m_lineHeight + 2 * rowGap;
        drawColumnRules(y, headingBottom);
        m_canvas.drawRule({0, headingBottom, width, headingBottom}, thickRule);
        m_y = headingBottom;

        const QString number
            = QCoreApplication::translate("PrintedList", "صفحه %1").arg(QString::number(m_page));
        drawText(number, m_foot, 0, m_size.height() - m_footHeight, width, Qt::AlignHCenter,
                 Qt::RightToLeft);
    }

    void drawColumnRules(qreal top, qreal bottom)
    {
        for (const auto &[left, right] : m_columns) {
            m_canvas.drawRule({left, top, left, bottom}, thinRule);
            m_canvas.drawRule({right, top, right, bottom}, thinRule);
        }
    }

    void drawCellRules(qreal top, qreal bottom)
    {
        drawColumnRules(top, bottom);
        m_canvas.drawRule({0, bottom, m_size.width(), bottom}, thinRule);
    }

    PageCanvas &m_canvas;
    const PrintedHeading &m_heading;
    QSizeF m_size;
    QFont m_body;
    QFont m_bold;
    QFont m_title;
    QFont m_foot;
    std::array<std::pair<qreal, qreal>, 3> m_columns; // left and right edges
    qreal m_lineHeight = 0;
    qreal m_footHeight = 0;
    bool m_pageOpen = false;
    int m_rowsOnPage = 0;
    int m_page = 0;
    qreal m_y = 0;
};

} // namespace

Result<qint64> printList(PageCanvas &canvas, const PrintedRows &rows, const PrintedHeading &heading,
                         const std::atomic<bool> *stop)
{
    useInterfaceFont();
    Result<qint64> result;
    Printer printer(canvas, heading);
    for (qint64 first = 0; first < rows.count; first += rowsPerRead) {
        if (stop && *stop)
            break;
        const Result<ContactListRows> read
            = rows.read(first, int(std::min<qint64>(rowsPerRead, rows.count - first)));
        if (!read.ok()) {
            result.error = read.error;
            break;
        }
        for (const ContactListRow &row : read.value)
            printer.print(row);
        result.value += read.value.size();
    }
    printer.finish();
    const Status finished = canvas.finish();
    if (result.ok() && !finished.ok())
        result.error = finished.error;
    return result;
}

PrintedRows printedRowsOf(std::shared_ptr<ContactListSnapshot> snapshot,
                          std::shared_ptr<const ContactListView> view)
{
    if (!snapshot || !view)
        return {};
    const qint64 count = view->count;
    return {count,
            [snapshot = std::move(snapshot), view = std::move(view)](qint64 first, int rows) {
                return snapshot->rows(*view, first, rows);
            }};
}

QString printedDateText(const QDate &date, const QLocale &locale)
{
    const QCalendar calendar(locale.language() == QLocale::Persian ? QCalendar::System::Jalali
                                                                   : QCalendar::System::Gregorian);
    return locale.toString(date, locale.dateFormat(QLocale::LongFormat), calendar);
}

} // namespace dialvault
