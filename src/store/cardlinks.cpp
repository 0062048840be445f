#include "store/cardlinks.h"

#include "store/deletedtable.h"
#include "store/linktables.h"
#include "store/storeengine.h"
#include "store/storefailure.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace dialvault {

struct CardLinks::Impl
{
    std::unique_ptr<StoreEngine> engine;
    QString book;

    const LinkSql &sql() const { return engine->linkSql(); }

    // `sql` prepared, or null with `status` set.
    QSqlQuery *statement(const EngineSql &sql, Status &status)
    {
        return engine->statement(sql, status);
    }

    Status failed(QSqlQuery &query, const EngineSql &sql)
    {
        const QSqlError error = query.lastError();
        query.finish();
        return engine->failure(error, sql.right);
    }

    Status run(const EngineSql &sql, const QVariantList &values)
    {
        Status status;
        QSqlQuery *query = statement(sql, status);
        if (!query)
            return status;
        for (qsizetype i = 0; i < values.size(); ++i)
            query->bindValue(int(i), values.at(i));
        if (!query->exec())
            return failed(*query, sql);
        query->finish();
        return {};
    }

    Status rolledBack(const Status &status)
    {
        // The first failure is the one worth reporting, not the rollback's.
        engine->rollback();
        return status;
    }

    Result<double> count();
    Result<bool> holds(qint64 entry, const EntryTexts &expected);
    Status applyIn(const LinkChanges &changes, bool &changedMeanwhile);
};

