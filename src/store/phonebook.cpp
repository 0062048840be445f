#include "store/phonebook.h"

#include "store/phonebookimpl.h"
#include "store/serverschema.h"
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

QSqlQuery *PhoneBook::Impl::statement(const QString &sql, Status &status, const QString &right)
{
    // Never a new connection here: it would carry on outside the
    // transaction that the statement belongs to.
    if (server && !server->isOpen()) {
        status = server->failure(QSqlError());
        return nullptr;
    }
    auto found = statements.find(sql);
    if (found != statements.end())
        return &found->second;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        status = failure(query.lastError(), right);
        return nullptr;
    }
    return &statements.emplace(sql, std::move(query)).first->second;
}

Status PhoneBook::Impl::run(const QString &sql, const QString &right)
{
    if (server && !server->isOpen())
        return server->failure(QSqlError());
    QSqlQuery query(db);
    if (query.exec(sql))
        return {};
    return failure(query.lastError(), right);
}

Status PhoneBook::Impl::failure(const QSqlError &error, const QString &right)
{
    return server ? server->failure(error, right) : engineFailure(error);
}

Status PhoneBook::Impl::ready()
{
    if (server && !server->isOpen())
        return openServer();
    return {};
}

Status PhoneBook::Impl::openServer()
{
    statements.clear();
    Status status = server->open();
    if (!status.ok())
        return status;
    db = server->database();
    // One look at the catalogue, so that a server without the phone book
    // says so at once instead of at the first statement.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT to_regclass('%1') IS NOT NULL AND to_regclass('%2') IS "
                                   "NOT NULL")
                        .arg(ServerSchema::table, ServerSchema::countTable))
        || !query.next())
        return failure(query.lastError());
    if (!query.value(0).toBool())
        return {
            {ServerCallFailed,
             QStringLiteral("no table %1 with its count on the server").arg(ServerSchema::table),
             FailureCause::ServerNotPrepared}};
    return status;
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
    : PhoneBook(PhoneBookSource::inFolder(folder))
{ }

PhoneBook::PhoneBook(const PhoneBookSource &source)
    : d(std::make_unique<Impl>())
{
    d->source = source;
    d->dialect = StoreDialect(source.engine());
    if (source.isServer()) {
        d->server = std::make_unique<ServerLink>(source.serverUrl());
        d->db = d->server->database();
        return;
    }
    d->connectionName = QStringLiteral("dialvault-phonebook-%1").arg(++phoneBookCounter);
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connectionName);
}

PhoneBook::~PhoneBook()
{
    d->statements.clear();
    if (d->server) {
        d->db = QSqlDatabase();
        d->server.reset();
        return;
    }
    d->db.close();
    d->db = QSqlDatabase();
    QSqlDatabase::removeDatabase(d->connectionName);
}

const PhoneBookSource &PhoneBook::source() const
{
    return d->source;
}

QString PhoneBook::databasePath() const
{
    return d->source.databasePath();
}

QString PhoneBook::shownName() const
{
    return d->source.shownName();
}

Status PhoneBook::open()
{
    if (d->server)
        return d->openServer();
    d->statements.clear();
    d->db.close();
    Status status = openExistingFile(d->db, d->source.databasePath());
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
