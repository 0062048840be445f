#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/serverschema.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QVariant>

namespace dialvault {

namespace {

// Reads every row of `query`, already run, into `visit`.
Status visitRows(PhoneBook::Impl &d, QSqlQuery &query,
                 const std::function<bool(const ContactEntry &)> &visit)
{
    Status status;
    while (query.next()) {
        if (!visit(entryAt(query)))
            break;
    }
    if (query.lastError().isValid())
        status = d.failure(query.lastError());
    query.finish();
    return status;
}

} // namespace

Status PhoneBook::forEachEntry(const std::function<bool(const ContactEntry &)> &visit)
{
    Status status = d->ready();
    if (!status.ok())
        return status;
    QSqlQuery *query
        = d->statement(d->dialect.entriesStatement(), status, ServerSchema::right("SELECT"));
    if (!query)
        return status;
    if (!query->exec())
        return d->failure(query->lastError(), ServerSchema::right("SELECT"));
    return visitRows(*d, *query, visit);
}

QString PhoneBook::partSearchStatement(bool number, PartPlace place)
{
    return StoreDialect(Engine::Sqlite).partSearchStatement(number, place);
}

Status PhoneBook::findByPart(const PartQuery &query, PartPlace place,
                             const std::function<bool(const ContactEntry &)> &visit)
{
    if (query.isEmpty())
        return {};
    Status status = d->ready();
    if (!status.ok())
        return status;
    // A prefix with no end to its range (only the last code point) is rare
    // enough to be looked for anywhere and kept where it starts.
    const QString end = place == PartPlace::Start ? prefixEnd(query.key()) : QString();
    const PartPlace runAs = end.isEmpty() ? PartPlace::Anywhere : place;
    QSqlQuery *search = d->statement(d->dialect.partSearchStatement(query.isNumber(), runAs),
                                     status, ServerSchema::right("SELECT"));
    if (!search)
        return status;
    search->bindValue(0, query.key());
    if (runAs == PartPlace::Start)
        search->bindValue(1, end);
    if (!search->exec())
        return d->failure(search->lastError(), ServerSchema::right("SELECT"));
    if (runAs == place)
        return visitRows(*d, *search, visit);
    return visitRows(*d, *search, [&](const ContactEntry &entry) {
        return !query.matches(entry.name, entry.phone, place) || visit(entry);
    });
}

} // namespace dialvault
