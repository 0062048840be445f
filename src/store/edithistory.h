#pragma once

#include "store/contactentry.h"
#include "store/storeerror.h"

#include <QList>
#include <QObject>

#include <memory>
#include <optional>

namespace dialvault {

class ContactStore;

// What a step of the history did to the phone book.
enum class EditStep {
    Add, // one entry added
    Delete, // one entry or several deleted at once
    Correction, // one entry's texts corrected
    Import, // the entries of one import (of one or several files)
};

// How an undo or a redo went. A failure of the phone book comes as the
// Result's error; the step then stays where it was, as it does when refused.
struct EditOutcome
{
    // The step undone or redone; none when there was nothing to do.
    std::optional<EditStep> step;
    qint64 entries = 0; // how many entries it touched
    // Nothing was done: an entry of the step was changed or deleted by
    // another person or copy of the program since; the step stays.
    bool refused = false;
    // Those entries, as far as they are known (what they hold now).
    QList<EntryNow> meanwhile;
};

// The changes of the running program that can be undone and redone, the
// latest `depth` of them: adds, deletes, corrections and whole imports, from
// any window. Steps are recorded on any thread; undo and redo run on the
// store's worker while the windows ask canUndo() on theirs.
//
// A step is undone or redone only while the entries it touches still hold
// what it left there, never by force. An entry put back gets a new key;
// every step that names it follows it.
class EditHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultDepth = 100;

    explicit EditHistory(int depth = defaultDepth, QObject *parent = nullptr);
    ~EditHistory() override;
    EditHistory(const EditHistory &) = delete;
    EditHistory &operator=(const EditHistory &) = delete;

    // Each recorded step ends what could be redone.
    void recordAdd(qint64 key, const EntryTexts &texts);
    // `deletedIds` as the delete kept them among the recently deleted, in
    // the order of `entries`.
    void recordDelete(const QList<KeyedEntry> &entries, const QList<qint64> &deletedIds);
    void recordCorrection(qint64 key, const EntryTexts &before, const EntryTexts &after);
    void recordImport(const StoredKeys &stored);

    bool canUndo() const;
    bool canRedo() const;
    // The step the next undo or redo would take, for a menu's words.
    std::optional<EditStep> nextUndo() const;
    std::optional<EditStep> nextRedo() const;

    // On the store's worker: the latest step undone, or the latest undone
    // step done again.
    Result<EditOutcome> undo(ContactStore &store);
    Result<EditOutcome> redo(ContactStore &store);

    void clear();

Q_SIGNALS:
    // A step was recorded, undone or redone (on the thread that did it).
    void changed();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dialvault
