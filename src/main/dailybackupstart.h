#pragma once

#include "place/backgroundbackup.h"

#include <QObject>

class QWidget;

namespace dialvault {

// The day's backup of the phone book, begun once the main window has painted
// its first frame, so that it never delays it (or after two seconds, for a
// window that paints nothing). A failure is told once a day; the program
// goes on either way.
class DailyBackupStart : public QObject
{
    Q_OBJECT

public:
    DailyBackupStart(const PhoneBookPlace &place, QWidget *window);

    BackgroundBackup &backup() { return backup_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void begin();
    void report(const StoreError &error);

    PhoneBookPlace place_;
    QWidget *window_;
    BackgroundBackup backup_;
    bool begun_ = false;
};

} // namespace dialvault
