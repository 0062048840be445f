#pragma once

#include "store/contactentry.h"
#include "store/entrysource.h"
#include "store/partquery.h"
#include "store/phonebooksource.h"
#include "store/storeerror.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace dialvault {

// What an import did with its entries; each of them is counted once.
struct ImportCounts
{
    qint64 added = 0;
    qint64 duplicates = 0; // skipped: already in the phone book, or earlier in the same import
    qint64 withoutNameOrNumber = 0; // skipped
    // The entries added, so that the import can be undone as one step.
    StoredKeys stored;

    ImportCounts &operator+=(const ImportCounts &other)
    {
        added += other.added;
        duplicates += other.duplicates;
        withoutNameOrNumber += other.withoutNameOrNumber;
        stored += other.stored;
        return *this;
    }
};

// db1.mdb in a folder, or the phone book on a server, for the work on many
// entries at once: importing, exporting and searching by part of a name or
// number. It keeps a connection of its own beside the main window's
// ContactStore, opened like it (an existing file only, shared, an older file
// completed first; on a server, a phone book that server-init prepared).
class PhoneBook
{
public:
    explicit PhoneBook(const QString &folder);
    explicit PhoneBook(const PhoneBookSource &source);
    ~PhoneBook();
    PhoneBook(const PhoneBook &) = delete;
    PhoneBook &operator=(const PhoneBook &) = delete;

    Status open();
    const PhoneBookSource &source() const;
    // The file; empty for a server.
    QString databasePath() const;
    // The file or the server, as a person is shown it.
    QString shownName() const;

    // Adds the entries of `source` in one transaction as they come: all that
    // are stored, or none when a step fails or the source does (then with
    // ImportStopped). Skipped and counted: an entry with neither a name nor a
    // number, and a duplicate, whose folded name and whose number's digits
    // both equal those of an entry already stored (before this import or
    // earlier in it). Each stored entry's row number is set as an add from
    // the main window sets it: the count at that moment plus 1; the given
    // row numbers are not used. Null texts are stored as empty text.
    //
    // On a server, imports of different people run side by side, and two
    // imports of the same person store it once. When the connection breaks during the
    // commit itself, the server is asked whether the import was stored (its
    // first entry carries a key made for it) once a new connection is had;
    // without one the outcome is OutcomeUnknown, never "not stored".
    Result<ImportCounts> importEntries(EntrySource &source);
    Result<ImportCounts> importEntries(const QList<ContactEntry> &entries);
    // Every entry of `other`, in its order, imported so in one transaction.
    Result<ImportCounts> importPhoneBook(PhoneBook &other);

    // Hands every entry to `visit` in stored order as it is read, so memory
    // stays flat at any size; `visit` returns false to stop. A NULL text
    // comes as a null QString, a NULL row number as 0.
    Status forEachEntry(const std::function<bool(const ContactEntry &)> &visit);

    // Hands the entries that `query` matches to `visit`, in stored order.
    Status findByPart(const PartQuery &query, PartPlace place,
                      const std::function<bool(const ContactEntry &)> &visit);

    // The engine's connection, shared by the files that make up the phone
    // book.
    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
