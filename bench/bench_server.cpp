// The phone book on a PostgreSQL server over the loopback network, beside
// libpq sending the very same statements in the same run: a search with the
// refresh that follows it, an add with its refresh, 16 writers adding at
// once (each add followed by its refresh), each on a connection of its own,
// and 16 importers of 100-card files at once beside 16 clients inserting
// the same rows one INSERT each. Then a 20,000-card import through a proxy
// that delays each way by 50 ms, and the longest turn of an event loop
// while a search waits on a locked table or a stopped server.
// A private server is made for the run (tools/pgtest.sh) with 100,000
// entries, and removed at the end.
//
//   cmake --build build-release --target bench_server
//   build-release/bench/bench_server --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true --benchmark_enable_random_interleaving=true
#include "cli/serverinit.h"
#include "store/contactstore.h"
#include "store/phonebook.h"
#include "store/storeengine.h"
#include "store/storeworker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace dialvault;

namespace {

constexpr int preloaded = 100000;
constexpr int writers = 16;
constexpr int addsPerWriter = 100;
constexpr int importers = 16;
constexpr int cardsPerImporter = 100;

QString serverUrl;
QString serverDir;
int serverPort = 0;

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

    // A statement without parameters, its answer dropped.
    void exec(const char *sql) { PQclear(PQexec(connection, sql)); }

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

// Every importer on a thread and a connection of its own with a file of its
// own, all started together; the time is from the start to the last commit.
// Beside them, the yardstick: as many clients sending the same rows as plain
// INSERT statements through libpq, one statement each.
template <bool viaStore>
void manyImporters(benchmark::State &state)
{
    for (auto _ : state) {
        std::atomic<int> ready{0};
        std::atomic<bool> go{false};
        std::atomic<bool> failed{false};
        std::vector<std::thread> threads;
        for (int w = 0; w < importers; ++w) {
            threads.emplace_back([&] {
                QList<ContactEntry> entries;
                for (int i = 0; i < cardsPerImporter; ++i)
                    entries.append(newEntry());
                if constexpr (viaStore) {
                    PhoneBook book(PhoneBookSource::server(serverUrl));
                    ++ready;
                    while (!go)
                        std::this_thread::yield();
                    failed = failed || !book.open().ok() || !book.importEntries(entries).ok();
                } else {
                    Libpq pq;
                    ++ready;
                    while (!go)
                        std::this_thread::yield();
                    try {
                        for (const ContactEntry &entry : entries)
                            pq.run("insert",
                                   {entry.name.toUtf8(), entry.phone.toUtf8(), entry.note.toUtf8(),
                                    QByteArray::number(entry.rowNumber),
                                    QUuid::createUuid().toByteArray(QUuid::WithoutBraces)});
                    } catch (const std::exception &) {
                        failed = true;
                    }
                }
            });
        }
        while (ready < importers)
            std::this_thread::yield();
        const auto start = std::chrono::steady_clock::now();
        go = true;
        for (std::thread &thread : threads)
            thread.join();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (failed)
            state.SkipWithError("an import failed");
        state.SetIterationTime(took.count());
        state.counters["cards_per_second"] = importers * cardsPerImporter / took.count();
    }
}

// A TCP proxy on 127.0.0.1 in front of the server that holds back whatever
// it is sent for `delay` before passing it on, each way: a slow link.
class DelayProxy
{
public:
    DelayProxy(int serverPort, std::chrono::milliseconds delay)
        : m_serverPort(serverPort)
        , m_delay(delay)
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t size = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr *>(&address), size) != 0
            || listen(m_listener, 16) != 0
            || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            throw std::runtime_error("no port for the proxy");
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { acceptLoop(); });
    }
    ~DelayProxy()
    {
        shutdown(m_listener, SHUT_RDWR);
        m_acceptor.join();
        ::close(m_listener);
        for (std::thread &link : m_links)
            link.join();
    }
    int port() const { return m_port; }

