// What the main window's clock costs while the program sits idle: share of
// one core, wake-ups a second, and how late after each second boundary the
// shown time changes; beside a plain 1 ms timer for reference.
//   QT_QPA_PLATFORM=offscreen build/bench/bench_clock
#include "desktop/qtwindowsystem.h"
#include "desktop/settingsstore.h"
#include "layout/formlabel.h"
#include "main/mainwindow.h"
#include "store/databasecreation.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>

namespace {

using namespace dialvault;

constexpr int idleMilliseconds = 5000;

struct Usage
{
    double cpuSeconds;
    long switches;
};

Usage usageNow()
{
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    rusage thread{};
    getrusage(RUSAGE_THREAD, &thread);
    return {double(self.ru_utime.tv_sec + self.ru_stime.tv_sec)
                + (self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e6,
            thread.ru_nvcsw + thread.ru_nivcsw};
}

void report(benchmark::State &state, const Usage &before, const Usage &after)
{
    const double seconds = idleMilliseconds / 1000.0;
    state.counters["core_percent"] = 100.0 * (after.cpuSeconds - before.cpuSeconds) / seconds;
    state.counters["wakeups_per_s"] = double(after.switches - before.switches) / seconds;
}

void idle()
{
    QTimer::singleShot(idleMilliseconds, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void BM_ClockIdle(benchmark::State &state)
{
    QTemporaryDir dir;
    createDatabaseIfMissing(QDir(dir.path()).filePath(QStringLiteral("db1.mdb")));
    // The real window system and clock, over the benchmark's own phone book.
    QtWindowSystem windows;
    SystemClock clock;
    SettingsStore settings(QDir(dir.path()).filePath(QStringLiteral("dialvault.ini")));
    DecidedPhoneBook phoneBook(PhoneBookSource::inFolder(dir.path()));
    const Desktop desktop{windows, clock, settings, phoneBook};
    for (auto _ : state) {
        MainWindow window(desktop);
        window.start();
        const MainWindowControls &controls = window.controls();
        int lateMs = 0;
        QString shown;
        QObject::connect(controls.clockTimer, &QTimer::timeout, [&] {
            const int ms = QTime::currentTime().msec();
            // The first change replaces the layout caption, not a second.
            if (controls.clockLabel->text() != shown) {
                if (!shown.isEmpty())
                    lateMs = std::max(lateMs, ms < 500 ? ms : 0);
                shown = controls.clockLabel->text();
            }
        });
        QCoreApplication::processEvents();
        const Usage before = usageNow();
        idle();
        const Usage after = usageNow();
        report(state, before, after);
        state.counters["latest_change_ms"] = lateMs;
    }
}
BENCHMARK(BM_ClockIdle)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Reference1msTimer(benchmark::State &state)
{
    for (auto _ : state) {
        QLabel label;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout,
                         [&] { label.setText(QTime::currentTime().toString()); });
        timer.start(1);
        const Usage before = usageNow();
        idle();
        const Usage after = usageNow();
        report(state, before, after);
    }
}
BENCHMARK(BM_Reference1msTimer)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
