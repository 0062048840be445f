#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/searchkeys.h"
#include "store/serverschema.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QUuid>
#include <QVariant>

namespace dialvault {

namespace {

// Any number the imports of all programs agree on: on a server they take
// turns, so that two imports of one file cannot both find an entry missing.
constexpr qint64 importLock = 0x4469616c7662;

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// One import: begun, fed entry by entry, committed.
class Import
{
public:
    explicit Import(PhoneBook::Impl &d)
        : d(d)
    { }

    Status begin()
    {
        if (Status status = d.ready(); !status.ok())
            return status;
        // IMMEDIATE takes a file's write lock before the count is read, so
        // that no other writer can change it until the row numbers are
        // handed out.
        Status status
            = d.run(d.server ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
        if (status.ok() && d.server)
            status = d.run(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(importLock));
        if (!status.ok())
            return rolledBack(status);
        QSqlQuery *count = d.statement(d.dialect.countStatement(), status,
                                       ServerSchema::right("SELECT", ServerSchema::countTable));
        if (!count)
            return rolledBack(status);
        if (!count->exec() || !count->next())
            return rolledBack(count->lastError().isValid() ? d.failure(count->lastError())
                                                           : storeFailure(CountMissing));
        if (count->value(0).isNull())
            return rolledBack(storeFailure(CountMissing));
        stored = count->value(0).toDouble();
        count->finish();

        const QString select = ServerSchema::right("SELECT");
        byDigits = d.statement(d.dialect.candidatesStatement(true), status, select);
        byName = byDigits ? d.statement(d.dialect.candidatesStatement(false), status, select)
                          : nullptr;
        insert = byName
            ? d.statement(d.dialect.insertStatement(), status, ServerSchema::right("INSERT"))
            : nullptr;
        return insert ? status : rolledBack(status);
    }

    Status add(const ContactEntry &entry)
    {
        if (entry.name.isEmpty() && entry.phone.isEmpty()) {
            ++counts.withoutNameOrNumber;
            return {};
        }
        const QString name = foldedName(entry.name);
        const QString digits = numberDigits(entry.phone);
        const QString storedDigits = storedNumberDigits(entry.phone);
        QSqlQuery *candidates = storedDigits.isEmpty() ? byName : byDigits;
        candidates->bindValue(0, storedDigits.isEmpty() ? name : storedDigits);
        if (!candidates->exec())
            return rolledBack(d.failure(candidates->lastError()));
        bool duplicate = false;
        while (!duplicate && candidates->next()) {
            duplicate = foldedName(candidates->value(0).toString()) == name
                && numberDigits(candidates->value(1).toString()) == digits;
        }
        if (candidates->lastError().isValid())
            return rolledBack(d.failure(candidates->lastError()));
        candidates->finish();
        if (duplicate) {
            ++counts.duplicates;
            return {};
        }
        insert->bindValue(0, textValue(entry.name));
        insert->bindValue(1, textValue(entry.phone));
        insert->bindValue(2, textValue(entry.note));
        insert->bindValue(3, ++stored);
        if (d.server) {
            // The first entry carries a key, by which the import is found
            // again when the answer to its commit is lost.
            QVariant key{QMetaType::fromType<QString>()};
            if (firstKey.isEmpty()) {
                firstKey = QUuid::createUuid().toString(QUuid::WithoutBraces);
                key = firstKey;
            }
            insert->bindValue(4, key);
        }
        if (!insert->exec())
            return rolledBack(d.failure(insert->lastError(), ServerSchema::right("INSERT")));
        ++counts.added;
        return {};
    }

    Result<ImportCounts> commit()
    {
        Result<ImportCounts> result;
        const ServerBackend committing = d.server ? d.server->backend() : ServerBackend{};
        Status committed = d.run(QStringLiteral("COMMIT"));
        if (!committed.ok() && d.server
            && committed.error.cause == FailureCause::ServerUnreachable) {
            committed = afterLostCommit(committing, committed);
        } else if (!committed.ok()) {
            committed = rolledBack(committed);
        }
        result.error = committed.error;
        if (result.ok())
            result.value = counts;
        return result;
    }

    Status rolledBack(const Status &status)
    {
        // The first failure is the one worth reporting, not the rollback's.
        if (!d.server || d.server->isOpen())
            QSqlQuery(d.db).exec(QStringLiteral("ROLLBACK"));
        return status;
    }

private:
    // The commit was sent and its answer lost: what the server kept is
    // asked on a new connection, once the process that served the lost one
    // has ended.
    Status afterLostCommit(const ServerBackend &committing, const Status &lost)
    {
        if (firstKey.isEmpty())
            return {}; // nothing was to be stored
        if (Status opened = d.openServer(); !opened.ok())
            return outcomeUnknown(lost);
        const Result<bool> found = d.server->look(committing, firstKey);
        if (!found.ok())
            return outcomeUnknown(lost);
        return found.value ? Status{} : lost;
    }

    PhoneBook::Impl &d;
    QSqlQuery *byDigits = nullptr;
    QSqlQuery *byName = nullptr;
    QSqlQuery *insert = nullptr;
    double stored = 0;
    QString firstKey;
    ImportCounts counts;
};

} // namespace

Result<ImportCounts> PhoneBook::importEntries(const QList<ContactEntry> &entries)
{
    Result<ImportCounts> result;
    Import import(*d);
    result.error = import.begin().error;
    for (qsizetype i = 0; result.ok() && i < entries.size(); ++i)
        result.error = import.add(entries.at(i)).error;
    return result.ok() ? import.commit() : result;
}

Result<ImportCounts> PhoneBook::importPhoneBook(PhoneBook &other)
{
    Result<ImportCounts> result;
    Import import(*d);
    result.error = import.begin().error;
    if (!result.ok())
        return result;
    Status added;
    const Status read = other.forEachEntry([&](const ContactEntry &entry) {
        added = import.add(entry);
        return added.ok();
    });
    if (!added.ok()) {
        result.error = added.error;
        return result;
    }
    if (!read.ok()) {
        result.error = import.rolledBack(read).error;
        return result;
    }
    return import.commit();
}

} // namespace dialvault
