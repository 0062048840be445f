#pragma once

#include "store/contactentry.h"
#include "store/phonebook.h"
#include "store/serverlink.h"
#include "store/storedialect.h"
#include "store/storeerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>
#include <memory>

namespace dialvault {

// What the parts of PhoneBook share: the connection and its statements,
// each prepared once on first use.
struct PhoneBook::Impl
{
    PhoneBookSource source;
    StoreDialect dialect{Engine::Sqlite};
    QString connectionName; // a file's
    std::unique_ptr<ServerLink> server;
    QSqlDatabase db;
    std::map<QString, QSqlQuery> statements;

    // The statement for `sql`, prepared and forward-only; null on failure,
    // with `status` set.
    QSqlQuery *statement(const QString &sql, Status &status, const QString &right = {});
    Status run(const QString &sql, const QString &right = {});
    // A failure of a statement on this connection.
    Status failure(const QSqlError &error, const QString &right = {});
    // Before an operation: a server connection that broke is opened again.
    Status ready();
    Status openServer();
};

// The columns every read of whole entries selects, in this order.
QString entryColumns();
// The entry in `query`'s current row, its columns from `first` on as
// entryColumns() lists them. NULL texts stay null.
ContactEntry entryAt(const QSqlQuery &query, int first = 0);

} // namespace dialvault
