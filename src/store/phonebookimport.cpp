#include "store/phonebook.h"

#include "store/batchimport.h"
#include "store/phonebookimpl.h"
#include "store/searchkeys.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QUuid>
#include <QVariant>

namespace dialvault {

namespace {

// One import: begun, fed entry by entry, committed.
class Import
{
public:
    explicit Import(PhoneBook::Impl &d)
        : engine(*d.engine)
        , d(d)
    { }

    Status begin()
    {
        if (Status status = d.ready(); !status.ok())
            return status;
        // A server decides duplicates and stores entries a batch at a time.
        batch = engine.batchImport();
        if (batch)
            return {};
        // The count is read, and the row numbers handed out, while no other
        // import can change it.
        Status status = engine.begin(Transaction::Write);
        if (!status.ok())
            return rolledBack(status);
        const EngineSql &countSql = engine.countStatement();
        QSqlQuery *count = engine.statement(countSql, status);
        if (!count)
            return rolledBack(status);
        if (!count->exec() || !count->next()) {
            const QSqlError error = count->lastError();
            count->finish();
            return rolledBack(error.isValid() ? engine.failure(error, countSql.right)
                                              : storeFailure(CountMissing));
        }
        const QVariant counted = count->value(0);
        count->finish();
        if (counted.isNull())
            return rolledBack(storeFailure(CountMissing));
        stored = counted.toDouble();

        byDigits = engine.statement(engine.candidatesStatement(true), status);
        byName = byDigits ? engine.statement(engine.candidatesStatement(false), status) : nullptr;
        insert = byName ? engine.statement(engine.insertStatement(), status) : nullptr;
        return insert ? status : rolledBack(status);
    }

    Status add(const ContactEntry &entry)
    {
        if (entry.name.isEmpty() && entry.phone.isEmpty()) {
            ++counts.withoutNameOrNumber;
            return {};
        }
        if (batch) {
            const Status added = batch->add(entry);
            return added.ok() ? added : rolledBack(added);
        }
        const QString name = foldedName(entry.name);
        const QString digits = numberDigits(entry.phone);
        const QString storedDigits = storedNumberDigits(entry.phone);
        const bool byNumber = !storedDigits.isEmpty();
        QSqlQuery *candidates = byNumber ? byDigits : byName;
        const QString &right = engine.candidatesStatement(byNumber).right;
        candidates->bindValue(0, byNumber ? storedDigits : name);
        if (!candidates->exec())
            return rolledBack(engine.failure(candidates->lastError(), right));
        bool duplicate = false;
        while (!duplicate && candidates->next()) {
            duplicate = foldedName(candidates->value(0).toString()) == name
                && numberDigits(candidates->value(1).toString()) == digits;
        }
        const QSqlError error = candidates->lastError();
        candidates->finish();
        if (error.isValid())
            return rolledBack(engine.failure(error, right));
        if (duplicate) {
            ++counts.duplicates;
            return {};
        }
        insert->bindValue(0, textValue(entry.name));
        insert->bindValue(1, textValue(entry.phone));
        insert->bindValue(2, textValue(entry.note));
        insert->bindValue(3, ++stored);
        if (engine.keysAdds()) {
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
            return rolledBack(engine.failure(insert->lastError(), engine.insertStatement().right));
        ++counts.added;
        return {};
    }

    Result<ImportCounts> commit()
    {
        if (batch) {
            Result<ImportCounts> result = batch->commit();
            result.value.withoutNameOrNumber += counts.withoutNameOrNumber;
            return result;
        }
        Result<ImportCounts> result;
        Status committed = engine.commit();
        if (!committed.ok() && engine.connectionBroke(committed))
            committed = afterLostCommit(committed);
        else if (!committed.ok())
            committed = rolledBack(committed);
        result.error = committed.error;
        if (result.ok())
            result.value = counts;
        return result;
    }

    Status rolledBack(const Status &status)
    {
        // The first failure is the one worth reporting, not the rollback's.
        if (batch)
            batch->rollback();
        else
            engine.rollback();
        return status;
    }

private:
    // The commit was sent and its answer lost: what was kept is asked on a
    // new connection.
    Status afterLostCommit(const Status &lost)
    {
        if (firstKey.isEmpty())
            return {}; // nothing was to be stored
        const Result<bool> found = engine.lostCommitStored(firstKey);
        if (!found.ok())
            return outcomeUnknown(lost);
        return found.value ? Status{} : lost;
    }

    StoreEngine &engine;
    PhoneBook::Impl &d;
    std::unique_ptr<BatchImport> batch;
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
    const StoreEngine::Watch watching(*d->engine);
    Result<ImportCounts> result;
    Import import(*d);
    result.error = import.begin().error;
    for (qsizetype i = 0; result.ok() && i < entries.size(); ++i)
        result.error = import.add(entries.at(i)).error;
    return result.ok() ? import.commit() : result;
}

Result<ImportCounts> PhoneBook::importPhoneBook(PhoneBook &other)
{
    const StoreEngine::Watch watching(*d->engine);
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
