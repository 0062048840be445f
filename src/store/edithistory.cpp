#include "store/edithistory.h"

#include "store/contactstore.h"

#include <QMutex>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace dialvault {

namespace {

// One step as it stands now: its entries' keys follow them when they are
// put back, and `deletedIds` says where they are kept while deleted.
struct Step
{
    EditStep kind = EditStep::Add;
    QList<KeyedEntry> entries; // an add's, a delete's, or the corrected one
    EntryTexts before; // a correction's texts before and after it
    EntryTexts after;
    StoredKeys stored; // an import's
    QList<qint64> deletedIds;

    qint64 size() const { return kind == EditStep::Import ? stored.count() : entries.size(); }
};

// Old keys and the new keys of the same entries, to follow them.
class KeyMoves
{
public:
    KeyMoves(const QList<qint64> &old, const QList<qint64> &now)
    {
        for (qsizetype i = 0; i < old.size() && i < now.size(); ++i)
            m_moves.emplace_back(old.at(i), now.at(i));
        std::sort(m_moves.begin(), m_moves.end());
    }

    qint64 operator()(qint64 key) const
    {
        const auto at
            = std::lower_bound(m_moves.begin(), m_moves.end(), std::pair<qint64, qint64>{key, 0});
        return at != m_moves.end() && at->first == key ? at->second : key;
    }

    bool anyWithin(const KeyRange &range) const
    {
        const auto at = std::lower_bound(m_moves.begin(), m_moves.end(),
                                         std::pair<qint64, qint64>{range.first, 0});
        return at != m_moves.end() && at->first <= range.last;
    }

    void apply(Step &step) const
    {
        for (KeyedEntry &entry : step.entries)
            entry.key = (*this)(entry.key);
        if (!std::any_of(step.stored.ranges.begin(), step.stored.ranges.end(),
                         [this](const KeyRange &range) { return anyWithin(range); }))
            return;
        QList<qint64> keys;
        for (const KeyRange &range : std::as_const(step.stored.ranges)) {
            for (qint64 key = range.first; key <= range.last; ++key)
                keys.append((*this)(key));
        }
        step.stored.ranges = rangesOf(std::move(keys));
    }

    static QList<KeyRange> rangesOf(QList<qint64> keys)
    {
        std::sort(keys.begin(), keys.end());
        QList<KeyRange> ranges;
        for (const qint64 key : std::as_const(keys)) {
            if (!ranges.isEmpty() && ranges.last().last + 1 == key)
                ranges.last().last = key;
            else
                ranges.append({key, key});
        }
        return ranges;
    }

private:
    std::vector<std::pair<qint64, qint64>> m_moves;
};

QList<qint64> keysOf(const QList<KeyedEntry> &entries)
{
    QList<qint64> keys;
    keys.reserve(entries.size());
    for (const KeyedEntry &entry : entries)
        keys.append(entry.key);
    return keys;
}

QList<qint64> keysIn(const StoredKeys &stored)
{
    QList<qint64> keys;
    keys.reserve(stored.count());
    for (const KeyRange &range : stored.ranges) {
        for (qint64 key = range.first; key <= range.last; ++key)
            keys.append(key);
    }
    return keys;
}

// The entries among `entries` kept under the ids that are gone.
QList<EntryNow> goneFrom(const QList<KeyedEntry> &entries, const QList<qint64> &ids,
                         const QList<qint64> &missing)
{
    QList<EntryNow> gone;
    for (qsizetype i = 0; i < ids.size() && i < entries.size(); ++i) {
        if (missing.contains(ids.at(i)))
            gone.append({entries.at(i).key, EntryState::DeletedMeanwhile, entries.at(i).texts});
    }
    return gone;
}

} // namespace

struct EditHistory::Impl
{
    mutable QMutex mutex;
    int depth = defaultDepth;
    std::deque<Step> undone; // steps that can be undone, the latest last
    std::deque<Step> redone; // steps that can be done again, the latest undone last

    void record(Step step)
    {
        const QMutexLocker locked(&mutex);
        undone.push_back(std::move(step));
        while (int(undone.size()) > depth)
            undone.pop_front();
        redone.clear();
    }

    // Every step follows its entries to their new keys.
    void follow(const KeyMoves &moves)
    {
        for (Step &step : undone)
            moves.apply(step);
        for (Step &step : redone)
            moves.apply(step);
    }

    // Takes the step an undo (from `undone`) or a redo (from `redone`)
    // works on, while the store works without the lock.
    std::optional<Step> take(std::deque<Step> &steps, std::size_t &at)
    {
        const QMutexLocker locked(&mutex);
        if (steps.empty())
            return std::nullopt;
        at = steps.size() - 1;
        Step step = std::move(steps.back());
        steps.pop_back();
        return step;
    }

    // A step that was not done goes back where it was.
    void putBack(std::deque<Step> &steps, std::size_t at, Step step)
    {
        const QMutexLocker locked(&mutex);
        steps.insert(steps.begin() + std::ptrdiff_t(std::min(at, steps.size())), std::move(step));
    }

    // A step done goes to the other side; the keys it moved are followed.
    void moveTo(std::deque<Step> &steps, Step step, const std::optional<KeyMoves> &moves)
    {
        const QMutexLocker locked(&mutex);
        if (moves)
            follow(*moves);
        steps.push_back(std::move(step));
        while (int(steps.size()) > depth)
            steps.pop_front();
    }

