#include "store/statementwatch.h"

#include <libpq-fe.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace dialvault {

namespace {

// How often the watchdog looks while something is armed: a deadline is met
// within this much.
constexpr std::chrono::milliseconds lookEvery{50};

enum class Stage { Waiting, Cancelling, Cut };

} // namespace

struct StatementWatch::State
{
    std::mutex mutex;
    std::shared_ptr<PGcancel> cancel;
    int socket = -1;
    bool armed = false;
    Stage stage = Stage::Waiting;
    Clock::time_point cancelledAt;
    // Read by the watchdog without the mutex: renewed for every statement
    // and every row read, which must stay cheap.
    std::atomic<Clock::rep> deadline{0};
};

namespace {

// The one thread that looks after every watch of the program.
class Watchdog
{
public:
    static Watchdog &instance()
    {
        static Watchdog watchdog;
        return watchdog;
    }

    void add(const std::shared_ptr<StatementWatch::State> &state)
    {
        const std::lock_guard lock(m_mutex);
        m_states.push_back(state);
    }

    // Something was armed: the watchdog looks again. Under the mutex, so
    // that a watchdog about to sleep cannot miss it.
    void wake()
    {
        const std::lock_guard lock(m_mutex);
        m_wake.notify_one();
    }

    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

private:
    Watchdog()
        : m_thread([this] { run(); })
    { }

    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            const bool anyArmed = look();
            if (anyArmed)
                m_wake.wait_for(lock, lookEvery);
            else
                m_wake.wait(lock);
        }
    }

    // One look at every watch; whether any is armed.
    bool look()
    {
        const StatementWatch::Clock::time_point now = StatementWatch::Clock::now();
        bool anyArmed = false;
        std::erase_if(m_states, [](const auto &weak) { return weak.expired(); });
        for (const auto &weak : m_states) {
            const std::shared_ptr<StatementWatch::State> state = weak.lock();
            if (!state)
                continue;
            const std::lock_guard stateLock(state->mutex);
            if (!state->armed)
                continue;
            anyArmed = true;
            const StatementWatch::Clock::time_point deadline{
                StatementWatch::Clock::duration(state->deadline.load())};
            if (state->stage == Stage::Waiting && now >= deadline) {
                state->stage = Stage::Cancelling;
                state->cancelledAt = now;
                if (state->cancel) {
                    // PQcancel waits for the server's answer, which a stopped
                    // server never gives: its thread may outlive the wait.
                    std::thread([cancel = state->cancel] {
                        char why[256];
                        PQcancel(cancel.get(), why, sizeof why);
                    }).detach();
                }
            } else if (state->stage == Stage::Cancelling
                       && now >= state->cancelledAt + StatementWatch::cancelGrace) {
                state->stage = Stage::Cut;
                if (state->socket >= 0)
                    ::shutdown(state->socket, SHUT_RDWR);
            }
        }
        return anyArmed;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::weak_ptr<StatementWatch::State>> m_states;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace

StatementWatch::StatementWatch()
    : m_state(std::make_shared<State>())
{
    Watchdog::instance().add(m_state);
}

StatementWatch::~StatementWatch()
{
    forget();
}

void StatementWatch::watch(pg_conn *connection)
{
    std::shared_ptr<PGcancel> cancel(PQgetCancel(connection), PQfreeCancel);
    const std::lock_guard lock(m_state->mutex);
    m_state->cancel = std::move(cancel);
    m_state->socket = PQsocket(connection);
}

void StatementWatch::forget()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->cancel.reset();
    m_state->socket = -1;
}

void StatementWatch::arm(Clock::time_point deadline)
{
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->deadline = deadline.time_since_epoch().count();
        m_state->armed = true;
        m_state->stage = Stage::Waiting;
    }
    Watchdog::instance().wake();
}

void StatementWatch::renew(Clock::time_point deadline)
{
    m_state->deadline = deadline.time_since_epoch().count();
}

void StatementWatch::disarm()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->armed = false;
}

bool StatementWatch::fired() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->stage != Stage::Waiting;
}

bool StatementWatch::cut() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->stage == Stage::Cut;
}

} // namespace dialvault
