#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>

// Ends a start-up measurement at the first frame a window paints: prints the
// wall clock (CLOCK_REALTIME, nanoseconds) and the peak resident memory
// (kilobytes) at that moment, then leaves.
class FirstFrame : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            // Let the paint happen first, then stop at the next turn of the loop.
            QMetaObject::invokeMethod(this, &FirstFrame::report, Qt::QueuedConnection);
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    void report()
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%lld %ld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec,
                    usage.ru_maxrss);
        std::fflush(stdout);
        std::_Exit(0);
    }
};
