#pragma once

#include <QByteArrayView>
#include <QString>

#include <iconv.h>

#include <optional>

namespace dialvault {

// Text as Jet 4 stores it: UTF-16LE, or, after the marker FF FE, runs of
// one-byte Latin-1 characters and of UTF-16LE code units, each 00 byte
// switching between them (starting with one-byte runs). Nothing is lost or
// replaced: an unpaired byte in a UTF-16 run means a damaged value and gives
// nullopt. The empty value is the empty (not null) text.
std::optional<QString> decodeJet4Text(QByteArrayView bytes);

// Text as Jet 3 stores it: bytes in the Windows code page recorded in the
// file (1256 for Persian Windows). A byte the code page leaves undefined
// becomes the code point of the same value, as Windows itself decodes it.
class CodePageDecoder
{
public:
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;

    // False when the system knows no such code page.
    bool isValid() const;
    QString decode(QByteArrayView bytes);

private:
    iconv_t converter;
};

} // namespace dialvault
