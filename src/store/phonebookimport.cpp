#include "store/phonebook.h"

#include "store/batchimport.h"
#include "store/deletedtable.h"
#include "store/phonebookimpl.h"
#include "store/searchkeys.h"
#include "store/storefailure.h"

#include <QSqlError>
#include <QUuid>
#include <QVariant>

namespace dialvault {

namespace {

// One import: begun, fed entry by entry, committed. Entries are stored a
// batch at a time, as the engine takes them best; those of the batch not
// yet stored are compared here, unless the engine decides duplicates itself
// (a server, through its BatchImport).
class Import
{
public:
    explicit Import(PhoneBook::Impl &d)
        : m_engine(*d.engine)
        , m_d(d)
    { }

    Status begin()
    {
        if (Status status = m_d.ready(); !status.ok())
            return status;
        m_batch = m_engine.batchImport();
        if (m_batch)
            return {};
        // The count is read, and the row numbers handed out, while no other
        // import can change it.
        Status status = m_engine.begin(Transaction::Write);
        if (!status.ok())
            return rolledBack(status);
        const EngineSql &countSql = m_engine.countStatement();
        QSqlQuery *count = m_engine.statement(countSql, status);
        if (!count)
            return rolledBack(status);
        if (!count->exec() || !count->next()) {
            const QSqlError error = count->lastError();
            count->finish();
            return rolledBack(error.isValid() ? m_engine.failure(error, countSql.right)
                                              : storeFailure(CountMissing));
        }
        const QVariant counted = count->value(0);
        count->finish();
        if (counted.isNull())
            return rolledBack(storeFailure(CountMissing));
        m_stored = counted.toDouble();
        // No other writer adds meanwhile: the import's keys follow this one.
        const Result<qint64> last = lastKey();
        if (!last.ok())
            return rolledBack(last);
        m_lastKeyBefore = last.value;

        m_statements = m_engine.importStatements(status);
        if (!m_statements)
            return rolledBack(status);
        m_pending.reserve(m_statements->batchSize());
        m_pendingKeys.reserve(m_statements->batchSize());
        return status;
    }

    Status add(const ContactEntry &entry)
    {
        if (entry.name.isEmpty() && entry.phone.isEmpty()) {
            ++m_counts.withoutNameOrNumber;
            return {};
        }
        if (m_batch) {
            const Status added = m_batch->add(entry);
            return added.ok() ? added : rolledBack(added);
        }
        Keys keys{foldedName(entry.name), numberDigits(entry.phone)};
        const Result<bool> duplicate = isDuplicate(entry, keys);
        if (!duplicate.ok())
            return rolledBack(duplicate);
        if (duplicate.value) {
            ++m_counts.duplicates;
            return {};
        }
        ImportRow row{entry, QString()};
        row.entry.rowNumber = ++m_stored;
        m_digest += entryDigest({entry.name, entry.phone, entry.note});
        // The first entry carries a key, by which the import is found again
        // when the answer to its commit is lost.
        if (m_engine.keysAdds() && m_firstKey.isEmpty()) {
            m_firstKey = QUuid::createUuid().toString(QUuid::WithoutBraces);
            row.key = m_firstKey;
        }
        m_pending.append(std::move(row));
        m_pendingKeys.append(std::move(keys));
        ++m_counts.added;
        return m_pending.size() < m_statements->batchSize() ? Status() : storePending();
    }

    Result<ImportCounts> commit()
    {
        if (m_batch) {
            Result<ImportCounts> result = m_batch->commit();
            result.value.withoutNameOrNumber += m_counts.withoutNameOrNumber;
            return result;
        }
        Result<ImportCounts> result;
        if (const Status stored = storePending(); !stored.ok()) {
            result.error = stored.error;
            return result;
        }
        const Result<qint64> last = lastKey();
        if (!last.ok()) {
            result.error = rolledBack(last).error;
            return result;
        }
        // Keys handed out otherwise (past the largest SQLite allows) are not
        // known: such an import cannot be undone.
        if (m_counts.added > 0 && last.value - m_lastKeyBefore == m_counts.added)
            m_counts.stored = {{{m_lastKeyBefore + 1, last.value}}, m_digest};
        m_statements.reset();
        Status committed = m_engine.commit();
        if (!committed.ok() && m_engine.connectionBroke(committed))
            committed = afterLostCommit(committed);
        else if (!committed.ok())
            committed = rolledBack(committed);
        result.error = committed.error;
        if (result.ok())
            result.value = m_counts;
        return result;
    }

