// The contact list at 1,000 and 1,000,000 entries: the time from creating
// the grid and opening the model until the first screen of rows is painted
// (in stored order, and in the Persian order of the names kept from an
// earlier opening), the first screen after sorting by name, each keystroke
// of find as you type until its matches are painted, the time to drag the
// scroll bar to the end until the last rows are painted (at once, and once
// the private copy is complete), how long the file is held for that copy,
// and the peak memory of a process that opens the list, drags to the end,
// waits for the private copy to complete and orders the list by each column
// (each size in a process of its own, read from the kernel's high-water mark
// of resident memory). Each database is built once and kept in the temporary
// folder for later runs.
//
//   cmake --build build-rel --target bench_contactlist
//   build-rel/bench/bench_contactlist --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "store/contactlistview.h"
#include "store/contactstore.h"
#include "store/databasecreation.h"
#include "store/storeschema.h"
#include "support/cachedphonebook.h"
#include "support/peakmemory.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

using namespace dialvault;

namespace {

const char peakOption[] = "--peak-memory-of=";

[[noreturn]] void fail(const QString &what)
{
    throw std::runtime_error(what.toStdString());
}

void exec(sqlite3 *db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        fail(text);
    }
}

// The phone book of `size` entries in the style of real data, built on first
// use under a temporary name, so that an interrupted build is never taken.
QString databasePath(qint64 size)
{
    const QString folder
        = QDir::temp().filePath(QStringLiteral("dialvault-bench-contactlist/%1").arg(size));
    const QString path = QDir(folder).filePath(ContactStore::fileName());
    if (bench::isCachedPhoneBook(path, size))
        return path;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString building = path + QStringLiteral(".building");
    if (!createDatabaseIfMissing(building).value)
        fail(QStringLiteral("cannot create ") + building);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(building.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK)
        fail(QStringLiteral("cannot open ") + building);
    exec(db, QStringLiteral("PRAGMA synchronous = OFF"));
    exec(db,
         QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < "
                        "%1) INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") SELECT "
                        "'علي احمدي ' || i, '0912 000 ' || (1000 + i % 9000), CASE WHEN i % 3 = 0 "
                        "THEN NULL ELSE 'مشتري گروه ' || (i % 50) END, i + 1 FROM c")
             .arg(size - 1));
    sqlite3_close(db);
    if (!QFile::rename(building, path))
        fail(QStringLiteral("cannot rename ") + building);
    return path;
}

// Counts the paint events of the grid's viewport.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// Sleeps between events rather than polling: on two cores a polling main
// thread takes one of them from the threads that order and read the list.
template <typename Done>
void waitUntil(const Done &done, int timeoutMs, const char *what)
{
    // Wakes the wait now and then, so that the deadline is noticed.
    QTimer tick;
    tick.start(5);
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (waited.hasExpired(timeoutMs))
            fail(QString::fromLatin1(what));
    }
}

void waitForPaint(const PaintCounter &counter, int before)
{
    waitUntil([&] { return counter.paints != before; }, 10000, "the grid was never painted");
}

// The list as the window holds it: the model, and the grid at its layout size.
struct OpenList
{
    explicit OpenList(const QString &path, const ListOrder &order = {})
    {
        grid.viewport()->installEventFilter(&counter);
        grid.setGeometry(40, 64, 409, 193);
        model.setOrder(order);
        if (!model.open(path).ok())
            fail(QStringLiteral("cannot open ") + path);
        grid.setModel(&model);
        grid.show();
        waitForPaint(counter, 0);
    }
    // Until the rows of the order and text asked for last are painted.
    void waitForView()
    {
        waitUntil(
            [&] {
                return model.view().order == model.requestedOrder()
                    && model.view().filter == model.requestedFilter();
            },
            60000, "the view never came");
        const int before = counter.paints;
        grid.viewport()->update();
        waitForPaint(counter, before);
    }
    void dragToEnd()
    {
        const int before = counter.paints;
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        waitForPaint(counter, before);
    }

    PaintCounter counter;
    ContactGrid grid;
    ContactListModel model;
};

