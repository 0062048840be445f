#include "cli/serverinit.h"

#include "store/linktables.h"
#include "store/serverschema.h"
#include "store/storeschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace dialvault {

namespace {

using namespace ServerSchema;
using StoreSchema::quoted;

// Any number the preparations of all programs agree on.
constexpr qint64 preparationLock = 0x4469616c7661;

QString identifier(const QString &name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString countFunctionBody()
{
    return QStringLiteral(R"(DECLARE
  change bigint;
BEGIN
  IF TG_OP = 'TRUNCATE' THEN
    UPDATE %1 SET n = 0;
    RETURN NULL;
  END IF;
  IF TG_OP = 'INSERT' THEN
    SELECT count(*) INTO change FROM added;
  ELSE
    SELECT -count(*) INTO change FROM removed;
  END IF;
  IF change <> 0 THEN
    UPDATE %1 SET n = n + change WHERE shard = pg_backend_pid() % %2;
  END IF;
  RETURN NULL;
END)")
        .arg(countTable)
        .arg(countShards);
}

class Preparation
{
public:
    explicit Preparation(StoreEngine &engine)
        : engine(engine)
        , query(engine.database())
    { }

    Result<ServerPreparation> run()
    {
        Result<ServerPreparation> result;
        Status status = steps(result.value);
        if (status.ok())
            status = exec(QStringLiteral("COMMIT"));
        if (!status.ok()) {
            engine.rollback();
            result.error = status.error;
        }
        return result;
    }

private:
    Status exec(const QString &sql, const QString &right = {})
    {
        if (query.exec(sql))
            return {};
        return engine.failure(query.lastError(), right);
    }

    Result<QVariant> value(const QString &sql)
    {
        Result<QVariant> result;
        if (Status status = exec(sql); !status.ok()) {
            result.error = status.error;
            return result;
        }
        if (query.next())
            result.value = query.value(0);
        query.finish();
        return result;
    }

    Result<bool> exists(const QString &sql)
    {
        Result<QVariant> found = value(QStringLiteral("SELECT EXISTS (%1)").arg(sql));
        Result<bool> result;
        result.error = found.error;
        result.value = found.value.toBool();
        return result;
    }

    Result<bool> relationExists(const QString &name)
    {
        return exists(QStringLiteral("SELECT 1 FROM pg_class c JOIN pg_namespace s ON s.oid = "
                                     "c.relnamespace WHERE s.nspname = current_schema() AND "
                                     "c.relname = '%1'")
                          .arg(name));
    }

    Status make(const QString &what, const QString &sql, QStringList &made)
    {
        Status status = exec(sql, QStringLiteral("CREATE ON SCHEMA %1").arg(identifier(schema)));
        if (status.ok())
            made.append(what);
        return status;
    }

    Status steps(ServerPreparation &done)
    {
        if (Status status = exec(QStringLiteral("BEGIN")); !status.ok())
            return status;
        if (Status status
            = exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(preparationLock));
            !status.ok())
            return status;

        const Result<QVariant> encoding
            = value(QStringLiteral("SELECT pg_encoding_to_char(encoding) FROM pg_database "
                                   "WHERE datname = current_database()"));
        if (!encoding.ok())
            return encoding;
        if (encoding.value.toString() != QLatin1String("UTF8"))
            return {{ServerCallFailed,
                     QStringLiteral("the database's encoding is %1, not UTF8: it cannot keep "
                                    "Persian names")
                         .arg(encoding.value.toString()),
                     FailureCause::Other}};
        const Result<QVariant> current = value(QStringLiteral("SELECT current_schema()"));
        if (!current.ok())
            return current;
        if (current.value.isNull())
            return {{ServerCallFailed, QStringLiteral("no schema of the search_path exists"),
                     FailureCause::ServerNotPrepared}};
        schema = done.schema = current.value.toString();

        if (Status status = prepareTable(done.made); !status.ok())
            return status;
        if (Status status = prepareCount(done.made); !status.ok())
            return status;
        return prepareLinks(done.made);
    }

    // The links of entries to address book cards, in tables of their own; a
    // step apart from the others, so that steps can be ordered.
    Status prepareLinks(QStringList &made)
    {
        for (const QString &name : {LinkTables::bookTable, LinkTables::linkTable}) {
            const Result<bool> present = relationExists(name);
            if (!present.ok())
                return present;
            if (present.value)
                continue;
            const QStringList statements = LinkTables::serverStatements();
            const QString &sql = statements.at(name == LinkTables::bookTable ? 0 : 1);
            if (Status status = make(QStringLiteral("table %1").arg(name), sql, made); !status.ok())
                return status;
        }
        return {};
    }

    Status prepareTable(QStringList &made)
    {
        const Result<bool> hasTable = relationExists(table);
        if (!hasTable.ok())
            return hasTable;
        const QString folded
            = QStringLiteral("%1 text COLLATE \"C\" GENERATED ALWAYS AS (%2) STORED")
                  .arg(foldedNameColumn, foldedNameExpression(quoted(StoreSchema::nameField)));
        const QString digits
            = QStringLiteral("%1 text COLLATE \"C\" GENERATED ALWAYS AS (%2) STORED")
                  .arg(phoneDigitsColumn, phoneDigitsExpression(quoted(StoreSchema::phoneField)));
        const QString key
            = QStringLiteral("%1 bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY").arg(keyColumn);
        const QString clientKey = QStringLiteral("%1 uuid UNIQUE").arg(clientKeyColumn);
        if (!hasTable.value) {
            Status status
                = make(QStringLiteral("table %1").arg(table),
                       QStringLiteral("CREATE TABLE %1 (%2, %3 text, %4 text, %5 text, %6 double "
                                      "precision, %7, %8, %9)")
                           .arg(table, key, quoted(StoreSchema::nameField),
                                quoted(StoreSchema::phoneField), quoted(StoreSchema::noteField),
                                quoted(StoreSchema::rowNumberField), clientKey, folded, digits),
                       made);
            if (!status.ok())
                return status;
        } else {
            // A table of the same name that is no phone book is left alone.
            for (const QString &field : {StoreSchema::nameField, StoreSchema::phoneField,
                                         StoreSchema::noteField, StoreSchema::rowNumberField}) {
                const Result<bool> present = columnExists(field);
                if (!present.ok())
                    return present;
                if (!present.value)
                    return {{ServerCallFailed,
                             QStringLiteral("table %1 has no column %2").arg(table, field),
                             FailureCause::MissingField}};
            }
            for (const auto &[column, definition] :
                 {std::pair{keyColumn, key}, std::pair{clientKeyColumn, clientKey},
                  std::pair{foldedNameColumn, folded}, std::pair{phoneDigitsColumn, digits}}) {
                const Result<bool> present = columnExists(column);
                if (!present.ok())
                    return present;
                if (present.value)
                    continue;
                Status status = make(
                    QStringLiteral("column %1").arg(column),
                    QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, definition), made);
                if (!status.ok())
                    return status;
            }
        }
        for (const auto &[index, column] : {std::pair{foldedNameIndex, foldedNameColumn},
                                            std::pair{phoneDigitsIndex, phoneDigitsColumn}}) {
            const Result<bool> present = relationExists(index);
            if (!present.ok())
                return present;
            if (present.value)
                continue;
            // With the key second, equal names and numbers are listed in the
            // order they were added.
            Status status = make(QStringLiteral("index %1").arg(index),
                                 QStringLiteral("CREATE INDEX %1 ON %2 (%3, %4)")
                                     .arg(index, table, column, keyColumn),
                                 made);
            if (!status.ok())
                return status;
        }
        return {};
    }

