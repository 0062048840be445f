// Text fields of Jet files: Jet 4's UTF-16 and compressed runs, and Jet 3's
// bytes in whichever Windows code page the file names (the first byte
// chooses one here), the multi-byte ones included.
#include "jet/jettext.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace dialvault;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static constexpr std::array codePages{874,  932,  936,  949,  950,  1250, 1251,
                                          1252, 1253, 1254, 1255, 1256, 1257, 1258};
    static std::array<std::unique_ptr<CodePageDecoder>, codePages.size()> decoders;
    if (size == 0)
        return 0;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));

    const std::optional<QString> jet4 = decodeJet4Text(bytes);
    if (jet4 && jet4->isNull())
        std::abort();

    const size_t which = data[0] % codePages.size();
    if (!decoders[which])
        decoders[which] = std::make_unique<CodePageDecoder>(codePages[which]);
    if (decoders[which]->isValid()) {
        const QString text = decoders[which]->decode(bytes);
        if (text.isNull() || text.size() > bytes.size())
            std::abort();
    }
    return 0;
}
