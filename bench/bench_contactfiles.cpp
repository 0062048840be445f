// Contacts files in and out of a phone book, the whole way: importing a
// 100,000-card vCard 3.0 file (read, duplicates looked for, stored in one
// transaction) beside the SQLite C API inserting the same 100,000 rows into
// a fresh phone book in one transaction; and the peak memory of importing
// 10,000 against 1,000,000 cards into a fresh phone book, and of exporting
// 10,000 against 1,000,000 entries from a phone book to a file, each in a
// fresh process of this program. Files and phone books are made once and
// kept under $TMPDIR/dialvault-bench-contactfiles.
//
//   cmake --build build-release --target bench_contactfiles
//   build-release/bench/bench_contactfiles --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true   (one command line)
#include "interchange/contactsfile.h"
#include "interchange/contactsimport.h"
#include "interchange/phonebookexport.h"
#include "interchange/vcardwriter.h"
#include "store/databasecreation.h"
#include "store/phonebook.h"
#include "store/storeschema.h"
#include "support/cachedphonebook.h"
#include "support/peakmemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>

using namespace dialvault;

namespace {

constexpr qint64 cards = 100000;

QString benchFolder(const QString &name)
{
    const QString folder
        = QDir::temp().filePath(QStringLiteral("dialvault-bench-contactfiles/") + name);
    QDir().mkpath(folder);
    return folder;
}

ContactEntry entryOf(qint64 i)
{
    static const QString first[]
        = {QStringLiteral("علی"), QStringLiteral("مریم"), QStringLiteral("محمدرضا"),
           QStringLiteral("Sara"), QStringLiteral("زهرا")};
    static const QString last[] = {QStringLiteral("رضایی"), QStringLiteral("کاظمی"),
                                   QStringLiteral("نیک\u200Cنام"), QStringLiteral("Ahmadi")};
    const QString name = first[i % 5] + u' ' + last[(i / 5) % 4] + u' ' + QString::number(i);
    const QString phone
        = QStringLiteral("0912 %1").arg((i * 7919 + 12345) % 10000000, 7, 10, QLatin1Char('0'));
    const QString note = i % 3 == 0
        ? QString()
        : QStringLiteral("همکار، طبقه %1\r\nداخلی %2").arg(i % 9).arg(i % 500);
    return ContactEntry{name, phone, note, double(i + 1)};
}

// A 3.0 file of `count` cards as address books write it: structured name,
// two typed numbers, a mail address and a note long enough to fold. Written
// once.
QString vcardFile(qint64 count = cards)
{
    const QString path = QDir(benchFolder(QStringLiteral("vcard")))
                             .filePath(QString::number(count) + QStringLiteral(".vcf"));
    if (QFileInfo(path).size() > 0)
        return path;
    QFile file(path + QStringLiteral(".part"));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the vCard file");
    for (qint64 i = 0; i < count; ++i) {
        const ContactEntry entry = entryOf(i);
        QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;" + entry.name.toUtf8()
            + ";;;\r\nFN:" + entry.name.toUtf8()
            + "\r\nitem1.TEL;type=CELL;type=VOICE;type=pref:" + entry.phone.toUtf8()
            + "\r\nTEL;TYPE=WORK,VOICE:021 8888 " + QByteArray::number(i % 10000)
            + "\r\nEMAIL;type=INTERNET:person" + QByteArray::number(i) + "@example.com\r\n";
        appendFoldedLine(card, "NOTE:" + escapedVCardText(entry.note + entry.note).toUtf8());
        card += "END:VCARD\r\n";
        if (file.write(card) != card.size())
            throw std::runtime_error("cannot write the vCard file");
    }
    file.close();
    if (!file.rename(path))
        throw std::runtime_error("cannot write the vCard file");
    return path;
}

// A fresh, empty phone book in `dir`.
QString freshPhoneBook(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("db1.mdb"));
    if (!createDatabaseIfMissing(path).value)
        throw std::runtime_error("cannot make a phone book");
    return path;
}

void importVCard100k(benchmark::State &state)
{
    const QString file = vcardFile();
    qint64 added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        freshPhoneBook(dir);
        state.ResumeTiming();
        PhoneBook book(dir.path());
        if (!book.open().ok())
            state.SkipWithError("cannot open the phone book");
        const FileImport taken = importContactsFile(book, file);
        if (!taken.ok())
            state.SkipWithError("the import failed");
        added = taken.counts.added;
    }
    if (added != cards)
        state.SkipWithError("not every card was added");
    state.SetItemsProcessed(state.iterations() * cards);
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString insertStatement()
{
    using namespace StoreSchema;
    return QStringLiteral("INSERT INTO %1(%2, %3, %4, %5) VALUES(?, ?, ?, ?)")
        .arg(table, quoted(nameField), quoted(phoneField), quoted(noteField),
             quoted(rowNumberField));
}

