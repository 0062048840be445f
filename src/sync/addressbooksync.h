#pragma once

#include "store/phonebooksource.h"
#include "sync/addressbookaccount.h"
#include "sync/davtransport.h"
#include "sync/passwordsource.h"
#include "sync/syncerror.h"
#include "sync/syncreport.h"

#include <atomic>
#include <chrono>

namespace dialvault {

struct SyncOptions
{
    DavLimits limits = {};
    // How long the whole sync may wait on the server, beside each request's
    // limits (none when zero): past it the sync stops with DeadlinePassed.
    std::chrono::milliseconds deadline = {};
    // Set from another thread, stops the sync as its deadline would.
    const std::atomic<bool> *stop = nullptr;
};

// Syncs the phone book at `phoneBook` with the address book of `account`,
// both ways. The first sync pairs entries with cards by the folded name and
// the number's digits and sends or fetches the rest; later ones only what
// changed on either side since (the server's changes through its sync token,
// or its listing of ETags; ours by comparing each entry with the state its
// link keeps). An entry changed on both sides, or deleted on the server and
// changed here, keeps the server's version, and ours is put aside: among
// the recently deleted, in the transaction that stores the sync.
//
// Every write to the server is conditional (If-Match, If-None-Match), and
// the phone book's side is one transaction at the end: a sync that stops
// anywhere can be run again, with no entry or card made twice and nothing
// lost. Waits for the server in event loops of its own, so it runs on a
// thread with none running (the command line's, or a worker's).
SyncResult<SyncReport> syncAddressBook(const PhoneBookSource &phoneBook,
                                       const AddressBookAccount &account, PasswordSource &passwords,
                                       const SyncOptions &options = {});

} // namespace dialvault
