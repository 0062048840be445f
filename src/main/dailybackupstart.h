#pragma once

#include "desktop/desktop.h"
#include "place/backgroundbackup.h"

#include <QObject>

class QWidget;

namespace dialvault {

// The day's backup of the phone book, begun once the main window has painted
// its first frame, so that it never delays it (or after two seconds, for a
// window that paints nothing). A failure is told once a day, a backups
// folder unfit for them once; the program goes on either way. The desktop's
// clock says which day it is.
class DailyBackupStart : public QObject
{
    Q_OBJECT

public:
    DailyBackupStart(const Desktop &desktop, const PhoneBookPlace &place, QWidget *window);

    BackgroundBackup &backup() { return m_backup; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void begin();
    void report(const StoreError &error);

    Desktop m_desktop;
    PhoneBookPlace m_place;
    QWidget *m_window;
    BackgroundBackup m_backup;
    bool m_begun = false;
};

} // namespace dialvault
