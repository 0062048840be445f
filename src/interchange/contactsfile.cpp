#include "interchange/contactsfile.h"

#include "interchange/csvreader.h"
#include "interchange/encodingguess.h"
#include "interchange/lineends.h"
#include "interchange/readfault.h"
#include "interchange/textencoding.h"
#include "interchange/utf8.h"
#include "interchange/vcardreader.h"

#include <QFile>

#include <algorithm>

namespace dialvault {

namespace {

ReadResult refused(ReadFault fault, int line)
{
    return refusedRead(readFailure(fault, line));
}

QByteArrayView lineStartingAt(QByteArrayView bytes, qsizetype at)
{
    qsizetype end = at;
    while (end < bytes.size() && !isLineEndAt(bytes, end))
        ++end;
    return bytes.sliced(at, end - at);
}

qsizetype nextLineAt(QByteArrayView bytes, QByteArrayView line)
{
    const qsizetype end = line.data() + line.size() - bytes.data();
    return end < bytes.size() ? end + lineEndLength(bytes, end) : end;
}

bool isBlank(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

bool startsAsVCard(QByteArrayView bytes)
{
    qsizetype at = 0;
    while (at < bytes.size()) {
        const QByteArrayView line = lineStartingAt(bytes, at);
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            return line.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
        at = nextLineAt(bytes, line);
    }
    return false;
}

// Of the code pages, the one in which the header row names the most known
// columns; `guessed` unless another names more.
TextEncoding headerCodePage(QByteArrayView header, const TextEncoding &guessed)
{
    TextEncoding best = guessed;
    QString text;
    qsizetype most = guessed.decode(header, text) < 0 ? knownCsvHeaderColumns(text) : 0;
    for (const TextEncoding &page : csvCodePages()) {
        if (page == guessed || page.decode(header, text) >= 0)
            continue;
        if (const qsizetype known = knownCsvHeaderColumns(text); known > most) {
            most = known;
            best = page;
        }
    }
    return best;
}

ReadResult readCsvBytes(QByteArrayView bytes, bool declaredUtf8)
{
    const QByteArrayView headerBytes = lineStartingAt(bytes, 0);
    EncodingGuess guess;
    if (!declaredUtf8 && firstInvalidUtf8(bytes) >= 0) {
        guess = guessEncoding(bytes);
        if (guess.assumed)
            guess.encoding = headerCodePage(headerBytes, guess.encoding);
    }

    // The header alone decides whether this is CSV at all, before any fault
    // in the rest of a file that may be anything.
    QString header;
    if (guess.encoding.decode(headerBytes, header) >= 0)
        TextEncoding::windows1256().decode(headerBytes, header);
    const ReadResult headerOnly = readCsv(header);
    if (!headerOnly.ok()
        && (headerOnly.failure->fault == ReadFault::NotContacts
            || headerOnly.failure->fault == ReadFault::UnknownColumns))
        return headerOnly;

    QString text;
    const qsizetype invalid = guess.encoding.decode(bytes, text);
    if (invalid >= 0)
        return refused(ReadFault::InvalidBytes, lineNumberAt(bytes, invalid));
    ReadResult result = readCsv(text);
    if (result.ok() && guess.assumed)
        result.assumedEncoding = guess.encoding.shownName();
    return result;
}

ReadResult readText(QByteArrayView bytes, bool declaredUtf8)
{
    if (isBlank(bytes))
        return {};
    return startsAsVCard(bytes) ? readVCards(bytes, declaredUtf8)
                                : readCsvBytes(bytes, declaredUtf8);
}

// UTF-16 is read as the UTF-8 it holds.
ReadResult readUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString text;
    const qsizetype invalid = decodeUtf16(bytes, bigEndian, text);
    if (invalid >= 0)
        return refused(ReadFault::InvalidBytes, lineNumberAt(text, invalid));
    return readText(text.toUtf8(), true);
}

ReadResult readDecoded(const QByteArray &bytes)
{
    const QByteArrayView all(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return readText(all.sliced(3), true);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return readUtf16(all.sliced(2), bytes.startsWith("\xFE\xFF"));
    // Without a byte order mark, UTF-16 is told by its zero bytes; text that
    // does not decode as UTF-16 is read as 8-bit text, whose NULs refuse it.
    if (const std::optional<Utf16Pattern> pattern = utf16Pattern(all)) {
        QString text;
        if (decodeUtf16(all, pattern->bigEndian, text) < 0) {
            const QByteArray utf8 = text.toUtf8();
            if (pattern->plain || startsAsVCard(utf8) || knownCsvHeaderColumns(text) > 0)
                return readText(utf8, true);
        }
    }
    return readText(all, false);
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
