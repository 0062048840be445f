#pragma once

#include "store/contactentry.h"
#include "store/phonebook.h"
#include "store/storeengine.h"

#include <QSqlQuery>

#include <memory>

namespace dialvault {

// What the parts of PhoneBook share: the phone book and the engine's
// connection to it.
struct PhoneBook::Impl
{
    PhoneBookSource source;
    std::unique_ptr<StoreEngine> engine;

    // Before an operation: a connection that broke is opened again.
    Status ready();
};

// The entry in `query`'s current row, its four fields as the engine's
// statements list them from `first` on. NULL texts stay null.
ContactEntry entryAt(const QSqlQuery &query, int first = 0);

} // namespace dialvault
