#include "windows/form3.h"

#include "button/paintedbutton.h"
#include "layout/layoutresources.h"
#include "layout/services.h"
#include "windows/form6.h"
#include "windows/singlewindow.h"

#include <QLineEdit>

namespace dialvault {

Form3::Form3()
    : FormWindow(form3Layout())
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &FormWindow::unload);
    connect(control<PaintedButton>(QStringLiteral("paintedButton2")), &PaintedButton::Click, this,
            [] { showSingle<Form6>(); });
    showPhoneBookPath();
}

void Form3::showPhoneBookPath()
{
    // Selectable text on the panel, as the labels are: no frame, no
    // background, the labels' colour.
    auto *where = control<QLineEdit>(QStringLiteral("Text1"));
    where->setReadOnly(true);
    where->setFrame(false);
    QPalette colours = where->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    for (const ControlLayout &box : layout().controls) {
        if (box.name == where->objectName() && box.textColour)
            colours.setColor(QPalette::Text, layoutColour(*box.textColour));
    }
    where->setPalette(colours);
    const QString path = services().phoneBookSource().shownName();
    where->setText(path);
    where->setToolTip(path);
    where->setCursorPosition(0);
}

} // namespace dialvault
