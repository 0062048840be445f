#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

class ColourPicker;
class ContactGrid;
class ContactListModel;

// The contact list: every entry in a read-only grid whose colour can be
// chosen and kept in the user's settings.
class ContactListWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit ContactListWindow(const Desktop &desktop);

    // The setting's value name in the settings store.
    static QString colourSettingName() { return QStringLiteral("color code"); }

    const ContactListWindowControls &controls() const { return m_controls; }
    ContactGrid *grid() const { return m_grid; }
    ContactListModel *model() const { return m_model; }

private:
    // The grid, its data and the colour picker, which only this window has.
    QObject *makeListControl(const ControlLayout &control, QWidget *window);
    void load();
    void changeColour();
    void saveColour();

    Desktop m_desktop;
    ContactListWindowControls m_controls;
    ContactGrid *m_grid = nullptr;
    ContactListModel *m_model = nullptr;
    ColourPicker *m_colourPicker = nullptr;
};

} // namespace dialvault
