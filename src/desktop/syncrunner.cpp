#include "desktop/syncrunner.h"

#include "desktop/failurewords.h"
#include "sync/addressbookaccount.h"
#include "sync/addressbooksync.h"
#include "sync/syncwords.h"

#include <QThread>
#include <QVariant>

#include <atomic>
#include <chrono>

namespace dialvault {

namespace {

bool changedHere(const SyncReport &report)
{
    return report.here.added + report.here.changed + report.here.deleted + report.conflicts > 0;
}

} // namespace

struct SyncRunner::Run
{
    Done done;
    std::atomic<bool> stop = false;
    SyncResult<SyncReport> result;
    std::unique_ptr<QThread> thread;
};

SyncRunner::SyncRunner(Settings &settings, PhoneBookLocation &phoneBook, PasswordSource &passwords,
                       QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_phoneBook(phoneBook)
    , m_passwords(passwords)
{ }

SyncRunner::~SyncRunner()
{
    if (m_run) {
        m_run->stop = true;
        m_run->thread->wait();
    }
}

bool SyncRunner::addressBookSet() const
{
    return !m_settings.read(carddavSettingName).trimmed().isEmpty();
}

bool SyncRunner::start(Done done)
{
    if (m_run)
        return false;
    const SyncResult<AddressBookAccount> account
        = addressBookAccount(m_settings.read(carddavSettingName),
                             QVariant(m_settings.read(carddavHttpSettingName)).toBool());
    if (!account.ok()) {
        SyncResult<SyncReport> refused;
        static_cast<SyncStatus &>(refused) = account;
        done(refused);
        return true;
    }
    bool valid = false;
    int seconds = m_settings.read(deadlineSettingName()).toInt(&valid);
    if (!valid || seconds <= 0)
        seconds = defaultDeadlineSeconds;

    m_run = std::make_unique<Run>();
    Run *run = m_run.get();
    run->done = std::move(done);
    run->thread.reset(QThread::create([run, source = m_phoneBook.source(), account = account.value,
                                       &passwords = m_passwords, seconds] {
        run->result = syncAddressBook(source, account, passwords,
                                      {{}, std::chrono::seconds(seconds), &run->stop});
    }));
    // Queued to this thread; a run already handed on by waitUntilDone() is
    // not handed on again.
    connect(run->thread.get(), &QThread::finished, this, [this, run] {
        if (m_run.get() == run)
            finished();
    });
    run->thread->start();
    Q_EMIT runningChanged(true);
    return true;
}

bool SyncRunner::waitUntilDone(int timeoutMs)
{
    if (!m_run)
        return true;
    if (!m_run->thread->wait(timeoutMs))
        return false;
    finished();
    return true;
}

QString SyncRunner::outcomeText(const SyncResult<SyncReport> &synced) const
{
    if (synced.ok())
        return tr("همگام سازي با دفترچه نشاني انجام شد.") + u'\n'
            + syncReportLines(synced.value).join(u'\n');
    const QString headline
        = tr("همگام سازي با دفترچه نشاني انجام نشد، و در دفترچه تلفن چيزي نيمه کاره نماند.");
    if (synced.cause == SyncCause::Store)
        return failureText(headline, synced.store, m_phoneBook.source());
    QString text = headline + u'\n' + syncFailureWords(synced);
    if (!synced.detail.isEmpty())
        text += QStringLiteral("\n\n(%1)").arg(synced.detail);
    return text;
}

void SyncRunner::finished()
{
    // Told just before the thread ends; it ends at once.
    m_run->thread->wait();
    const std::unique_ptr<Run> run = std::move(m_run);
    Q_EMIT runningChanged(false);
    if (run->result.ok() && changedHere(run->result.value))
        Q_EMIT entriesChanged();
    run->done(run->result);
}

} // namespace dialvault
