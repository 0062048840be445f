#pragma once

#include "store/storeerror.h"

#include <QString>

#include <functional>

namespace dialvault {

// What the start-up carry-over did.
struct CarryOver
{
    // False: db1.mdb is missing or no Jet file, and nothing was done.
    bool converted = false;
    // The number of entries carried over.
    qsizetype entries = 0;
    // The bare file name under which the Jet file is kept, beside db1.mdb.
    QString backupName;
};

// The moments of a carry-over, in order, each one finished.
enum class CarryOverStep {
    Locked, // the Jet file is held against other copies of the program
    Read, // every row is read and checked
    Built, // the new phone book is whole and flushed under a temporary name
    BackedUp, // the Jet file has its backup name too
    Swapped, // the new phone book is db1.mdb
};

// Called after each step; lets tests stop the program at any of them.
using CarryOverObserver = std::function<void(CarryOverStep)>;

// At start-up, before the store opens db1.mdb in `folder`: when db1.mdb is a
// Jet database, carries every row of its table `test` over into a new phone
// book of ours that takes the name db1.mdb, and keeps the Jet file, byte for
// byte and never written to, as db1-jet-backup.mdb (or -2, -3, ... : an
// existing file is never replaced).
//
// Safe at every moment: killed at any point, the program finds at its next
// start either the untouched Jet file as db1.mdb (and carries it over again,
// reusing a backup name it had already given) or the finished phone book
// with its backup; temporary files of an interrupted run are removed then.
// Two copies of the program starting together carry it over once.
//
// A refusal (see readJetTable) leaves db1.mdb as it was. Same precondition
// as readJetTable: call it while the process has a single thread.
Result<CarryOver> carryOverJetPhoneBook(const QString &folder,
                                        const CarryOverObserver &afterStep = {});

} // namespace dialvault
