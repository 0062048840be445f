#include "store/storefailure.h"

#include <QSqlError>

namespace dialvault {

Status storeFailure(StoreErrorNumber number)
{
    switch (number) {
    case NoCurrentRecord:
        return {{number, QStringLiteral("No current record.")}};
    case RecordIsDeleted:
        return {{number, QStringLiteral("Record is deleted.")}};
    case ObjectNotSet:
        return {{number, QStringLiteral("Object invalid or no longer set.")}};
    case InvalidUseOfNull:
        return {{number, QStringLiteral("Invalid use of Null")}};
    }
    return {{number, QString()}};
}

Status engineFailure(const QSqlError &error)
{
    bool numbered = false;
    int number = error.nativeErrorCode().toInt(&numbered);
    // Qt's own failures (no driver, no statement) carry no engine number;
    // they still must not read as success, so they take SQLite's generic one.
    if (!numbered || number == 0)
        number = 1;
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return {{number, text}};
}

} // namespace dialvault