void firstScreen(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    for (auto _ : state) {
        auto list = std::make_unique<OpenList>(path);
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

void dragToEnd(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<OpenList>(path);
        state.ResumeTiming();
        list->dragToEnd();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

// The same after the private copy is complete, as for most of the list's life.
void dragToEndAfterCopy(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<OpenList>(path);
        if (!list->model.waitUntilReleased(60000))
            state.SkipWithError("the copy never completed");
        state.ResumeTiming();
        list->dragToEnd();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

// How long the file is held from the opening on: a write from the main
// window in that time waits until the copy is complete.
void fileHeld(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    for (auto _ : state) {
        auto list = std::make_unique<OpenList>(path);
        if (!list->model.waitUntilReleased(60000))
            state.SkipWithError("the copy never completed");
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

// From the opening of a list whose kept order is by name until its first
// screen is painted in that order: the private copy, reading every entry
// once and ordering them by name.
void firstScreenSortedByName(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    for (auto _ : state) {
        auto list = std::make_unique<OpenList>(path, ListOrder{ListColumn::Name, false});
        list->waitForView();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

// A click on the name heading of a list open for a while, ordered by phone
// number before: until the first screen of the new order is painted. Each
// order is worked out once for the snapshot (firstScreenSortedByName), the
// ones not asked for meanwhile on a thread of their own.
void sortByName(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    OpenList list(path, ListOrder{ListColumn::Phone, false});
    list.waitForView();
    for (auto _ : state) {
        state.PauseTiming();
        list.model.setOrder({ListColumn::Phone, false});
        list.waitForView();
        state.ResumeTiming();
        list.model.setOrder({ListColumn::Name, false});
        list.waitForView();
    }
}

// Each keystroke of a name typed into the find box, then of a number, until
// the rows that match are painted; the time is per keystroke.
void findAsYouType(benchmark::State &state)
{
    const QString path = databasePath(state.range(0));
    OpenList list(path, ListOrder{ListColumn::Name, false});
    list.waitForView();
    const QStringList typed{QStringLiteral("علي احمدي 4321"), QStringLiteral("0912 000 54")};
    qint64 keystrokes = 0;
    for (auto _ : state) {
        for (const QString &text : typed) {
            for (int length = 1; length <= text.size(); ++length) {
                list.model.setFilter(text.left(length));
                list.waitForView();
                ++keystrokes;
            }
            state.PauseTiming();
            list.model.setFilter({});
            list.waitForView();
            state.ResumeTiming();
        }
    }
    state.counters["per_keystroke_ms"] = benchmark::Counter(
        double(keystrokes) / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Runs one size in a fresh process and reports its peak resident memory.
void peakMemory(benchmark::State &state)
{
    const qint64 size = state.range(0);
    databasePath(size);
    long peakKiB = 0;
    for (auto _ : state) {
        peakKiB = bench::peakKilobytesOfRun({QLatin1String(peakOption) + QString::number(size)});
        if (peakKiB < 0)
            state.SkipWithError("the measuring process failed");
    }
    state.counters["peak_MiB"] = double(peakKiB) / 1024;
}

int measurePeak(qint64 size)
{
    OpenList list(databasePath(size));
    list.dragToEnd();
    // Until the copy is complete, every entry has been read for sorting and
    // finding, and the list has been ordered by each column.
    if (!list.model.waitUntilReleased(60000) || !list.model.waitUntilShown(60000))
        return 1;
    for (int column = 0; column < listColumnCount; ++column) {
        list.model.setOrder({ListColumn(column), false});
        if (!list.model.waitUntilShown(60000))
            return 1;
    }
    std::printf("%ld\n", bench::peakKilobytes());
    return 0;
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(firstScreen)->Apply(sizes);
BENCHMARK(firstScreenSortedByName)->Apply(sizes);
BENCHMARK(sortByName)->Apply(sizes);
BENCHMARK(findAsYouType)->Apply(sizes)->Iterations(3);
BENCHMARK(dragToEnd)->Apply(sizes);
// Each iteration waits for a copy outside the timing: a fixed count keeps the
// run short.
BENCHMARK(dragToEndAfterCopy)->Apply(sizes)->Iterations(20);
BENCHMARK(fileHeld)->Apply(sizes)->Iterations(5);
BENCHMARK(peakMemory)->Apply(sizes)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
        if (first.startsWith(QLatin1String(peakOption)))
            return measurePeak(first.mid(int(std::strlen(peakOption))).toLongLong());
        // Fonts and the database driver load once, before any timing.
        OpenList(databasePath(1000)).dragToEnd();
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
