#include "windows/aboutwindow.h"

#include "button/paintedbutton.h"
#include "layout/formtextbox.h"
#include "windows/codepromptwindow.h"
#include "windows/singlewindow.h"

namespace dialvault {

AboutWindow::AboutWindow(const Desktop &desktop)
    : FormWindow(aboutWindowLayout(), desktop.windows)
    , m_desktop(desktop)
{
    build(aboutWindowLayout(), m_controls);
    connect(m_controls.exitButton, &PaintedButton::Click, this, &FormWindow::unload);
    connect(m_controls.programmerButton, &PaintedButton::Click, this,
            [this] { showSingle<CodePromptWindow>(m_desktop, this); });
    showPhoneBookPath();
}

void AboutWindow::showPhoneBookPath()
{
    // Selectable text on the panel, as the labels are: no frame and no
    // background; the layout gives it the labels' colour.
    FormTextBox *where = m_controls.phoneBookPathBox;
    where->setReadOnly(true);
    where->setFrame(false);
    QPalette colours = where->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    where->setPalette(colours);
    const QString path = m_desktop.phoneBook.source().shownName();
    where->setText(path);
    where->setToolTip(path);
    where->setCursorPosition(0);
}

} // namespace dialvault
