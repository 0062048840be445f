#pragma once

#include "store/storeengine.h"
#include "store/storeerror.h"

#include <QString>
#include <QStringList>

namespace dialvault {

// What preparing a server found and did.
struct ServerPreparation
{
    QString schema; // where table `test` lives
    QStringList made; // the pieces made now; empty when all were there
};

// Makes the phone book on the PostgreSQL server that `engine` is connected
// to, in the current schema: table `test`, or what an existing one lacks
// beside its four fields (its columns, indexes, the keys imports lock, the
// count with its function and triggers, an earlier version's count brought
// up to date), in one transaction, one preparation at a time. A complete
// phone book is only checked: preparing twice changes nothing. A database
// that cannot hold Persian text (not UTF8), and a table `test` without the
// four fields, are refused.
Result<ServerPreparation> prepareServerPhoneBook(StoreEngine &engine);

// The GRANT statements that give `role` what a person of the office needs:
// to find, add and delete entries, to read the count and to lock the keys
// of an import.
QString serverGrants(const QString &schema, const QString &role);

} // namespace dialvault
