#include "interchange/contactsfile.h"

#include "interchange/csvreader.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/vcardreader.h"

#include <QFile>

namespace dialvault {

namespace {

ReadResult refused(ReadFault fault, int line)
{
    return ReadResult{{}, 0, readFailure(fault, line)};
}

QByteArrayView lineStartingAt(QByteArrayView bytes, qsizetype at)
{
    const qsizetype end = bytes.indexOf('\n', at);
    return bytes.sliced(at, (end < 0 ? bytes.size() : end) - at);
}

bool startsAsVCard(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        const QByteArrayView line = lineStartingAt(bytes, at);
        if (!line.trimmed().isEmpty())
            return line.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
        at += line.size() + 1;
    }
    return false;
}

ReadResult readCsvBytes(QByteArrayView bytes, bool declaredUtf8)
{
    // The header alone decides whether this is CSV at all, before any fault
    // in the rest of a file that may be anything.
    const QByteArrayView firstLine = lineStartingAt(bytes, 0);
    const QString header = decodeText(firstLine,
                                      firstInvalidUtf8(firstLine) < 0 ? TextEncoding::Utf8
                                                                      : TextEncoding::Windows1256);
    if (!isContactsCsvHeader(header))
        return refused(ReadFault::NotContacts, 1);

    EncodingGuess guess;
    if (declaredUtf8)
        guess.invalidAt = firstInvalidUtf8(bytes);
    else
        guess = guessEncoding(bytes);
    if (guess.invalidAt >= 0)
        return refused(ReadFault::InvalidBytes, lineNumberAt(bytes, guess.invalidAt));
    return readCsv(decodeText(bytes, guess.encoding));
}

ReadResult readDecoded(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArrayView content = QByteArrayView(bytes).sliced(3);
        return startsAsVCard(content) ? readVCards(content, true) : readCsvBytes(content, true);
    }
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QString text;
        const qsizetype invalid = decodeUtf16(QByteArrayView(bytes).sliced(2), !littleEndian, text);
        if (invalid >= 0)
            return refused(ReadFault::InvalidBytes, lineNumberAt(text, invalid));
        const QByteArray utf8 = text.toUtf8();
        return startsAsVCard(utf8) ? readVCards(utf8, true) : readCsvBytes(utf8, true);
    }
    return startsAsVCard(bytes) ? readVCards(bytes, false) : readCsvBytes(bytes, false);
}

} // namespace

ReadResult readContacts(const QByteArray &bytes, const QString &fileName)
{
    ReadResult result = readDecoded(bytes);
    if (result.failure)
        result.failure->fileName = fileName;
    return result;
}

ReadResult readContactsFile(const QString &path)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        ReadResult result = refused(ReadFault::CannotOpen, 0);
        result.failure->fileName = path;
        return result;
    }
    return readContacts(bytes, path);
}

} // namespace dialvault