    Result<bool> columnExists(const QString &column)
    {
        return exists(
            QStringLiteral("SELECT 1 FROM pg_attribute WHERE attrelid = '%1.%2'::regclass "
                           "AND attname = '%3' AND NOT attisdropped")
                .arg(identifier(schema), table, column));
    }

    Status prepareCount(QStringList &made)
    {
        const Result<bool> hasCount = relationExists(countTable);
        if (!hasCount.ok())
            return hasCount;
        const Result<bool> hasFunction = exists(
            QStringLiteral("SELECT 1 FROM pg_proc p JOIN pg_namespace s ON s.oid = p.pronamespace "
                           "WHERE s.nspname = current_schema() AND p.proname = '%1'")
                .arg(countFunction));
        if (!hasFunction.ok())
            return hasFunction;
        const std::pair<QString, QString> triggers[]{
            {QStringLiteral("%1_count_insert").arg(table),
             QStringLiteral("AFTER INSERT ON %1 REFERENCING NEW TABLE AS added").arg(table)},
            {QStringLiteral("%1_count_delete").arg(table),
             QStringLiteral("AFTER DELETE ON %1 REFERENCING OLD TABLE AS removed").arg(table)},
            {QStringLiteral("%1_count_truncate").arg(table),
             QStringLiteral("AFTER TRUNCATE ON %1").arg(table)},
        };
        QList<std::pair<QString, QString>> missingTriggers;
        for (const auto &trigger : triggers) {
            const Result<bool> present = exists(
                QStringLiteral("SELECT 1 FROM pg_trigger WHERE tgrelid = '%1.%2'::regclass AND "
                               "tgname = '%3'")
                    .arg(identifier(schema), table, trigger.first));
            if (!present.ok())
                return present;
            if (!present.value)
                missingTriggers.append(trigger);
        }
        if (hasCount.value && hasFunction.value && missingTriggers.isEmpty())
            return {};

        // No entry may come or go between counting them and the triggers
        // taking over.
        if (Status status
            = exec(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table));
            !status.ok())
            return status;
        if (!hasCount.value) {
            Status status = make(QStringLiteral("table %1").arg(countTable),
                                 QStringLiteral("CREATE TABLE %1 (shard integer PRIMARY KEY, n "
                                                "bigint NOT NULL)")
                                     .arg(countTable),
                                 made);
            if (!status.ok())
                return status;
        }
        if (!hasFunction.value) {
            // The function runs with its owner's rights, so that a person
            // needs only to read the count; its search path is fixed, as a
            // function with its owner's rights must have it.
            Status status = make(
                QStringLiteral("function %1").arg(countFunction),
                QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql SECURITY "
                               "DEFINER SET search_path = %2, pg_temp AS $body$%3$body$")
                    .arg(countFunction, identifier(schema), countFunctionBody()),
                made);
            if (!status.ok())
                return status;
        }
        for (const auto &[name, event] : missingTriggers) {
            Status status = make(QStringLiteral("trigger %1").arg(name),
                                 QStringLiteral("CREATE TRIGGER %1 %2 FOR EACH STATEMENT EXECUTE "
                                                "FUNCTION %3()")
                                     .arg(name, event, countFunction),
                                 made);
            if (!status.ok())
                return status;
        }
        for (const QString &sql :
             {QStringLiteral("DELETE FROM %1").arg(countTable),
              QStringLiteral("INSERT INTO %1 SELECT shard, 0 FROM generate_series(0, %2) shard")
                  .arg(countTable)
                  .arg(countShards - 1),
              QStringLiteral("UPDATE %1 SET n = (SELECT count(*) FROM %2) WHERE shard = 0")
                  .arg(countTable, table)}) {
            if (Status status = exec(sql); !status.ok())
                return status;
        }
        return {};
    }

    StoreEngine &engine;
    QSqlQuery query;
    QString schema;
};

} // namespace

Result<ServerPreparation> prepareServerPhoneBook(StoreEngine &engine)
{
    return Preparation(engine).run();
}

QString serverGrants(const QString &schema, const QString &role)
{
    const QString where = identifier(schema);
    return QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2;\n"
                          "GRANT SELECT, INSERT, DELETE ON %1.%3 TO %2;\n"
                          "GRANT SELECT ON %1.%4 TO %2;\n")
               .arg(where, role, table, countTable)
        + LinkTables::serverGrants(where, role);
}

} // namespace dialvault
