// A WebDAV server's multistatus answer.
#include "sync/davxml.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString token;
    dialvault::readMultistatus(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
        [](dialvault::DavResponse &&) {}, token);
    return 0;
}
