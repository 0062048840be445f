#pragma once

#include "store/contactentry.h"
#include "store/phonebooksource.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace dialvault {

class WindowSystem;

// Contacts files (.vcf, .vcard, .csv) dropped on a window go into the phone
// book, and the person is told the result in a Persian message box. Other
// drags go on to the control under the pointer as before (text into a box).
class ContactsDrop : public QObject
{
    Q_OBJECT

public:
    // Watches `window` and every control in it that takes drops of its own.
    // Files dropped go into `phoneBook`, none larger than `sizeLimit` bytes;
    // when at least one entry was added, `imported` is handed what was
    // stored (to undo it as one step), then `afterImport` runs.
    static void install(QWidget *window, WindowSystem &windows, const PhoneBookSource &phoneBook,
                        qint64 sizeLimit, std::function<void()> afterImport = {},
                        std::function<void(const StoredKeys &)> imported = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ContactsDrop(QWidget *window, WindowSystem &windows, const PhoneBookSource &phoneBook,
                 qint64 sizeLimit, std::function<void()> afterImport,
                 std::function<void(const StoredKeys &)> imported);

    WindowSystem &m_windows;
    PhoneBookSource m_phoneBook;
    qint64 m_sizeLimit;
    std::function<void()> m_afterImport;
    std::function<void(const StoredKeys &)> m_imported;
};

// The local contacts files a drag carries, in its order.
QStringList droppedContactsFiles(const QMimeData *data);

// Imports `files` into the phone book, each file whole or not at all (a file
// that is not a regular one of at most `sizeLimit` bytes is refused), and
// tells the result in one Persian message box: the summary, then every file
// that was refused and why. The work runs off the window's thread while its
// events go on; a call while another runs does nothing. True when an entry
// was added; then `stored`, when given, holds what was stored.
bool importDroppedFiles(WindowSystem &windows, const PhoneBookSource &phoneBook,
                        const QStringList &files, qint64 sizeLimit, StoredKeys *stored = nullptr);

} // namespace dialvault
