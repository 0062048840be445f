#include "windows/contactcelleditor.h"

#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

#include <utility>

namespace dialvault {

ContactCellEditor::ContactCellEditor(ContactGrid *grid, ContactListModel *model)
    : QObject(grid)
    , m_grid(grid)
    , m_model(model)
{
    // Watched where the application hands events out: the box's Esc and
    // Enter would otherwise close the window or press its default button,
    // which are watched there too; a filter installed later runs first.
    qApp->installEventFilter(this);
    for (QScrollBar *bar : {grid->verticalScrollBar(), grid->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &ContactCellEditor::place);
    // Other rows under the box: what it holds is no longer that cell's.
    connect(model, &QAbstractItemModel::modelReset, this, &ContactCellEditor::close);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ContactCellEditor::close);
    for (auto signal : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
        connect(model, signal, this, &ContactCellEditor::close);
}

void ContactCellEditor::editCurrent()
{
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    if (row < 0 || column < 0
        || !(m_model->flags(m_model->index(row, column)) & Qt::ItemIsEditable))
        return;
    const ContactListRow entry = m_model->entryAt(row);
    // A row that could not be read has no entry to correct.
    if (entry.key == 0)
        return;
    close();
    m_entry = entry;
    m_row = row;
    m_column = column;
    m_before = m_model->index(row, column).data().toString();
    m_box = new QLineEdit(m_before, m_grid->viewport());
    m_box->setFrame(false);
    m_box->setFont(m_grid->font());
    m_box->setAccessibleName(m_model->headerData(column, Qt::Horizontal).toString());
    place();
    m_box->show();
    m_box->selectAll();
    m_box->setFocus(Qt::OtherFocusReason);
}

void ContactCellEditor::place()
{
    if (m_box)
        m_box->setGeometry(m_grid->cellRect(m_row, m_column).adjusted(0, 0, -1, -1));
}

void ContactCellEditor::commit()
{
    if (!m_box)
        return;
    const QString text = m_box->text();
    const ContactListRow entry = m_entry;
    const int column = m_column;
    const bool changed = text != m_before;
    close();
    m_grid->setFocus(Qt::OtherFocusReason);
    if (changed)
        Q_EMIT corrected(entry, column, text);
}

void ContactCellEditor::close()
{
    if (!m_box)
        return;
    // Taken first: the box's going takes the focus away, which would commit.
    QLineEdit *box = std::exchange(m_box, nullptr);
    const bool hadFocus = box->hasFocus();
    box->hide();
    box->deleteLater();
    if (hadFocus)
        m_grid->setFocus(Qt::OtherFocusReason);
}

bool ContactCellEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (m_box && watched == m_box) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                commit();
                return true;
            case Qt::Key_Escape:
                close();
                return true;
            default:
                return false;
            }
        }
        // Going to another window leaves the box open for the person's
        // return; going to another control of this one is done typing.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                commit();
        }
        return false;
    }
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers == Qt::NoModifier
            && (key->key() == Qt::Key_F2 || key->key() == Qt::Key_Return
                || key->key() == Qt::Key_Enter)) {
            editCurrent();
            return true;
        }
    }
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The press before it made the cell under the pointer current.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && m_grid->cellRect(m_grid->currentRow(), m_grid->currentColumn())
                   .contains(mouse->position().toPoint())) {
            editCurrent();
            return true;
        }
    }
    return false;
}

} // namespace dialvault
