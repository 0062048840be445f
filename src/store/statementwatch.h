#pragma once

#include <chrono>
#include <memory>

struct pg_conn;

namespace dialvault {

// Ends a wait on a PostgreSQL server that has gone on past its deadline.
// Neither keepalives nor the server's own timeouts end a wait on a server
// that is stopped while its kernel still answers, nor on a link that holds
// everything back: here the server is first asked to cancel the statement
// (PQcancel, from a thread of its own, since the request itself may hang),
// and when the wait has not ended a moment later the connection's socket is
// shut down, so that libpq's wait ends with the connection broken. One watch
// per connection, armed by its owner around the work and moved on as the
// work goes on; one thread of the program looks after every watch.
class StatementWatch
{
public:
    using Clock = std::chrono::steady_clock;

    // How long a cancel is given to take effect before the socket is shut.
    static constexpr std::chrono::milliseconds cancelGrace{1000};

    StatementWatch();
    ~StatementWatch();
    StatementWatch(const StatementWatch &) = delete;
    StatementWatch &operator=(const StatementWatch &) = delete;

    // The connection watched from now, right after it is made, on its
    // owner's thread: what cancels its statements, and its socket.
    void watch(pg_conn *connection);
    // Before the connection closes: its socket is never touched again.
    void forget();

    // Watched from now until disarm(), against `deadline`.
    void arm(Clock::time_point deadline);
    // The work goes on: a new deadline.
    void renew(Clock::time_point deadline);
    void disarm();
    // Whether the watch has cancelled or cut the work since it was armed.
    bool fired() const;
    // Whether it shut the connection's socket.
    bool cut() const;

    // What the program's watchdog shares with each watch.
    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace dialvault
