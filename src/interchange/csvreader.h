#pragma once

#include "interchange/linepieces.h"
#include "interchange/readresult.h"

#include <QStringView>

#include <memory>

namespace dialvault {

// Reads the rows of a CSV file with a header row, one entry a row, from
// `pieces` of its text without a byte order mark. `declaredUtf8` says that
// one was there (or that the file was UTF-16), so the text must be UTF-8;
// otherwise it is UTF-8 when valid, else the code page it looks like
// (guessEncoding(); the one in which the header row names the most known
// columns). Rows with every cell empty are passed over. A header row that
// names neither a name column nor a telephone column refuses the file: as
// not CSV when it is one column or not text, else naming its columns; so do
// bytes that are not text, before any row is read. start() reads the text
// through once when it is UTF-8, up to three times when not; next() once
// more. No more than a piece of the text and a row are held.
std::unique_ptr<EntryReader> csvReader(LinePieces &pieces, bool declaredUtf8);

// How many columns of the header row, the first record of `text`, this
// reader knows: the code page a header is read in is the one that knows most.
qsizetype knownCsvHeaderColumns(QStringView text);

} // namespace dialvault
