#pragma once

#include "desktop/phonebooklocation.h"
#include "desktop/settings.h"
#include "sync/passwordsource.h"
#include "sync/syncerror.h"
#include "sync/syncreport.h"

#include <QObject>

#include <functional>
#include <memory>

namespace dialvault {

// The syncs of the phone book with the address book that the `carddav`
// setting names, for the windows. Each runs on a thread of its own (a sync
// waits on the server in event loops of its own) and is held to a deadline
// as a whole, beside each request's, while the windows go on drawing. One
// at a time: another asked for meanwhile is refused. Whoever asked is
// handed the outcome on the windows' thread, and the windows that show
// entries hear when a sync changed them.
class SyncRunner : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(const SyncResult<SyncReport> &)>;

    // The setting that bounds a whole sync, in seconds.
    static QString deadlineSettingName() { return QStringLiteral("carddav timeout"); }
    // A first sync of 5,000 entries going up took Radicale eleven minutes;
    // a silent server is cut much sooner, by each request's own limits.
    static constexpr int defaultDeadlineSeconds = 1800;

    SyncRunner(Settings &settings, PhoneBookLocation &phoneBook, PasswordSource &passwords,
               QObject *parent = nullptr);
    // Stops a sync under way and waits for its end, a tenth of a second at
    // most once the server is not being waited for.
    ~SyncRunner() override;
    SyncRunner(const SyncRunner &) = delete;
    SyncRunner &operator=(const SyncRunner &) = delete;

    // Whether the settings name an address book.
    bool addressBookSet() const;
    bool running() const { return m_run != nullptr; }

    // Starts a sync, whose end goes to `done`: at once when the settings
    // name no usable address book. False, with nothing started, while a
    // sync runs.
    bool start(Done done);
    // What a person is told of a sync's end: what it did, or why it failed
    // (nothing is left half done here either way).
    QString outcomeText(const SyncResult<SyncReport> &synced) const;

    // Waits for the sync under way and hands its end on. For tests: true if
    // in time, or when none runs.
    bool waitUntilDone(int timeoutMs);

Q_SIGNALS:
    void runningChanged(bool running);
    // A sync changed entries here: what shows them reads them again.
    void entriesChanged();

private:
    struct Run;

    void finished();

    Settings &m_settings;
    PhoneBookLocation &m_phoneBook;
    PasswordSource &m_passwords;
    std::unique_ptr<Run> m_run; // while a sync runs
};

} // namespace dialvault
