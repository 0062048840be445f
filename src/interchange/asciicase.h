#pragma once

#include <QByteArrayView>

namespace dialvault {

// vCard names and parameters are ASCII and compared without letter case.
inline char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

inline bool equalsIgnoringCase(QByteArrayView text, QByteArrayView word)
{
    if (text.size() != word.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(word[i]))
            return false;
    }
    return true;
}

inline bool startsWithIgnoringCase(QByteArrayView text, QByteArrayView word)
{
    return text.size() >= word.size() && equalsIgnoringCase(text.first(word.size()), word);
}

inline bool containsIgnoringCase(QByteArrayView text, QByteArrayView word)
{
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i) {
        if (asciiUpper(text[i]) == asciiUpper(word[0])
            && equalsIgnoringCase(text.sliced(i, word.size()), word))
            return true;
    }
    return false;
}

} // namespace dialvault