    Status rolledBack(const Status &status)
    {
        // The first failure is the one worth reporting, not the rollback's.
        if (m_batch) {
            m_batch->rollback();
            return status;
        }
        // The m_statements go before the transaction does.
        m_statements.reset();
        m_engine.rollback();
        return status;
    }

private:
    // What an entry is compared by: a duplicate has the same name and
    // digits; the stored digits find the candidates.
    struct Keys
    {
        QString name;
        QString digits;
        QString storedDigits = {};
    };

    // An entry already stored, or earlier in this import. Stored entries
    // are candidates by their stored digits (by the folded name for an entry
    // without any), those not yet stored are compared the same way.
    Result<bool> isDuplicate(const ContactEntry &entry, Keys &keys)
    {
        keys.storedDigits = storedNumberDigits(entry.phone);
        const bool byNumber = !keys.storedDigits.isEmpty();
        Result<bool> found;
        for (const Keys &earlier : m_pendingKeys) {
            if (earlier.name == keys.name && earlier.digits == keys.digits
                && (!byNumber || earlier.storedDigits == keys.storedDigits)) {
                found.value = true;
                return found;
            }
        }
        return m_statements->anyDuplicate(byNumber, byNumber ? keys.storedDigits : keys.name,
                                          [&](const QString &name, const QString &phone) {
                                              return foldedName(name) == keys.name
                                                  && numberDigits(phone) == keys.digits;
                                          });
    }

    Status storePending()
    {
        const Status stored = m_statements->insert(m_pending);
        m_pending.clear();
        m_pendingKeys.clear();
        return stored.ok() ? stored : rolledBack(stored);
    }

    // The largest key stored, 0 when none.
    Result<qint64> lastKey()
    {
        Result<qint64> result;
        const EngineSql &sql = m_engine.deletedSql().lastKey;
        QSqlQuery *query = m_engine.statement(sql, result);
        if (!query)
            return result;
        if (!query->exec() || !query->next()) {
            const QSqlError error = query->lastError();
            query->finish();
            result.error = m_engine.failure(error, sql.right).error;
            return result;
        }
        result.value = query->value(0).toLongLong();
        query->finish();
        return result;
    }

    // The commit was sent and its answer lost: what was kept is asked on a
    // new connection.
    Status afterLostCommit(const Status &lost)
    {
        if (m_firstKey.isEmpty())
            return {}; // nothing was to be stored
        const Result<bool> found = m_engine.lostCommitStored(m_firstKey);
        if (!found.ok())
            return outcomeUnknown(lost);
        return found.value ? Status{} : lost;
    }

    StoreEngine &m_engine;
    PhoneBook::Impl &m_d;
    std::unique_ptr<BatchImport> m_batch;
    std::unique_ptr<ImportStatements> m_statements;
    QList<ImportRow> m_pending; // added, not yet stored
    QList<Keys> m_pendingKeys;
    double m_stored = 0;
    qint64 m_lastKeyBefore = 0;
    quint64 m_digest = 0; // of the entries added
    QString m_firstKey;
    ImportCounts m_counts;
};

} // namespace

Result<ImportCounts> PhoneBook::importEntries(EntrySource &source)
{
    const StoreEngine::Watch watching(*d->engine);
    Result<ImportCounts> result;
    Import import(*d);
    result.error = import.begin().error;
    ContactEntry entry;
    while (result.ok() && source.next(entry))
        result.error = import.add(entry).error;
    if (!result.ok())
        return result;
    if (source.failed()) {
        result.error = import.rolledBack(storeFailure(ImportStopped)).error;
        return result;
    }
    return import.commit();
}

Result<ImportCounts> PhoneBook::importEntries(const QList<ContactEntry> &entries)
{
    class ListSource : public EntrySource
    {
    public:
        explicit ListSource(const QList<ContactEntry> &entries)
            : m_entries(entries)
        { }
        bool next(ContactEntry &entry) override
        {
            if (m_at == m_entries.size())
                return false;
            entry = m_entries.at(m_at++);
            return true;
        }
        bool failed() const override { return false; }

    private:
        const QList<ContactEntry> &m_entries;
        qsizetype m_at = 0;
    };
    ListSource source(entries);
    return importEntries(source);
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
