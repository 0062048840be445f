// The phone book on a PostgreSQL server over the loopback network, beside
// libpq sending the very same statements in the same run: a search with the
// refresh that follows it, an add with its refresh, and 16 writers adding at
// once (each add followed by its refresh), each on a connection of its own.
// A private server is made for the run (tools/pgtest.sh) with 100,000
// entries, and removed at the end.
//
//   cmake --build build-release --target bench_server
//   build-release/bench/bench_server --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true --benchmark_enable_random_interleaving=true
#include "cli/serverinit.h"
#include "store/contactstore.h"
#include "store/storeengine.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace dialvault;

namespace {

constexpr int preloaded = 100000;
constexpr int writers = 16;
constexpr int addsPerWriter = 100;

QString serverUrl;

QString nameOf(qint64 i)
{
    static const QString first[]
        = {QStringLiteral("علي"), QStringLiteral("محمد"), QStringLiteral("زهرا"),
           QStringLiteral("مريم"), QStringLiteral("کامران")};
    return first[i % 5] + u' ' + QString::number(i);
}

// The statement with libpq's numbered parameters in place of Qt's '?'.
QByteArray numbered(QString sql)
{
    int number = 0;
    for (qsizetype at = sql.indexOf(u'?'); at >= 0; at = sql.indexOf(u'?', at))
        sql.replace(at, 1, QStringLiteral("$%1").arg(++number));
    return sql.toUtf8();
}

// A libpq connection with the store's statements prepared on it.
class Libpq
{
public:
    Libpq()
        : connection(PQconnectdb(serverUrl.toUtf8().constData()))
    {
        if (PQstatus(connection) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(connection));
        const std::unique_ptr<StoreEngine> engine
            = makeStoreEngine(PhoneBookSource::server(serverUrl));
        prepare("find", engine->nameQueryStatement().text, 1);
        prepare("read", engine->readStatement().text, 1);
        prepare("count", engine->countStatement().text, 0);
        prepare("insert", engine->insertStatement().text, 5);
    }
    ~Libpq() { PQfinish(connection); }

    // Runs a prepared statement; the first value of its answer.
    QByteArray run(const char *name, std::initializer_list<QByteArray> values)
    {
        std::vector<const char *> texts;
        for (const QByteArray &value : values)
            texts.push_back(value.constData());
        PGresult *result = PQexecPrepared(connection, name, int(texts.size()), texts.data(),
                                          nullptr, nullptr, 0);
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            const std::string why = PQresultErrorMessage(result);
            PQclear(result);
            throw std::runtime_error(why);
        }
        QByteArray first
            = PQntuples(result) > 0 ? QByteArray(PQgetvalue(result, 0, 0)) : QByteArray();
        PQclear(result);
        return first;
    }

private:
    void prepare(const char *name, const QString &sql, int parameters)
    {
        PGresult *result
            = PQprepare(connection, name, numbered(sql).constData(), parameters, nullptr);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            throw std::runtime_error(PQresultErrorMessage(result));
        PQclear(result);
    }

    PGconn *connection;
};

void searchAndRefreshStore(benchmark::State &state)
{
    ContactStore store(PhoneBookSource::server(serverUrl));
    store.open();
    qint64 i = 0;
    for (auto _ : state) {
        const QString name = nameOf((i++ * 7919) % preloaded);
        const bool found = store.queryByName(name).ok() && store.readFirstMatch().ok()
            && store.closeResult().ok() && store.open().ok() && store.countEntries().ok();
        if (!found)
            state.SkipWithError("search failed");
    }
}

void searchAndRefreshLibpq(benchmark::State &state)
{
    Libpq pq;
    qint64 i = 0;
    for (auto _ : state) {
        const QByteArray name = nameOf((i++ * 7919) % preloaded).toUtf8();
        const QByteArray id = pq.run("find", {name});
        benchmark::DoNotOptimize(pq.run("read", {id}));
        benchmark::DoNotOptimize(pq.run("count", {}));
    }
}

std::atomic<qint64> added{preloaded};

ContactEntry newEntry()
{
    const qint64 i = added++;
    return {nameOf(i), QStringLiteral("0912 %1").arg(i), QStringLiteral("همکار"), double(i)};
}

bool addAndRefresh(ContactStore &store)
{
    return store.appendEntry(newEntry()).ok() && store.open().ok() && store.countEntries().ok();
}

void addAndRefresh(Libpq &pq)
{
    const ContactEntry entry = newEntry();
    pq.run("insert",
           {entry.name.toUtf8(), entry.phone.toUtf8(), entry.note.toUtf8(),
            QByteArray::number(entry.rowNumber),
            QUuid::createUuid().toByteArray(QUuid::WithoutBraces)});
    benchmark::DoNotOptimize(pq.run("count", {}));
}

