#include "support/sqlitefile.h"

#include "store/databasecreation.h"

#include <QDir>

namespace dialvault {

QList<StoredRow> storedRows(const QString &path)
{
    return RawDatabase(path).rows();
}

QString execSql(const QString &path, const QString &sql)
{
    RawDatabase db(path);
    if (!db.isOpen())
        return QStringLiteral("cannot open ") + path;
    db.exec(sql);
    return db.error;
}

void insertRow(const QString &path, const StoredRow &row)
{
    RawDatabase(path).insert(row.name, row.phone, row.note, row.rowNumber);
}

QString makeEmptyDatabase(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("db1.mdb"));
    createDatabaseIfMissing(path);
    return path;
}

} // namespace dialvault
