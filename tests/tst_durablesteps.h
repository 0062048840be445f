#pragma once

// The order in which files and names reach the disk, as the durable-file
// helpers take the steps: what a power cut would keep.
#include "store/durablefiles.h"

#include <QDir>
#include <QMutex>
#include <QRegularExpression>
#include <QStringList>

namespace dialvault::testing {

// Records every durable step while it lives, one line each ("sync file X",
// "sync folder X", "rename X -> Y", "link X -> Y"), with paths relative to
// `root` and the random part of a temporary name as "*".
class DurableStepLog
{
public:
    explicit DurableStepLog(const QString &root)
        : m_root(root)
    {
        watchDurableSteps([this](DurableStep step, const QString &path, const QString &newPath) {
            const QMutexLocker locker(&m_mutex);
            switch (step) {
            case DurableStep::FileSynced:
                m_lines.append(QStringLiteral("sync file ") + name(path));
                break;
            case DurableStep::FolderSynced:
                m_lines.append(QStringLiteral("sync folder ") + name(path));
                break;
            case DurableStep::Renamed:
                m_lines.append(QStringLiteral("rename %1 -> %2").arg(name(path), name(newPath)));
                break;
            case DurableStep::Linked:
                m_lines.append(QStringLiteral("link %1 -> %2").arg(name(path), name(newPath)));
                break;
            }
        });
    }
    ~DurableStepLog() { watchDurableSteps({}); }
    DurableStepLog(const DurableStepLog &) = delete;
    DurableStepLog &operator=(const DurableStepLog &) = delete;

    QStringList lines() const
    {
        const QMutexLocker locker(&m_mutex);
        return m_lines;
    }

private:
    QString name(const QString &path) const
    {
        static const QRegularExpression random(
            QStringLiteral(R"((\.tmp-|\.partial-|\.restoring-)[0-9A-Za-z]{6,8}$)"));
        return QDir(m_root).relativeFilePath(path).replace(random, QStringLiteral("\\1*"));
    }

    QString m_root;
    mutable QMutex m_mutex;
    QStringList m_lines;
};

} // namespace dialvault::testing
