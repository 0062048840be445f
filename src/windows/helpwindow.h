#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

// The help window: three instructions and an exit button.
class HelpWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit HelpWindow(const Desktop &desktop);

private:
    HelpWindowControls m_controls;
};

} // namespace dialvault
