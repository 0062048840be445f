#pragma once

#include "store/storeerror.h"

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace dialvault {

// The layout of db1.mdb: table `test` with its four fields, plus what the
// store keeps beside it so that any SQLite client still reads and writes the
// file: generated columns with the folded name and the number's digits (each
// with its index) for matching names and numbers, and a one-row table that
// triggers keep at the exact row count.
namespace StoreSchema {

// Stored in PRAGMA user_version once every piece below exists.
// Version 2 added the number's digits; version 3 the tables of the address
// books that entries are synced with (LinkTables); version 4 the recently
// deleted entries (DeletedTable).
inline constexpr int version = 4;

inline const QString table = QStringLiteral("test");
inline const QString nameField = QStringLiteral("نام");
inline const QString phoneField = QStringLiteral("تلفن");
inline const QString noteField = QStringLiteral("يادداشت");
inline const QString rowNumberField = QStringLiteral("رديف");

inline const QString foldedNameColumn = QStringLiteral("folded_name");
inline const QString foldedNameIndex = QStringLiteral("test_folded_name");
inline const QString countTable = QStringLiteral("test_count");
// The number with its digits in ASCII, then without its uncommon separators
// (steps on the way, kept apart so that no expression nests too deep), then
// its digits alone as SearchKeys' storedNumberDigits() gives them.
inline const QString foldedPhoneColumn = QStringLiteral("phone_folded");
inline const QString unmarkedPhoneColumn = QStringLiteral("phone_unmarked");
inline const QString phoneDigitsColumn = QStringLiteral("phone_digits");
inline const QString phoneDigitsIndex = QStringLiteral("test_phone_digits");

// `field` wrapped in double quotes, for use in SQL text.
QString quoted(const QString &field);

// The SQL expression that folds `operand` (a column or a parameter) for name
// matching: Persian and Arabic forms of yeh and kaf, Persian and Arabic-Indic
// digits to ASCII, Latin letters to lower case. Built from SQLite's own
// functions only, so other clients can evaluate the generated column.
QString foldedNameExpression(const QString &operand);

// The expressions of the three number columns, each from the one before it
// (the first from the phone field); SQLite's own functions only, like the
// folded name.
QString foldedPhoneExpression(const QString &phone);
QString unmarkedPhoneExpression(const QString &foldedPhone);
QString phoneDigitsExpression(const QString &unmarkedPhone);

// The name query: the rowid of the first entry, in storage order, whose
// folded name equals the folded parameter.
const QString &nameQueryStatement();

// The statement that makes table `test` with the four fields.
QString createTableStatement();

// A generated column of table `test`.
struct GeneratedColumn
{
    QString name;
    QString expression;
};

// The generated columns, in the order they were added to the table (the
// folded name in version 1, the number's in version 2).
QList<GeneratedColumn> generatedColumns();
// The column's definition, as CREATE TABLE and ALTER TABLE write it.
QString columnDefinition(const GeneratedColumn &column);
// The statement that adds `column` to an existing table `test`.
QString addColumnStatement(const GeneratedColumn &column);
// The statements that make the indexes, the count table and its triggers,
// and the tables linking entries to address book cards, each only when
// missing.
QStringList companionStatements();

// Adds whatever the file lacks beside an existing table `test`, in one
// transaction; a file already at `version` costs one read of the version. A
// file holding anything of another program's is refused (see checkSchema)
// and left untouched.
Status completeSchema(const QSqlDatabase &db);

} // namespace StoreSchema

} // namespace dialvault
