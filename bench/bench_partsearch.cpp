// Searching by part of a name or number in a phone book of 1,000,000
// entries: the start of a name and the start of a number (index ranges)
// beside the main window's exact name search, and digits anywhere in the
// number beside a bare SQLite scan of the same column, all in the same run.
// The query plans are printed first. The phone book is built once and kept
// under $TMPDIR/dialvault-bench-partsearch.
//
//   cmake --build build-release --target bench_partsearch
//   build-release/bench/bench_partsearch --benchmark_repetitions=5
//       --benchmark_min_time=0.5 --benchmark_report_aggregates_only=true   (one command line)
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/phonebook.h"
#include "store/sqliteengine.h"
#include "store/storeschema.h"
#include "support/cachedphonebook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

using namespace dialvault;

namespace {

constexpr qint64 entries = 1000000;
constexpr qint64 sought = 500000; // the entry whose name and number are looked for

// Unique names in the style of real data, Arabic yeh and Persian kaf mixed.
QString nameOf(qint64 i)
{
    static const QString first[]
        = {QStringLiteral("علي"), QStringLiteral("محمد"), QStringLiteral("زهرا"),
           QStringLiteral("مريم"), QStringLiteral("کامران")};
    static const QString last[]
        = {QStringLiteral("احمدي"), QStringLiteral("رضايي"), QStringLiteral("نيک\u200Cنام"),
           QStringLiteral("چگيني"), QStringLiteral("کريمي"), QStringLiteral("موسوي")};
    return first[i % 5] + u' ' + last[(7 * i) % 6] + u' ' + QString::number(i);
}

QString phoneOf(qint64 i)
{
    const qint64 n = (i * 7919 + 12345) % 10000000;
    return QStringLiteral("0912 %1 %2")
        .arg(n / 10000, 3, 10, QLatin1Char('0'))
        .arg(n % 10000, 4, 10, QLatin1Char('0'));
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString folder()
{
    const QString path = QDir::temp().filePath(QStringLiteral("dialvault-bench-partsearch"));
    QDir().mkpath(path);
    return path;
}

QString databasePath()
{
    return QDir(folder()).filePath(QStringLiteral("db1.mdb"));
}

sqlite3 *openRaw()
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(databasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK)
        throw std::runtime_error("cannot open the phone book");
    return db;
}

void ensurePhoneBook()
{
    if (bench::isCachedPhoneBook(databasePath(), entries))
        return;
    QFile::remove(databasePath());
    if (!createDatabaseIfMissing(databasePath()).value)
        throw std::runtime_error("cannot make a phone book");
    using namespace StoreSchema;
    sqlite3 *db = openRaw();
    sqlite3_exec(db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    const QString sql = QStringLiteral("INSERT INTO %1(%2, %3, %4, %5) VALUES(?, ?, ?, ?)")
                            .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
                                 quoted(rowNumberField));
    sqlite3_prepare16_v2(db, sql.utf16(), -1, &insert, nullptr);
    for (qint64 i = 0; i < entries; ++i) {
        bindText(insert, 1, nameOf(i));
        bindText(insert, 2, phoneOf(i));
        bindText(insert, 3, QStringLiteral("مشتري گروه %1").arg(i % 50));
        sqlite3_bind_double(insert, 4, double(i + 1));
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void check(const Status &status, benchmark::State &state)
{
    if (!status.ok())
        state.SkipWithError(status.error.description.toUtf8().constData());
}

// The main window's search: queryByName, then the number and note read.
void exactName(benchmark::State &state)
{
    ContactStore store(folder());
    check(store.open(), state);
    const QString name = nameOf(sought);
    for (auto _ : state) {
        store.queryByName(name);
        benchmark::DoNotOptimize(store.readFirstMatch());
    }
    check(store.readFirstMatch(), state);
}

void searchByPart(benchmark::State &state, const QString &text, PartPlace place)
{
    PhoneBook book(folder());
    check(book.open(), state);
    qint64 found = 0;
    const PartQuery query(text);
    for (auto _ : state) {
        found = 0;
        check(book.findByPart(query, place,
                              [&](const ContactEntry &entry) {
                                  benchmark::DoNotOptimize(entry.note.size());
                                  ++found;
                                  return true;
                              }),
              state);
    }
    state.counters["found"] = double(found);
}

// Two entries in the million: the sought one, and the one whose number is a
// tenth of it with the same first and last names.
void startOfName(benchmark::State &state)
{
    searchByPart(state, nameOf(sought).chopped(1), PartPlace::Start);
}

// As the person types it: with +98 and spaces, the last digit left out.
void startOfNumber(benchmark::State &state)
{
    searchByPart(state, QStringLiteral("+98 ") + phoneOf(sought).mid(1).chopped(1),
                 PartPlace::Start);
}

const QString anywhereDigits = QStringLiteral("45678");

void digitsAnywhere(benchmark::State &state)
{
    searchByPart(state, anywhereDigits, PartPlace::Anywhere);
}

// The yardstick: the same column's stored values scanned by plain SQLite.
void bareScanOfDigits(benchmark::State &state)
{
    sqlite3 *db = openRaw();
    sqlite3_stmt *scan = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rowid FROM test INDEXED BY test_phone_digits "
                       "WHERE instr(phone_digits, ?) > 0",
                       -1, &scan, nullptr);
    qint64 found = 0;
    for (auto _ : state) {
        found = 0;
        bindText(scan, 1, anywhereDigits);
        while (sqlite3_step(scan) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(scan, 0));
            ++found;
        }
        sqlite3_reset(scan);
    }
    sqlite3_finalize(scan);
    sqlite3_close(db);
    state.counters["found"] = double(found);
}

void printPlans()
{
    sqlite3 *db = openRaw();
    const SqliteEngine file{QString()};
    for (const bool number : {false, true}) {
        for (const PartPlace place : {PartPlace::Start, PartPlace::Anywhere}) {
            const QString sql = QStringLiteral("EXPLAIN QUERY PLAN ")
                + file.partSearchStatement(number, place).text;
            std::printf("%s, %s:\n", number ? "number" : "name",
                        place == PartPlace::Start ? "start" : "anywhere");
            sqlite3_stmt *plan = nullptr;
            sqlite3_prepare16_v2(db, sql.utf16(), -1, &plan, nullptr);
            while (sqlite3_step(plan) == SQLITE_ROW)
                std::printf("  %s\n", reinterpret_cast<const char *>(sqlite3_column_text(plan, 3)));
            sqlite3_finalize(plan);
        }
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(exactName)->Unit(benchmark::kMicrosecond);
BENCHMARK(startOfName)->Unit(benchmark::kMicrosecond);
BENCHMARK(startOfNumber)->Unit(benchmark::kMicrosecond);
BENCHMARK(digitsAnywhere)->Unit(benchmark::kMillisecond);
BENCHMARK(bareScanOfDigits)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object.
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ensurePhoneBook();
    printPlans();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
