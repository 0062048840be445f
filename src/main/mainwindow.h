#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"
#include "store/contactstore.h"

namespace dialvault {

// The main window: the entry boxes, the count and clock, and the search,
// add, delete, clear and exit operations. It owns the run's one contact store.
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

    // Opens the store again and shows its count in the count box.
    Status refreshMain();
    // Empties the name, phone and note boxes.
    void clearFields();

    ContactStore &store() { return m_store; }
    // The largest contacts file an import takes, as the settings say.
    qint64 importSizeLimit() const;
    const MainWindowControls &controls() const { return m_controls; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Offers the way out of a phone book refused for what another program
    // put in it, and takes it when the person agrees; false when the
    // program is to end.
    bool repairAtStart(Status &opened);
    void search();
    void add();
    void deleteByName();
    // refreshMain after a successful search, add or delete; a failure is said.
    void refreshAfterChange();
    // Tells of each add whose outcome was unknown that it is now stored.
    void reportSettledAdds();
    void confirmExit();
    void tick();

    Desktop m_desktop;
    MainWindowControls m_controls;
    ContactStore m_store;
};

} // namespace dialvault