namespace {

EntryTexts textsAt(const QSqlQuery &query, int first)
{
    return {query.value(first).toString(), query.value(first + 1).toString(),
            query.value(first + 2).toString()};
}

QVariant optionalText(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

CardLinks::CardLinks(const PhoneBookSource &source, const QString &book)
    : d(std::make_unique<Impl>())
{
    d->engine = makeStoreEngine(source);
    d->book = book;
}

CardLinks::~CardLinks() = default;

Status CardLinks::open()
{
    if (Status status = d->engine->open(); !status.ok())
        return status;
    // A file has them from its schema; a server from server-init.
    QSqlQuery query(d->engine->database());
    if (!query.exec(d->sql().tablesPresent))
        return d->engine->failure(query.lastError());
    return {};
}

Status CardLinks::read(QString &syncToken, const std::function<void(const KeyedEntry &)> &entry,
                       const std::function<void(const CardLink &)> &link)
{
    if (!d->engine->isOpen()) {
        if (Status status = open(); !status.ok())
            return status;
    }
    if (Status status = d->engine->begin(Transaction::Snapshot); !status.ok())
        return status;
    Status status;
    const LinkSql &sql = d->sql();
    QSqlQuery *token = d->statement(sql.token, status);
    if (!token)
        return d->rolledBack(status);
    token->bindValue(0, d->book);
    if (!token->exec())
        return d->rolledBack(d->failed(*token, sql.token));
    syncToken = token->next() ? token->value(0).toString() : QString();
    token->finish();

    QSqlQuery *entries = d->statement(sql.entries, status);
    if (!entries)
        return d->rolledBack(status);
    if (!entries->exec())
        return d->rolledBack(d->failed(*entries, sql.entries));
    while (entries->next())
        entry(KeyedEntry{entries->value(0).toLongLong(), textsAt(*entries, 1)});
    if (entries->lastError().isValid())
        return d->rolledBack(d->failed(*entries, sql.entries));
    entries->finish();

    QSqlQuery *links = d->statement(sql.links, status);
    if (!links)
        return d->rolledBack(status);
    links->bindValue(0, d->book);
    if (!links->exec())
        return d->rolledBack(d->failed(*links, sql.links));
    while (links->next())
        link(CardLink{links->value(0).toLongLong(), links->value(1).toString(),
                      links->value(2).toString(), links->value(3).toString()});
    if (links->lastError().isValid())
        return d->rolledBack(d->failed(*links, sql.links));
    links->finish();
    return d->engine->commit();
}

Result<double> CardLinks::Impl::count()
{
    Result<double> result;
    const EngineSql &countSql = engine->countStatement();
    QSqlQuery *query = statement(countSql, result);
    if (!query)
        return result;
    if (!query->exec() || !query->next()) {
        const QSqlError error = query->lastError();
        query->finish();
        result.error = (error.isValid() ? engine->failure(error, countSql.right)
                                        : storeFailure(CountMissing))
                           .error;
        return result;
    }
    const QVariant counted = query->value(0);
    query->finish();
    if (counted.isNull())
        result.error = storeFailure(CountMissing).error;
    result.value = counted.toDouble();
    return result;
}

Result<bool> CardLinks::Impl::holds(qint64 entry, const EntryTexts &expected)
{
    Result<bool> result;
    QSqlQuery *query = statement(sql().entry, result);
    if (!query)
        return result;
    query->bindValue(0, entry);
    if (!query->exec()) {
        result.error = failed(*query, sql().entry).error;
        return result;
    }
    result.value = query->next() && textsAt(*query, 0) == expected;
    query->finish();
    return result;
}

Status CardLinks::Impl::applyIn(const LinkChanges &changes, bool &changedMeanwhile)
{
    const LinkSql &s = sql();
    // What the sync decided from is checked first: a change made meanwhile
    // here (in the windows, by another program) is never overwritten.
    for (const auto &changed : changes.changed) {
        const Result<bool> same = holds(changed.entry, changed.expected);
        if (!same.ok() || !same.value) {
            changedMeanwhile = same.ok();
            return same;
        }
    }
    for (const auto &deleted : changes.deleted) {
        const Result<bool> same = holds(deleted.entry, deleted.expected);
        if (!same.ok() || !same.value) {
            changedMeanwhile = same.ok();
            return same;
        }
    }
    for (const auto &changed : changes.changed) {
        const EntryTexts &t = changed.texts;
        if (Status status
            = run(s.updateEntry,
                  {textValue(t.name), textValue(t.phone), textValue(t.note), changed.entry});
            !status.ok())
            return status;
    }
    // Whatever the sync deletes or sets aside here can still be put back, as
    // an entry without links: theirs go with the cards.
    const QString now = DeletedTable::timeText(QDateTime::currentDateTimeUtc());
    const auto keep = [&](const EntryTexts &texts, DeletionReason reason) {
        return run(engine->deletedSql().keep,
                   {textValue(texts.name), textValue(texts.phone), textValue(texts.note),
                    QVariant(QMetaType::fromType<double>()),
                    QVariant(QMetaType::fromType<qint64>()), now,
                    DeletedTable::reasonText(reason)});
    };
    for (const auto &deleted : changes.deleted) {
        if (Status status = run(s.deleteEntry, {deleted.entry}); !status.ok())
            return status;
        if (Status status = keep(deleted.expected, deleted.reason); !status.ok())
            return status;
    }
    for (const qint64 entry : changes.unlinked) {
        if (Status status = run(s.dropLink, {book, entry}); !status.ok())
            return status;
    }
    const auto saveLink = [&](const CardLink &link, qint64 entry) {
        return run(s.saveLink,
                   {book, entry, link.href, optionalText(link.etag), textValue(link.state)});
    };
    for (const CardLink &link : changes.links) {
        if (Status status = saveLink(link, link.entry); !status.ok())
            return status;
    }
    if (!changes.added.isEmpty()) {
        Result<double> stored = count();
        if (!stored.ok())
            return stored;
        Status status;
        QSqlQuery *insert = statement(s.insertEntry, status);
        if (!insert)
            return status;
        for (const auto &added : changes.added) {
            const EntryTexts &t = added.texts;
            insert->bindValue(0, textValue(t.name));
            insert->bindValue(1, textValue(t.phone));
            insert->bindValue(2, textValue(t.note));
            insert->bindValue(3, ++stored.value);
            if (!insert->exec() || !insert->next())
                return failed(*insert, s.insertEntry);
            const qint64 entry = insert->value(0).toLongLong();
            insert->finish();
            if (Status linked = saveLink(added.link, entry); !linked.ok())
                return linked;
        }
    }
    for (const EntryTexts &ours : changes.putAside) {
        if (Status status = keep(ours, DeletionReason::SyncConflict); !status.ok())
            return status;
    }
    if (Status status = run(s.dropToken, {book}); !status.ok())
        return status;
    if (!changes.syncToken.isEmpty())
        return run(s.saveToken, {book, changes.syncToken});
    return {};
}

Result<LinkApplied> CardLinks::apply(const LinkChanges &changes)
{
    Result<LinkApplied> result;
    if (!d->engine->isOpen()) {
        if (Status status = open(); !status.ok()) {
            result.error = status.error;
            return result;
        }
    }
    if (Status status = d->engine->begin(Transaction::Write); !status.ok()) {
        result.error = d->rolledBack(status).error;
        return result;
    }
    bool changedMeanwhile = false;
    Status status = d->applyIn(changes, changedMeanwhile);
    if (status.ok() && changedMeanwhile) {
        d->engine->rollback();
        result.value = LinkApplied::EntryChangedMeanwhile;
        return result;
    }
    if (status.ok())
        status = d->engine->commit();
    if (!status.ok()) {
        result.error = d->rolledBack(status).error;
        return result;
    }
    result.value = LinkApplied::Done;
    return result;
}

} // namespace dialvault
