#include "interchange/duplicatekey.h"

#include "store/searchkeys.h"

namespace dialvault {

namespace {

bool isInvisibleAtEnd(QChar c)
{
    if (c.isSpace())
        return true;
    switch (c.unicode()) {
    case 0x200B: // zero-width space
    case 0xFEFF: // byte order mark, or zero-width no-break space
    case 0x200E: // left-to-right mark
    case 0x200F: // right-to-left mark
    case 0x061C: // Arabic letter mark
        return true;
    default:
        // Embeddings, overrides and isolates with their ends.
        return (c.unicode() >= 0x202A && c.unicode() <= 0x202E)
            || (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
    }
}

} // namespace

QString trimmedText(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isInvisibleAtEnd(text[begin]))
        ++begin;
    while (end > begin && isInvisibleAtEnd(text[end - 1]))
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.sliced(begin, end - begin);
}

// The phone book's own keys, so that a file's duplicates are decided exactly
// as the import into the store decides them.
QString duplicateKeyName(const QString &name)
{
    return foldedName(name);
}

QString phoneDigits(const QString &phone)
{
    return numberDigits(phone);
}

} // namespace dialvault
