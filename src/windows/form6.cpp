#include "windows/form6.h"

#include "button/paintedbutton.h"
#include "windows/form4.h"
#include "windows/singlewindow.h"

#include <QLabel>
#include <QLineEdit>

namespace dialvault {

namespace {

const QString accessCode = QStringLiteral("40923");
const QString wrongCode = QStringLiteral("رمز عبور اشتباه مي باشد.");

} // namespace

Form6::Form6()
    : FormWindow(form6Layout())
    , Text1(control<QLineEdit>(QStringLiteral("Text1")))
    , Label1(control<QLabel>(QStringLiteral("Label1")))
{
    connect(control<PaintedButton>(QStringLiteral("paintedButton1")), &PaintedButton::Click, this,
            &Form6::confirm);
    connect(control<PaintedButton>(QStringLiteral("paintedButton2")), &PaintedButton::Click, this,
            &FormWindow::unload);
}

void Form6::confirm()
{
    // No trimming and no folding: " 40923" and "40923 " are wrong codes.
    if (Text1->text() != accessCode) {
        Label1->setText(wrongCode);
        return;
    }
    showSingle<Form4>();
}

} // namespace dialvault
