#pragma once

#include "layout/formwindow.h"

namespace dialvault {

// The picture window: its picture card and an exit button.
class Form4 : public FormWindow
{
    Q_OBJECT

public:
    Form4();
};

} // namespace dialvault
