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
    const QString today = m_desktop.clock.now().date().toString(Qt::ISODate);
    if (m_desktop.settings.read(failureToldOn) == today)
        return;
    m_desktop.settings.write(failureToldOn, today);
    m_desktop.windows.messageBox(
        failureText(backupNotMade(), error, QDir::toNativeSeparators(m_place.backupFolder())),
        MsgOk);
}

} // namespace dialvault
