#include "support/compositorscreen.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

namespace dialvault {

QImage compositorScreenshot(const QString &runtimeFolder)
{
    // The tool writes wayland-screenshot-<time>.png where it runs.
    QTemporaryDir where;
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-dialvault"));
    tool.setProcessEnvironment(environment);
    tool.setWorkingDirectory(where.path());
    tool.start(QStringLiteral("weston-screenshooter"), {});
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit
        || tool.exitCode() != 0)
        return {};
    const QStringList shots = QDir(where.path()).entryList({QStringLiteral("*.png")});
    if (shots.size() != 1)
        return {};
    return QImage(QDir(where.path()).filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
}

std::optional<QPoint> findIn(const QImage &screen, const QImage &part)
{
    const QImage whole = screen.convertToFormat(QImage::Format_RGB32);
    const QImage wanted = part.convertToFormat(QImage::Format_RGB32);
    const qsizetype rowBytes = qsizetype(wanted.width()) * 4;
    for (int y = 0; y + wanted.height() <= whole.height(); ++y) {
        for (int x = 0; x + wanted.width() <= whole.width(); ++x) {
            bool same = true;
            for (int row = 0; same && row < wanted.height(); ++row)
                same = std::memcmp(whole.constScanLine(y + row) + x * 4, wanted.constScanLine(row),
                                   size_t(rowBytes))
                    == 0;
            if (same)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

} // namespace dialvault
