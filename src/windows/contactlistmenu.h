#pragma once

#include <QObject>
#include <QString>

namespace dialvault {

class ContactGrid;

// The contact list grid's context menu: every entry of the phone book saved
// to a vCard or CSV file chosen in the standard file dialog, and a search by
// part of a name or number whose matching rows are selected and scrolled
// into view.
class ContactListMenu : public QObject
{
    Q_OBJECT

public:
    // Gives `grid` the menu over the phone book at `databasePath`.
    static void attach(ContactGrid *grid, const QString &databasePath);

    static QString exportText()
    {
        return QStringLiteral("ذخيره همه شماره ها در پرونده vCard يا CSV...");
    }
    static QString findText() { return QStringLiteral("جستجوي بخشي از نام يا شماره..."); }

    void exportAll();
    void findByPart();

private:
    ContactListMenu(ContactGrid *grid, const QString &databasePath);
    void showMenu(const QPoint &position);

    ContactGrid *m_grid;
    QString m_databasePath;
};

} // namespace dialvault
