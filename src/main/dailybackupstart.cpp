#include "main/dailybackupstart.h"

#include "desktop/failurewords.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace dialvault {

namespace {

QString backupNotMade()
{
    return QCoreApplication::translate(
        "DailyBackup", "پشتيبان امروز دفترچه تلفن ساخته نشد. برنامه مثل هميشه کار مي کند.");
}

// The day a failure was last told, so that it is told once a day.
const QString failureToldOn = QStringLiteral("backup failure told on");
// The backups folder last told to be unfit for them.
const QString unfitFolderTold = QStringLiteral("backup folder refusal told for");

} // namespace

DailyBackupStart::DailyBackupStart(const Desktop &desktop, const PhoneBookPlace &place,
                                   QWidget *window)
    : QObject(window)
    , m_desktop(desktop)
    , m_place(place)
    , m_window(window)
    , m_backup(place)
{
    connect(&m_backup, &BackgroundBackup::failed, this, &DailyBackupStart::report);
    m_window->installEventFilter(this);
    QTimer::singleShot(2000, this, &DailyBackupStart::begin);
}

bool DailyBackupStart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Paint) {
        m_window->removeEventFilter(this);
        // The frame is painted when this event's handling ends.
        QTimer::singleShot(0, this, &DailyBackupStart::begin);
    }
    return false;
}

void DailyBackupStart::begin()
{
    if (m_begun)
        return;
    m_begun = true;
    m_window->removeEventFilter(this);
    m_backup.startIfDue(m_desktop.clock.now());
}

void DailyBackupStart::report(const StoreError &error)
{
    // A folder unfit for backups stays so until someone changes it: that is
    // told once, not every day.
    const bool lasting = error.cause == FailureCause::UnsafeFolder;
    const QString &toldKey = lasting ? unfitFolderTold : failureToldOn;
    const QString told
        = lasting ? m_place.backupFolder() : m_desktop.clock.now().date().toString(Qt::ISODate);
    if (m_desktop.settings.read(toldKey) == told)
        return;
    m_desktop.settings.write(toldKey, told);
    m_desktop.windows.messageBox(
        failureText(backupNotMade(), error, QDir::toNativeSeparators(m_place.backupFolder())),
        MsgOk);
}

} // namespace dialvault
