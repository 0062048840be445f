#pragma once

#include "layout/formwindow.h"

namespace dialvault {

// The about window: what the program is, and the way to the password prompt.
class Form3 : public FormWindow
{
    Q_OBJECT

public:
    Form3();

private:
    // The phone book's full path, in Text1.
    void showPhoneBookPath();
};

} // namespace dialvault
