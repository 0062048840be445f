#pragma once

#include <QChar>
#include <QString>

#include <span>
#include <utility>

namespace dialvault {

// The keys that entries are matched by, each in two forms that must agree
// exactly: an SQL expression over SQLite's own functions (so that any client
// can evaluate the generated columns of db1.mdb) and its twin in C++, which
// folds the values the program binds and matches rows already read.
namespace SearchKeys {

// Each pair is (from, to); an empty `to` removes the character.
using Replacement = std::pair<QChar, QString>;

// The name search's folding: Persian yeh and alef maksura to Arabic yeh,
// keheh to Arabic kaf, Persian and Arabic-Indic digits to ASCII.
std::span<const Replacement> nameReplacements();

// A stored number on its way to its digits, in three steps so that no
// column's expression nests deeper than older SQLite parsers accept (about
// 28 calls; a schema one of them cannot parse makes the whole file unreadable
// to it). First the Persian and Arabic-Indic digits become ASCII.
std::span<const Replacement> numberScriptReplacements();
// Then the characters that only some numbers hold go: the marks that hold a
// number's direction (and the embedding and isolate controls), no-break
// spaces, square brackets, Unicode dashes. The column looks for them before
// it calls replace() for each.
std::span<const Replacement> uncommonSeparatorRemovals();
// Last the separators that nearly every number holds: space, dash, dot,
// round brackets.
std::span<const Replacement> commonSeparatorRemovals();

} // namespace SearchKeys

// A name folded as the name search folds it: the replacements above, then
// ASCII letters to lower case (nothing else, as SQLite's lower() does).
QString foldedName(const QString &name);

// The stored form of a number's digits, exactly as the generated column
// phone_digits computes it: script replacements, separators removed, a
// leading +98 or 0098 (Iran's country code) as 0, every + removed. A number
// holding other characters (letters, slashes) keeps them.
QString storedNumberDigits(const QString &phone);

// Only the digits of a number, of any script, as ASCII; a leading +98 or 0098
// becomes 0, so "+98 912 …" and "0912 …" agree. Two entries are duplicates
// when their folded names and these digits are equal.
QString numberDigits(const QString &phone);

// True for the characters a number may hold beside its digits in a search
// text: the separators removed above, the script marks and +.
bool isNumberSeparator(QChar c);

} // namespace dialvault
