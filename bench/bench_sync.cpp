// The phone book synced with a private Radicale on the loopback network
// (tools/radicaletest.sh, made for the run and removed at the end): the
// first sync of 5,000 entries going up and of 5,000 cards coming down; a
// later sync with 10 changes on each side, through the sync token and
// through a full listing of the ETags; and the peak memory of a first sync
// from 1,000 to 20,000 cards, each in a process of its own.
//
//   cmake --build build-release --target bench_sync
//   build-release/bench/bench_sync
#include "store/databasecreation.h"
#include "store/phonebook.h"
#include "support/peakmemory.h"
#include "support/rawdatabase.h"
#include "sync/addressbooksync.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

using namespace dialvault;

namespace {

// The server's folder, handed to the processes that measure memory.
QString radicaleDir;

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

bool script(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("bash"),
                             QStringList{QStringLiteral(DIALVAULT_RADICALE_SCRIPT)} + arguments)
        == 0;
}

class FixedPassword : public PasswordSource
{
public:
    SyncResult<Credentials> credentials(const AddressBookAccount &) override
    {
        return {{},
                {readText(radicaleDir + QStringLiteral("/user")),
                 readText(radicaleDir + QStringLiteral("/password"))}};
    }
};

QString nameOf(int i)
{
    static const QString first[]
        = {QStringLiteral("علي"), QStringLiteral("محمد"), QStringLiteral("زهرا"),
           QStringLiteral("مريم"), QStringLiteral("کامران")};
    return first[i % 5] + u' ' + QString::number(i);
}

QString phoneOf(int i)
{
    return QStringLiteral("0912 %1").arg(i, 7, 10, QChar(u'0'));
}

// A new, empty address book; its name.
QString newBook()
{
    static int made = 0;
    const QString name = QStringLiteral("bench%1").arg(++made);
    if (!script({QStringLiteral("book"), radicaleDir, name}))
        throw std::runtime_error("cannot make an address book");
    return name;
}

// `count` cards written straight into the book's folder, as the server
// keeps them: far quicker than sending each. `note` makes them new.
void fillBook(const QString &book, int count, int from = 0, const QByteArray &note = {})
{
    const QString folder = radicaleDir + QStringLiteral("/storage/collection-root/")
        + readText(radicaleDir + QStringLiteral("/user")) + u'/' + book;
    for (int i = from; i < from + count; ++i) {
        QFile file(QStringLiteral("%1/card%2.vcf").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write a card");
        file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:card" + QByteArray::number(i)
                   + "\r\nFN:" + nameOf(i).toUtf8() + "\r\nN:;" + nameOf(i).toUtf8()
                   + ";;;\r\nTEL;TYPE=CELL:" + phoneOf(i).toUtf8() + "\r\nEMAIL:p"
                   + QByteArray::number(i) + "@example.org\r\n"
                   + (note.isEmpty() ? QByteArray() : "NOTE:" + note + "\r\n") + "END:VCARD\r\n");
    }
}

AddressBookAccount accountOf(const QString &book)
{
    const QString user = readText(radicaleDir + QStringLiteral("/user"));
    return addressBookAccount(QStringLiteral("http://%1@127.0.0.1:%2/%1/%3/")
                                  .arg(user, readText(radicaleDir + QStringLiteral("/port")), book),
                              false)
        .value;
}

// An empty phone book in `folder`, or one of `count` entries.
PhoneBookSource phoneBookIn(const QString &folder, int count = 0)
{
    createDatabaseIfMissing(QDir(folder).filePath(QStringLiteral("db1.mdb")));
    const PhoneBookSource source = PhoneBookSource::inFolder(folder);
    if (count > 0) {
        QList<ContactEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.append({nameOf(i), phoneOf(i), {}, 0});
        PhoneBook book(source);
        if (!book.open().ok() || !book.importEntries(entries).ok())
            throw std::runtime_error("cannot fill the phone book");
    }
    return source;
}

void synced(benchmark::State &state, const PhoneBookSource &source, const QString &book)
{
    FixedPassword passwords;
    const SyncResult<SyncReport> result = syncAddressBook(source, accountOf(book), passwords);
    if (!result.ok())
        state.SkipWithError("the sync failed");
    state.counters["requests"] = result.value.requests;
}

// range(0): 0 entries here go up, 1 cards there come down.
void firstSync5000(benchmark::State &state)
{
    const bool up = state.range(0) == 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString book = newBook();
        const PhoneBookSource source = phoneBookIn(folder.path(), up ? 5000 : 0);
        if (!up)
            fillBook(book, 5000);
        state.ResumeTiming();
        synced(state, source, book);
    }
    state.SetLabel(up ? "5,000 entries up" : "5,000 cards down");
}

// range(0): 1 through the sync token, 0 through a full listing of ETags.
void laterSync10Changes(benchmark::State &state)
{
    const bool token = state.range(0) == 1;
    QTemporaryDir folder;
    const QString book = newBook();
    fillBook(book, 5000);
    const PhoneBookSource source = phoneBookIn(folder.path());
    synced(state, source, book);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        {
            RawDatabase raw(source.databasePath());
            for (int i = 0; i < 10; ++i)
                raw.run(QStringLiteral("UPDATE test SET \"يادداشت\" = ? WHERE \"نام\" = ?"),
                        {QStringLiteral("round %1").arg(round), nameOf(i * 37)});
            if (!token)
                raw.run(QStringLiteral("DELETE FROM test_address_book"), {});
        }
        for (int i = 0; i < 10; ++i)
            fillBook(book, 1, 2500 + i * 41, "round " + QByteArray::number(round));
        state.ResumeTiming();
        synced(state, source, book);
    }
    state.SetLabel(token ? "sync token" : "full listing");
}

// One first sync of `count` cards into an empty phone book in this
// process; prints its peak resident size.
int syncAndReportPeak(const QString &book)
{
    QTemporaryDir folder;
    FixedPassword passwords;
    const SyncResult<SyncReport> result
        = syncAddressBook(phoneBookIn(folder.path()), accountOf(book), passwords);
    if (!result.ok())
        return 1;
    std::printf("%ld\n", bench::peakKilobytes());
    return 0;
}

void firstSyncPeakMemory(benchmark::State &state)
{
    const QString book = newBook();
    fillBook(book, int(state.range(0)));
    long peak = 0;
    for (auto _ : state) {
        peak = bench::peakKilobytesOfRun({QStringLiteral("--sync-peak"), radicaleDir, book});
        if (peak < 0) {
            state.SkipWithError("the sync process failed");
            return;
        }
    }
    state.counters["peak_kB"] = double(peak);
}

} // namespace

BENCHMARK(firstSync5000)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(laterSync10Changes)->Arg(1)->Arg(0)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(firstSyncPeakMemory)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object.
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--sync-peak") == 0) {
        radicaleDir = QString::fromLocal8Bit(argv[2]);
        return syncAndReportPeak(QString::fromLocal8Bit(argv[3]));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir scratch;
    radicaleDir = scratch.filePath(QStringLiteral("radicale"));
    if (!script({QStringLiteral("setup"), radicaleDir}))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    script({QStringLiteral("stop"), radicaleDir});
    return 0;
}
