// The CSV reader alone, over text already decoded (as UTF-16 it may hold
// anything, unpaired surrogates included), and the bare record parser.
#include "interchange/csvparser.h"
#include "interchange/csvreader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size_t(text.size()) * 2);
    if (dialvault::isContactsCsvHeader(text))
        dialvault::readCsv(text);
    dialvault::CsvParser parser(text, dialvault::csvSeparator(text));
    dialvault::CsvRecord record;
    int lastLine = 0;
    while (parser.next(record)) {
        // Records come in the order of their lines.
        if (record.line <= lastLine)
            std::abort();
        lastLine = record.line;
    }
    return 0;
}
