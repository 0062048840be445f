#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

class ColourPicker;
class ContactGrid;
class ContactListModel;

// The contact list: every entry in a read-only grid whose colour can be
// chosen and kept in the user's settings. A click on a column's heading
// orders the list by it (again: the other way), and the order is kept in
// the settings too; the find box narrows the list as a person types.
class ContactListWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit ContactListWindow(const Desktop &desktop);

    // The setting's value name in the settings store.
    static QString colourSettingName() { return QStringLiteral("color code"); }
    static QString orderSettingName() { return QStringLiteral("list order"); }

    const ContactListWindowControls &controls() const { return m_controls; }
    ContactGrid *grid() const { return m_grid; }
    ContactListModel *model() const { return m_model; }

private:
    // The grid, its data and the colour picker, which only this window has.
    QObject *makeListControl(const ControlLayout &control, QWidget *window);
    void load();
    void changeColour();
    void saveColour();
    void orderBy(int column);
    void showMatches();
    // Esc in a find box that holds text empties it rather than closing the
    // window.
    bool eventFilter(QObject *watched, QEvent *event) override;

    Desktop m_desktop;
    ContactListWindowControls m_controls;
    ContactGrid *m_grid = nullptr;
    ContactListModel *m_model = nullptr;
    ColourPicker *m_colourPicker = nullptr;
    bool m_orderFailureTold = false;
};

} // namespace dialvault
