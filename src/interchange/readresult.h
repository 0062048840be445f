#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace dialvault {

// One contact as read from a file, before the importer gives it a row
// number. Texts are exactly as the file gives them; an absent one is empty,
// never null.
struct ImportedEntry
{
    QString name;
    QString phone;
    QString note;

    friend bool operator==(const ImportedEntry &, const ImportedEntry &) = default;
};

// Why a file was refused whole.
enum class ReadFault {
    CannotOpen,
    NotAFile, // a device, a FIFO or a folder
    TooLarge, // larger than an import takes
    NotContacts, // neither a vCard nor a CSV file
    UnknownColumns, // a CSV header row naming no name and no phone column
    InvalidBytes, // bytes that are not text in the file's encoding
    UnknownCharset,
    BrokenEncodedValue, // quoted-printable or base64 that does not decode
    CardNeverEnds,
    OutsideCard, // text between cards
    NotAProperty, // a line inside a card without a colon
    QuoteNeverCloses,
    TextAfterQuote,
    TooManyCells,
};

// A refused file: which file, the line of the fault (1 for the first line;
// for a card that never ends, the line where it began; 0 when the file could
// not be opened), and the reason in the language in use.
struct ReadFailure
{
    QString fileName;
    int line = 0;
    ReadFault fault = ReadFault::NotContacts;
    QString reason;
};

// What reading a contacts file came to besides its entries: the number of
// cards or rows skipped for having neither a name nor a number, and what the
// person is told besides: the lines passed over inside properties that are
// not kept, and the code page the file was read in when it did not say and
// was not UTF-8 (its shown name; empty otherwise). When `failure` is set,
// the file is refused whole.
struct ReadTally
{
    int withoutNameOrNumber = 0;
    std::optional<ReadFailure> failure;
    int skippedLines = 0;
    QString assumedEncoding;

    bool ok() const { return !failure.has_value(); }
};

// What a contacts file holds: its entries in file order, and the tally. When
// `failure` is set, nothing at all.
struct ReadResult : ReadTally
{
    QList<ImportedEntry> entries;
};

// The entries of a contacts file, read one at a time, so that a file of any
// size is read in the same memory.
class EntryReader
{
public:
    virtual ~EntryReader() = default;

    // What must be known before the first entry (the encoding, that the file
    // is of this format at all), reading the file through as often as that
    // takes. False when the file is refused.
    virtual bool start() = 0;
    // The next entry; false after the last, and when the file is refused
    // (tally().failure), which may be found after entries were given.
    virtual bool next(ImportedEntry &entry) = 0;
    // The failure, if any, has no file name yet.
    const ReadTally &tally() const { return m_tally; }

protected:
    bool fail(ReadFailure failure)
    {
        m_tally.failure = std::move(failure);
        return false;
    }

    ReadTally m_tally;
};

} // namespace dialvault
