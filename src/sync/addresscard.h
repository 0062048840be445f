#pragma once

#include "store/cardlinks.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace dialvault {

// A card of an address book as the server holds it, kept line by line, so
// that writing it back changes only what an entry holds: the formatted name
// (FN), the name (N), the one number (the card's preferred TEL, else its
// first) and the note. Every other property (other numbers, e-mail, photo,
// address, groups, UID, X- properties) stays as it came, with its
// parameters and folding; line ends become CR LF, as vCard has them.
class AddressCard
{
public:
    // The first card in `bytes`; none when they hold no whole card or a
    // value that cannot be read.
    static std::optional<AddressCard> read(QByteArrayView bytes);
    // A new vCard 3.0 card holding `texts`, known by `uid`.
    static QByteArray made(const EntryTexts &texts, const QString &uid);

    // The entry the card gives: FN (else N's parts), the number, the notes.
    const EntryTexts &texts() const { return m_texts; }
    // A group, or a card with neither a name nor a number: no entry.
    bool isEntry() const;
    // The card with `texts` in place of what it gives: the properties whose
    // text changed are written anew, all others kept byte for byte.
    QByteArray rewritten(const EntryTexts &texts) const;

private:
    struct Line
    {
        QByteArray raw; // its physical lines, each ending in CR LF
        QByteArray unfolded;
    };
    enum class Kind { Other, Version, FormattedName, Name, Number, Note, GroupKind, End };

    QList<Line> m_lines;
    QList<Kind> m_kinds;
    qsizetype m_number = -1; // the line of the number the entry holds
    bool m_version21 = false;
    bool m_version4 = false;
    bool m_group = false;
    EntryTexts m_texts;
};

} // namespace dialvault
