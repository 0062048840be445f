// The contact store's operations beside the same logical work written
// directly on the SQLite C API, at three table sizes. Each database is built
// once and kept in the temporary folder for later runs.
//
//   cmake --build build --target bench_store
//   build/bench/bench_store --benchmark_enable_random_interleaving=true
//       --benchmark_repetitions=5 --benchmark_min_time=0.3 --benchmark_report_aggregates_only=true
// Random interleaving matters for the durable cycles: fsync time drifts with
// the machine's other disk work.
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/storeschema.h"
#include "support/cachedphonebook.h"
#include "support/rawdatabase.h"

#include <QCoreApplication>
#include <QDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <stdexcept>

using namespace dialvault;

namespace {

const QString addedName = QStringLiteral("bench added");

// Unique names in the style of real data, Arabic yeh and Persian kaf mixed.
QString nameOf(qint64 i)
{
    static const QStringList first{QStringLiteral("علي"), QStringLiteral("محمد"),
                                   QStringLiteral("زهرا"), QStringLiteral("مريم"),
                                   QStringLiteral("کامران")};
    static const QStringList last{QStringLiteral("احمدي"),           QStringLiteral("رضايي"),
                                  QStringLiteral("نيک‌نام"), QStringLiteral("چگيني"),
                                  QStringLiteral("کريمي"),           QStringLiteral("موسوي")};
    return first.at(i % first.size()) + u' ' + last.at((7 * i) % last.size()) + u' '
        + QString::number(i);
}

// What the person types: Persian yeh where the stored name has the Arabic one.
QString typedNameOf(qint64 i)
{
    return nameOf(i).replace(QChar(0x064A), QChar(0x06CC));
}

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

// The tests' plain SQLite connection, failing loudly: a benchmark cannot go
// on after a failed step.
class Connection : public RawDatabase
{
public:
    explicit Connection(const QString &path)
        : RawDatabase(path)
    {
        if (!isOpen())
            fail(QStringLiteral("cannot open ") + path);
    }

    sqlite3_stmt *prepare(const QString &sql)
    {
        sqlite3_stmt *statement = RawDatabase::prepare(sql);
        if (!statement)
            fail(error);
        return statement;
    }

    void exec(const char *sql)
    {
        if (!RawDatabase::exec(QString::fromUtf8(sql)))
            fail(error);
    }
};

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

int countOf(Connection &connection)
{
    sqlite3_stmt *count
        = connection.prepare(QStringLiteral("SELECT n FROM %1").arg(StoreSchema::countTable));
    sqlite3_step(count);
    const int value = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    return value;
}

QString lookupStatement()
{
    using namespace StoreSchema;
    return QStringLiteral("SELECT rowid, %1, %2 FROM %3 WHERE %4 = %5 ORDER BY rowid LIMIT 1")
        .arg(quoted(phoneField), quoted(noteField), table, foldedNameColumn,
             foldedNameExpression(QStringLiteral("?")));
}

// One step of a look-up: rowid, phone and note of the first match.
bool lookUp(sqlite3_stmt *lookup, const QString &name)
{
    bindText(lookup, 1, name);
    const bool found = sqlite3_step(lookup) == SQLITE_ROW;
    if (found) {
        benchmark::DoNotOptimize(sqlite3_column_int64(lookup, 0));
        benchmark::DoNotOptimize(sqlite3_column_text16(lookup, 1));
        benchmark::DoNotOptimize(sqlite3_column_text16(lookup, 2));
    }
    sqlite3_reset(lookup);
    return found;
}

void insertRow(Connection &connection, const QString &name, double rowNumber)
{
    using namespace StoreSchema;
    sqlite3_stmt *insert
        = connection.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                                 .arg(table, quoted(nameField), quoted(phoneField),
                                      quoted(noteField), quoted(rowNumberField)));
    bindText(insert, 1, name);
    bindText(insert, 2, QStringLiteral("0912 000 1122"));
    bindText(insert, 3, QStringLiteral("مشتري گروه 7"));
    sqlite3_bind_double(insert, 4, rowNumber);
    if (sqlite3_step(insert) != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(connection.handle())));
    sqlite3_finalize(insert);
}

void deleteNamed(Connection &connection, const QString &name)
{
    using namespace StoreSchema;
    sqlite3_stmt *remove = connection.prepare(
        QStringLiteral("DELETE FROM %1 WHERE rowid = (SELECT rowid FROM %1 WHERE %2 = %3 ORDER BY "
                       "rowid LIMIT 1)")
            .arg(table, foldedNameColumn, foldedNameExpression(QStringLiteral("?"))));
    bindText(remove, 1, name);
    if (sqlite3_step(remove) != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(connection.handle())));
    sqlite3_finalize(remove);
}

// The folder holding a database of `size` entries, built on first use.
QString databaseFolder(qint64 size)
{
    static std::map<qint64, QString> folders;
    if (auto known = folders.find(size); known != folders.end())
        return known->second;

    const QString folder
        = QDir::temp().filePath(QStringLiteral("dialvault-bench-store/%1").arg(size));
    const QString path = QDir(folder).filePath(ContactStore::fileName());
    if (bench::isCachedPhoneBook(path, size))
        return folders[size] = folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    if (!createDatabaseIfMissing(path).value)
        fail(QStringLiteral("cannot create ") + path);
    Connection building(path);
    building.exec("PRAGMA synchronous = OFF");
    building.exec("BEGIN");
    for (qint64 i = 0; i < size; ++i)
        insertRow(building, nameOf(i), double(i + 1));
    building.exec("COMMIT");
    return folders[size] = folder;
}

