#pragma once

#include "store/phonebooksource.h"

#include <utility>

namespace dialvault {

// Where the windows find the phone book: db1.mdb in the folder decided at
// start-up, or a server.
class PhoneBookLocation
{
public:
    virtual ~PhoneBookLocation() = default;

    virtual PhoneBookSource source() = 0;
};

// The phone book decided once, at start-up, for the whole run.
class DecidedPhoneBook final : public PhoneBookLocation
{
public:
    explicit DecidedPhoneBook(PhoneBookSource source)
        : m_source(std::move(source))
    { }

    PhoneBookSource source() override { return m_source; }

private:
    PhoneBookSource m_source;
};

} // namespace dialvault
