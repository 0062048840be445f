#include "sync/addressbooksync.h"

#include "store/cardlinks.h"
#include "sync/addresscard.h"
#include "sync/carddavclient.h"
#include "sync/entrystate.h"

#include <QHash>
#include <QSet>
#include <QUuid>

#include <optional>

namespace dialvault {

namespace {

// A sync whose entries changed here while it ran is run again, this often.
constexpr int attempts = 3;

// A linked card fetched from the server: the entry it gives, and the card
// itself where ours is to be written into it.
struct FetchedCard
{
    QString etag;
    EntryTexts texts;
    bool entry = false;
    std::optional<AddressCard> card;
};

// The failures after which nothing more can be sent; any other refusal of
// one card leaves that card for the next sync.
bool stopsSync(const SyncStatus &failure)
{
    switch (failure.cause) {
    case SyncCause::Garbage:
        return false;
    default:
        return true;
    }
}

class Sync
{
public:
    Sync(CardDavClient &client, CardLinks &links, bool serverHasTokens)
        : m_client(client)
        , m_links(links)
        , m_serverHasTokens(serverHasTokens)
    { }

    // One pass; EntryChangedMeanwhile when it must be run again.
    SyncResult<LinkApplied> run(SyncReport &report);

private:
    SyncStatus readHere();
    void indexUnlinked();
    SyncStatus fetchCards(CardChanges &changes);
    void takeNewCard(const QString &href, const QString &etag, const EntryTexts &there);
    void decideLinked();
    void createUnpaired();
    SyncStatus sendWrites(SyncReport &report);

    void changeEntry(qint64 key, const EntryTexts &now, const EntryTexts &texts)
    {
        m_changes.changed.append({key, now, texts});
    }
    void linkEntry(qint64 key, const QString &href, const QString &etag, const EntryTexts &texts)
    {
        m_changes.links.append({key, href, etag, entryState(texts)});
    }
    void putAside(const EntryTexts &ours)
    {
        m_changes.putAside.append(ours);
        conflictSaid(ours);
    }
    void conflictSaid(const EntryTexts &ours)
    {
        m_report.putAside.append(ours);
        ++m_report.conflicts;
    }

    // A write and what follows from its outcome.
    struct Pending
    {
        CardWrite write;
        qint64 entry = 0;
        EntryTexts texts; // what the card now holds
        enum { Create, Change, Delete } kind = Change;
    };

    CardDavClient &m_client;
    CardLinks &m_links;
    const bool m_serverHasTokens;

