#pragma once

#include "store/contactlistrow.h"

#include <QObject>
#include <QPointer>

class QLineEdit;

namespace dialvault {

class ContactGrid;
class ContactListModel;

// Corrects one cell of the contact list in place: a double-click, F2 or Enter
// on a cell the model lets be edited opens a box over it holding the cell's
// text. Enter hands the text on (corrected), and so does moving to another
// control of the window; Esc, or rows that move under the box, put it away
// with the cell as it was.
class ContactCellEditor : public QObject
{
    Q_OBJECT

public:
    ContactCellEditor(ContactGrid *grid, ContactListModel *model);

    // Opens the box over the grid's current cell, if it can be edited.
    void editCurrent();
    // The open box; null when none is.
    QLineEdit *box() const { return m_box; }

Q_SIGNALS:
    // `entry` as it was shown when the box opened, and the text typed for
    // its `column` (0 name, 1 phone, 2 note); only when the text changed.
    void corrected(const ContactListRow &entry, int column, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void commit();
    void close();

    ContactGrid *m_grid;
    ContactListModel *m_model;
    QPointer<QLineEdit> m_box;
    ContactListRow m_entry;
    int m_row = -1;
    int m_column = -1;
    QString m_before;
};

} // namespace dialvault
