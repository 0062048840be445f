#pragma once

#include "layout/formwindow.h"

class QLineEdit;

namespace dialvault {

class ColourPicker;
class ContactGrid;
class ContactListModel;

// The contact list: every entry in a read-only grid whose colour can be
// chosen and kept in the user's settings store.
class Form5 : public FormWindow
{
    Q_OBJECT

public:
    Form5();

    // The setting's value name in the settings store.
    static QString colourSettingName() { return QStringLiteral("color code"); }

    ContactGrid *MSFlexGrid1;
    ContactListModel *Data1;
    ColourPicker *c1;
    QLineEdit *Text1; // the chosen colour as decimal text, until it is saved

private:
    void load();
    void changeColour();
    void saveColour();
};

} // namespace dialvault
