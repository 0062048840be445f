#include "windows/codepromptwindow.h"

#include "button/paintedbutton.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "windows/picturewindow.h"
#include "windows/singlewindow.h"

namespace dialvault {

namespace {

const QString accessCode = QStringLiteral("40923");

} // namespace

CodePromptWindow::CodePromptWindow(const Desktop &desktop)
    : FormWindow(codePromptWindowLayout(), desktop.windows)
    , m_desktop(desktop)
{
    build(codePromptWindowLayout(), m_controls);
    connect(m_controls.confirmButton, &PaintedButton::Click, this, &CodePromptWindow::confirm);
    connect(m_controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
}

void CodePromptWindow::confirm()
{
    // No trimming and no folding: " 40923" and "40923 " are wrong codes.
    if (m_controls.codeBox->text() != accessCode) {
        m_controls.messageLabel->setText(tr("رمز عبور اشتباه مي باشد."));
        return;
    }
    showSingle<PictureWindow>(m_desktop, this);
}

} // namespace dialvault
