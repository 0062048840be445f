#pragma once

#include <QLineEdit>

namespace dialvault {

// A text box of the layouts: one line, left-aligned with a left-to-right
// paragraph whatever script is typed, and no length limit, so that a long
// note stored by another program shows whole.
class FormTextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit FormTextBox(QWidget *parent);
};

} // namespace dialvault
