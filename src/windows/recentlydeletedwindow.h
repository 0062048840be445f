#pragma once

#include "desktop/desktop.h"
#include "store/contactentry.h"

#include <QList>
#include <QWidget>

class QLabel;
class QTableView;

namespace dialvault {

class DeletedEntriesModel;
class PaintedButton;
class StoreQueue;
class StoreWorker;

// The entries deleted in the last days, newest first, with when and why each
// went (deleted by a person, or our version of an entry that lost a sync
// conflict); the selected ones are put back, each as a new entry. A window
// of its own beside the list, right to left in the program's font; it reads
// the entries again each time it is shown.
class RecentlyDeletedWindow : public QWidget
{
    Q_OBJECT

public:
    RecentlyDeletedWindow(const Desktop &desktop, StoreWorker &worker, QWidget *parent = nullptr);
    ~RecentlyDeletedWindow() override;

    // At most this many of the newest are listed: an undone import of a
    // million entries would otherwise fill the memory.
    static constexpr int shownLimit = 10000;

    QTableView *table() const { return m_table; }
    PaintedButton *restoreButton() const { return m_restoreButton; }
    PaintedButton *exitButton() const { return m_exitButton; }
    QLabel *summary() const { return m_summary; }
    // The entries listed, in their order.
    const QList<DeletedEntry> &entries() const;

    // Reads the entries again.
    void refresh();
    // Puts back the entries of the selected rows.
    void restoreSelected();

Q_SIGNALS:
    // Entries were put back in the phone book.
    void restored();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showEntries(const QList<DeletedEntry> &entries);
    void updateButtons();

    Desktop m_desktop;
    StoreQueue *m_queue;
    DeletedEntriesModel *m_model;
    QLabel *m_summary;
    QTableView *m_table;
    PaintedButton *m_restoreButton;
    PaintedButton *m_exitButton;
};

} // namespace dialvault
