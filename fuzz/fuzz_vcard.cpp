// The vCard reader alone, with and without a declared UTF-8, read in small
// pieces so that cards and lines cross their ends.
#include "interchange/bytesource.h"
#include "interchange/linepieces.h"
#include "interchange/vcardreader.h"

#include <cstdint>

namespace {

void readAll(QByteArrayView bytes, bool declaredUtf8)
{
    dialvault::MemoryBytes source(bytes);
    dialvault::LinePieces pieces(source, 0, 64);
    const std::unique_ptr<dialvault::EntryReader> reader
        = dialvault::vcardReader(pieces, declaredUtf8);
    dialvault::ImportedEntry entry;
    if (reader->start()) {
        while (reader->next(entry)) { }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    readAll(bytes, false);
    readAll(bytes, true);
    return 0;
}