    // The entries of a step deleted again (an add undone, a delete redone,
    // an import undone); false when refused.
    static Status deleteEntries(ContactStore &store, Step &step, EditOutcome &outcome)
    {
        const Result<EntriesDeleted> deleted = step.kind == EditStep::Import
            ? store.deleteStoredKeys(step.stored)
            : store.deleteEntries(step.entries);
        if (deleted.ok() && !deleted.value.refused)
            step.deletedIds = deleted.value.ids;
        outcome.refused = deleted.value.refused;
        outcome.meanwhile = deleted.value.meanwhile;
        return deleted;
    }

    // The entries of a step put back (an add redone, a delete undone, an
    // import redone), with the keys they had and have now.
    static Status restoreEntries(ContactStore &store, Step &step, EditOutcome &outcome,
                                 std::optional<KeyMoves> &moves)
    {
        const Result<EntriesRestored> restored = store.restoreDeleted(step.deletedIds);
        if (!restored.ok())
            return restored;
        if (!restored.value.done()) {
            outcome.refused = true;
            outcome.meanwhile = goneFrom(step.entries, step.deletedIds, restored.value.missing);
            return restored;
        }
        if (step.kind == EditStep::Import) {
            moves.emplace(keysIn(step.stored), restored.value.keys);
            step.stored.ranges = KeyMoves::rangesOf(restored.value.keys);
        } else {
            moves.emplace(keysOf(step.entries), restored.value.keys);
            moves->apply(step);
        }
        step.deletedIds.clear();
        return restored;
    }

    static Status correct(ContactStore &store, const Step &step, const EntryTexts &from,
                          const EntryTexts &to, EditOutcome &outcome)
    {
        const Result<EntryNow> corrected = store.correctEntry(step.entries.value(0).key, from, to);
        if (corrected.ok() && corrected.value.state != EntryState::AsExpected) {
            outcome.refused = true;
            outcome.meanwhile = {corrected.value};
        }
        return corrected;
    }

    Result<EditOutcome> run(ContactStore &store, bool undo)
    {
        std::deque<Step> &from = undo ? undone : redone;
        std::deque<Step> &to = undo ? redone : undone;
        std::size_t at = 0;
        std::optional<Step> step = take(from, at);
        Result<EditOutcome> result;
        if (!step)
            return result;
        result.value.step = step->kind;
        result.value.entries = step->size();
        std::optional<KeyMoves> moves;
        // Undoing an add or import and redoing a delete delete; the others
        // put back, but for a correction, which corrects back or forth.
        Status status;
        switch (step->kind) {
        case EditStep::Correction:
            status = undo ? correct(store, *step, step->after, step->before, result.value)
                          : correct(store, *step, step->before, step->after, result.value);
            break;
        case EditStep::Delete:
            status = undo ? restoreEntries(store, *step, result.value, moves)
                          : deleteEntries(store, *step, result.value);
            break;
        case EditStep::Add:
        case EditStep::Import:
            status = undo ? deleteEntries(store, *step, result.value)
                          : restoreEntries(store, *step, result.value, moves);
            break;
        }
        if (!status.ok() || result.value.refused) {
            putBack(from, at, std::move(*step));
            return status.ok() ? result : failedResult<EditOutcome>(status);
        }
        moveTo(to, std::move(*step), moves);
        return result;
    }
};

EditHistory::EditHistory(int depth, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Impl>())
{
    d->depth = std::max(depth, 1);
}

EditHistory::~EditHistory() = default;

void EditHistory::recordAdd(qint64 key, const EntryTexts &texts)
{
    Step step;
    step.kind = EditStep::Add;
    step.entries = {{key, texts}};
    d->record(std::move(step));
    Q_EMIT changed();
}

void EditHistory::recordDelete(const QList<KeyedEntry> &entries, const QList<qint64> &deletedIds)
{
    if (entries.isEmpty())
        return;
    Step step;
    step.kind = EditStep::Delete;
    step.entries = entries;
    step.deletedIds = deletedIds;
    d->record(std::move(step));
    Q_EMIT changed();
}

void EditHistory::recordCorrection(qint64 key, const EntryTexts &before, const EntryTexts &after)
{
    Step step;
    step.kind = EditStep::Correction;
    step.entries = {{key, after}};
    step.before = before;
    step.after = after;
    d->record(std::move(step));
    Q_EMIT changed();
}

void EditHistory::recordImport(const StoredKeys &stored)
{
    if (stored.isEmpty())
        return;
    Step step;
    step.kind = EditStep::Import;
    step.stored = stored;
    d->record(std::move(step));
    Q_EMIT changed();
}

bool EditHistory::canUndo() const
{
    const QMutexLocker locked(&d->mutex);
    return !d->undone.empty();
}

bool EditHistory::canRedo() const
{
    const QMutexLocker locked(&d->mutex);
    return !d->redone.empty();
}

std::optional<EditStep> EditHistory::nextUndo() const
{
    const QMutexLocker locked(&d->mutex);
    return d->undone.empty() ? std::nullopt : std::optional(d->undone.back().kind);
}

std::optional<EditStep> EditHistory::nextRedo() const
{
    const QMutexLocker locked(&d->mutex);
    return d->redone.empty() ? std::nullopt : std::optional(d->redone.back().kind);
}

Result<EditOutcome> EditHistory::undo(ContactStore &store)
{
    Result<EditOutcome> outcome = d->run(store, true);
    if (outcome.ok() && outcome.value.step && !outcome.value.refused)
        Q_EMIT changed();
    return outcome;
}

Result<EditOutcome> EditHistory::redo(ContactStore &store)
{
    Result<EditOutcome> outcome = d->run(store, false);
    if (outcome.ok() && outcome.value.step && !outcome.value.refused)
        Q_EMIT changed();
    return outcome;
}

void EditHistory::clear()
{
    {
        const QMutexLocker locked(&d->mutex);
        d->undone.clear();
        d->redone.clear();
    }
    Q_EMIT changed();
}

} // namespace dialvault
