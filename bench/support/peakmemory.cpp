#include "support/peakmemory.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace dialvault::bench {

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

long peakKilobytesOfRun(const QStringList &arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return -1;
    bool number = false;
    const long peak = child.readAllStandardOutput().trimmed().toLong(&number);
    return number ? peak : -1;
}

} // namespace dialvault::bench
