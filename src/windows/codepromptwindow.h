#pragma once

#include "desktop/desktop.h"
#include "layout/formwindow.h"
#include "layout/windowlayouts.h"

namespace dialvault {

// The code prompt: the right access code opens the picture window.
class CodePromptWindow : public FormWindow
{
    Q_OBJECT

public:
    explicit CodePromptWindow(const Desktop &desktop);

    // Compares the whole entry with the access code, exactly.
    void confirm();

    const CodePromptWindowControls &controls() const { return m_controls; }

private:
    Desktop m_desktop;
    CodePromptWindowControls m_controls;
};

} // namespace dialvault
