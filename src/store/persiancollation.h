#pragma once

#include <QStringView>

#include <string>

struct UCollator;

namespace dialvault {

// The order of texts in the Persian alphabet, as ICU collates Persian: آ
// before ا, then ب پ ت … ی; the Arabic forms ي and ك beside ی and ک; digits
// of every script by their numeric value (2 before 10, ۳ beside 3); Latin
// letters in their own order after the Persian ones. Keys are compared as
// bytes, so a million texts are sorted without calling the collator again.
class PersianCollation
{
public:
    PersianCollation();
    ~PersianCollation();
    PersianCollation(const PersianCollation &) = delete;
    PersianCollation &operator=(const PersianCollation &) = delete;

    // Appends the key of `text` to `keys`; a key that is a prefix of
    // another sorts before it.
    void appendKey(QStringView text, std::string &keys);
    // The key alone.
    std::string key(QStringView text);

private:
    UCollator *m_collator = nullptr;
    std::string m_buffer;
};

} // namespace dialvault
