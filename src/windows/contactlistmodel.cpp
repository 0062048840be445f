#include "windows/contactlistmodel.h"

#include "store/contactlistsnapshot.h"
#include "store/storeschema.h"

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
    m_snapshot = std::make_unique<ContactListSnapshot>();
    const Status status = m_snapshot->open(source);
    // A view counts rows in int; beyond that the list shows the first ones.
    m_rows = int(std::min<qint64>(m_snapshot->count(), std::numeric_limits<int>::max()));
    endResetModel();
    return status;
}

bool ContactListModel::waitUntilReleased(int timeoutMs)
{
    return !m_snapshot || m_snapshot->waitUntilReleased(timeoutMs);
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
        Result<ContactListRows> read = m_snapshot->rows(number * pageRows, pageRows);
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
