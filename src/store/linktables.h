#pragma once

#include "store/storeengine.h"

#include <QString>
#include <QStringList>

namespace dialvault {

// The tables beside `test` that tie entries to the cards of address books
// they are synced with: for each address book its sync token, and for each
// entry synced with it the card's place (href), its ETag and a hash of the
// entry as last synced. Other programs reading `test` see nothing of them,
// and nothing on `test` keeps them up to date: a change there is found by
// comparing the entry with its hash.
namespace LinkTables {

inline const QString bookTable = QStringLiteral("test_address_book");
inline const QString linkTable = QStringLiteral("test_card_link");

// The tables made on a file, in the order they are made; each statement may
// run again on a file that has them.
QStringList fileStatements();
// The same on a server, in the schema in use.
QStringList serverStatements();

// The rights on a server a person needs to sync, as GRANT lists them.
QString serverGrants(const QString &schema, const QString &role);

} // namespace LinkTables

// The statements of a sync, in the engine's SQL.
struct LinkSql
{
    EngineSql entries; // key, name, phone, note of every entry, in key order
    EngineSql entry; // name, phone, note of the entry with the key bound
    EngineSql insertEntry; // the four fields; answers the new entry's key
    EngineSql updateEntry; // name, phone, note, then the key
    EngineSql deleteEntry; // the key
    EngineSql links; // entry, href, etag, state of the book bound, in entry order
    EngineSql token; // the book's sync token
    EngineSql saveLink; // book, entry, href, etag, state; replaces the entry's link
    EngineSql dropLink; // book, entry
    EngineSql dropToken; // book
    EngineSql saveToken; // book, token
    QString tablesPresent; // fails when the link tables are not there
};

// The statements on a file, and on a server.
const LinkSql &fileLinkSql();
const LinkSql &serverLinkSql();

} // namespace dialvault