    QString m_token;
    QHash<qint64, EntryTexts> m_entries;
    QList<qint64> m_entryOrder;
    QHash<qint64, CardLink> m_linkOf; // by entry
    QHash<QString, qint64> m_entryOf; // by href
    QSet<qint64> m_keyReused; // entries under a key whose linked entry was deleted
    QSet<QString> m_removedThere;
    QHash<QString, FetchedCard> m_fetched; // linked cards changed there, and those to write into
    // Entries without a link, by the key that pairs them with new cards, and
    // in key order; those paired with one.
    QHash<QString, QList<qint64>> m_unlinked;
    QList<qint64> m_unlinkedOrder;
    QSet<qint64> m_paired;
    QList<Pending> m_pending;
    LinkChanges m_changes;
    SyncReport m_report;
};

SyncStatus Sync::readHere()
{
    const Status read = m_links.read(
        m_token,
        [&](const KeyedEntry &entry) {
            m_entries.insert(entry.key, entry.texts);
            m_entryOrder.append(entry.key);
        },
        [&](const CardLink &link) {
            m_linkOf.insert(link.entry, link);
            m_entryOf.insert(link.href, link.entry);
            const auto entry = m_entries.constFind(link.entry);
            if (entry != m_entries.cend() && !isSameEntry(*entry, link.state))
                m_keyReused.insert(link.entry);
        });
    return read.ok() ? SyncStatus{} : storeSyncFailure(read);
}

void Sync::indexUnlinked()
{
    for (const qint64 key : std::as_const(m_entryOrder)) {
        if (m_linkOf.contains(key) && !m_keyReused.contains(key))
            continue;
        const EntryTexts &texts = m_entries[key];
        if (texts.name.isEmpty() && texts.phone.isEmpty())
            continue;
        m_unlinked[pairingKey(texts)].append(key);
        m_unlinkedOrder.append(key);
    }
}

// What is kept of the listing grows with the links, not with the address
// book: a first sync of thousands of cards holds each new card only as the
// entry it becomes.
SyncStatus Sync::fetchCards(CardChanges &changes)
{
    QStringList wanted;
    QSet<QString> linkedListed;
    QSet<QString> linkedWanted;
    for (const CardRef &ref : std::as_const(changes.changed)) {
        const auto linked = m_entryOf.constFind(ref.href);
        if (linked != m_entryOf.cend()) {
            linkedListed.insert(ref.href);
            if (m_linkOf.value(*linked).etag == ref.etag)
                continue;
            linkedWanted.insert(ref.href);
        }
        wanted.append(ref.href);
    }
    for (const QString &href : std::as_const(changes.removed)) {
        if (m_entryOf.contains(href))
            m_removedThere.insert(href);
    }
    if (changes.complete) {
        for (const CardLink &link : std::as_const(m_linkOf)) {
            if (!linkedListed.contains(link.href))
                m_removedThere.insert(link.href);
        }
    }
    // The new cards listed become entries here, or links of ours.
    m_changes.added.reserve(wanted.size() - linkedWanted.size());
    changes.changed = {};
    changes.removed = {};
    // Ours changed here are written into the server's card: it is fetched.
    for (const CardLink &link : std::as_const(m_linkOf)) {
        const auto entry = m_entries.constFind(link.entry);
        if (entry != m_entries.cend() && !m_keyReused.contains(link.entry)
            && entryState(*entry) != link.state && !m_removedThere.contains(link.href)
            && !linkedWanted.contains(link.href))
            wanted.append(link.href);
    }
    return m_client.fetch(
        wanted, [&](const QString &href, const QString &etag, const QByteArray &body) {
            const bool linked = m_entryOf.contains(href);
            if (etag.isEmpty()) {
                // Gone between the listing and the fetch.
                if (linked)
                    m_removedThere.insert(href);
                return;
            }
            std::optional<AddressCard> card = AddressCard::read(body);
            if (!card || (!linked && !card->isEntry())) {
                ++m_report.skippedCards;
                return;
            }
            if (!linked) {
                takeNewCard(href, etag, card->texts());
                return;
            }
            FetchedCard fetched{etag, card->texts(), card->isEntry(), std::nullopt};
            if (m_entries.contains(m_entryOf.value(href)))
                fetched.card = std::move(card);
            m_fetched.insert(href, std::move(fetched));
        });
}

void Sync::decideLinked()
{
    for (const CardLink &link : std::as_const(m_linkOf)) {
        const qint64 key = link.entry;
        const auto entryAt = m_entries.constFind(key);
        // A reused key: the linked entry was deleted, and the one now under
        // its key is new here (pairAndCreate sends it).
        const bool deletedHere = entryAt == m_entries.cend() || m_keyReused.contains(key);
        const EntryTexts here = deletedHere ? EntryTexts{} : *entryAt;
        const bool changedHere = !deletedHere && entryState(here) != link.state;
        const bool removedThere = m_removedThere.contains(link.href);
        const auto fetchedAt = m_fetched.constFind(link.href);
        const FetchedCard *there = fetchedAt == m_fetched.cend() ? nullptr : &*fetchedAt;
        const bool changedThere = there && entryState(there->texts) != link.state;
        const QString etagThere = there ? there->etag : link.etag;

        if (removedThere) {
            m_changes.unlinked.append(key);
            if (deletedHere)
                continue;
            // Kept among the recently deleted once, as a conflict when ours
            // had changed.
            m_changes.deleted.append(
                {key, here, changedHere ? DeletionReason::SyncConflict : DeletionReason::ByPerson});
            if (changedHere)
                conflictSaid(here);
            else
                ++m_report.here.deleted;
        } else if (deletedHere) {
            if (changedThere) {
                // Changed there after it was deleted here: the change wins,
                // as a new entry.
                m_changes.unlinked.append(key);
                m_changes.added.append(
                    {there->texts, {0, link.href, there->etag, entryState(there->texts)}});
                ++m_report.here.added;
            } else {
                m_pending.append({{link.href, etagThere, QByteArray()}, key, {}, Pending::Delete});
            }
        } else if (changedHere && changedThere) {
            if (entryState(here) == entryState(there->texts)) {
                linkEntry(key, link.href, there->etag, here);
            } else {
                changeEntry(key, here, there->texts);
                linkEntry(key, link.href, there->etag, there->texts);
                putAside(here);
            }
        } else if (changedHere) {
            // A card that could not be read is left for a later sync.
            if (!there || !there->card)
                continue;
            m_pending.append(
                {{link.href, etagThere, there->card->rewritten(here)}, key, here, Pending::Change});
        } else if (changedThere) {
            changeEntry(key, here, there->texts);
            linkEntry(key, link.href, there->etag, there->texts);
            ++m_report.here.changed;
        } else if (there && there->etag != link.etag) {
            linkEntry(key, link.href, there->etag, here);
        }
    }
}

// A card without a link: paired with an entry without one by the folded
// name and the number's digits, else a new entry.
void Sync::takeNewCard(const QString &href, const QString &etag, const EntryTexts &there)
{
    auto match = m_unlinked.find(pairingKey(there));
    if (match == m_unlinked.end() || match->isEmpty()) {
        m_changes.added.append({there, {0, href, etag, entryState(there)}});
        ++m_report.here.added;
        return;
    }
    const qint64 key = match->takeFirst();
    m_paired.insert(key);
    const EntryTexts &here = m_entries[key];
    linkEntry(key, href, etag, there);
    if (here == there)
        return;
    // The same person and number: the server's version is taken, and
    // ours put aside only when its note would be lost.
    changeEntry(key, here, there);
    if (!here.note.isEmpty() && here.note != there.note)
        putAside(here);
    else
        ++m_report.here.changed;
}

void Sync::createUnpaired()
{
    for (const qint64 key : std::as_const(m_unlinkedOrder)) {
        if (m_paired.contains(key))
            continue;
        const EntryTexts &here = m_entries[key];
        const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_pending.append({{m_client.newCardHref(uid), QString(), AddressCard::made(here, uid)},
                          key,
                          here,
                          Pending::Create});
    }
}

SyncStatus Sync::sendWrites(SyncReport &report)
{
    QList<CardWrite> writes;
    writes.reserve(m_pending.size());
    for (const Pending &pending : std::as_const(m_pending))
        writes.append(pending.write);
    const QList<WriteResult> results = m_client.write(writes);
    for (qsizetype i = 0; i < results.size(); ++i) {
        const WriteResult &result = results.at(i);
        const Pending &pending = m_pending.at(i);
        if (result.outcome == WriteOutcome::Failed) {
            if (stopsSync(result.failure))
                return result.failure;
            ++report.skippedCards;
            continue;
        }
        switch (pending.kind) {
        case Pending::Delete:
            // Changed there meanwhile (a conflict): the next sync brings it back.
            if (result.outcome != WriteOutcome::Conflict) {
                m_changes.unlinked.append(pending.entry);
                if (result.outcome == WriteOutcome::Done)
                    ++report.there.deleted;
            }
            break;
        case Pending::Create:
        case Pending::Change:
            // A conflict, or a card gone meanwhile, is settled by the next
            // sync, which sees both changes.
            if (result.outcome != WriteOutcome::Done)
                break;
            linkEntry(pending.entry, pending.write.href, result.etag, pending.texts);
            ++(pending.kind == Pending::Create ? report.there.added : report.there.changed);
            break;
        }
    }
    return {};
}

SyncResult<LinkApplied> Sync::run(SyncReport &report)
{
    SyncResult<LinkApplied> result;
    const auto failed = [&](const SyncStatus &status) {
        static_cast<SyncStatus &>(result) = status;
        return result;
    };
    if (SyncStatus status = readHere(); !status.ok())
        return failed(status);
    indexUnlinked();
    SyncResult<CardChanges> changes = m_client.changesSince(m_token, m_serverHasTokens);
    if (!changes.ok())
        return failed(changes);
    if (SyncStatus status = fetchCards(changes.value); !status.ok())
        return failed(status);
    decideLinked();
    createUnpaired();
    if (SyncStatus status = sendWrites(m_report); !status.ok())
        return failed(status);
    m_changes.syncToken = changes.value.token;
    const Result<LinkApplied> applied = m_links.apply(m_changes);
    if (!applied.ok())
        return failed(storeSyncFailure(applied));
    result.value = applied.value;
    if (applied.value == LinkApplied::Done)
        report = m_report;
    return result;
}

} // namespace

SyncResult<SyncReport> syncAddressBook(const PhoneBookSource &phoneBook,
                                       const AddressBookAccount &account, PasswordSource &passwords,
                                       const SyncOptions &options)
{
    SyncResult<SyncReport> result;
    const auto failed = [&](const SyncStatus &status) {
        static_cast<SyncStatus &>(result) = status;
        return result;
    };
    // Counted from here: the secret store may keep the password a while.
    const QDeadlineTimer deadline = options.deadline.count() > 0
        ? QDeadlineTimer(options.deadline)
        : QDeadlineTimer(QDeadlineTimer::Forever);
    const SyncResult<Credentials> credentials = passwords.credentials(account);
    if (!credentials.ok())
        return failed(credentials);
    CardDavClient client(account, credentials.value, options.limits);
    client.setDeadline(deadline, options.stop);
    const SyncResult<QString> discovered = client.discover();
    if (!discovered.ok())
        return failed(discovered);
    CardLinks links(phoneBook, account.bookKey());
    if (const Status opened = links.open(); !opened.ok())
        return failed(storeSyncFailure(opened));
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const SyncResult<LinkApplied> ran
            = Sync(client, links, !discovered.value.isEmpty()).run(result.value);
        if (!ran.ok())
            return failed(ran);
        if (ran.value == LinkApplied::Done) {
            result.value.requests = client.requestsSent();
            return result;
        }
    }
    return failed({SyncCause::PhoneBookBusy});
}

} // namespace dialvault
