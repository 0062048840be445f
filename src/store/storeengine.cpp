#include "store/storeengine.h"

#include "store/batchimport.h"
#include "store/postgresengine.h"
#include "store/sqliteengine.h"

#include <QSqlError>

namespace dialvault {

StoreEngine::~StoreEngine() = default;

StoreEngine::Watch::Watch(StoreEngine &engine)
    : m_engine(engine)
{
    if (m_engine.m_watches++ == 0)
        m_engine.startWatch();
}

StoreEngine::Watch::~Watch()
{
    if (--m_engine.m_watches == 0)
        m_engine.endWatch();
}

QSqlQuery *StoreEngine::statement(const EngineSql &sql, Status &status)
{
    // Never a new connection here: it would carry on outside the
    // transaction that the statement may belong to.
    if (!isOpen()) {
        status = closedFailure();
        return nullptr;
    }
    if (Status allowed = beforeStatement(); !allowed.ok()) {
        status = allowed;
        return nullptr;
    }
    auto found = m_statements.find(sql.text);
    if (found != m_statements.end())
        return &found->second;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(sql.text)) {
        status = failure(query.lastError(), sql.right);
        return nullptr;
    }
    return &m_statements.emplace(sql.text, std::move(query)).first->second;
}

Status StoreEngine::run(const QString &sql, const QString &right)
{
    if (!isOpen())
        return closedFailure();
    if (Status allowed = beforeStatement(); !allowed.ok())
        return allowed;
    QSqlQuery query(database());
    if (query.exec(sql))
        return {};
    return failure(query.lastError(), right);
}

Result<QVariant> StoreEngine::scalar(const QString &sql)
{
    Result<QVariant> result;
    if (!isOpen()) {
        result.error = closedFailure().error;
        return result;
    }
    if (Status allowed = beforeStatement(); !allowed.ok()) {
        result.error = allowed.error;
        return result;
    }
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next()) {
        result.error = failure(query.lastError()).error;
        return result;
    }
    result.value = query.value(0);
    return result;
}

std::unique_ptr<ImportStatements> StoreEngine::importStatements(Status &status)
{
    return queryImportStatements(*this, status);
}

std::unique_ptr<BatchImport> StoreEngine::batchImport()
{
    return nullptr;
}

Status StoreEngine::commit()
{
    return run(QStringLiteral("COMMIT"));
}

void StoreEngine::rollback()
{
    if (isOpen())
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
}

std::unique_ptr<StoreEngine> makeStoreEngine(const PhoneBookSource &source)
{
    if (source.isServer())
        return std::make_unique<PostgresEngine>(source.serverUrl(), source.timeout());
    return std::make_unique<SqliteEngine>(source.databasePath());
}

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace dialvault
