#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/searchkeys.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QVariant>

namespace dialvault {

namespace {

using namespace StoreSchema;

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// The entries already stored that may be duplicates of an entry: those with
// the same stored digits (few share a number), or, for an entry without
// digits, those with the same folded name. Both are index look-ups; the
// caller decides on the keys themselves.
QString candidatesByDigits()
{
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
        .arg(quoted(nameField), quoted(phoneField), table, phoneDigitsColumn);
}

QString candidatesByName()
{
    return QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = ?")
        .arg(quoted(nameField), quoted(phoneField), table, foldedNameColumn);
}

QString insertStatement()
{
    return QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
        .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
             quoted(rowNumberField));
}

} // namespace

Result<ImportCounts> PhoneBook::importEntries(const QList<ContactEntry> &entries)
{
    Result<ImportCounts> result;
    const auto failed = [&](const Status &status) {
        d->run(QStringLiteral("ROLLBACK"));
        result.error = status.error;
        result.value = {};
        return result;
    };
    // IMMEDIATE takes the write lock before the count is read, so that no
    // other writer can change it until the row numbers are handed out.
    if (Status begun = d->run(QStringLiteral("BEGIN IMMEDIATE")); !begun.ok()) {
        result.error = begun.error;
        return result;
    }
    Status status;
    QSqlQuery *count = d->statement(QStringLiteral("SELECT n FROM %1").arg(countTable), status);
    if (!count)
        return failed(status);
    if (!count->exec() || !count->next())
        return failed(count->lastError().isValid() ? engineFailure(count->lastError())
                                                   : storeFailure(CountMissing));
    double stored = count->value(0).toDouble();
    count->finish();

    QSqlQuery *byDigits = d->statement(candidatesByDigits(), status);
    QSqlQuery *byName = byDigits ? d->statement(candidatesByName(), status) : nullptr;
    QSqlQuery *insert = byName ? d->statement(insertStatement(), status) : nullptr;
    if (!insert)
        return failed(status);

    ImportCounts &counts = result.value;
    for (const ContactEntry &entry : entries) {
        if (entry.name.isEmpty() && entry.phone.isEmpty()) {
            ++counts.withoutNameOrNumber;
            continue;
        }
        const QString name = foldedName(entry.name);
        const QString digits = numberDigits(entry.phone);
        const QString storedDigits = storedNumberDigits(entry.phone);
        QSqlQuery *candidates = storedDigits.isEmpty() ? byName : byDigits;
        candidates->bindValue(0, storedDigits.isEmpty() ? name : storedDigits);
        if (!candidates->exec())
            return failed(engineFailure(candidates->lastError()));
        bool duplicate = false;
        while (!duplicate && candidates->next()) {
            duplicate = foldedName(candidates->value(0).toString()) == name
                && numberDigits(candidates->value(1).toString()) == digits;
        }
        if (candidates->lastError().isValid())
            return failed(engineFailure(candidates->lastError()));
        candidates->finish();
        if (duplicate) {
            ++counts.duplicates;
            continue;
        }
        insert->bindValue(0, textValue(entry.name));
        insert->bindValue(1, textValue(entry.phone));
        insert->bindValue(2, textValue(entry.note));
        insert->bindValue(3, ++stored);
        if (!insert->exec())
            return failed(engineFailure(insert->lastError()));
        ++counts.added;
    }
    if (Status committed = d->run(QStringLiteral("COMMIT")); !committed.ok())
        return failed(committed);
    return result;
}

} // namespace dialvault
