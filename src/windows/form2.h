#pragma once

#include "layout/formwindow.h"

namespace dialvault {

// The help window: three instructions and an exit button.
class Form2 : public FormWindow
{
    Q_OBJECT

public:
    Form2();
};

} // namespace dialvault
