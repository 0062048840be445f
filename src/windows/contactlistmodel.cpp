#include "windows/contactlistmodel.h"

#include "store/contactlistsnapshot.h"
#include "store/contactlistview.h"
#include "store/contactlistviews.h"
#include "store/storeschema.h"
#include "windows/contactgrid.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <span>
#include <utility>

namespace dialvault {

namespace {

// A page is more than a screenful, and the few kept pages cover scrolling
// back and forth without holding more than a thousand rows at any size.
constexpr int pageRows = 64;
constexpr std::size_t keptPages = 16;

enum Column { NameColumn, PhoneColumn, NoteColumn, RowNumberColumn, ColumnCount };

int rowsOf(qint64 count)
{
    // A view counts rows in int; beyond that the list shows the first ones.
    return int(std::min<qint64>(count, std::numeric_limits<int>::max()));
}

// Consecutive model rows that go or come back at once: [first, last], and
// the view's rows they are, from .. to - 1 of the list they were found in.
struct Run
{
    int first;
    int last;
    std::size_t from;
    std::size_t to;
};

std::vector<Run> runsOf(const std::vector<int> &ascending)
{
    std::vector<Run> runs;
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        if (!runs.empty() && runs.back().last + 1 == ascending[i]) {
            runs.back().last = ascending[i];
            runs.back().to = i + 1;
        } else {
            runs.push_back({ascending[i], ascending[i], i, i + 1});
        }
    }
    return runs;
}

} // namespace

// What the rows of one view show once the list's own changes are laid over
// it. Never changed once made, so that a printout on another thread reads
// the rows as they stood when it began.
struct ContactListModel::Overlay
{
    std::shared_ptr<ContactListSnapshot> snapshot;
    std::shared_ptr<const ContactListView> view;
    std::unordered_map<qint64, ContactListRow> stored;
    std::vector<qint64> hiddenRows; // the view's rows, ascending
    // hiddenRows[i] - i, ascending: a row is preceded by as many hidden rows
    // as there are values here at or below it.
    std::vector<qint64> hiddenBefore;

    Overlay(std::shared_ptr<ContactListSnapshot> snapshot,
            std::shared_ptr<const ContactListView> view,
            std::unordered_map<qint64, ContactListRow> stored, std::vector<qint64> hidden)
        : snapshot(std::move(snapshot))
        , view(std::move(view))
        , stored(std::move(stored))
        , hiddenRows(std::move(hidden))
    {
        hiddenBefore.reserve(hiddenRows.size());
        for (std::size_t i = 0; i < hiddenRows.size(); ++i)
            hiddenBefore.push_back(hiddenRows[i] - qint64(i));
    }

    qint64 count() const { return view->count - qint64(hiddenRows.size()); }

    qint64 viewRow(qint64 row) const
    {
        return row
            + (std::upper_bound(hiddenBefore.begin(), hiddenBefore.end(), row)
               - hiddenBefore.begin());
    }

    qint64 positionOf(qint64 row) const { return view->positionAt(viewRow(row)); }

    Result<ContactListRows> read(qint64 first, int count) const
    {
        if (!snapshot)
            return {};
        first = std::max<qint64>(first, 0);
        count = int(std::clamp<qint64>(this->count() - first, 0, count));
        Result<ContactListRows> result;
        if (hiddenRows.empty()) {
            result = snapshot->rows(*view, first, count);
        } else {
            std::vector<qint64> positions(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i)
                positions[std::size_t(i)] = positionOf(first + i);
            result = snapshot->rowsAt(positions);
        }
        if (result.ok() && !stored.empty()) {
            for (ContactListRow &row : result.value) {
                if (const auto now = stored.find(row.key); row.key != 0 && now != stored.end())
                    row = now->second;
            }
        }
        return result;
    }
};

ContactListModel::ContactListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_view(ContactListView::stored(0))
{
    layOver();
}

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
    // The new snapshot holds every change laid over the old one.
    m_stored.clear();
    m_positions.clear();
    m_hidden.clear();
    layOver();
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
    auto overlay
        = std::make_shared<const Overlay>(m_snapshot, latest, m_stored, hiddenRowsOf(*latest));
    const int rows = rowsOf(overlay->count());
    // The same rows in another order keep the view's place and selection.
    const bool reordered = latest->filter == m_view->filter && rows == m_rows
        && latest->failure.ok() == m_view->failure.ok();
    if (reordered)
        Q_EMIT layoutAboutToBeChanged();
    else
        beginResetModel();
    m_view = std::move(latest);
    m_overlay = std::move(overlay);
    m_rows = rows;
    m_pages.clear();
    if (reordered)
        Q_EMIT layoutChanged();
    else
        endResetModel();
    Q_EMIT viewChanged();
}

