#include "store/sqliteimportstatements.h"

#include "store/storefailure.h"

#include <sqlite3.h>

namespace dialvault {

namespace {

// Rows in one insert: SQLite's work for a statement (its transaction of
// its own, its trigger program) is shared by them.
constexpr int rowsPerInsert = 50;

struct Finalize
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    // Never NULL: constData() is never null, and the text outlives the step.
    sqlite3_bind_text16(statement, index, text.constData(), int(text.size() * sizeof(QChar)),
                        SQLITE_STATIC);
}

QString textAt(sqlite3_stmt *statement, int column)
{
    const auto *text = static_cast<const QChar *>(sqlite3_column_text16(statement, column));
    return text
        ? QString(text, sqlite3_column_bytes16(statement, column) / qsizetype(sizeof(QChar)))
        : QString();
}

class SqliteStatements : public ImportStatements
{
public:
    explicit SqliteStatements(sqlite3 *db)
        : m_db(db)
    { }

    Status prepare(const QString candidates[2], const QString &insert)
    {
        QString many = insert;
        for (int i = 1; i < rowsPerInsert; ++i)
            many += QStringLiteral(", (?, ?, ?, ?)");
        const std::pair<Statement *, const QString *> all[]{{&m_candidates[0], &candidates[0]},
                                                            {&m_candidates[1], &candidates[1]},
                                                            {&m_insertOne, &insert},
                                                            {&m_insertMany, &many}};
        for (const auto &[statement, sql] : all) {
            sqlite3_stmt *made = nullptr;
            if (sqlite3_prepare16_v3(m_db, sql->utf16(), int(sql->size() * sizeof(QChar)),
                                     SQLITE_PREPARE_PERSISTENT, &made, nullptr)
                != SQLITE_OK)
                return failure();
            statement->reset(made);
        }
        return {};
    }

    Result<bool>
    anyDuplicate(bool byDigits, const QString &key,
                 const std::function<bool(const QString &, const QString &)> &isDuplicate) override
    {
        Result<bool> result;
        sqlite3_stmt *const statement = m_candidates[byDigits].get();
        bindText(statement, 1, key);
        int step = SQLITE_ROW;
        while (!result.value && (step = sqlite3_step(statement)) == SQLITE_ROW)
            result.value = isDuplicate(textAt(statement, 0), textAt(statement, 1));
        if (step != SQLITE_ROW && step != SQLITE_DONE)
            result.error = failure().error;
        sqlite3_reset(statement);
        return result;
    }

    Status insert(std::span<const ImportRow> rows) override
    {
        while (!rows.empty()) {
            const bool many = rows.size() >= rowsPerInsert;
            sqlite3_stmt *const statement = many ? m_insertMany.get() : m_insertOne.get();
            const std::span<const ImportRow> these = rows.first(many ? rowsPerInsert : 1);
            int index = 0;
            for (const ImportRow &row : these) {
                bindText(statement, ++index, row.entry.name);
                bindText(statement, ++index, row.entry.phone);
                bindText(statement, ++index, row.entry.note);
                sqlite3_bind_double(statement, ++index, row.entry.rowNumber);
            }
            const int step = sqlite3_step(statement);
            const Status status = step == SQLITE_DONE ? Status() : failure();
            sqlite3_reset(statement);
            if (!status.ok())
                return status;
            rows = rows.subspan(these.size());
        }
        return {};
    }

    qsizetype batchSize() const override { return rowsPerInsert; }

private:
    // The failure of the statement just stepped or prepared.
    Status failure()
    {
        const int code = sqlite3_extended_errcode(m_db);
        return {{code, QString::fromUtf8(sqlite3_errmsg(m_db)), sqliteCause(code)}};
    }

    sqlite3 *m_db;
    Statement m_candidates[2]; // by name, by digits
    Statement m_insertOne;
    Statement m_insertMany;
};

} // namespace

std::unique_ptr<ImportStatements> sqliteImportStatements(sqlite3 *db, const QString candidates[2],
                                                         const QString &insert, Status &status)
{
    auto statements = std::make_unique<SqliteStatements>(db);
    status = statements->prepare(candidates, insert);
    if (!status.ok())
        return nullptr;
    return statements;
}

} // namespace dialvault
