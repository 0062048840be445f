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
    , place_(std::move(place))
{ }

BackgroundBackup::~BackgroundBackup()
{
    if (thread_) {
        stop_ = true;
        thread_->wait();
    }
}

bool BackgroundBackup::startIfDue(const QDateTime &now)
{
    if (thread_ || backups::madeOn(place_.backupFolder(), now.date()))
        return false;
    thread_
        = QThread::create([this, now] { outcome_ = makeDailyBackup(place_, now, gentle(stop_)); });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &BackgroundBackup::finish);
    thread_->start(QThread::IdlePriority);
    return true;
}

bool BackgroundBackup::isRunning() const
{
    return thread_ && thread_->isRunning();
}

void BackgroundBackup::finish()
{
    if (stop_)
        return;
    if (!outcome_.ok())
        Q_EMIT failed(outcome_.error);
    else if (!outcome_.value.isEmpty())
        Q_EMIT made(outcome_.value);
}

} // namespace dialvault
