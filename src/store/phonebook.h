#pragma once

#include "store/contactentry.h"
#include "store/partquery.h"
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

    ImportCounts &operator+=(const ImportCounts &other)
    {
        added += other.added;
        duplicates += other.duplicates;
        withoutNameOrNumber += other.withoutNameOrNumber;
        return *this;
    }
};

// db1.mdb in a folder, for the work on many entries at once: importing,
// exporting and searching by part of a name or number. It keeps a connection
// of its own beside the main window's ContactStore, opened like it (an
// existing file only, shared, an older file completed first).
class PhoneBook
{
public:
    explicit PhoneBook(const QString &folder);
    ~PhoneBook();
    PhoneBook(const PhoneBook &) = delete;
    PhoneBook &operator=(const PhoneBook &) = delete;

    Status open();
    QString databasePath() const;

    // Adds `entries` in one transaction: all that are stored, or none when a
    // step fails. Skipped and counted: an entry with neither a name nor a
    // number, and a duplicate, whose folded name and whose number's digits
    // both equal those of an entry already stored (before this import or
    // earlier in it). Each stored entry's row number is set as an add from
    // the main window sets it: the count at that moment plus 1; the given
    // row numbers are not used. Null texts are stored as empty text.
    Result<ImportCounts> importEntries(const QList<ContactEntry> &entries);

    // Hands every entry to `visit` in stored order as it is read, so memory
    // stays flat at any size; `visit` returns false to stop. A NULL text
    // comes as a null QString, a NULL row number as 0.
    Status forEachEntry(const std::function<bool(const ContactEntry &)> &visit);

    // Hands the entries that `query` matches to `visit`, in stored order.
    Status findByPart(const PartQuery &query, PartPlace place,
                      const std::function<bool(const ContactEntry &)> &visit);

    // The statement findByPart runs for a query of this kind and place, for
    // looking at its plan.
    static QString partSearchStatement(bool number, PartPlace place);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
