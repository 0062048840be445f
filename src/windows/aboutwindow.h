#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

// The about window: what the program is, where its phone book lives, and the
// way to the code prompt.
class AboutWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit AboutWindow(const Desktop &desktop);

    const AboutWindowControls &controls() const { return m_controls; }

private:
    // The phone book's full path, in its box.
    void showPhoneBookPath();

    Desktop m_desktop;
    AboutWindowControls m_controls;
};

} // namespace dialvault
