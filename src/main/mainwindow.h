#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"
#include "store/edithistory.h"
#include "store/storeworker.h"

namespace dialvault {

// The main window: the entry boxes, the count and clock, and the search,
// add, delete, clear and exit operations. It owns the run's one contact
// store, worked on through a StoreWorker: on a server the window goes on
// drawing while an operation runs, and its buttons wait for its end.
class MainWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const Desktop &desktop);
    ~MainWindow() override;

    // The load handler, then the window shown with the focus in the name
    // box. When the store cannot be opened the failure is reported and the
    // program ended instead; returns whether the window was shown.
    bool start();

    // Opens the store again and shows its count in the count box; a
    // failure is said. Another window calls it once it changed entries.
    void refreshAfterChange();
    // The latest step of the edit history undone, or the latest undone step
    // done again, on the worker; the outcome is said, and the count shown
    // again (Ctrl+Alt+Z; Ctrl+Alt+Y or Ctrl+Alt+Shift+Z).
    void undo();
    void redo();
    // Empties the name, phone and note boxes.
    void clearFields();

    const PhoneBookSource &source() const { return m_worker.source(); }
    // Whether an operation on the store is under way.
    bool busy() const { return m_worker.busy(); }
    // The largest contacts file an import takes, as the settings say.
    qint64 importSizeLimit() const;
    const MainWindowControls &controls() const { return m_controls; }

    // The run's one store worker and edit history, which the other windows
    // change entries through and record their steps in.
    StoreWorker &worker() { return m_worker; }
    EditHistory &history() { return m_history; }

Q_SIGNALS:
    // This window changed entries (an add, a delete, an import, an undo or
    // a redo): a list of them is shown afresh.
    void entriesChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void search();
    void add();
    void deleteByName();
    // What the store said when opened again after a change: its count, and
    // the adds of unknown outcome now stored.
    struct Refreshed
    {
        Result<qint32> count;
        QList<SettledAdd> settled;
    };
    // On the worker's thread.
    static Refreshed refresh(ContactStore &store);
    // Offers the way out of a phone book refused for what another program
    // put in it, and takes it when the person agrees; false when the
    // program is to end.
    bool repairAtStart(Refreshed &opened);
    // Back on the window's: the count shown, each settled add told of.
    void showRefreshed(const Refreshed &refreshed);
    void reportSettledAdds(const QList<SettledAdd> &settled);
    void showRefreshedAfterChange(const Refreshed &refreshed);
    // The history's latest step undone, or its latest undone step redone.
    void runHistory(bool undo);
    void showBusy(bool busy);
    void confirmExit();
    void tick();

    Desktop m_desktop;
    MainWindowControls m_controls;
    // Before the worker, whose operation under way may use it.
    EditHistory m_history;
    StoreWorker m_worker;
};

} // namespace dialvault
