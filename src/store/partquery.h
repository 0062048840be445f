#pragma once

#include <QString>

namespace dialvault {

// Where the part must stand in a name or number: anywhere, or at its start
// (which an index answers at any size).
enum class PartPlace { Anywhere, Start };

// A search by part of a name or number, as typed. A text made only of digits
// (of any script) and the separators a number may hold (spaces, dashes, dots,
// brackets, +, direction marks), with at least one digit, looks for a number
// by its digits alone, a leading +98 or 0098 standing for 0; any other text
// looks for a name, folded as the name search folds it.
class PartQuery
{
public:
    explicit PartQuery(const QString &text);

    // True when there is nothing to look for: the empty text.
    bool isEmpty() const { return m_key.isEmpty(); }
    bool isNumber() const { return m_number; }
    // The folded name or the digits that are looked for.
    const QString &key() const { return m_key; }

    // Whether an entry with this name and number matches, exactly as the
    // phone book's own search decides it; a null text matches nothing.
    bool matches(const QString &name, const QString &phone, PartPlace place) const;

private:
    QString m_key;
    bool m_number = false;
};

// The smallest text greater than every text that starts with `prefix`, in
// code point order (so in SQLite's binary order of UTF-8 too); empty when
// there is none, for a prefix made only of the last code point.
QString prefixEnd(const QString &prefix);

} // namespace dialvault
