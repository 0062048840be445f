#pragma once

#include "store/storeerror.h"
#include "windows/contactlistrow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <vector>

namespace dialvault {

// How many rows a table holds and the range of their rowids.
struct RowidExtent
{
    qint64 count = 0;
    qint64 first = 0; // the smallest rowid; meaningless when count is 0
    qint64 last = 0; // the largest

    // Row i has rowid first + i.
    bool dense() const { return count > 0 && quint64(last) - quint64(first) == quint64(count - 1); }
};

// The extent of table `test` on `db`: the count the file keeps (counted only
// when a file keeps none) and the smallest and largest rowid. NoTable or
// MissingField when the file holds no list to show.
Result<RowidExtent> readContactExtent(QSqlDatabase &db);

// Reads the entries of one table by their position in rowid order, within a
// fixed extent; the table must not change while it is read. Dense rowids are
// read as a range; otherwise a page is found by walking from the nearest
// known position (either end, or an edge of a page read before), so scrolling
// and jumps to either end stay cheap at any size.
class ContactListReader
{
public:
    // `table` is as written in SQL, such as main.test.
    ContactListReader(const QSqlDatabase &db, const QString &table, RowidExtent extent);

    const RowidExtent &extent() const { return bounds; }

    // Positions first .. first + count - 1, cut to the extent. A position
    // whose row cannot be found reads as an empty row.
    Result<ContactListRows> rows(qint64 first, int count);

private:
    struct Anchor
    {
        qint64 position;
        qint64 rowid;
    };

    Result<ContactListRows> rangeRows(qint64 first, int count);
    Result<ContactListRows> walkedRows(qint64 first, int count);
    Anchor nearestAnchor(qint64 first, qint64 end) const;
    void remember(Anchor anchor);
    QSqlQuery *prepared(std::optional<QSqlQuery> &query, const QString &condition, Status &status);

    QSqlDatabase db;
    QString table;
    RowidExtent bounds;
    std::optional<QSqlQuery> rangeQuery;
    std::optional<QSqlQuery> forwardQuery;
    std::optional<QSqlQuery> backwardQuery;
    std::vector<Anchor> anchors; // the most recent page edges, oldest first
};

} // namespace dialvault
