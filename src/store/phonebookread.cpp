#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QVariant>

namespace dialvault {

namespace {

// Reads every row of `query`, already run, into `visit`.
Status visitRows(QSqlQuery &query, const std::function<bool(const ContactEntry &)> &visit)
{
    Status status;
    while (query.next()) {
        if (!visit(entryAt(query)))
            break;
    }
    if (query.lastError().isValid())
        status = engineFailure(query.lastError());
    query.finish();
    return status;
}

} // namespace

Status PhoneBook::forEachEntry(const std::function<bool(const ContactEntry &)> &visit)
{
    Status status;
    QSqlQuery *query = d->statement(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(entryColumns(), StoreSchema::table),
        status);
    if (!query)
        return status;
    if (!query->exec())
        return engineFailure(query->lastError());
    return visitRows(*query, visit);
}

QString PhoneBook::partSearchStatement(bool number, PartPlace place)
{
    using namespace StoreSchema;
    const QString &column = number ? phoneDigitsColumn : foldedNameColumn;
    const QString &index = number ? phoneDigitsIndex : foldedNameIndex;
    // The start of a text is a range of the index. A part anywhere needs every
    // value, which the index holds already computed: scanning it is far
    // cheaper than computing the generated column for every row of the table
    // (SQLite does not yet see such an index as covering, hence INDEXED BY).
    // Either way the matching rowids are then read in stored order.
    const QString matching = place == PartPlace::Start
        ? QStringLiteral("SELECT rowid FROM %1 WHERE %2 >= ? AND %2 < ?").arg(table, column)
        : QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2 WHERE instr(%3, ?) > 0")
              .arg(table, index, column);
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3) ORDER BY rowid")
        .arg(entryColumns(), table, matching);
}

Status PhoneBook::findByPart(const PartQuery &query, PartPlace place,
                             const std::function<bool(const ContactEntry &)> &visit)
{
    if (query.isEmpty())
        return {};
    // A prefix with no end to its range (only the last code point) is rare
    // enough to be looked for anywhere and kept where it starts.
    const QString end = place == PartPlace::Start ? prefixEnd(query.key()) : QString();
    const PartPlace runAs = end.isEmpty() ? PartPlace::Anywhere : place;
    Status status;
    QSqlQuery *search = d->statement(partSearchStatement(query.isNumber(), runAs), status);
    if (!search)
        return status;
    search->bindValue(0, query.key());
    if (runAs == PartPlace::Start)
        search->bindValue(1, end);
    if (!search->exec())
        return engineFailure(search->lastError());
    if (runAs == place)
        return visitRows(*search, visit);
    return visitRows(*search, [&](const ContactEntry &entry) {
        return !query.matches(entry.name, entry.phone, place) || visit(entry);
    });
}

} // namespace dialvault
