#include "jet/isolatedreading.h"

#include "jet/jetfailure.h"
#include "jet/jetwire.h"
#include "store/durablefiles.h"

#include <QDir>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dialvault {

namespace {

constexpr qsizetype flushSize = 64 * 1024;

// Sends the frames down the pipe, a batch at a time.
class PipeSink : public JetRowSink
{
public:
    explicit PipeSink(int fd)
        : fd(fd)
    { }

    // Sent at once, so that a reading that hangs later is known to have got this far.
    void tableFound(quint32 recordedRows) override
    {
        JetWire::appendTable(buffer, recordedRows);
        flush();
    }

    bool row(const JetRow &row) override
    {
        JetWire::appendRow(buffer, row);
        ++sent;
        return buffer.size() < flushSize || flush();
    }

    void finish(const Status &status)
    {
        if (status.ok())
            JetWire::appendEnd(buffer, sent);
        else
            JetWire::appendFailure(buffer, status.error);
        flush();
    }

private:
    bool flush()
    {
        const char *data = buffer.constData();
        qsizetype left = buffer.size();
        while (left > 0) {
            const ssize_t written = ::write(fd, data, size_t(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            data += written;
            left -= written;
        }
        buffer.clear();
        return true;
    }

    int fd;
    QByteArray buffer;
    quint32 sent = 0;
};

// The address space the child may have: what it has now (which, under a
// sanitizer, is terabytes of reserved shadow) and `growth` more.
void limitMemory(qint64 growth)
{
    char text[64] = {};
    const int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        _exit(1);
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    close(fd);
    const long pages = got > 0 ? std::strtol(text, nullptr, 10) : 0;
    if (pages <= 0)
        _exit(1);
    const rlim_t size = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + rlim_t(growth);
    const rlimit limit{size, size};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        _exit(1);
}

void leaveAtOnce(int status, void *)
{
    _exit(status);
}

// The child: reads the file and sends what it found. It never returns, and
// never runs the handlers it inherited from the parent at exit (libmdb calls
// exit() on some damaged pages).
[[noreturn]] void runReader(int out, const ChildReading &read, pid_t parent, qint64 memoryLimit)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(1);
    limitMemory(memoryLimit);
    on_exit(leaveAtOnce, nullptr);
    // The parent's handlers (a test framework's crash report, say) are not
    // the child's: a crash must simply end it.
    for (const int number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGPIPE})
        std::signal(number, SIG_DFL);
    // What the reading prints (libmdb's warnings) must not mix with the parent's output.
    const int devNull = open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd)
        dup2(devNull, fd);
    PipeSink sink(out);
    sink.finish(read(sink));
    _exit(0);
}

Status damaged(const QString &path, const QString &what, const JetWire::Decoder &decoder)
{
    const QString progress = decoder.recordedRows()
        ? QStringLiteral("after %1 of the %2 rows that table test records")
              .arg(decoder.rowCount())
              .arg(*decoder.recordedRows())
        : QStringLiteral("before finding table test");
    return jetFailure(
        FailureCause::Damaged,
        QStringLiteral("reading %1 %2 %3").arg(QDir::toNativeSeparators(path), what, progress));
}

QString endOf(int status)
{
    if (WIFSIGNALED(status))
        return QStringLiteral("crashed (signal %1)").arg(WTERMSIG(status));
    return QStringLiteral("ended unexpectedly (status %1)").arg(WEXITSTATUS(status));
}

int waitFor(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    return status;
}

} // namespace

Result<QList<JetRow>> readInChildProcess(const QString &path, const ChildReading &read,
                                         std::chrono::milliseconds silenceLimit, qint64 memoryLimit)
{
    Result<QList<JetRow>> result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = fileFailure(errno, QStringLiteral("make a pipe to read"), path).error;
        return result;
    }
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        runReader(fds[1], read, parent, memoryLimit);
    }
    close(fds[1]);
    if (child < 0) {
        result.error = fileFailure(errno, QStringLiteral("start a reader for"), path).error;
        close(fds[0]);
        return result;
    }

    JetWire::Decoder decoder;
    QString trouble;
    QByteArray chunk(flushSize, Qt::Uninitialized);
    pollfd watch{fds[0], POLLIN, 0};
    for (;;) {
        const int ready = poll(&watch, 1, int(silenceLimit.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            trouble = QStringLiteral("stopped responding");
            break;
        }
        if (ready < 0) {
            trouble = QStringLiteral("could not be watched");
            break;
        }
        const ssize_t got = ::read(fds[0], chunk.data(), size_t(chunk.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const auto state = decoder.feed(QByteArrayView(chunk.constData(), got));
        if (state == JetWire::Decoder::State::Invalid) {
            trouble = QStringLiteral("produced garbled output");
            break;
        }
        // More rows than recorded: no need to wait for the rest.
        if (decoder.recordedRows() && quint32(decoder.rowCount()) > *decoder.recordedRows()) {
            trouble = QStringLiteral("found more rows than table test records");
            break;
        }
    }
    close(fds[0]);
    if (!trouble.isEmpty())
        kill(child, SIGKILL);
    const int exit = waitFor(child);

    switch (decoder.state()) {
    case JetWire::Decoder::State::Refused:
        result.error = decoder.refusal();
        return result;
    case JetWire::Decoder::State::Finished:
        if (trouble.isEmpty() && WIFEXITED(exit) && WEXITSTATUS(exit) == 0
            && quint32(decoder.rowCount()) == *decoder.recordedRows()) {
            result.value = std::move(decoder.rows());
            return result;
        }
        break;
    default:
        break;
    }
    if (trouble.isEmpty())
        trouble = endOf(exit);
    result.error = damaged(path, trouble, decoder).error;
    return result;
}

} // namespace dialvault
