#pragma once

#include "place/phonebookplace.h"

#include <QDateTime>
#include <QObject>

#include <atomic>
#include <memory>

class QThread;

namespace dialvault {

// Makes the day's backup of the phone book on a thread of its own, at the
// lowest priority and a few pages at a time, so that the windows and their
// writes to the phone book never wait for it for more than one short step.
class BackgroundBackup : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundBackup(PhoneBookPlace place, QObject *parent = nullptr);
    // A copy under way is stopped, and its partial file removed.
    ~BackgroundBackup() override;

    // Starts the backup of `now`'s day unless one was made that day; returns
    // whether it started.
    bool startIfDue(const QDateTime &now);
    bool isRunning() const;

Q_SIGNALS:
    // On this object's thread, when the copy is whole.
    void made(const QString &path);
    // On this object's thread, when the copy could not be made.
    void failed(const dialvault::StoreError &error);

private:
    void finish();

    PhoneBookPlace m_place;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    Result<QString> m_outcome; // written by the thread, read once it ended
};

} // namespace dialvault
