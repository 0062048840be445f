#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/storeconnection.h"
#include "store/storefailure.h"
#include "store/storeschema.h"

#include <QDir>
#include <QSqlError>
#include <QStringList>
#include <QVariant>

#include <atomic>

namespace dialvault {

namespace {

std::atomic<quint64> phoneBookCounter{0};

} // namespace

QSqlQuery *PhoneBook::Impl::statement(const QString &sql, Status &status)
{
    auto found = statements.find(sql);
    if (found != statements.end())
        return &found->second;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        status = engineFailure(query.lastError());
        return nullptr;
    }
    return &statements.emplace(sql, std::move(query)).first->second;
}

Status PhoneBook::Impl::run(const QString &sql)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return {};
    return engineFailure(query.lastError());
}

QString entryColumns()
{
    using namespace StoreSchema;
    return QStringList{quoted(nameField), quoted(phoneField), quoted(noteField),
                       quoted(rowNumberField)}
        .join(QStringLiteral(", "));
}

ContactEntry entryAt(const QSqlQuery &query, int first)
{
    // A null QVariant converts to a null QString, so NULL stays apart from
    // the empty text; a row number that another program stored as text is
    // read as the number it spells, or 0.
    return ContactEntry{query.value(first).toString(), query.value(first + 1).toString(),
                        query.value(first + 2).toString(), query.value(first + 3).toDouble()};
}

PhoneBook::PhoneBook(const QString &folder)
    : d(std::make_unique<Impl>())
{
    d->path = QDir(folder).filePath(QStringLiteral("db1.mdb"));
    d->connectionName = QStringLiteral("dialvault-phonebook-%1").arg(++phoneBookCounter);
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionName);
}

PhoneBook::~PhoneBook()
{
    d->statements.clear();
    d->db.close();
    d->db = QSqlDatabase();
    QSqlDatabase::removeDatabase(d->connectionName);
}

QString PhoneBook::databasePath() const
{
    return d->path;
}

Status PhoneBook::open()
{
    d->statements.clear();
    d->db.close();
    Status status = openExistingFile(d->db, d->path);
    if (!status.ok())
        return status;
    QSqlQuery query(d->db);
    if (!query.exec(QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version), "
                                   "EXISTS (SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                   "AND name = '%1' COLLATE NOCASE)")
                        .arg(StoreSchema::table))
        || !query.next())
        return engineFailure(query.lastError());
    const int version = query.value(0).toInt();
    const bool hasTable = query.value(1).toBool();
    query.finish();
    if (!hasTable)
        return {{1, QStringLiteral("no such table: %1").arg(StoreSchema::table),
                 FailureCause::NoTable}};
    if (version != StoreSchema::version) {
        status = StoreSchema::completeSchema(d->db);
        if (!status.ok())
            return status;
    }
    // An import must survive a crash or power loss once it is reported.
    return d->run(QStringLiteral("PRAGMA synchronous = FULL"));
}

} // namespace dialvault
