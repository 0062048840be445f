#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"
#include "store/contactlistrow.h"
#include "store/storeworker.h"
#include "windows/recentlydeletedwindow.h"

#include <QAction>
#include <QPointer>

#include <memory>

namespace dialvault {

class ColourPicker;
class ContactCellEditor;
class ContactGrid;
class ContactListModel;
class EditHistory;
class StoreQueue;

// The contact list: every entry in a grid whose colour can be chosen and
// kept in the user's settings. A click on a column's heading orders the list
// by it (again: the other way), and the order is kept in the settings too;
// the find box narrows the list as a person types.
//
// A name, phone or note is corrected in place (double-click, F2 or Enter),
// and the selected entries deleted with the Delete key, at once and without
// a question, since either can be undone: Ctrl+Z and Ctrl+Y in the grid,
// Ctrl+Alt+Z and Ctrl+Alt+Y (or Ctrl+Alt+Shift+Z) anywhere in the window, or
// the grid's menu, which also opens the recently deleted entries. A
// correction is stored only over what the list showed: an entry another
// person or copy of the program changed or deleted first is left as it is,
// the person is told, and the list shows what is stored now.
class ContactListWindow : public FormWindow
{
    Q_OBJECT

public:
    // Opened on its own, the list changes entries through a worker and an
    // edit history of its own.
    explicit ContactListWindow(const Desktop &desktop);
    // Changes entries through the main window's worker, and records them in
    // its history, so that either window undoes the other's steps.
    ContactListWindow(const Desktop &desktop, StoreWorker &worker, EditHistory &history);
    ~ContactListWindow() override;

    // The setting's value name in the settings store.
    static QString colourSettingName() { return QStringLiteral("color code"); }
    static QString orderSettingName() { return QStringLiteral("list order"); }

    // The grid menu's editing items.
    static QString undoText() { return tr("برگرداندن") + QStringLiteral("\tCtrl+Z, Ctrl+Alt+Z"); }
    static QString redoText()
    {
        return tr("انجام دوباره") + QStringLiteral("\tCtrl+Y, Ctrl+Alt+Y");
    }
    static QString deleteText()
    {
        return tr("حذف رديف هاي انتخاب شده") + QStringLiteral("\tDelete");
    }
    static QString recentlyDeletedText() { return tr("حذف شده هاي اخير..."); }

    const ContactListWindowControls &controls() const { return m_controls; }
    ContactGrid *grid() const { return m_grid; }
    ContactListModel *model() const { return m_model; }
    ContactCellEditor *cellEditor() const { return m_editor; }
    // The recently deleted window while it is open.
    RecentlyDeletedWindow *recentlyDeletedWindow() const { return m_recentlyDeleted; }

    // Reads the phone book again, in the order and narrowed as asked: after
    // entries were changed elsewhere (the main window, an undo).
    void reload();
    // The latest step of the edit history undone, or the latest undone step
    // done again; a step refused is said.
    void undo();
    void redo();
    // Deletes the entries of the selected rows, in one transaction.
    void deleteSelected();
    // Opens the recently deleted entries, which go with this window.
    void showRecentlyDeleted();

Q_SIGNALS:
    // The list changed entries or undid a step: the main window counts them
    // again.
    void entriesChanged();

private:
    ContactListWindow(const Desktop &desktop, StoreWorker *worker, EditHistory *history);
    // The grid, its data and the colour picker, which only this window has.
    QObject *makeListControl(const ControlLayout &control, QWidget *window);
    void load();
    void changeColour();
    void saveColour();
    void orderBy(int column);
    void showMatches();
    void correct(const ContactListRow &entry, int column, const QString &text);
    void step(bool back);
    // Told once the worker's operation has ended, so that the main window
    // can use the worker at once.
    void tellEntriesChanged();
    void updateEditActions();
    // The rows the grid's selection covers.
    QList<int> selectedRows() const;
    // Esc in a find box that holds text empties it rather than closing the
    // window; the editing keys.
    bool eventFilter(QObject *watched, QEvent *event) override;

    Desktop m_desktop;
    // Before the worker, whose operation under way may use it.
    std::unique_ptr<EditHistory> m_ownHistory;
    std::unique_ptr<StoreWorker> m_ownWorker;
    EditHistory &m_history;
    StoreWorker &m_worker;
    ContactListWindowControls m_controls;
    ContactGrid *m_grid = nullptr;
    ContactListModel *m_model = nullptr;
    ColourPicker *m_colourPicker = nullptr;
    ContactCellEditor *m_editor = nullptr;
    QAction m_undoAction;
    QAction m_redoAction;
    QAction m_deleteAction;
    QAction m_recentlyDeletedAction;
    StoreQueue *m_queue = nullptr;
    QPointer<RecentlyDeletedWindow> m_recentlyDeleted;
    bool m_orderFailureTold = false;
};

} // namespace dialvault
