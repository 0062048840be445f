#include "store/persiancollation.h"

#include <unicode/ucol.h>

namespace dialvault {

PersianCollation::PersianCollation()
{
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open("fa", &status);
    if (U_FAILURE(status)) {
        ucol_close(m_collator);
        m_collator = nullptr;
        return;
    }
    ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    m_buffer.resize(256);
}

PersianCollation::~PersianCollation()
{
    ucol_close(m_collator);
}

void PersianCollation::appendKey(QStringView text, std::string &keys)
{
    if (!m_collator) {
        // Without ICU's data the texts still sort, in code point order.
        for (const QChar c : text) {
            keys += char(c.unicode() >> 8);
            keys += char(c.unicode() & 0xFF);
        }
        return;
    }
    const auto *units = reinterpret_cast<const UChar *>(text.utf16());
    const auto length = int32_t(text.size());
    auto *buffer = reinterpret_cast<uint8_t *>(m_buffer.data());
    int32_t needed = ucol_getSortKey(m_collator, units, length, buffer, int32_t(m_buffer.size()));
    if (needed > int32_t(m_buffer.size())) {
        m_buffer.resize(std::size_t(needed));
        buffer = reinterpret_cast<uint8_t *>(m_buffer.data());
        needed = ucol_getSortKey(m_collator, units, length, buffer, needed);
    }
    // Without the closing zero, which no key holds elsewhere.
    if (needed > 0)
        keys.append(m_buffer.data(), std::size_t(needed - 1));
}

std::string PersianCollation::key(QStringView text)
{
    std::string key;
    appendKey(text, key);
    return key;
}

} // namespace dialvault
