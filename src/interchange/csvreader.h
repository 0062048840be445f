#pragma once

#include "interchange/readresult.h"

#include <QStringView>

namespace dialvault {

// True when the first line of `text` is a CSV header naming a name or a
// number column that this reader knows.
bool isContactsCsvHeader(QStringView text);

// Reads the rows of a decoded CSV file with a header row, byte order mark
// already removed. Rows with every cell empty are passed over. The failure,
// if any, has no file name yet.
ReadResult readCsv(QStringView text);

} // namespace dialvault
