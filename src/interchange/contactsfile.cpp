#include "interchange/contactsfile.h"

#include "interchange/bytesource.h"
#include "interchange/csvreader.h"
#include "interchange/encodingguess.h"
#include "interchange/lineends.h"
#include "interchange/readfault.h"
#include "interchange/utf16bytes.h"
#include "interchange/vcardreader.h"

#include <algorithm>
#include <optional>

namespace dialvault {

namespace {

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// How the text begins: blank all through (no entries), or with BEGIN:VCARD
// as its first line that is neither blank nor a comment.
struct Opening
{
    bool blank = true;
    bool vcard = false;
};

Opening openingOf(LinePieces &pieces)
{
    Opening opening;
    for (QByteArrayView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        qsizetype at = 0;
        while (at < piece.size()) {
            qsizetype end = at;
            while (end < piece.size() && !isLineEndAt(piece, end))
                ++end;
            const QByteArrayView line = piece.sliced(at, end - at);
            at = end < piece.size() ? end + lineEndLength(piece, end) : end;
            opening.blank = opening.blank && std::all_of(line.begin(), line.end(), isBlankByte);
            if (!line.trimmed().isEmpty() && !line.startsWith('#')) {
                opening.vcard = line.trimmed().compare("BEGIN:VCARD", Qt::CaseInsensitive) == 0;
                opening.blank = false;
                return opening;
            }
        }
    }
    return opening;
}

} // namespace

struct ContactsReader::Impl
{
    QString fileName;
    QString path; // empty for bytes in memory
    qsizetype pieceSize = LinePieces::defaultPieceSize;
    std::unique_ptr<ByteSource> raw;
    std::unique_ptr<Utf16Bytes> utf16;
    std::unique_ptr<LinePieces> pieces;
    std::unique_ptr<EntryReader> reader;
    ReadTally tally;

    // The reader's tally, taken when it stops (it is not kept up between
    // entries).
    void takeTally()
    {
        tally = reader->tally();
        if (tally.failure)
            tally.failure->fileName = fileName;
    }

    bool refuse(ReadFault fault, int line)
    {
        tally.failure = readFailure(fault, line);
        tally.failure->fileName = fileName;
        return false;
    }

    // UTF-16 as its UTF-8, from `pieces`; false when it holds a unit that
    // is not text, or cannot be read.
    bool utf16IsText(bool refuseIfNot)
    {
        while (!pieces->next().isEmpty()) { }
        if (pieces->failed())
            return refuse(ReadFault::CannotOpen, 0);
        if (utf16->invalid())
            return refuseIfNot ? refuse(ReadFault::InvalidBytes, pieces->nextLine()) : false;
        return pieces->rewind() || refuse(ReadFault::CannotOpen, 0);
    }

    void readUtf16(bool bigEndian, qsizetype skip)
    {
        utf16 = std::make_unique<Utf16Bytes>(*raw, bigEndian, skip);
        pieces = std::make_unique<LinePieces>(*utf16, 0, pieceSize);
    }

    // Without a byte order mark, UTF-16 is told by its zero bytes; text that
    // does not decode as UTF-16 is read as 8-bit text, whose NULs refuse it.
    bool looksLikeUtf16(QByteArrayView start)
    {
        const std::optional<Utf16Pattern> pattern = utf16Pattern(start);
        if (!pattern)
            return false;
        readUtf16(pattern->bigEndian, 0);
        if (!utf16IsText(false))
            return false;
        if (pattern->plain)
            return true;
        const Opening opening = openingOf(*pieces);
        if (!pieces->rewind())
            return false;
        const QString first = QString::fromUtf8(pieces->next());
        pieces->rewind();
        return opening.vcard || knownCsvHeaderColumns(first) > 0;
    }

    // The encoding the text comes in, and a LinePieces over it; false when
    // the file is refused.
    bool chooseEncoding(bool &declaredUtf8)
    {
        // The start tells UTF-16 (utf16Pattern() looks at no more).
        QByteArray start(qsizetype(1) << 16, Qt::Uninitialized);
        qsizetype size = 0;
        for (qsizetype read = 1; read > 0 && size < start.size(); size += read) {
            read = raw->read(start.data() + size, start.size() - size);
            if (read < 0)
                return refuse(ReadFault::CannotOpen, 0);
        }
        start.truncate(size);
        if (!raw->rewind())
            return refuse(ReadFault::CannotOpen, 0);
        declaredUtf8 = true;
        if (start.startsWith("\xEF\xBB\xBF")) {
            pieces = std::make_unique<LinePieces>(*raw, 3, pieceSize);
            return true;
        }
        if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) {
            readUtf16(start.startsWith("\xFE\xFF"), 2);
            return utf16IsText(true);
        }
        if (looksLikeUtf16(start))
            return true;
        if (tally.failure)
            return false;
        pieces.reset();
        utf16.reset();
        if (!raw->rewind())
            return refuse(ReadFault::CannotOpen, 0);
        declaredUtf8 = false;
        pieces = std::make_unique<LinePieces>(*raw, 0, pieceSize);
        return true;
    }
};

ContactsReader::ContactsReader(const QString &path)
    : d(std::make_unique<Impl>())
{
    d->fileName = path;
    d->path = path;
}

ContactsReader::ContactsReader(QByteArrayView bytes, const QString &fileName, qsizetype pieceSize)
    : d(std::make_unique<Impl>())
{
    d->fileName = fileName;
    d->pieceSize = pieceSize;
    d->raw = std::make_unique<MemoryBytes>(bytes);
}

ContactsReader::~ContactsReader() = default;

bool ContactsReader::start()
{
    if (!d->raw) {
        auto file = std::make_unique<FileBytes>();
        if (std::optional<ReadFailure> refused = file->open(d->path)) {
            d->tally.failure = std::move(refused);
            return false;
        }
        d->raw = std::move(file);
    }
    bool declaredUtf8 = false;
    if (!d->chooseEncoding(declaredUtf8))
        return false;
    const Opening opening = openingOf(*d->pieces);
    if (d->pieces->failed() || !d->pieces->rewind())
        return d->refuse(ReadFault::CannotOpen, 0);
    if (opening.blank)
        return true;
    d->reader = opening.vcard ? vcardReader(*d->pieces, declaredUtf8)
                              : csvReader(*d->pieces, declaredUtf8);
    const bool started = d->reader->start();
    d->takeTally();
    return started;
}

bool ContactsReader::next(ImportedEntry &entry)
{
    if (!d->reader || d->tally.failure)
        return false;
    if (d->reader->next(entry))
        return true;
    d->takeTally();
    return false;
}

const ReadTally &ContactsReader::tally() const
{
    return d->tally;
}

namespace {

ReadResult readAll(ContactsReader &reader)
{
    ReadResult result;
    if (reader.start()) {
        ImportedEntry entry;
        while (reader.next(entry))
            result.entries.append(entry);
    }
    if (reader.tally().failure) {
        result = ReadResult();
        result.failure = reader.tally().failure;
        return result;
    }
    static_cast<ReadTally &>(result) = reader.tally();
    return result;
}

} // namespace

ReadResult readContacts(const QByteArray &bytes, const QString &fileName, qsizetype pieceSize)
{
    ContactsReader reader(bytes, fileName, pieceSize);
    return readAll(reader);
}

ReadResult readContactsFile(const QString &path)
{
    ContactsReader reader(path);
    return readAll(reader);
}

} // namespace dialvault
