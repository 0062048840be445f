#pragma once

#include "store/phonebooksource.h"

#include <QObject>
#include <QString>

namespace dialvault {

class ContactGrid;
class WindowSystem;

// The contact list grid's context menu: every entry of the phone book saved
// to a vCard or CSV file chosen in the standard file dialog, and a search by
// part of a name or number whose matching rows are selected and scrolled
// into view.
class ContactListMenu : public QObject
{
    Q_OBJECT

public:
    // Gives `grid` the menu over `phoneBook`.
    static void attach(ContactGrid *grid, WindowSystem &windows, const PhoneBookSource &phoneBook);

    static QString exportText() { return tr("ذخيره همه شماره ها در پرونده vCard يا CSV..."); }
    static QString findText() { return tr("جستجوي بخشي از نام يا شماره..."); }

    void exportAll();
    void findByPart();

private:
    ContactListMenu(ContactGrid *grid, WindowSystem &windows, const PhoneBookSource &phoneBook);
    void showMenu(const QPoint &position);

    ContactGrid *m_grid;
    WindowSystem &m_windows;
    PhoneBookSource m_phoneBook;
};

} // namespace dialvault
