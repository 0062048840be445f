#include "place/backgroundbackup.h"

#include "place/backups.h"

#include <QThread>

namespace dialvault {

namespace {

// 256 pages are a megabyte at SQLite's usual page size: a step takes about
// a millisecond, and the pause lets a waiting writer in.
CopyPacing gentle(const std::atomic<bool> &stop)
{
    CopyPacing pacing;
    pacing.pagesPerStep = 256;
    pacing.pause = std::chrono::milliseconds(1);
    pacing.stop = &stop;
    return pacing;
}

} // namespace

BackgroundBackup::BackgroundBackup(PhoneBookPlace place, QObject *parent)
    : QObject(parent)
    , m_place(std::move(place))
{ }

BackgroundBackup::~BackgroundBackup()
{
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
    }
}

bool BackgroundBackup::startIfDue(const QDateTime &now)
{
    if (m_thread || backups::madeOn(m_place.backupFolder(), now.date()))
        return false;
    m_thread = QThread::create(
        [this, now] { m_outcome = makeDailyBackup(m_place, now, gentle(m_stop)); });
    m_thread->setParent(this);
    connect(m_thread, &QThread::finished, this, &BackgroundBackup::finish);
    m_thread->start(QThread::IdlePriority);
    return true;
}

bool BackgroundBackup::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

void BackgroundBackup::finish()
{
    if (m_stop)
        return;
    if (!m_outcome.ok())
        Q_EMIT failed(m_outcome.error);
    else if (!m_outcome.value.isEmpty())
        Q_EMIT made(m_outcome.value);
}

} // namespace dialvault
