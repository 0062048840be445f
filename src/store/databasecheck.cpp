#include "store/databasecheck.h"

#include "store/sqliteconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace dialvault {

namespace {

// SQLite's number for a damaged file.
constexpr int sqliteCorrupt = 11;

} // namespace

Status checkPhoneBook(const QString &path)
{
    SqliteConnection connection;
    if (Status opened = connection.open(path, SqliteUse::Reading); !opened.ok())
        return opened;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return sqliteFailure(query.lastError());
    const QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok"))
        return {{sqliteCorrupt, verdict, FailureCause::Damaged}};

    using namespace StoreSchema;
    if (!query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)")))
        return sqliteFailure(query.lastError());
    query.bindValue(0, table);
    if (!query.exec())
        return sqliteFailure(query.lastError());
    QSet<QString> fields;
    while (query.next())
        fields.insert(query.value(0).toString());
    if (fields.isEmpty())
        return {{1, QStringLiteral("no such table: %1").arg(table), FailureCause::NoTable}};
    for (const QString &field : {nameField, phoneField, noteField, rowNumberField}) {
        if (!fields.contains(field))
            return {{1, QStringLiteral("table %1 has no field %2").arg(table, field),
                     FailureCause::MissingField}};
    }
    return {};
}

} // namespace dialvault