// Inserts `entries` into the phone book at `path` in one transaction.
void insertAll(const QString &path, qint64 count, const std::function<ContactEntry(qint64)> &entry)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare16_v2(db, insertStatement().utf16(), -1, &statement, nullptr);
    for (qint64 i = 0; i < count; ++i) {
        const ContactEntry one = entry(i);
        bindText(statement, 1, one.name);
        bindText(statement, 2, one.phone);
        bindText(statement, 3, one.note);
        sqlite3_bind_double(statement, 4, one.rowNumber);
        if (sqlite3_step(statement) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    sqlite3_close(db);
}

// The yardstick: the rows the import stores, as the file gave them.
void sqliteInsert100k(benchmark::State &state)
{
    const ReadResult read = readContactsFile(vcardFile());
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = freshPhoneBook(dir);
        state.ResumeTiming();
        insertAll(path, read.entries.size(), [&](qint64 i) {
            const ImportedEntry &entry = read.entries.at(i);
            return ContactEntry{entry.name, entry.phone, entry.note, double(i + 1)};
        });
    }
    state.SetItemsProcessed(state.iterations() * read.entries.size());
}

QString phoneBookFolder(qint64 size)
{
    return benchFolder(QString::number(size));
}

// Builds the phone book of `size` entries unless it is there already, at
// the current schema.
void ensurePhoneBook(qint64 size)
{
    const QString path = QDir(phoneBookFolder(size)).filePath(QStringLiteral("db1.mdb"));
    if (bench::isCachedPhoneBook(path, size))
        return;
    QFile::remove(path);
    if (!createDatabaseIfMissing(path).value)
        throw std::runtime_error("cannot make a phone book");
    insertAll(path, size, entryOf);
}

// One import of `count` cards into a fresh phone book in this process;
// prints its peak resident size.
int importAndReportPeak(qint64 count)
{
    QTemporaryDir dir;
    freshPhoneBook(dir);
    PhoneBook book(dir.path());
    if (!book.open().ok())
        return 1;
    const FileImport taken = importContactsFile(book, vcardFile(count));
    if (!taken.ok() || taken.counts.added != count)
        return 1;
    std::printf("%ld\n", bench::peakKilobytes());
    return 0;
}

void importPeakMemory(benchmark::State &state)
{
    vcardFile(state.range(0));
    long peak = 0;
    for (auto _ : state) {
        peak = bench::peakKilobytesOfRun(
            {QStringLiteral("--import-peak"), QString::number(state.range(0))});
        if (peak < 0) {
            state.SkipWithError("the import process failed");
            return;
        }
    }
    state.counters["peak_kB"] = double(peak);
}

enum Format { Vcard3, Vcard4, Csv };
const char *const formatNames[] = {"vcard3", "vcard4", "csv"};

// One export in this process; prints its peak resident size.
int exportAndReportPeak(qint64 size, Format format)
{
    QTemporaryDir dir;
    PhoneBook book(phoneBookFolder(size));
    if (!book.open().ok())
        return 1;
    const ExportFormat chosen = format == Csv ? ExportFormat::Csv
        : format == Vcard4                    ? ExportFormat::VCard4
                                              : ExportFormat::VCard3;
    const Result<qint64> written
        = exportPhoneBook(book, dir.filePath(QStringLiteral("out")), chosen);
    if (!written.ok() || written.value != size)
        return 1;
    std::printf("%ld\n", bench::peakKilobytes());
    return 0;
}

void exportPeakMemory(benchmark::State &state)
{
    const auto format = static_cast<Format>(state.range(1));
    ensurePhoneBook(state.range(0));
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

BENCHMARK(importVCard100k)->Unit(benchmark::kMillisecond);
BENCHMARK(sqliteInsert100k)->Unit(benchmark::kMillisecond);
BENCHMARK(importPeakMemory)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(exportPeakMemory)->Apply(exportSizes)->Iterations(1);

int main(int argc, char **argv)
{
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object.
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--import-peak") == 0)
        return importAndReportPeak(std::atoll(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "--export-peak") == 0) {
        Format format = Vcard3;
        for (const Format candidate : {Vcard3, Vcard4, Csv}) {
            if (std::strcmp(argv[3], formatNames[candidate]) == 0)
                format = candidate;
        }
        return exportAndReportPeak(std::atoll(argv[2]), format);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
