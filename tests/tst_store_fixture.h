#pragma once

// Helpers shared by the store's test programs: a fresh database in a
// temporary folder, and a plain SQLite C API connection standing in for
// "another tool" working on the same file.

#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "support/rawdatabase.h"

#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <sqlite3.h>

namespace dialvault {

class StoreFolder
{
public:
    StoreFolder() { QVERIFY(dir.isValid()); }
    QString folder() const { return dir.path(); }
    QString databasePath() const { return dir.filePath(ContactStore::fileName()); }
    bool create() const { return createDatabaseIfMissing(databasePath()).value; }

private:
    QTemporaryDir dir;
};

} // namespace dialvault