std::vector<qint64> ContactListModel::hiddenRowsOf(const ContactListView &view) const
{
    std::vector<qint64> rows;
    if (m_hidden.empty())
        return rows;
    if (view.isIdentity()) {
        for (const qint64 position : m_hidden) {
            if (position < view.count)
                rows.push_back(position);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    for (qint64 row = 0; row < view.count; ++row) {
        if (m_hidden.contains(view.positionAt(row)))
            rows.push_back(row);
    }
    return rows;
}

void ContactListModel::layOver()
{
    m_overlay
        = std::make_shared<const Overlay>(m_snapshot, m_view, m_stored, hiddenRowsOf(*m_view));
    m_rows = rowsOf(m_overlay->count());
    m_pages.clear();
}

qint64 ContactListModel::shownCount() const
{
    return m_overlay->count();
}

ContactListRow ContactListModel::entryAt(int position) const
{
    if (position < 0 || position >= m_rows)
        return {};
    const ContactListRow *entry = row(position);
    if (!entry || entry->key == 0)
        return {};
    // Found again by its key once the store answers, whatever the rows show
    // by then.
    m_positions[entry->key] = m_overlay->positionOf(position);
    return *entry;
}

PrintedRows ContactListModel::shownRows() const
{
    return {m_overlay->count(),
            [overlay = m_overlay](qint64 first, int count) { return overlay->read(first, count); }};
}

void ContactListModel::showStored(const ContactListRow &entry)
{
    if (entry.key == 0)
        return;
    m_stored[entry.key] = entry;
    layOver();
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
}

Result<ContactListRows> ContactListModel::hideRows(const QList<int> &rows)
{
    // Read a few thousand at a time: a selection may be the whole list.
    constexpr int readRows = 4096;
    std::vector<qint64> positions;
    std::unordered_set<qint64> taken;
    for (const int row : rows) {
        if (row >= 0 && row < m_rows && taken.insert(m_overlay->positionOf(row)).second)
            positions.push_back(m_overlay->positionOf(row));
    }
    Result<ContactListRows> entries;
    std::vector<qint64> hidden;
    for (std::size_t done = 0; done < positions.size(); done += readRows) {
        const std::span<const qint64> part(
            positions.data() + done, std::min<std::size_t>(readRows, positions.size() - done));
        const Result<ContactListRows> read = m_snapshot->rowsAt(part);
        if (!read.ok()) {
            entries.error = read.error;
            return entries;
        }
        for (std::size_t i = 0; i < part.size(); ++i) {
            const ContactListRow &entry = read.value.at(qsizetype(i));
            // A row that could not be read is no entry to delete.
            if (entry.key == 0)
                continue;
            m_positions[entry.key] = part[i];
            hidden.push_back(part[i]);
            const auto now = m_stored.find(entry.key);
            entries.value.append(now == m_stored.end() ? entry : now->second);
        }
    }
    setHidden(hidden, true);
    return entries;
}

bool ContactListModel::hideEntries(const QList<qint64> &keys)
{
    std::vector<qint64> positions;
    for (const qint64 key : keys) {
        const auto known = m_positions.find(key);
        if (known == m_positions.end())
            return false;
        positions.push_back(known->second);
    }
    setHidden(positions, true);
    return true;
}

bool ContactListModel::showAgain(const ContactListRows &entries)
{
    std::vector<qint64> positions;
    for (const ContactListRow &entry : entries) {
        const auto known = m_positions.find(entry.key);
        if (known == m_positions.end())
            return false;
        positions.push_back(known->second);
    }
    for (const ContactListRow &entry : entries)
        m_stored[entry.key] = entry;
    setHidden(positions, false);
    return true;
}

void ContactListModel::setHidden(const std::vector<qint64> &positions, bool hidden)
{
    for (const qint64 position : positions) {
        if (hidden)
            m_hidden.insert(position);
        else
            m_hidden.erase(position);
    }
    const std::vector<qint64> target = hiddenRowsOf(*m_view);
    std::vector<qint64> working = m_overlay->hiddenRows;
    // The view's rows that go or come back, and their model rows: as counted
    // before for those that go, after for those that come back.
    std::vector<qint64> changing;
    if (hidden)
        std::set_difference(target.begin(), target.end(), working.begin(), working.end(),
                            std::back_inserter(changing));
    else
        std::set_difference(working.begin(), working.end(), target.begin(), target.end(),
                            std::back_inserter(changing));
    const std::vector<qint64> &countedIn = hidden ? working : target;
    std::vector<int> modelRows;
    for (const qint64 row : changing)
        modelRows.push_back(int(
            row - (std::lower_bound(countedIn.begin(), countedIn.end(), row) - countedIn.begin())));
    const std::vector<Run> runs = runsOf(modelRows);

    const auto use = [this](std::vector<qint64> rows) {
        m_overlay = std::make_shared<const Overlay>(m_snapshot, m_view, m_stored, std::move(rows));
        m_rows = rowsOf(m_overlay->count());
        m_pages.clear();
    };
    // Rows scattered all over (a find's matches) are told at once.
    constexpr std::size_t runsToldOneByOne = 64;
    if (runs.size() > runsToldOneByOne) {
        beginResetModel();
        use(target);
        endResetModel();
    } else if (hidden) {
        // From the last, so that each run's rows are where it says.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            beginRemoveRows({}, run->first, run->last);
            std::vector<qint64> more;
            std::merge(working.begin(), working.end(), changing.begin() + qsizetype(run->from),
                       changing.begin() + qsizetype(run->to), std::back_inserter(more));
            working = more;
            use(std::move(more));
            endRemoveRows();
        }
    } else {
        for (const Run &run : runs) {
            beginInsertRows({}, run.first, run.last);
            std::vector<qint64> fewer;
            std::set_difference(working.begin(), working.end(),
                                changing.begin() + qsizetype(run.from),
                                changing.begin() + qsizetype(run.to), std::back_inserter(fewer));
            working = fewer;
            use(std::move(fewer));
            endInsertRows();
        }
    }
    // Entries shown again show as stored now.
    if (!hidden && m_rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, ColumnCount - 1));
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
        Result<ContactListRows> read = m_overlay->read(number * pageRows, pageRows);
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

Qt::ItemFlags ContactListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != RowNumberColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
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
