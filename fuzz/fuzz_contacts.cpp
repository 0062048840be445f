// A contacts file from anywhere, as import reads it: format, encoding, cards
// and rows. A refused file gives no entries.
#include "interchange/contactsfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const dialvault::ReadResult result = dialvault::readContacts(bytes, QStringLiteral("fuzz"));
    if (!result.ok() && !result.entries.isEmpty())
        std::abort();
    return 0;
}
