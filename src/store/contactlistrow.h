#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace dialvault {

// One entry of table `test` as the contact list shows it: its four fields as
// text, NULL as the empty text, and the key it is stored under, by which the
// list corrects and deletes it (0 for a row that could not be read).
struct ContactListRow
{
    QString name;
    QString phone;
    QString note;
    QString rowNumber;
    qint64 key = 0;
};

using ContactListRows = QList<ContactListRow>;

// The row number as the list shows it: a whole number in plain digits
// (1000000, not 1e+06), any other number in its shortest exact form (2.5),
// NULL as the empty text; text that another tool stored stays as it is.
QString rowNumberText(const QVariant &value);

} // namespace dialvault
