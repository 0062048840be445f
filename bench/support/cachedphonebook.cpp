#include "support/cachedphonebook.h"

#include "store/storeschema.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace dialvault::bench {

bool isCachedPhoneBook(const QString &path, qint64 entries)
{
    if (!QFileInfo::exists(path))
        return false;
    sqlite3 *db = nullptr;
    bool current = false;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        const QByteArray sql = QStringLiteral("SELECT (SELECT user_version FROM "
                                              "pragma_user_version), (SELECT n FROM %1)")
                                   .arg(StoreSchema::countTable)
                                   .toUtf8();
        sqlite3_stmt *statement = nullptr;
        current = sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW
            && sqlite3_column_int(statement, 0) == StoreSchema::version
            && sqlite3_column_int64(statement, 1) == entries;
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return current;
}

} // namespace dialvault::bench
