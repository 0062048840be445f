#include "layout/formtextbox.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <limits>

namespace dialvault {

FormTextBox::FormTextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
    // A line edit takes its paragraph direction from its text and right-aligns
    // Persian, whatever the widget's own direction. The direction key, which
    // a person could press too, fixes it left to right for good.
    QKeyEvent leftToRight(QEvent::KeyPress, Qt::Key_Direction_L, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &leftToRight);
}

} // namespace dialvault
