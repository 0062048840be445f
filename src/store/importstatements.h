#pragma once

#include "store/contactentry.h"
#include "store/storeerror.h"

#include <QString>

#include <functional>
#include <memory>
#include <span>

namespace dialvault {

class StoreEngine;

// One entry an import stores, with its row number set, and the client's key
// where the engine keeps one (StoreEngine::keysAdds(); null for none).
struct ImportRow
{
    ContactEntry entry;
    QString key;
};

// The statements an import runs in its transaction, once or more an entry:
// the look-up of the stored entries it may duplicate, and the insert of the
// rows it adds, which an engine may send several at a time.
class ImportStatements
{
public:
    virtual ~ImportStatements() = default;

    // Hands the name and number of each stored entry whose stored digits
    // (`byDigits`) or folded name equal `key` to `isDuplicate`, until it
    // returns true: then the value is true.
    virtual Result<bool>
    anyDuplicate(bool byDigits, const QString &key,
                 const std::function<bool(const QString &name, const QString &phone)> &isDuplicate)
        = 0;
    // Stores `rows` in their order; null texts as empty ones.
    virtual Status insert(std::span<const ImportRow> rows) = 0;
    // How many rows insert() is best given at once.
    virtual qsizetype batchSize() const = 0;
};

// The statements through Qt's driver, prepared once on `engine`'s
// connection, a row at a time.
std::unique_ptr<ImportStatements> queryImportStatements(StoreEngine &engine, Status &status);

} // namespace dialvault
