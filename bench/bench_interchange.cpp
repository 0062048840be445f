// Contacts files, the formats alone: reading a 100,000-card vCard 3.0 file
// and a 100,000-row CSV file in UTF-8 and in Windows-1256, and writing entries in each format to a
// device that discards them. The whole import beside the SQLite C API, and an export's peak memory,
// are bench_contactfiles's.
//
//   cmake --build build --target bench_interchange
//   build/bench/bench_interchange --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "interchange/contactsfile.h"
#include "interchange/csvwriter.h"
#include "interchange/textencoding.h"
#include "interchange/vcardwriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QIODevice>

#include <benchmark/benchmark.h>

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

// A desktop mail CSV of 100,000 rows: in UTF-8, and in Windows-1256 without
// a word about it, which is guessed and read through ICU.
QByteArray csvFile(bool windows1256)
{
    QString text = QStringLiteral("First Name,Last Name,Mobile Phone,Business Phone,Notes\r\n");
    for (qint64 i = 0; i < 100000; ++i) {
        const ContactEntry entry = entryOf(i);
        text += firstNames[i % 5] + u',' + lastNames[(i / 5) % 4] + u',' + entry.phone
            + QStringLiteral(",021 8888 ") + QString::number(i % 10000) + u',' + csvCell(entry.note)
            + QStringLiteral("\r\n");
    }
    if (!windows1256)
        return text.toUtf8();
    // Its letters, by the inverse of the code page's own decoding; the
    // Persian yeh it lacks is written as the Arabic one, as such files do.
    text.replace(QChar(0x06CC), QChar(0x064A));
    QHash<QChar, char> byteOf;
    for (int byte = 1; byte < 256; ++byte) {
        const char one[1] = {char(byte)};
        QString decoded;
        TextEncoding::windows1256().decode(QByteArrayView(one, 1), decoded);
        byteOf.insert(decoded.front(), char(byte));
    }
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : std::as_const(text))
        bytes.append(byteOf.value(c, '?'));
    return bytes;
}

void readCsv100k(benchmark::State &state)
{
    const bool windows1256 = state.range(0) != 0;
    const QByteArray file = csvFile(windows1256);
    bool whole = true;
    for (auto _ : state) {
        const ReadResult result = readContacts(file, QStringLiteral("bench.csv"));
        whole = whole && result.entries.size() == 100000
            && result.assumedEncoding.isEmpty() != windows1256;
        benchmark::DoNotOptimize(result.entries.constData());
    }
    if (!whole)
        state.SkipWithError("the file did not read whole");
    state.SetItemsProcessed(state.iterations() * 100000);
    state.SetBytesProcessed(state.iterations() * file.size());
    state.SetLabel(windows1256 ? "windows-1256" : "utf-8");
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

void exportSizes(benchmark::internal::Benchmark *benchmark)
{
    for (const int format : {Vcard3, Vcard4, Csv})
        benchmark->Args({10000, format})->Args({1000000, format});
    benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(readVCard100k)->Unit(benchmark::kMillisecond);
BENCHMARK(readCsv100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(exportTime)->Apply(exportSizes);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
