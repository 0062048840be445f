#include "store/importstatements.h"

#include "store/storeengine.h"

#include <QSqlError>
#include <QSqlQuery>

namespace dialvault {

namespace {

class QueryStatements : public ImportStatements
{
public:
    explicit QueryStatements(StoreEngine &engine)
        : m_engine(engine)
    { }

    bool prepare(Status &status)
    {
        m_byName = m_engine.statement(m_engine.candidatesStatement(false), status);
        m_byDigits
            = m_byName ? m_engine.statement(m_engine.candidatesStatement(true), status) : nullptr;
        m_insert = m_byDigits ? m_engine.statement(m_engine.insertStatement(), status) : nullptr;
        return m_insert != nullptr;
    }

    Result<bool>
    anyDuplicate(bool byDigits, const QString &key,
                 const std::function<bool(const QString &, const QString &)> &isDuplicate) override
    {
        Result<bool> result;
        QSqlQuery *candidates = byDigits ? m_byDigits : m_byName;
        candidates->bindValue(0, key);
        if (!candidates->exec()) {
            result.error = failure(*candidates, byDigits).error;
            return result;
        }
        while (!result.value && candidates->next())
            result.value
                = isDuplicate(candidates->value(0).toString(), candidates->value(1).toString());
        if (candidates->lastError().isValid())
            result.error = failure(*candidates, byDigits).error;
        candidates->finish();
        return result;
    }

    Status insert(std::span<const ImportRow> rows) override
    {
        for (const ImportRow &row : rows) {
            m_insert->bindValue(0, textValue(row.entry.name));
            m_insert->bindValue(1, textValue(row.entry.phone));
            m_insert->bindValue(2, textValue(row.entry.note));
            m_insert->bindValue(3, row.entry.rowNumber);
            if (m_engine.keysAdds())
                m_insert->bindValue(
                    4, row.key.isNull() ? QVariant(QMetaType::fromType<QString>()) : row.key);
            if (!m_insert->exec())
                return m_engine.failure(m_insert->lastError(), m_engine.insertStatement().right);
        }
        return {};
    }

    qsizetype batchSize() const override { return 1; }

private:
    Status failure(QSqlQuery &candidates, bool byDigits)
    {
        const QSqlError error = candidates.lastError();
        candidates.finish();
        return m_engine.failure(error, m_engine.candidatesStatement(byDigits).right);
    }

    StoreEngine &m_engine;
    QSqlQuery *m_byName = nullptr;
    QSqlQuery *m_byDigits = nullptr;
    QSqlQuery *m_insert = nullptr;
};

} // namespace

std::unique_ptr<ImportStatements> queryImportStatements(StoreEngine &engine, Status &status)
{
    auto statements = std::make_unique<QueryStatements>(engine);
    if (!statements->prepare(status))
        return nullptr;
    return statements;
}

} // namespace dialvault
