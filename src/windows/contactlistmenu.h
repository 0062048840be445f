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
class SyncRunner;
class WindowSystem;
struct PrintedHeading;

// The contact list grid's context menu: every entry of the phone book saved
// to a vCard or CSV file chosen in the standard file dialog, and a search by
// part of a name or number whose matching rows are selected and scrolled
// into view; and the rows as the list shows them (its order and its find
// text) printed through the print preview, or saved as a PDF file on a thread
// of its own; and the phone book synced with its address book now.
class ContactListMenu : public QObject
{
    Q_OBJECT

public:
    // Gives `grid` the menu over `phoneBook`, with the window's `editing`
    // items (undo, redo, delete, ...) after its own, each taken when enabled;
    // `sync` (none: no sync item) syncs it.
    static void attach(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                       const PhoneBookSource &phoneBook, const QList<QAction *> &editing = {},
                       SyncRunner *sync = nullptr);
    ~ContactListMenu() override;

    static QString exportText() { return tr("ذخيره همه شماره ها در پرونده vCard يا CSV..."); }
    static QString findText() { return tr("جستجوي بخشي از نام يا شماره..."); }
    static QString printText() { return tr("چاپ..."); }
    static QString pdfText() { return tr("ذخيره به صورت PDF..."); }
    static QString syncText() { return tr("همگام سازي با دفترچه نشاني"); }

    void exportAll();
    void findByPart();
    void print();
    void saveAsPdf();
    // What it did, or why not, said in a box at its end.
    void syncNow();
    // Waits until a PDF being saved is written and its outcome told. For
    // tests; true if in time, or when none is being saved.
    bool waitUntilSaved(int timeoutMs);

private:
    struct PdfSaving;

    ContactListMenu(ContactGrid *grid, WindowSystem &windows, Clock &clock,
                    const PhoneBookSource &phoneBook, const QList<QAction *> &editing,
                    SyncRunner *sync);
    void showMenu(const QPoint &position);
    PrintedHeading heading() const;
    void pdfSaved();

    ContactGrid *m_grid;
    WindowSystem &m_windows;
    Clock &m_clock;
    PhoneBookSource m_phoneBook;
    QList<QPointer<QAction>> m_editing;
    std::unique_ptr<PdfSaving> m_saving; // while a PDF is being written
    QPointer<SyncRunner> m_sync;
};

} // namespace dialvault
