// Contacts files: reading a 100,000-card vCard 3.0 file (beside the SQLite C
// API inserting the same 100,000 rows into a fresh phone book in one
// transaction, the yardstick of a whole import), and exporting
// entries to a device that discards them, with the peak memory of an export
// of 10,000 against 1,000,000 entries (each measured in a fresh process of
// this program, so that nothing else it did counts: the figure is the whole
// process, Qt's libraries included).
//
//   cmake --build build --target bench_interchange
//   build/bench/bench_interchange --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//   build/bench/bench_interchange --export-peak 1000000 vcard3   (one export, prints its peak)
#include "interchange/contactsfile.h"
#include "interchange/csvwriter.h"
#include "interchange/vcardwriter.h"
#include "store/databasecreation.h"
#include "store/storeschema.h"
#include "support/peakmemory.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

using namespace dialvault;

namespace {

// Accepts every byte and keeps none.
class NullDevice : public QIODevice
{
public:
    NullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

const QString firstNames[]
    = {QStringLiteral("علی"), QStringLiteral("مریم"), QStringLiteral("محمدرضا"),
       QStringLiteral("Sara"), QStringLiteral("زهرا")};
const QString lastNames[] = {QStringLiteral("رضایی"), QStringLiteral("کاظمی"),
                             QStringLiteral("نیک\u200Cنام"), QStringLiteral("Ahmadi")};

ContactEntry entryOf(qint64 i)
{
    const QString name
        = firstNames[i % 5] + u' ' + lastNames[(i / 5) % 4] + u' ' + QString::number(i);
    const QString phone = QStringLiteral("0912 %1").arg(i % 10000000, 7, 10, QLatin1Char('0'));
    const QString note = i % 3 == 0
        ? QString()
        : QStringLiteral("همکار، طبقه %1\r\nداخلی %2").arg(i % 9).arg(i % 500);
    return ContactEntry{name, phone, note, double(i + 1)};
}

// A 3.0 file as address books write it: structured name, two typed numbers,
// a mail address and a note long enough to fold.
const QByteArray &vcardFile()
{
    static const QByteArray file = [] {
        QByteArray bytes;
        for (qint64 i = 0; i < 100000; ++i) {
            const ContactEntry entry = entryOf(i);
            const QByteArray given = firstNames[i % 5].toUtf8();
            const QByteArray family = lastNames[(i / 5) % 4].toUtf8();
            bytes += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + family + ';' + given
                + ";;;\r\nFN:" + entry.name.toUtf8()
                + "\r\nitem1.TEL;type=CELL;type=VOICE;type=pref:" + entry.phone.toUtf8()
                + "\r\nTEL;TYPE=WORK,VOICE:021 8888 " + QByteArray::number(i % 10000)
                + "\r\nEMAIL;type=INTERNET:person" + QByteArray::number(i) + "@example.com\r\n";
            QByteArray note;
            appendFoldedLine(note, "NOTE:" + escapedVCardText(entry.note + entry.note).toUtf8());
            bytes += note + "END:VCARD\r\n";
        }
        return bytes;
    }();
    return file;
}

void readVCard100k(benchmark::State &state)
{
    const QByteArray &file = vcardFile();
    bool whole = true;
    for (auto _ : state) {
        const ReadResult result = readContacts(file, QStringLiteral("bench.vcf"));
        whole = whole && result.entries.size() == 100000;
        benchmark::DoNotOptimize(result.entries.constData());
    }
    if (!whole)
        state.SkipWithError("the file did not read whole");
    state.SetItemsProcessed(state.iterations() * 100000);
    state.SetBytesProcessed(state.iterations() * file.size());
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

void sqliteInsert100k(benchmark::State &state)
{
    const ReadResult read = readContacts(vcardFile(), QStringLiteral("bench.vcf"));
    const QString insert = QStringLiteral("INSERT INTO test(%1, %2, %3, %4) VALUES(?, ?, ?, ?)")
                               .arg(StoreSchema::quoted(StoreSchema::nameField),
                                    StoreSchema::quoted(StoreSchema::phoneField),
                                    StoreSchema::quoted(StoreSchema::noteField),
                                    StoreSchema::quoted(StoreSchema::rowNumberField));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db1.mdb"));
        createDatabaseIfMissing(path);
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        state.ResumeTiming();

        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare16_v2(db, insert.utf16(), -1, &statement, nullptr);
        double row = 0;
        for (const ImportedEntry &entry : read.entries) {
            bindText(statement, 1, entry.name);
            bindText(statement, 2, entry.phone);
            bindText(statement, 3, entry.note);
            sqlite3_bind_double(statement, 4, ++row);
            if (sqlite3_step(statement) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);

        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * read.entries.size());
}

enum Format { Vcard3, Vcard4, Csv };
const char *const formatNames[] = {"vcard3", "vcard4", "csv"};

void exportEntries(qint64 count, Format format)
{
    NullDevice device;
    if (format == Csv) {
        CsvWriter writer(device);
        for (qint64 i = 0; i < count; ++i)
            writer.write(entryOf(i));
        writer.finish();
    } else {
        VCardWriter writer(device, format == Vcard3 ? VCardVersion::V3 : VCardVersion::V4);
        for (qint64 i = 0; i < count; ++i)
            writer.write(entryOf(i));
        writer.finish();
    }
}

void exportTime(benchmark::State &state)
{
    const auto format = static_cast<Format>(state.range(1));
    for (auto _ : state)
        exportEntries(state.range(0), format);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel(formatNames[format]);
}

// Runs one export in a fresh process of this program and reads back its peak.
void exportPeakMemory(benchmark::State &state)
{
    const auto format = static_cast<Format>(state.range(1));
    long peak = 0;
    for (auto _ : state) {
        peak = bench::peakKilobytesOfRun({QStringLiteral("--export-peak"),
                                          QString::number(state.range(0)),
                                          QString::fromLatin1(formatNames[format])});
        if (peak < 0) {
            state.SkipWithError("the export process failed");
            return;
        }
    }
    state.counters["peak_kB"] = double(peak);
    state.SetLabel(formatNames[format]);
}

void exportSizes(benchmark::internal::Benchmark *benchmark)
{
    for (const int format : {Vcard3, Vcard4, Csv})
        benchmark->Args({10000, format})->Args({1000000, format});
    benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(readVCard100k)->Unit(benchmark::kMillisecond);
BENCHMARK(sqliteInsert100k)->Unit(benchmark::kMillisecond);
BENCHMARK(exportTime)->Apply(exportSizes);
BENCHMARK(exportPeakMemory)->Apply(exportSizes)->Iterations(1);

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--export-peak") == 0) {
        const qint64 count = std::atoll(argv[2]);
        Format format = Vcard3;
        for (const Format candidate : {Vcard3, Vcard4, Csv}) {
            if (std::strcmp(argv[3], formatNames[candidate]) == 0)
                format = candidate;
        }
        exportEntries(count, format);
        std::printf("%ld\n", bench::peakKilobytes());
        return 0;
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
