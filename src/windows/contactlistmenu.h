#pragma once

#include "store/phonebooksource.h"

#include <QAction>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace dialvault {

class Clock;
class ContactGrid;
class WindowSystem;
struct PrintedHeading;

// The contact list grid's context menu: every entry of the phone book saved
// to a vCard or CSV file chosen in the standard file dialog, and a search by
// part of a name or number whose matching rows are selected and scrolled
// into view; and the rows as the list shows them (its order and its find
// text) printed through the print preview, or saved as a PDF file on a thread
// of its own.
class ContactListMenu : public QObject
{
    Q_OBJECT

public:
    // Gives `grid` the menu over `phoneBook`, with the window's `editing`
    // items (undo, redo, delete, ...) after its own, each taken when enabled.
    static void attach(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                       const PhoneBookSource &phoneBook, const QList<QAction *> &editing = {});
    ~ContactListMenu() override;

    static QString exportText() { return tr("ذخيره همه شماره ها در پرونده vCard يا CSV..."); }
    static QString findText() { return tr("جستجوي بخشي از نام يا شماره..."); }
    static QString printText() { return tr("چاپ..."); }
    static QString pdfText() { return tr("ذخيره به صورت PDF..."); }

    void exportAll();
    void findByPart();
    void print();
    void saveAsPdf();
    // Waits until a PDF being saved is written and its outcome told. For
    // tests; true if in time, or when none is being saved.
    bool waitUntilSaved(int timeoutMs);

private:
    struct PdfSaving;

    ContactListMenu(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                    const PhoneBookSource &phoneBook, const QList<QAction *> &editing);
    void showMenu(const QPoint &position);
    PrintedHeading heading() const;
    void pdfSaved();

    ContactGrid *m_grid;
    WindowSystem &m_windows;
    Clock &m_clock;
    PhoneBookSource m_phoneBook;
    QList<QPointer<QAction>> m_editing;
    std::unique_ptr<PdfSaving> m_saving; // while a PDF is being written
};

} // namespace dialvault
