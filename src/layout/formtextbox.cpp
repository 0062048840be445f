#include "layout/formtextbox.h"

#include <limits>

namespace dialvault {

FormTextBox::FormTextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A line edit left at its inherited direction takes the direction of its
    // text and right-aligns Persian; only a change of direction fixes it, so
    // the box is turned round once.
    setLayoutDirection(Qt::RightToLeft);
    setLayoutDirection(Qt::LeftToRight);
}

} // namespace dialvault
