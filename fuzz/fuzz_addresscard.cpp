// A card from an address book server: read, written back with what it
// gives and with other texts, and read again.
#include "sync/addresscard.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace dialvault;
    const std::optional<AddressCard> card
        = AddressCard::read(QByteArrayView(data, qsizetype(size)));
    if (!card)
        return 0;
    AddressCard::read(card->rewritten(card->texts()));
    EntryTexts other = card->texts();
    other.phone += QStringLiteral(" 1");
    other.note = other.note.isEmpty() ? QStringLiteral("a\nb;c") : QString();
    AddressCard::read(card->rewritten(other));
    return 0;
}
