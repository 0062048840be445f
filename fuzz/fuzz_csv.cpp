// The CSV reader alone, with and without a declared UTF-8, read in small
// pieces so that rows and quoted cells cross their ends; and the bare record
// parser over text already decoded (as UTF-16 it may hold anything,
// unpaired surrogates included).
#include "interchange/bytesource.h"
#include "interchange/csvparser.h"
#include "interchange/csvreader.h"
#include "interchange/linepieces.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (const bool declaredUtf8 : {false, true}) {
        dialvault::MemoryBytes source(QByteArrayView(data, qsizetype(size)));
        dialvault::LinePieces pieces(source, 0, 64);
        const std::unique_ptr<dialvault::EntryReader> reader
            = dialvault::csvReader(pieces, declaredUtf8);
        dialvault::ImportedEntry entry;
        if (reader->start()) {
            while (reader->next(entry)) { }
        }
    }

    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size_t(text.size()) * 2);
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
