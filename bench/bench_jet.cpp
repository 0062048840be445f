// Carrying jet4-large.mdb (20,000 entries) over into a new phone book,
// beside libmdb alone reading all of its rows, in the same run. The goal is
// a conversion within 3 times the bare reading.
//
//   cmake --build build-release --target bench_jet
//   build-release/bench/bench_jet --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "jet/importjetcommand.h"
#include "jet/jetconversion.h"
#include "jet/jetreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <benchmark/benchmark.h>

// libmdb's header includes glib inside its extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include <stdexcept>

using namespace dialvault;

namespace {

const QString largeJet = QStringLiteral(DIALVAULT_TEST_DATA "/jet4-large.mdb");
constexpr int expectedRows = 20000;

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

// The way a libmdb program reads a table: open, find it, bind its columns
// (the bind size raised so that memos are whole), fetch every row.
void libmdbReadsAllRows(benchmark::State &state)
{
    const QByteArray path = QFile::encodeName(largeJet);
    for (auto _ : state) {
        MdbHandle *mdb = mdb_open(path.constData(), MDB_NOFLAGS);
        if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
            fail(QStringLiteral("libmdb cannot open the file"));
        MdbTableDef *table = mdb_read_table_by_name(mdb, const_cast<gchar *>("test"), MDB_TABLE);
        if (!table || !mdb_read_columns(table))
            fail(QStringLiteral("libmdb cannot read table test"));
        constexpr size_t bindSize = 1 << 16;
        mdb_set_bind_size(mdb, bindSize);
        std::vector<QByteArray> values(table->num_cols, QByteArray(bindSize, '\0'));
        std::vector<int> lengths(table->num_cols);
        for (unsigned i = 0; i < table->num_cols; ++i)
            mdb_bind_column(table, int(i) + 1, values[i].data(), &lengths[i]);
        mdb_rewind_table(table);
        int rows = 0;
        while (mdb_fetch_row(table))
            ++rows;
        if (rows != expectedRows)
            fail(QStringLiteral("libmdb read %1 rows").arg(rows));
        mdb_free_tabledef(table);
        mdb_close(mdb);
    }
}

// The isolated, checked reading alone: a child process, every value decoded.
void readJetTableAlone(benchmark::State &state)
{
    for (auto _ : state) {
        const Result<QList<JetRow>> rows = readJetTable(largeJet);
        if (!rows.ok() || rows.value.size() != expectedRows)
            fail(rows.error.description);
    }
}

// Writing the 20,000 rows, already read, into a new phone book: the rows in
// one transaction, then the store's folded-name index, count and triggers
// over all of them, then the flush.
void writePhoneBookAlone(benchmark::State &state)
{
    const Result<QList<JetRow>> rows = readJetTable(largeJet);
    if (!rows.ok())
        fail(rows.error.description);
    QTemporaryDir dir;
    const QString newPath = dir.filePath(QStringLiteral("new.mdb"));
    for (auto _ : state) {
        const Status written = writeNewPhoneBook(newPath, rows.value);
        if (!written.ok())
            fail(written.error.description);
        state.PauseTiming();
        QFile::remove(newPath);
        state.ResumeTiming();
    }
}

// The whole command-line conversion: read, write, flush, rename into place.
void convertJetFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString newPath = dir.filePath(QStringLiteral("new.mdb"));
    QString said;
    QTextStream out(&said);
    for (auto _ : state) {
        if (importJetCommand(largeJet, newPath, out, out) != ImportJetDone)
            fail(said);
        state.PauseTiming();
        QFile::remove(newPath);
        said.clear();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(libmdbReadsAllRows)->Unit(benchmark::kMillisecond);
BENCHMARK(readJetTableAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(writePhoneBookAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(convertJetFile)->Unit(benchmark::kMillisecond);

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
