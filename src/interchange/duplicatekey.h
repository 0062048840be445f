#pragma once

#include <QString>

namespace dialvault {

// A name or a number without what no one means to keep at its ends: Unicode
// white space (no-break spaces included), zero-width spaces, byte order
// marks and the direction marks and controls. Inside, nothing changes: a
// zero-width non-joiner in a Persian word is kept. Names and numbers are
// read from files in this form, so that they are stored and compared for
// duplicates in it.
QString trimmedText(const QString &text);

// A name folded exactly as the phone book's name search folds it: Persian
// yeh and alef maksura to Arabic yeh, keheh to Arabic kaf, Persian and
// Arabic-Indic digits to ASCII, ASCII letters to lower case (nothing else,
// as SQLite's lower() does). Two entries with equal keys and equal
// phoneDigits() are duplicates.
QString duplicateKeyName(const QString &name);

// The digits of a phone number, of any script, as ASCII; everything else is
// dropped. A leading +98 or 0098 (Iran's country code) becomes 0, so
// "+98 912 …" and "0912 …" agree.
QString phoneDigits(const QString &phone);

} // namespace dialvault
