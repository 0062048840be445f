#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace dialvault {

// One row of table `test`. Texts are stored exactly as typed.
struct ContactEntry
{
    QString name; // "نام"
    QString phone; // "تلفن"
    QString note; // "يادداشت"
    double rowNumber{}; // "رديف"
};

// One row of table `test` exactly as stored: a null QString is a NULL field,
// a non-null empty one the empty text, and a missing row number is NULL.
struct ExactEntry
{
    QString name;
    QString phone;
    QString note;
    std::optional<double> rowNumber;

    friend bool operator==(const ExactEntry &, const ExactEntry &) = default;
};

// What a search shows of the first matching entry.
struct PhoneAndNote
{
    QString phone;
    QString note;
};

// The three texts of an entry that a person types and a card carries.
struct EntryTexts
{
    QString name;
    QString phone;
    QString note;

    // A null text and the empty one are the same here.
    friend bool operator==(const EntryTexts &, const EntryTexts &) = default;
};

// An entry with its key in the phone book (its rowid in a file, its id on a
// server), which stays with it while it lives.
struct KeyedEntry
{
    qint64 key = 0;
    EntryTexts texts;

    friend bool operator==(const KeyedEntry &, const KeyedEntry &) = default;
};

// Why an entry went among the recently deleted.
enum class DeletionReason {
    ByPerson, // deleted in a window, or a step undone
    SyncConflict, // our version of an entry that lost a conflict with an address book
};

// An entry kept among the recently deleted, from where it can be put back.
struct DeletedEntry
{
    qint64 id = 0; // its place among the recently deleted
    ExactEntry fields; // the four fields as they were stored
    qint64 key = 0; // the key it had in the phone book
    QDateTime deletedAt; // UTC
    DeletionReason reason = DeletionReason::ByPerson;

    KeyedEntry keyed() const { return {key, {fields.name, fields.phone, fields.note}}; }
};

// Keys from `first` to `last`, both included.
struct KeyRange
{
    qint64 first = 0;
    qint64 last = 0;

    qint64 size() const { return last - first + 1; }
    friend bool operator==(const KeyRange &, const KeyRange &) = default;
};

// The entries one change stored (an import): their keys as ascending ranges,
// and a digest of their texts by which an undo tells, without holding every
// text, that none of them was changed since.
struct StoredKeys
{
    QList<KeyRange> ranges;
    quint64 digest = 0;

    qint64 count() const
    {
        qint64 n = 0;
        for (const KeyRange &range : ranges)
            n += range.size();
        return n;
    }
    bool isEmpty() const { return ranges.isEmpty(); }
    // Another change's entries beside these: the digest of both is the sum.
    StoredKeys &operator+=(const StoredKeys &other);
};

// The part of StoredKeys' digest that one entry's texts make.
quint64 entryDigest(const EntryTexts &texts);

// Whether an entry still held what the person last saw of it when a change
// was asked for.
enum class EntryState {
    AsExpected, // the change was made
    ChangedMeanwhile, // another person or copy of the program changed it first
    DeletedMeanwhile, // it is no longer in the phone book
};

// An entry as a change found it: when it was not as expected, what it
// holds now (empty texts when deleted).
struct EntryNow
{
    qint64 key = 0;
    EntryState state = EntryState::AsExpected;
    EntryTexts texts;
};

} // namespace dialvault
