#include "windows/contactsdrop.h"

#include "desktop/offthread.h"
#include "desktop/windowsystem.h"
#include "interchange/contactsimport.h"
#include "interchange/transfertexts.h"
#include "store/phonebook.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace dialvault {

ContactsDrop::ContactsDrop(QWidget *window, WindowSystem &windows, const PhoneBookSource &phoneBook,
                           qint64 sizeLimit, std::function<void()> afterImport,
                           std::function<void(const StoredKeys &)> imported)
    : QObject(window)
    , m_windows(windows)
    , m_phoneBook(phoneBook)
    , m_sizeLimit(sizeLimit)
    , m_afterImport(std::move(afterImport))
    , m_imported(std::move(imported))
{ }

void ContactsDrop::install(QWidget *window, WindowSystem &windows, const PhoneBookSource &phoneBook,
                           qint64 sizeLimit, std::function<void()> afterImport,
                           std::function<void(const StoredKeys &)> imported)
{
    auto *drop = new ContactsDrop(window, windows, phoneBook, sizeLimit, std::move(afterImport),
                                  std::move(imported));
    window->setAcceptDrops(true);
    window->installEventFilter(drop);
    // A text box takes drops itself and would insert the files' names.
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->acceptDrops())
            child->installEventFilter(drop);
    }
}

bool ContactsDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList files = droppedContactsFiles(drop->mimeData());
    if (files.isEmpty())
        return QObject::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // After the drop has finished: the source waits for it, and a modal
        // message box must not run inside it.
        QTimer::singleShot(0, this, [this, files] {
            StoredKeys stored;
            if (!importDroppedFiles(m_windows, m_phoneBook, files, m_sizeLimit, &stored))
                return;
            if (m_imported)
                m_imported(stored);
            if (m_afterImport)
                m_afterImport();
        });
    }
    return true;
}

QStringList droppedContactsFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && isContactsFileName(url.toLocalFile()))
            files.append(url.toLocalFile());
    }
    return files;
}

bool importDroppedFiles(WindowSystem &windows, const PhoneBookSource &phoneBook,
                        const QStringList &files, qint64 sizeLimit, StoredKeys *stored)
{
    // What the import came to, told once it is over.
    struct Outcome
    {
        QString text;
        MessageStyle style = MsgOk;
        bool added = false;
        StoredKeys stored;
    };
    // One import at a time: a drop while one runs is not a second import.
    static bool importing = false;
    if (importing)
        return false;
    importing = true;
    // The files are read, and the phone book written, off the window's
    // thread: a large file or a server that waits leaves the windows drawn.
    const Outcome outcome = awaitOffThread<Outcome>([&] {
        Outcome told;
        PhoneBook book(phoneBook);
        if (const Status opened = book.open(); !opened.ok()) {
            told.text = notOpenedText(phoneBook, opened.error);
            return told;
        }
        ImportCounts total;
        QStringList notes;
        QStringList problems;
        for (const QString &path : files) {
            const FileImport taken = importContactsFile(book, path, sizeLimit);
            if (taken.refused) {
                problems.append(refusedFileText(*taken.refused));
            } else if (!taken.ok()) {
                problems.append(notDoneText(path, taken.notStored, true));
            } else {
                total += taken.counts;
                if (const QString note = fileNoteText(taken); !note.isEmpty())
                    notes.append(note);
            }
        }
        const QString summary = importSummaryText(total, notes);
        told.text = problems.isEmpty() ? summary : summary + u'\n' + problems.join(u'\n');
        told.style = problems.isEmpty() ? MsgOkInformation : MsgOk;
        told.added = total.added > 0;
        told.stored = total.stored;
        return told;
    });
    importing = false;
    windows.messageBox(outcome.text, outcome.style);
    if (stored)
        *stored = outcome.stored;
    return outcome.added;
}

} // namespace dialvault
