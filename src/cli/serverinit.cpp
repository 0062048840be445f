#include "cli/serverinit.h"

#include "store/deletedtable.h"
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

// Each change of the count is a row of its own, never updated in place, so
// that no writer waits for another's transaction, however long; now and
// then the rows that no transaction holds are folded into one.
QString countFunctionBody()
{
    return QStringLiteral(R"(DECLARE
  change bigint;
BEGIN
  IF TG_OP = 'TRUNCATE' THEN
    DELETE FROM %1;
    INSERT INTO %1 (n) VALUES (0);
    RETURN NULL;
  END IF;
  IF TG_OP = 'INSERT' THEN
    SELECT count(*) INTO change FROM added;
  ELSE
    SELECT -count(*) INTO change FROM removed;
  END IF;
  IF change <> 0 THEN
    INSERT INTO %1 (n) VALUES (change);
    IF random() < 0.1 THEN
      WITH folded AS (
        DELETE FROM %1 WHERE shard IN (SELECT shard FROM %1 FOR UPDATE SKIP LOCKED)
        RETURNING n)
      INSERT INTO %1 (n) SELECT sum(n) FROM folded HAVING count(*) > 0;
    END IF;
  END IF;
  RETURN NULL;
END)")
        .arg(countTable);
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

    // The first value of the answer to `sql`, the names it compares bound
    // to its parameters: no name of the server's is ever put in SQL text.
    Result<QVariant> value(const QString &sql, const QVariantList &names = {})
    {
        Result<QVariant> result;
        bool done = query.prepare(sql);
        for (const QVariant &name : names)
            query.addBindValue(name);
        if (done)
            done = query.exec();
        if (!done) {
            result.error = engine.failure(query.lastError()).error;
            return result;
        }
        if (query.next())
            result.value = query.value(0);
        query.finish();
        return result;
    }

    Result<bool> exists(const QString &sql, const QVariantList &names)
    {
        Result<QVariant> found = value(QStringLiteral("SELECT EXISTS (%1)").arg(sql), names);
        Result<bool> result;
        result.error = found.error;
        result.value = found.value.toBool();
        return result;
    }

    // Relations of the current schema, by name.
    Result<bool> relationExists(const QString &name)
    {
        return exists(QStringLiteral("SELECT 1 FROM pg_class c JOIN pg_namespace s ON s.oid = "
                                     "c.relnamespace WHERE s.nspname = current_schema() AND "
                                     "c.relname = ?"),
                      {name});
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
        if (const Result<QVariant> locked
            = value(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {preparationLock});
            !locked.ok())
            return locked;

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
        if (Status status = prepareImportKeys(done.made); !status.ok())
            return status;
        if (Status status = prepareCount(done.made); !status.ok())
            return status;
        if (Status status = prepareLinks(done.made); !status.ok())
            return status;
        return prepareDeleted(done.made);
    }

    // The recently deleted entries, in a table of their own.
    Status prepareDeleted(QStringList &made)
    {
        const Result<bool> present = relationExists(DeletedTable::table);
        if (!present.ok() || present.value)
            return present;
        return make(QStringLiteral("table %1").arg(DeletedTable::table),
                    DeletedTable::serverStatement(), made);
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
        return exists(QStringLiteral("SELECT 1 FROM pg_attribute a JOIN pg_class c ON c.oid = "
                                     "a.attrelid JOIN pg_namespace s ON s.oid = c.relnamespace "
                                     "WHERE s.nspname = current_schema() AND c.relname = ? AND "
                                     "a.attname = ? AND NOT a.attisdropped"),
                      {table, column});
    }

    Status prepareImportKeys(QStringList &made)
    {
        const Result<bool> hasTable = relationExists(importKeysTable);
        if (!hasTable.ok())
            return hasTable;
        if (!hasTable.value) {
            Status status = make(
                QStringLiteral("table %1").arg(importKeysTable),
                QStringLiteral("CREATE TABLE %1 (key bigint PRIMARY KEY)").arg(importKeysTable),
                made);
            if (!status.ok())
                return status;
        }
        const Result<bool> hasFunction = exists(
            QStringLiteral("SELECT 1 FROM pg_proc p JOIN pg_namespace s ON s.oid = p.pronamespace "
                           "WHERE s.nspname = current_schema() AND p.proname = ?"),
            {importLockFunction});
        if (!hasFunction.ok() || hasFunction.value)
            return hasFunction;
        // A key taken by an import still running is waited for; one taken
        // before is locked where it stands (a DO UPDATE locks the row even
        // when it changes nothing). With its owner's rights, so that a
        // person needs no right on the table.
        return makeOwnerFunction(
            importLockFunction,
            QStringLiteral("CREATE FUNCTION %1(keys bigint[]) RETURNS void LANGUAGE sql SECURITY "
                           "DEFINER SET search_path FROM CURRENT AS $body$INSERT INTO %2 (key) "
                           "SELECT DISTINCT k FROM unnest(keys) k ORDER BY k ON CONFLICT (key) DO "
                           "UPDATE SET key = EXCLUDED.key WHERE false$body$")
                .arg(importLockFunction, importKeysTable),
            made);
    }

    Status prepareCount(QStringList &made)
    {
        const Result<bool> hasCount = relationExists(countTable);
        if (!hasCount.ok())
            return hasCount;
        // A count made by an earlier version kept a few rows that writers
        // updated: its rows are kept, its key numbers the rows to come.
        Result<bool> countKeyed{{}, true};
        if (hasCount.value)
            countKeyed = exists(
                QStringLiteral("SELECT 1 FROM pg_attribute a JOIN pg_class c ON c.oid = "
                               "a.attrelid JOIN pg_namespace s ON s.oid = c.relnamespace WHERE "
                               "s.nspname = current_schema() AND c.relname = ? AND a.attname = "
                               "'shard' AND a.attidentity <> ''"),
                {countTable});
        if (!countKeyed.ok())
            return countKeyed;
        const Result<QVariant> function = value(
            QStringLiteral("SELECT p.prosrc FROM pg_proc p JOIN pg_namespace s ON s.oid = "
                           "p.pronamespace WHERE s.nspname = current_schema() AND p.proname = ?"),
            {countFunction});
        if (!function.ok())
            return function;
        const bool functionCurrent = function.value.toString() == countFunctionBody();
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
                QStringLiteral("SELECT 1 FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid "
                               "JOIN pg_namespace s ON s.oid = c.relnamespace WHERE s.nspname = "
                               "current_schema() AND c.relname = ? AND t.tgname = ?"),
                {table, trigger.first});
            if (!present.ok())
                return present;
            if (!present.value)
                missingTriggers.append(trigger);
        }
        if (hasCount.value && countKeyed.value && functionCurrent && missingTriggers.isEmpty())
            return {};

        // No entry may come or go between counting them and the triggers
        // taking over.
        if (Status status
            = exec(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table));
            !status.ok())
            return status;
        if (!hasCount.value) {
            Status status = make(QStringLiteral("table %1").arg(countTable),
                                 QStringLiteral("CREATE TABLE %1 (shard bigint GENERATED BY "
                                                "DEFAULT AS IDENTITY PRIMARY KEY, n bigint NOT "
                                                "NULL)")
                                     .arg(countTable),
                                 made);
            if (!status.ok())
                return status;
        } else if (!countKeyed.value) {
            Status status = make(
                QStringLiteral("key of table %1").arg(countTable),
                QStringLiteral("ALTER TABLE %1 ALTER COLUMN shard TYPE bigint, ALTER COLUMN shard "
                               "ADD GENERATED BY DEFAULT AS IDENTITY")
                    .arg(countTable),
                made);
            if (status.ok())
                status
                    = exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', "
                                          "'shard'), coalesce(max(shard), 0) + 1, false) FROM %1")
                               .arg(countTable));
            if (!status.ok())
                return status;
        }
        if (!functionCurrent) {
            // The function runs with its owner's rights, so that a person
            // needs only to read the count.
            Status status = makeOwnerFunction(
                countFunction,
                QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql "
                               "SECURITY DEFINER SET search_path FROM CURRENT AS $body$%2$body$")
                    .arg(countFunction, countFunctionBody()),
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
        for (const QString &sql : {QStringLiteral("DELETE FROM %1").arg(countTable),
                                   QStringLiteral("INSERT INTO %1 (n) SELECT count(*) FROM %2")
                                       .arg(countTable, table)}) {
            if (Status status = exec(sql); !status.ok())
                return status;
        }
        return {};
    }

    // A function that runs with its owner's rights has its search path
    // fixed, as such a function must: the current schema, which the server
    // itself quotes into the setting the function takes over (`definition`
    // says SET search_path FROM CURRENT).
    Status makeOwnerFunction(const QString &name, const QString &definition, QStringList &made)
    {
        const Result<QVariant> searchPath
            = value(QStringLiteral("SELECT current_setting('search_path')"));
        if (!searchPath.ok())
            return searchPath;
        if (const Result<QVariant> set
            = value(QStringLiteral("SELECT set_config('search_path', "
                                   "quote_ident(current_schema()) || ', pg_temp', true)"));
            !set.ok())
            return set;
        if (Status status = make(QStringLiteral("function %1").arg(name), definition, made);
            !status.ok())
            return status;
        return value(QStringLiteral("SELECT set_config('search_path', ?, true)"),
                     {searchPath.value});
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
                          "GRANT SELECT ON %1.%4 TO %2;\n"
                          "GRANT EXECUTE ON FUNCTION %1.%5(bigint[]) TO %2;\n")
               .arg(where, role, table, countTable, importLockFunction)
        + LinkTables::serverGrants(where, role) + DeletedTable::serverGrants(where, role);
}

} // namespace dialvault
