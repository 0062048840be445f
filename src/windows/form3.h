#pragma once

#include "layout/formwindow.h"

namespace dialvault {

// The about window: what the program is, and the way to the password prompt.
class Form3 : public FormWindow
{
    Q_OBJECT

public:
    Form3();
};

} // namespace dialvault
