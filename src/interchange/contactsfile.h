#pragma once

#include "interchange/linepieces.h"
#include "interchange/readresult.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace dialvault {

// A vCard or CSV contacts file, read one entry at a time, so that memory
// stays the same whatever its size. The format is chosen by the content: a
// file whose first line (comment lines aside) is BEGIN:VCARD is a vCard
// file, one whose first line is a header row naming a name or a telephone
// column is CSV, and anything else is refused; an empty or blank file holds
// no entries. Text is UTF-8 with or without its byte order mark, UTF-16 with
// or without one, or, when the bytes are not UTF-8, the code page they look
// like (guessEncoding(); for CSV, the one in which the header row names the
// most known columns), which the tally names. Bytes that are not text refuse
// the file, never replaced.
//
// A file refused after entries were given is refused whole all the same:
// whoever stores them stores none (PhoneBook::importEntries()).
class ContactsReader
{
public:
    // The file at `path`, named so in a failure.
    explicit ContactsReader(const QString &path);
    // Bytes already in memory, which must outlive the reader; `fileName`
    // goes into a failure. `pieceSize` is how much of the text is read at
    // once (LinePieces).
    ContactsReader(QByteArrayView bytes, const QString &fileName,
                   qsizetype pieceSize = LinePieces::defaultPieceSize);
    ~ContactsReader();
    ContactsReader(const ContactsReader &) = delete;
    ContactsReader &operator=(const ContactsReader &) = delete;

    // Opens the file and finds its format and encoding, reading it through
    // as often as that takes. False when it is refused already.
    bool start();
    // The next entry; false after the last, and when the file is refused.
    bool next(ImportedEntry &entry);
    // How the reading went, once start() or next() gave false; a failure
    // names the file.
    const ReadTally &tally() const;

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

// Every entry of the file at `path` at once; a refused file gives none at
// all, and its failure names `path` as given.
ReadResult readContactsFile(const QString &path);

// The same for a file's bytes already in memory; `fileName` goes into a
// failure.
ReadResult readContacts(const QByteArray &bytes, const QString &fileName,
                        qsizetype pieceSize = LinePieces::defaultPieceSize);

} // namespace dialvault
