#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

// The picture window: its picture card and an exit button.
class PictureWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit PictureWindow(const Desktop &desktop);

    const PictureWindowControls &controls() const { return m_controls; }

private:
    PictureWindowControls m_controls;
};

} // namespace dialvault
