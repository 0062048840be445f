#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"

namespace dialvault {

// The help window: three instructions and an exit button.
class HelpWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit HelpWindow(const Desktop &desktop);
};

} // namespace dialvault
