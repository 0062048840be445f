#pragma once

#include "store/partquery.h"
#include "store/phonebooksource.h"

#include <QString>

namespace dialvault {

// The statements the store runs, in the SQL of the engine that keeps the
// phone book: the same fields, the same keys for names and numbers, the same
// order of entries (as they were added) and the same exact count, on a file
// and on a server.
class StoreDialect
{
public:
    explicit StoreDialect(Engine engine)
        : engine_(engine)
    { }

    Engine engine() const { return engine_; }
    // Qt's driver for the engine.
    QString driver() const;
    // The column that orders the entries as they were added.
    QString key() const;

    // One value: the exact number of entries.
    QString countStatement() const;
    // The key of the first entry.
    QString firstEntryStatement() const;
    // The key of the first entry whose folded name equals the folded parameter.
    QString nameQueryStatement() const;
    // The phone number and note of the entry with the key given.
    QString readStatement() const;
    QString deleteStatement() const;
    // The four fields; on a server a fifth value, the key the client made
    // for the add (or NULL), and an add whose key is stored already does
    // nothing, so that an add sent again after a lost answer is stored once.
    QString insertStatement() const;
    // The four fields of every entry, in order.
    QString entriesStatement() const;
    // The name and number of the entries whose stored digits (or folded
    // name) equal the parameter.
    QString candidatesStatement(bool byDigits) const;
    // The entries a search by part finds: the start of the folded name or
    // digits (two parameters, the range) or a part anywhere (one).
    QString partSearchStatement(bool number, PartPlace place) const;

private:
    Engine engine_;
};

} // namespace dialvault
