#include "main/dailybackupstart.h"

#include "layout/failurewords.h"
#include "layout/services.h"

#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace dialvault {

namespace {

const QString backupNotMade
    = QStringLiteral("پشتيبان امروز دفترچه تلفن ساخته نشد. برنامه مثل هميشه کار مي کند.");
// The day a failure was last told, so that it is told once a day.
const QString failureToldOn = QStringLiteral("backup failure told on");

} // namespace

DailyBackupStart::DailyBackupStart(const PhoneBookPlace &place, QWidget *window)
    : QObject(window)
    , place_(place)
    , window_(window)
    , backup_(place)
{
    connect(&backup_, &BackgroundBackup::failed, this, &DailyBackupStart::report);
    window_->installEventFilter(this);
    QTimer::singleShot(2000, this, &DailyBackupStart::begin);
}

bool DailyBackupStart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && event->type() == QEvent::Paint) {
        window_->removeEventFilter(this);
        // The frame is painted when this event's handling ends.
        QTimer::singleShot(0, this, &DailyBackupStart::begin);
    }
    return false;
}

void DailyBackupStart::begin()
{
    if (begun_)
        return;
    begun_ = true;
    window_->removeEventFilter(this);
    backup_.startIfDue(services().now());
}

void DailyBackupStart::report(const StoreError &error)
{
    const QString today = services().now().date().toString(Qt::ISODate);
    if (services().readSetting(failureToldOn) == today)
        return;
    services().writeSetting(failureToldOn, today);
    services().messageBox(
        failureText(backupNotMade, error, QDir::toNativeSeparators(place_.backupFolder())), MsgOk);
}

} // namespace dialvault
