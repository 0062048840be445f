#pragma once

#include "layout/formwindow.h"

class QLabel;
class QLineEdit;

namespace dialvault {

// The password prompt: the right access code opens the picture window.
class Form6 : public FormWindow
{
    Q_OBJECT

public:
    Form6();

    // Compares the whole entry with the access code, exactly.
    void confirm();

    QLineEdit *Text1;
    QLabel *Label1;
};

} // namespace dialvault
