// The vCard reader alone, with and without a declared UTF-8.
#include "interchange/vcardreader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    dialvault::readVCards(bytes, false);
    dialvault::readVCards(bytes, true);
    return 0;
}