QString databasePath(qint64 size)
{
    return QDir(databaseFolder(size)).filePath(ContactStore::fileName());
}

void check(const Status &status, benchmark::State &state)
{
    if (!status.ok())
        state.SkipWithError(status.error.description.toUtf8().constData());
}

// queryByName, readFirstMatch, close, then the refresh: open, countEntries.
void storeSearchRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    ContactStore store(databaseFolder(size));
    check(store.open(), state);
    const QString name = typedNameOf(size / 2);
    for (auto _ : state) {
        store.queryByName(name);
        benchmark::DoNotOptimize(store.readFirstMatch());
        store.closeResult();
        store.open();
        benchmark::DoNotOptimize(store.countEntries());
    }
    check(store.queryByName(name), state);
    check(store.readFirstMatch(), state);
}

void sqliteSearchRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    const QString path = databasePath(size);
    const QString name = typedNameOf(size / 2);
    auto connection = std::make_unique<Connection>(path);
    for (auto _ : state) {
        sqlite3_stmt *lookup = connection->prepare(lookupStatement());
        if (!lookUp(lookup, name))
            state.SkipWithError("not found");
        sqlite3_finalize(lookup);
        connection.reset();
        connection = std::make_unique<Connection>(path);
        benchmark::DoNotOptimize(countOf(*connection));
    }
}

void storeQuery(benchmark::State &state)
{
    const qint64 size = state.range(0);
    ContactStore store(databaseFolder(size));
    check(store.open(), state);
    const QString name = typedNameOf(size / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.queryByName(name));
    check(store.readFirstMatch(), state);
}

void sqliteQuery(benchmark::State &state)
{
    const qint64 size = state.range(0);
    Connection connection(databasePath(size));
    sqlite3_stmt *lookup = connection.prepare(lookupStatement());
    const QString name = typedNameOf(size / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lookUp(lookup, name));
    if (!lookUp(lookup, name))
        state.SkipWithError("not found");
    sqlite3_finalize(lookup);
}

void storeOpenCount(benchmark::State &state)
{
    ContactStore store(databaseFolder(state.range(0)));
    for (auto _ : state) {
        store.open();
        benchmark::DoNotOptimize(store.countEntries());
    }
    check(store.countEntries(), state);
}

void sqliteOpenCount(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    auto connection = std::make_unique<Connection>(path);
    for (auto _ : state) {
        connection.reset();
        connection = std::make_unique<Connection>(path);
        benchmark::DoNotOptimize(countOf(*connection));
    }
}

// appendEntry and the refresh; the row is taken out again untimed so the
// table keeps its size.
void storeAddRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    ContactStore store(databaseFolder(size));
    Connection cleaner(databasePath(size));
    check(store.open(), state);
    for (auto _ : state) {
        check(store.appendEntry({addedName, QStringLiteral("0912 000 1122"),
                                 QStringLiteral("مشتري گروه 7"), double(size + 1)}),
              state);
        store.open();
        benchmark::DoNotOptimize(store.countEntries());
        state.PauseTiming();
        deleteNamed(cleaner, addedName);
        state.ResumeTiming();
    }
}

void sqliteAddRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    const QString path = databasePath(size);
    Connection cleaner(path);
    auto connection = std::make_unique<Connection>(path);
    for (auto _ : state) {
        insertRow(*connection, addedName, double(size + 1));
        connection.reset();
        connection = std::make_unique<Connection>(path);
        benchmark::DoNotOptimize(countOf(*connection));
        state.PauseTiming();
        deleteNamed(cleaner, addedName);
        state.ResumeTiming();
    }
}

// queryByName, deleteFirstMatch and the refresh; the row is put back untimed.
void storeDeleteRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    ContactStore store(databaseFolder(size));
    Connection restorer(databasePath(size));
    check(store.open(), state);
    for (auto _ : state) {
        state.PauseTiming();
        insertRow(restorer, addedName, double(size + 1));
        state.ResumeTiming();
        store.queryByName(addedName);
        check(store.deleteFirstMatch(), state);
        store.open();
        benchmark::DoNotOptimize(store.countEntries());
    }
}

void sqliteDeleteRefresh(benchmark::State &state)
{
    const qint64 size = state.range(0);
    const QString path = databasePath(size);
    Connection restorer(path);
    auto connection = std::make_unique<Connection>(path);
    for (auto _ : state) {
        state.PauseTiming();
        insertRow(restorer, addedName, double(size + 1));
        state.ResumeTiming();
        deleteNamed(*connection, addedName);
        connection.reset();
        connection = std::make_unique<Connection>(path);
        benchmark::DoNotOptimize(countOf(*connection));
    }
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(storeSearchRefresh)->Apply(sizes);
BENCHMARK(sqliteSearchRefresh)->Apply(sizes);
BENCHMARK(storeQuery)->Apply(sizes);
BENCHMARK(sqliteQuery)->Apply(sizes);
BENCHMARK(storeOpenCount)->Apply(sizes);
BENCHMARK(sqliteOpenCount)->Apply(sizes);
BENCHMARK(storeAddRefresh)->Apply(sizes);
BENCHMARK(sqliteAddRefresh)->Apply(sizes);
BENCHMARK(storeDeleteRefresh)->Apply(sizes);
BENCHMARK(sqliteDeleteRefresh)->Apply(sizes);

int main(int argc, char **argv)
{
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
