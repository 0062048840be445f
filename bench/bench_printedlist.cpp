// The list printed to a PDF file: the time to write 1,000, 10,000 and
// 100,000 entries (one in five with a note long enough to wrap), and the peak
// memory of a process that writes them, which should not grow with the count.
// The rows are made as the pages ask for them, so that only the printing is
// measured.
//
// Release build in a separate directory, e.g.:
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-rel --target bench_printedlist
//   build-rel/bench/bench_printedlist
#include "printing/listpdf.h"
#include "printing/printedlist.h"
#include "support/peakmemory.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

using namespace dialvault;

namespace {

const char peakOption[] = "--peak-memory-of=";

PrintedRows madeRows(qint64 count)
{
    return {count, [count](qint64 first, int wanted) {
                Result<ContactListRows> rows;
                for (qint64 i = first; i < first + wanted && i < count; ++i) {
                    QString note;
                    if (i % 5 == 0)
                        note = QStringLiteral("مشتري قديمي گروه %1، تماس فقط در ساعت اداري؛ "
                                              "نشاني دفتر: خيابان ولي عصر، کوچه ياس، پلاک %2")
                                   .arg(i % 50)
                                   .arg(i % 300);
                    rows.value.append({QStringLiteral("علي احمدي %1").arg(i),
                                       QStringLiteral("0912 000 %1").arg(1000 + i % 9000), note,
                                       QString::number(i + 1)});
                }
                return rows;
            }};
}

QString outputPath()
{
    return QDir::temp().filePath(QStringLiteral("dialvault-bench-printedlist.pdf"));
}

void writePdf(benchmark::State &state)
{
    const qint64 count = state.range(0);
    const PrintedRows rows = madeRows(count);
    const PrintedHeading heading{
        QStringLiteral("ليست مشترك ها"), printedDateText(QDate(2026, 12, 7)), {}};
    for (auto _ : state) {
        const Result<qint64> written = writeListPdf(outputPath(), rows, heading);
        if (!written.ok() || written.value != count)
            state.SkipWithError("the PDF was not written");
    }
    state.counters["file_MiB"] = double(QFile(outputPath()).size()) / (1024 * 1024);
    QFile::remove(outputPath());
}

// Writes one count in a fresh process and reports its peak resident memory.
void peakMemory(benchmark::State &state)
{
    long peakKiB = 0;
    for (auto _ : state) {
        peakKiB = bench::peakKilobytesOfRun(
            {QLatin1String(peakOption) + QString::number(state.range(0))});
        if (peakKiB < 0)
            state.SkipWithError("the measuring process failed");
    }
    state.counters["peak_MiB"] = double(peakKiB) / 1024;
}

int measurePeak(qint64 count)
{
    const Result<qint64> written = writeListPdf(outputPath(), madeRows(count), {});
    QFile::remove(outputPath());
    if (!written.ok())
        return 1;
    std::printf("%ld\n", bench::peakKilobytes());
    return 0;
}

void counts(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(writePdf)->Apply(counts);
BENCHMARK(peakMemory)->Apply(counts)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (first.startsWith(QLatin1String(peakOption)))
        return measurePeak(first.mid(int(std::strlen(peakOption))).toLongLong());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