void addAndRefreshStore(benchmark::State &state)
{
    ContactStore store(PhoneBookSource::server(serverUrl));
    store.open();
    for (auto _ : state) {
        if (!addAndRefresh(store))
            state.SkipWithError("add failed");
    }
}

void addAndRefreshLibpq(benchmark::State &state)
{
    Libpq pq;
    for (auto _ : state)
        addAndRefresh(pq);
}

// Every writer on a thread and a connection of its own, all started
// together; the time is from the start to the last add.
template <typename Writer>
void manyWriters(benchmark::State &state)
{
    for (auto _ : state) {
        std::atomic<int> ready{0};
        std::atomic<bool> go{false};
        std::atomic<bool> failed{false};
        std::vector<std::thread> threads;
        for (int w = 0; w < writers; ++w) {
            threads.emplace_back([&] {
                Writer writer;
                ++ready;
                while (!go)
                    std::this_thread::yield();
                for (int i = 0; i < addsPerWriter; ++i)
                    failed = failed || !writer.add();
            });
        }
        while (ready < writers)
            std::this_thread::yield();
        const auto start = std::chrono::steady_clock::now();
        go = true;
        for (std::thread &thread : threads)
            thread.join();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (failed)
            state.SkipWithError("an add failed");
        state.SetIterationTime(took.count());
        state.counters["adds_per_second"] = writers * addsPerWriter / took.count();
    }
}

struct StoreWriter
{
    StoreWriter() { store.open(); }
    bool add() { return addAndRefresh(store); }
    ContactStore store{PhoneBookSource::server(serverUrl)};
};

struct LibpqWriter
{
    bool add()
    {
        try {
            addAndRefresh(pq);
            return true;
        } catch (const std::exception &) {
            return false;
        }
    }
    Libpq pq;
};

BENCHMARK(searchAndRefreshStore);
BENCHMARK(searchAndRefreshLibpq);
BENCHMARK(addAndRefreshStore);
BENCHMARK(addAndRefreshLibpq);
BENCHMARK(manyWriters<StoreWriter>)->Name("writers16Store")->UseManualTime()->Iterations(5);
BENCHMARK(manyWriters<LibpqWriter>)->Name("writers16Libpq")->UseManualTime()->Iterations(5);

bool pgtest(const char *command, const QString &dir)
{
    return QProcess::execute(QStringLiteral("bash"),
                             {QStringLiteral(DIALVAULT_PGTEST_SCRIPT), QLatin1String(command), dir})
        == 0;
}

void preparePhoneBook(const QString &dir)
{
    QFile portFile(dir + QStringLiteral("/port"));
    if (!portFile.open(QIODevice::ReadOnly))
        throw std::runtime_error("no port");
    const QString port = QString::fromLatin1(portFile.readAll().trimmed());
    const QString admin = QStringLiteral("postgresql://postgres@127.0.0.1:%1/").arg(port);
    {
        const std::unique_ptr<StoreEngine> postgres
            = makeStoreEngine(PhoneBookSource::server(admin + QStringLiteral("postgres")));
        if (!postgres->connect().ok())
            throw std::runtime_error("cannot connect");
        postgres->run(QStringLiteral("CREATE DATABASE bench"));
    }
    serverUrl = admin + QStringLiteral("bench");
    const std::unique_ptr<StoreEngine> engine = makeStoreEngine(PhoneBookSource::server(serverUrl));
    const Status opened = engine->connect();
    const Result<ServerPreparation> prepared
        = opened.ok() ? prepareServerPhoneBook(*engine) : Result<ServerPreparation>{opened};
    if (!prepared.ok())
        throw std::runtime_error(prepared.error.description.toStdString());
    QSqlQuery fill(engine->database());
    fill.exec(QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") SELECT "
                             "(ARRAY['علي','محمد','زهرا','مريم','کامران'])[i % 5 + 1] || ' ' || i, "
                             "'0912 ' || i, 'همکار', i FROM generate_series(0, %1) i; ANALYZE test")
                  .arg(preloaded - 1));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir scratch;
    const QString dir = scratch.filePath(QStringLiteral("server"));
    if (!pgtest("setup", dir)) {
        std::fputs("the private server could not be started\n", stderr);
        return 1;
    }
    int status = 0;
    try {
        preparePhoneBook(dir);
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        status = 1;
    }
    benchmark::Shutdown();
    pgtest("stop", dir);
    return status;
}