private:
    static sockaddr_in loopback(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(std::uint16_t(port));
        return address;
    }

    void acceptLoop()
    {
        for (;;) {
            const int client = accept(m_listener, nullptr, nullptr);
            if (client < 0)
                return;
            const int server = socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in address = loopback(m_serverPort);
            if (::connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address)
                != 0) {
                ::close(client);
                ::close(server);
                continue;
            }
            m_links.emplace_back([this, client, server] {
                std::thread back([this, client, server] { pass(server, client); });
                pass(client, server);
                back.join();
                ::close(client);
                ::close(server);
            });
        }
    }

    // From `from` to `to`, each chunk `m_delay` after it came, in order; the
    // end passed on as the end.
    void pass(int from, int to) const
    {
        struct Chunk
        {
            std::chrono::steady_clock::time_point due;
            std::string bytes; // empty: the end
        };
        std::deque<Chunk> chunks;
        std::mutex lock;
        std::condition_variable arrived;
        std::thread writer([&] {
            bool open = true;
            for (;;) {
                Chunk chunk;
                {
                    std::unique_lock<std::mutex> held(lock);
                    arrived.wait(held, [&] { return !chunks.empty(); });
                    chunk = std::move(chunks.front());
                    chunks.pop_front();
                }
                std::this_thread::sleep_until(chunk.due);
                if (chunk.bytes.empty()) {
                    shutdown(to, SHUT_WR);
                    return;
                }
                for (std::size_t sent = 0; open && sent < chunk.bytes.size();) {
                    const ssize_t n = send(to, chunk.bytes.data() + sent, chunk.bytes.size() - sent,
                                           MSG_NOSIGNAL);
                    open = n > 0;
                    sent += open ? std::size_t(n) : 0;
                }
            }
        });
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(from, buffer, sizeof buffer, 0);
            {
                const std::lock_guard<std::mutex> held(lock);
                chunks.push_back({std::chrono::steady_clock::now() + m_delay,
                                  n > 0 ? std::string(buffer, std::size_t(n)) : std::string()});
            }
            arrived.notify_one();
            if (n <= 0)
                break;
        }
        writer.join();
    }

    int m_serverPort;
    std::chrono::milliseconds m_delay;
    int m_listener = -1;
    int m_port = 0;
    std::thread m_acceptor;
    std::vector<std::thread> m_links;
};

// One import of 20,000 cards, connection and commit included, through a
// link that adds the argument's milliseconds each way (0: the yardstick,
// the same proxy without delay).
void import20000Delayed(benchmark::State &state)
{
    DelayProxy proxy(serverPort, std::chrono::milliseconds(state.range(0)));
    const QString url = QStringLiteral("postgresql://postgres@127.0.0.1:%1/bench?sslmode=disable")
                            .arg(proxy.port());
    for (auto _ : state) {
        QList<ContactEntry> entries;
        for (int i = 0; i < 20000; ++i)
            entries.append(newEntry());
        const auto start = std::chrono::steady_clock::now();
        {
            PhoneBook book(PhoneBookSource::server(url));
            if (!book.open().ok() || !book.importEntries(entries).ok())
                state.SkipWithError("the import failed");
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
}

// A window's search (with the refresh after it) posted to the store worker
// while another session holds the table (0) or the server is stopped (1),
// with a deadline of 2 s: the longest turn of the event loop meanwhile.
void searchWhileServerWaits(benchmark::State &state)
{
    const bool stopped = state.range(0) == 1;
    StoreWorker worker(PhoneBookSource::server(serverUrl).withTimeout(std::chrono::seconds(2)));
    worker.runNow([](ContactStore &store) { store.open(); });
    qint64 longest = 0;
    for (auto _ : state) {
        std::unique_ptr<Libpq> holder;
        if (stopped) {
            pgtest("pause", serverDir);
        } else {
            holder = std::make_unique<Libpq>();
            holder->exec("BEGIN");
            holder->exec("LOCK TABLE test IN ACCESS EXCLUSIVE MODE");
        }
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        QTimer turns;
        turns.setInterval(10);
        QObject::connect(&turns, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        turns.start();
        const QString name = nameOf(42);
        worker.post(
            [name](ContactStore &store) {
                if (store.open().ok() && store.queryByName(name).ok() && store.readFirstMatch().ok()
                    && store.closeResult().ok() && store.open().ok())
                    store.countEntries();
            },
            [&loop] { loop.quit(); });
        loop.exec();
        longest = std::max(longest, clock.elapsed() - last);
        state.SetIterationTime(double(clock.elapsed()) / 1000);
        if (stopped)
            pgtest("resume", serverDir);
        else
            holder->exec("ROLLBACK");
    }
    state.counters["longest_turn_ms"] = double(longest);
}

BENCHMARK(manyImporters<true>)->Name("importers16Store")->UseManualTime()->Iterations(5);
BENCHMARK(manyImporters<false>)->Name("importers16LibpqInserts")->UseManualTime()->Iterations(5);
BENCHMARK(import20000Delayed)
    ->Arg(0)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(searchWhileServerWaits)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

void preparePhoneBook(const QString &dir)
{
    QFile portFile(dir + QStringLiteral("/port"));
    if (!portFile.open(QIODevice::ReadOnly))
        throw std::runtime_error("no port");
    const QString port = QString::fromLatin1(portFile.readAll().trimmed());
    serverPort = port.toInt();
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
    serverDir = dir;
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
