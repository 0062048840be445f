#include "store/phonebook.h"

#include "store/phonebookimpl.h"

#include <QSqlError>
#include <QVariant>

namespace dialvault {

namespace {

// Reads every row of `query`, already run, into `visit`.
Status visitRows(StoreEngine &engine, QSqlQuery &query, const QString &right,
                 const std::function<bool(const ContactEntry &)> &visit)
{
    while (query.next()) {
        // Rows coming in are the server answering.
        engine.renewWatch();
        if (!visit(entryAt(query)))
            break;
    }
    const QSqlError error = query.lastError();
    query.finish();
    return error.isValid() ? engine.failure(error, right) : Status{};
}

} // namespace

Status PhoneBook::forEachEntry(const std::function<bool(const ContactEntry &)> &visit)
{
    const StoreEngine::Watch watching(*d->engine);
    Status status = d->ready();
    if (!status.ok())
        return status;
    const EngineSql &sql = d->engine->entriesStatement();
    QSqlQuery *query = d->engine->statement(sql, status);
    if (!query)
        return status;
    if (!query->exec())
        return d->engine->failure(query->lastError(), sql.right);
    return visitRows(*d->engine, *query, sql.right, visit);
}

Status PhoneBook::findByPart(const PartQuery &query, PartPlace place,
                             const std::function<bool(const ContactEntry &)> &visit)
{
    if (query.isEmpty())
        return {};
    const StoreEngine::Watch watching(*d->engine);
    Status status = d->ready();
    if (!status.ok())
        return status;
    // A prefix with no end to its range (only the last code point) is rare
    // enough to be looked for anywhere and kept where it starts.
    const QString end = place == PartPlace::Start ? prefixEnd(query.key()) : QString();
    const PartPlace runAs = end.isEmpty() ? PartPlace::Anywhere : place;
    const EngineSql &sql = d->engine->partSearchStatement(query.isNumber(), runAs);
    QSqlQuery *search = d->engine->statement(sql, status);
    if (!search)
        return status;
    search->bindValue(0, query.key());
    if (runAs == PartPlace::Start)
        search->bindValue(1, end);
    if (!search->exec())
        return d->engine->failure(search->lastError(), sql.right);
    if (runAs == place)
        return visitRows(*d->engine, *search, sql.right, visit);
    return visitRows(*d->engine, *search, sql.right, [&](const ContactEntry &entry) {
        return !query.matches(entry.name, entry.phone, place) || visit(entry);
    });
}

} // namespace dialvault
