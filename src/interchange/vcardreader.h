#pragma once

#include "interchange/linepieces.h"
#include "interchange/readresult.h"

#include <memory>

namespace dialvault {

// Reads the cards of a vCard file (2.1, 3.0 or 4.0, many cards a file), one
// entry a card, from `pieces` of its text without a byte order mark.
// `declaredUtf8` says that one was there (or that the file was UTF-16), so
// the text must be UTF-8; otherwise it is UTF-8 when valid and a code page
// when not (guessEncoding(), over the lines that do not name a charset), but
// a 4.0 card is always UTF-8. A value's CHARSET may be any that ICU knows.
// Comment lines, and lines that are not properties inside a property that
// is not kept, are skipped and counted; any other break refuses the file.
// start() reads the text through once when it is all UTF-8, and again,
// unfolded, when it is not; next() once more. No more than a piece of the
// text and a card are held.
std::unique_ptr<EntryReader> vcardReader(LinePieces &pieces, bool declaredUtf8);

} // namespace dialvault
