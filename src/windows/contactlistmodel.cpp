#include "windows/contactlistmodel.h"

#include "store/contactlistsnapshot.h"
#include "store/contactlistview.h"
#include "store/contactlistviews.h"
#include "store/storeschema.h"
#include "windows/contactgrid.h"

#include <algorithm>
#include <limits>

namespace dialvault {

namespace {

// A page is more than a screenful, and the few kept pages cover scrolling
// back and forth without holding more than a thousand rows at any size.
constexpr int pageRows = 64;
constexpr std::size_t keptPages = 16;

enum Column { NameColumn, PhoneColumn, NoteColumn, RowNumberColumn, ColumnCount };

} // namespace

ContactListModel::ContactListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_view(ContactListView::stored(0))
{ }

ContactListModel::~ContactListModel() = default;

Status ContactListModel::open(const QString &databasePath)
{
    return open(PhoneBookSource::file(databasePath));
}

Status ContactListModel::open(const PhoneBookSource &source)
{
    beginResetModel();
    m_pages.clear();
    m_views.reset();
    m_snapshot = std::make_shared<ContactListSnapshot>();
    const Status status = m_snapshot->open(source);
    m_view = ContactListView::stored(m_snapshot->count());
    // A view counts rows in int; beyond that the list shows the first ones.
    m_rows = int(std::min<qint64>(m_view->count, std::numeric_limits<int>::max()));
    // Told on the views' thread, shown on this one; a call still queued
    // when the model goes is dropped with it.
    m_views = std::make_unique<ContactListViews>(m_snapshot, [this] {
        QMetaObject::invokeMethod(this, &ContactListModel::showLatest, Qt::QueuedConnection);
    });
    endResetModel();
    askForView();
    return status;
}

bool ContactListModel::waitUntilReleased(int timeoutMs)
{
    return !m_snapshot || m_snapshot->waitUntilReleased(timeoutMs);
}

void ContactListModel::setOrder(const ListOrder &order)
{
    m_order = order;
    askForView();
}

void ContactListModel::setFilter(const QString &filter)
{
    m_filter = filter;
    askForView();
}

qint64 ContactListModel::entryCount() const
{
    return m_snapshot ? m_snapshot->count() : 0;
}

bool ContactListModel::waitUntilShown(int timeoutMs)
{
    if (!m_views)
        return true;
    if (!m_views->waitUntilCurrent(timeoutMs))
        return false;
    showLatest();
    return true;
}

void ContactListModel::askForView()
{
    if (m_views)
        m_views->request(m_order, m_filter);
}

void ContactListModel::showLatest()
{
    if (!m_views)
        return;
    std::shared_ptr<const ContactListView> latest = m_views->latest();
    if (latest == m_view)
        return;
    const int rows = int(std::min<qint64>(latest->count, std::numeric_limits<int>::max()));
    // The same rows in another order keep the view's place and selection.
    const bool reordered = latest->filter == m_view->filter && rows == m_rows
        && latest->failure.ok() == m_view->failure.ok();
    if (reordered)
        Q_EMIT layoutAboutToBeChanged();
    else
        beginResetModel();
    m_view = std::move(latest);
    m_rows = rows;
    m_pages.clear();
    if (reordered)
        Q_EMIT layoutChanged();
    else
        endResetModel();
    Q_EMIT viewChanged();
}

int ContactListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ContactListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const ContactListRow *ContactListModel::row(int position) const
{
    const qint64 number = position / pageRows;
    auto page = std::find_if(m_pages.begin(), m_pages.end(),
                             [number](const Page &kept) { return kept.number == number; });
    if (page == m_pages.end()) {
        if (m_pages.size() < keptPages) {
            page = m_pages.insert(m_pages.end(), Page{});
        } else {
            page = std::min_element(
                m_pages.begin(), m_pages.end(),
                [](const Page &a, const Page &b) { return a.lastUse < b.lastUse; });
        }
        // A page that cannot be read shows empty rows rather than being asked
        // for again at every paint.
        Result<ContactListRows> read = m_snapshot->rows(*m_view, number * pageRows, pageRows);
        page->number = number;
        page->rows = read.ok() ? std::move(read.value) : ContactListRows{};
    }
    page->lastUse = ++m_useClock;
    const qsizetype offset = position - number * pageRows;
    return offset < page->rows.size() ? &page->rows.at(offset) : nullptr;
}

QVariant ContactListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= ColumnCount)
        return {};
    if (role == Qt::TextAlignmentRole) {
        // Numbers to the right, text to the left, as grids lay out bound fields.
        const Qt::Alignment horizontal
            = index.column() == RowNumberColumn ? Qt::AlignRight : Qt::AlignLeft;
        return int(horizontal | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const ContactListRow *entry = row(index.row());
    if (!entry)
        return QString();
    switch (index.column()) {
    case NameColumn:
        return entry->name;
    case PhoneColumn:
        return entry->phone;
    case NoteColumn:
        return entry->note;
    default:
        return entry->rowNumber;
    }
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == ContactGrid::sortOrderRole) {
        // The order the rows are in, not the one asked for and still being
        // worked out.
        const ListOrder &shown = m_view->order;
        if (orientation != Qt::Horizontal || !m_view->failure.ok() || !shown.column
            || int(*shown.column) != section)
            return {};
        return int(shown.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return QString();
    using namespace StoreSchema;
    switch (section) {
    case NameColumn:
        return nameField;
    case PhoneColumn:
        return phoneField;
    case NoteColumn:
        return noteField;
    case RowNumberColumn:
        return rowNumberField;
    default:
        return {};
    }
}

} // namespace dialvault
