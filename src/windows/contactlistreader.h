#pragma once

#include "store/phonebooksource.h"
#include "store/storeerror.h"
#include "windows/contactlistrow.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>
#include <vector>

namespace dialvault {

// How many rows a table holds and the range of their keys (rowids).
struct RowidExtent
{
    qint64 count = 0;
    qint64 first = 0; // the smallest rowid; meaningless when count is 0
    qint64 last = 0; // the largest

    // Row i has rowid first + i.
    bool dense() const { return count > 0 && quint64(last) - quint64(first) == quint64(count - 1); }
};

// The extent of table `test` on `db`, a file's or a server's: the count the
// phone book keeps (counted only when a file keeps none) and the smallest and
// largest key. NoTable (ServerNotPrepared on a server) or MissingField when
// there is no list to show.
Result<RowidExtent> readContactExtent(QSqlDatabase &db, Engine engine = Engine::Sqlite);

// Reads the entries of one table by their position in key order, within a
// fixed extent; the table must not change while it is read. Dense keys are
// read as a range; otherwise a page is found by walking from the nearest
// known position (either end, or an edge of a page read before), so scrolling
// and jumps to either end stay cheap at any size.
class ContactListReader
{
public:
    // `table` is as written in SQL, such as main.test; `key` its column that
    // orders the entries, such as rowid.
    ContactListReader(const QSqlDatabase &db, Engine engine, const QString &table,
                      const QString &key, RowidExtent extent);

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
    Engine engine;
    QString table;
    QString key;
    RowidExtent bounds;
    std::optional<QSqlQuery> rangeQuery;
    std::optional<QSqlQuery> forwardQuery;
    std::optional<QSqlQuery> backwardQuery;
    std::vector<Anchor> anchors; // the most recent page edges, oldest first
};

} // namespace dialvault
