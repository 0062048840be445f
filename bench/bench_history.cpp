// Correcting an entry, and undoing and redoing a whole import, in a phone
// book of a million entries. The phone book is built once and kept in the
// temporary folder for later runs.
//
//   cmake --build build --target bench_history
//   build/bench/bench_history --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/edithistory.h"
#include "store/phonebook.h"
#include "store/storeschema.h"
#include "support/cachedphonebook.h"
#include "support/rawdatabase.h"

#include <QCoreApplication>
#include <QDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>

using namespace dialvault;

namespace {

constexpr qint64 entries = 1000000;
constexpr int imported = 10000;

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

void run(RawDatabase &db, const QString &sql)
{
    if (!db.exec(sql))
        fail(db.error);
}

// The folder of the phone book, built on first use.
QString phoneBookFolder()
{
    const QString folder = QDir::temp().filePath(QStringLiteral("dialvault-bench-history"));
    const QString path = QDir(folder).filePath(ContactStore::fileName());
    if (bench::isCachedPhoneBook(path, entries))
        return folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    if (!createDatabaseIfMissing(path).value)
        fail(QStringLiteral("cannot create ") + path);
    RawDatabase building(path);
    run(building, QStringLiteral("PRAGMA synchronous = OFF; BEGIN"));
    using namespace StoreSchema;
    sqlite3_stmt *insert = building.prepare(
        QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, 'همکار', ?)")
            .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
                 quoted(rowNumberField)));
    for (qint64 i = 0; i < entries; ++i) {
        const QString name = QStringLiteral("کارمند %1").arg(i);
        const QString phone = QStringLiteral("0912 %1").arg(i, 7, 10, QLatin1Char('0'));
        sqlite3_bind_text16(insert, 1, name.utf16(), int(name.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(insert, 2, phone.utf16(), int(phone.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, double(i + 1));
        if (sqlite3_step(insert) != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(building.handle())));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    run(building, QStringLiteral("COMMIT"));
    return folder;
}

void check(const Status &status, benchmark::State &state)
{
    if (!status.ok())
        state.SkipWithError(status.error.description.toUtf8().constData());
}

// correctEntry on the middle entry, durably, back and forth between two
// numbers so that each finds what the last one left.
void storeCorrection(benchmark::State &state)
{
    ContactStore store(phoneBookFolder());
    check(store.open(), state);
    const qint64 key = entries / 2;
    const EntryTexts one{QStringLiteral("کارمند %1").arg(key - 1),
                         QStringLiteral("0912 %1").arg(key - 1, 7, 10, QLatin1Char('0')),
                         QStringLiteral("همکار")};
    EntryTexts two = one;
    two.phone = QStringLiteral("0935 000 0000");
    bool forth = true;
    for (auto _ : state) {
        const Result<EntryNow> corrected
            = store.correctEntry(key, forth ? one : two, forth ? two : one);
        if (!corrected.ok() || corrected.value.state != EntryState::AsExpected)
            state.SkipWithError("the correction was not stored");
        forth = !forth;
    }
    if (!forth)
        store.correctEntry(key, two, one);
}

// An import of 10,000 entries (untimed), then its undo (timed): each of them
// deleted into the recently deleted, in one transaction; with `redo`, the
// redo is timed too, as its own figure.
void undoImport(benchmark::State &state, bool redo)
{
    const QString folder = phoneBookFolder();
    ContactStore store(folder);
    PhoneBook book(folder);
    check(store.open(), state);
    check(book.open(), state);
    RawDatabase cleaner(QDir(folder).filePath(ContactStore::fileName()));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<ContactEntry> cards;
        for (int i = 0; i < imported; ++i)
            cards.append({QStringLiteral("وارد شده %1 %2").arg(round).arg(i),
                          QStringLiteral("021 %1 %2").arg(round).arg(i),
                          {},
                          0});
        ++round;
        const Result<ImportCounts> counts = book.importEntries(cards);
        check(counts, state);
        EditHistory history;
        history.recordImport(counts.value.stored);
        if (redo) {
            const Result<EditOutcome> undone = history.undo(store);
            check(undone, state);
        }
        state.ResumeTiming();

        const Result<EditOutcome> done = redo ? history.redo(store) : history.undo(store);
        if (!done.ok() || done.value.refused || done.value.entries != imported)
            state.SkipWithError("the step was not done");

        state.PauseTiming();
        if (redo)
            check(history.undo(store), state);
        // The phone book keeps its size, and the deleted ones go.
        run(cleaner, QStringLiteral("DELETE FROM test_deleted"));
        state.ResumeTiming();
    }
}

void undoImportOf10000(benchmark::State &state)
{
    undoImport(state, false);
}

void redoImportOf10000(benchmark::State &state)
{
    undoImport(state, true);
}

} // namespace

BENCHMARK(storeCorrection)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(undoImportOf10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(redoImportOf10000)->Unit(benchmark::kMillisecond)->Iterations(5);

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
