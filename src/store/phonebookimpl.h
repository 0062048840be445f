#pragma once

#include "store/contactentry.h"
#include "store/phonebook.h"
#include "store/storeerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>

namespace dialvault {

// What the parts of PhoneBook share: the connection and its statements,
// each prepared once on first use.
struct PhoneBook::Impl
{
    QString path;
    QString connectionName;
    QSqlDatabase db;
    std::map<QString, QSqlQuery> statements;

    // The statement for `sql`, prepared and forward-only; null on failure,
    // with `status` set.
    QSqlQuery *statement(const QString &sql, Status &status);
    Status run(const QString &sql);
};

// The columns every read of whole entries selects, in this order.
QString entryColumns();
// The entry in `query`'s current row, its columns from `first` on as
// entryColumns() lists them. NULL texts stay null.
ContactEntry entryAt(const QSqlQuery &query, int first = 0);

} // namespace dialvault
