#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <utility>

namespace dialvault {

// A character set a contacts file or a vCard value comes in: UTF-8, read
// without ICU as nearly every file is, or any other that ICU knows.
class TextEncoding
{
public:
    // UTF-8.
    TextEncoding() = default;

    // The encoding a charset label names (any of ICU's names and aliases:
    // "windows-1252", "Shift_JIS", "latin1"), or none for a label ICU does not
    // know. ASCII is read as UTF-8: phones that say ASCII sometimes write more.
    static std::optional<TextEncoding> named(QByteArrayView label);
    static TextEncoding windows1256();
    static TextEncoding windows1252();

    bool isUtf8() const { return m_name.isEmpty(); }
    // The name a person is shown: "UTF-8", "Windows-1256", "Shift_JIS".
    QString shownName() const;

    // Decodes `bytes` into `text`. Returns the offset of the first byte that
    // is not text in this encoding (NUL is never text), with `text` empty;
    // -1 when all of it is. Nothing is ever replaced.
    qsizetype decode(QByteArrayView bytes, QString &text) const;
    // The same check without the text.
    qsizetype firstInvalid(QByteArrayView bytes) const;

    friend bool operator==(const TextEncoding &, const TextEncoding &) = default;

private:
    explicit TextEncoding(QByteArray name)
        : m_name(std::move(name))
    { }

    QByteArray m_name; // ICU's own name of its converter; empty for UTF-8
};

} // namespace dialvault
