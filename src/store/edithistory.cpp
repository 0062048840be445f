#include "store/edithistory.h"

#include "store/contactstore.h"

namespace dialvault {

struct EditHistory::Impl
{
    int depth = defaultDepth;
};

EditHistory::EditHistory(int depth, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Impl>())
{
    d->depth = depth;
}

EditHistory::~EditHistory() = default;

void EditHistory::recordAdd(qint64, const EntryTexts &)
{ }
void EditHistory::recordDelete(const QList<KeyedEntry> &, const QList<qint64> &)
{ }
void EditHistory::recordCorrection(qint64, const EntryTexts &, const EntryTexts &)
{ }
void EditHistory::recordImport(const StoredKeys &)
{ }

bool EditHistory::canUndo() const
{
    return false;
}

bool EditHistory::canRedo() const
{
    return false;
}

std::optional<EditStep> EditHistory::nextUndo() const
{
    return std::nullopt;
}

std::optional<EditStep> EditHistory::nextRedo() const
{
    return std::nullopt;
}

Result<EditOutcome> EditHistory::undo(ContactStore &)
{
    return {};
}

Result<EditOutcome> EditHistory::redo(ContactStore &)
{
    return {};
}

void EditHistory::clear()
{ }

} // namespace dialvault
