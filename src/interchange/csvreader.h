#pragma once

#include "interchange/readresult.h"

#include <QStringView>

namespace dialvault {

// Reads the rows of a decoded CSV file with a header row, byte order mark
// already removed. Rows with every cell empty are passed over. A header row
// that names neither a name column nor a telephone column refuses the file:
// as not CSV when it is one column or not text, else naming its columns.
// The failure, if any, has no file name yet.
ReadResult readCsv(QStringView text);

// How many columns of the header row, the first record of `text`, this
// reader knows: the code page a header is read in is the one that knows most.
qsizetype knownCsvHeaderColumns(QStringView text);

} // namespace dialvault
