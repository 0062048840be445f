#include "main/mainwindow.h"

#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
#include "desktop/offthread.h"
#include "desktop/unhandledfailure.h"
#include "interchange/importfilecheck.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "main/clocktext.h"
#include "main/mainwindowtexts.h"
#include "place/phonebookplace.h"
#include "place/repair.h"
#include "windows/aboutwindow.h"
#include "windows/contactlistwindow.h"
#include "windows/contactsdrop.h"
#include "windows/helpwindow.h"
#include "windows/singlewindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QShortcut>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace dialvault {

using namespace mainwindowtexts;

namespace {

// The setting "server timeout", in seconds, when it holds a usable one.
PhoneBookSource serverTimeout(const PhoneBookSource &source, Settings &settings)
{
    bool valid = false;
    const int seconds = settings.read(QStringLiteral("server timeout")).toInt(&valid);
    if (!valid || seconds <= 0)
        return source;
    return source.withTimeout(std::chrono::seconds(seconds));
}

// What a step of the history was, as the person is told.
QString stepText(const EditOutcome &outcome)
{
    switch (outcome.step.value_or(EditStep::Add)) {
    case EditStep::Add:
        return stepAdd();
    case EditStep::Delete:
        return stepDelete(outcome.entries);
    case EditStep::Correction:
        return stepCorrection();
    case EditStep::Import:
        return stepImport(outcome.entries);
    }
    return {};
}

} // namespace

MainWindow::MainWindow(const Desktop &desktop)
    : FormWindow(mainWindowLayout(), desktop.windows)
    , m_desktop(desktop)
    , m_worker(serverTimeout(desktop.phoneBook.source(), desktop.settings))
{
    build(mainWindowLayout(), m_controls);
    const MainWindowControls &c = m_controls;
    connect(c.searchButton, &PaintedButton::Click, this, &MainWindow::search);
    connect(c.clearButton, &PaintedButton::Click, this, &MainWindow::clearFields);
    connect(c.addButton, &PaintedButton::Click, this, &MainWindow::add);
    connect(c.exitButton, &PaintedButton::Click, this, &MainWindow::confirmExit);
    connect(c.deleteButton, &PaintedButton::Click, this, &MainWindow::deleteByName);
    connect(c.helpButton, &PaintedButton::Click, this,
            [this] { showSingle<HelpWindow>(m_desktop, this); });
    connect(c.aboutButton, &PaintedButton::Click, this,
            [this] { showSingle<AboutWindow>(m_desktop, this); });
    connect(c.listButton, &PaintedButton::Click, this, [this] {
        // The list changes entries through this window's worker and history,
        // and each window follows the other's changes.
        auto *list = showSingle<ContactListWindow>(m_desktop, this, m_worker, m_history);
        connect(list, &ContactListWindow::entriesChanged, this, &MainWindow::refreshAfterChange,
                Qt::UniqueConnection);
        connect(this, &MainWindow::entriesChanged, list, &ContactListWindow::reload,
                Qt::UniqueConnection);
    });

    // The clock only needs to wake when the shown second changes, so it
    // sleeps until just past each second boundary rather than ticking
    // every millisecond.
    c.clockTimer->setSingleShot(true);
    c.clockTimer->setTimerType(Qt::PreciseTimer);
    connect(c.clockTimer, &QTimer::timeout, this, &MainWindow::tick);
    c.clockTimer->start();
    connect(&m_worker, &StoreWorker::busyChanged, this, &MainWindow::showBusy);

    // Contacts files dropped on the window go into its phone book; the count
    // shows them, and the import is one step of the history.
    ContactsDrop::install(
        this, m_desktop.windows, source(), importSizeLimit(),
        [this] {
            refreshAfterChange();
            Q_EMIT entriesChanged();
        },
        [this](const StoredKeys &stored) { m_history.recordImport(stored); });

    // Ctrl+Z stays the text boxes' own undo of typing.
    const auto shortcut = [this](const QKeySequence &keys, void (MainWindow::*slot)()) {
        auto *made = new QShortcut(keys, this);
        made->setContext(Qt::WindowShortcut);
        connect(made, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), &MainWindow::undo);
    shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y), &MainWindow::redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_Z), &MainWindow::redo);
}

MainWindow::~MainWindow() = default;

bool MainWindow::start()
{
    Refreshed opened;
    const QDateTime now = m_desktop.clock.now();
    m_worker.runNow([&opened, now](ContactStore &store) {
        opened = refresh(store);
        // Deleted entries are kept so long, then gone for good. A phone
        // book that cannot be written is still shown.
        if (opened.count.ok())
            store.purgeDeleted(now);
    });
    if (opened.count.error.cause == FailureCause::ForeignSchema && !source().isServer()
        && !repairAtStart(opened))
        return false;
    if (!opened.count.ok()) {
        reportUnhandledFailure(m_desktop.windows,
                               failureText(startupFailed(), opened.count.error, source()));
        return false;
    }
    showRefreshed(opened);
    m_desktop.windows.showWindow(this);
    m_controls.nameBox->setFocus(Qt::OtherFocusReason);
    return true;
}

bool MainWindow::repairAtStart(Refreshed &opened)
{
    const PhoneBookSource &source = this->source();
    const QString question = failureText(startupFailed(), opened.count.error, source)
        + QStringLiteral("\n\n") + repairQuestion();
    if (m_desktop.windows.messageBox(question, MsgYesNoQuestion) != AnswerYes) {
        m_desktop.windows.endProgram(1);
        return false;
    }
    const QString database = source.databasePath();
    const QDateTime now = m_desktop.clock.now();
    const Result<QString> repaired = awaitOffThread<Result<QString>>(
        [&] { return repairPhoneBook(database, backupFolderBeside(database), now); });
    if (!repaired.ok()) {
        reportUnhandledFailure(m_desktop.windows,
                               failureText(repairFailed(), repaired.error, source));
        return false;
    }
    m_desktop.windows.messageBox(repairDone().arg(QDir::toNativeSeparators(repaired.value)),
                                 MsgOkInformation);
    m_worker.runNow([&opened](ContactStore &store) { opened = refresh(store); });
    return true;
}

MainWindow::Refreshed MainWindow::refresh(ContactStore &store)
{
    Refreshed refreshed;
    if (Status opened = store.open(); !opened.ok())
        refreshed.count.error = opened.error;
    else
        refreshed.count = store.countEntries();
    refreshed.settled = store.settledAdds();
    return refreshed;
}

void MainWindow::showRefreshed(const Refreshed &refreshed)
{
    if (refreshed.count.ok())
        m_controls.countBox->setText(QString::number(refreshed.count.value));
    reportSettledAdds(refreshed.settled);
}

void MainWindow::reportSettledAdds(const QList<SettledAdd> &settled)
{
    for (const SettledAdd &add : settled)
        m_desktop.windows.messageBox(addSettled().arg(add.entry.name), MsgOkInformation,
                                     addStoredTitle());
}

qint64 MainWindow::importSizeLimit() const
{
    return importLimitOf(m_desktop.settings.read(importLimitSettingName));
}

void MainWindow::showBusy(bool busy)
{
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void MainWindow::clearFields()
{
    m_controls.nameBox->setText(QString());
    m_controls.phoneBox->setText(QString());
    m_controls.noteBox->setText(QString());
}

void MainWindow::search()
{
    if (m_worker.busy())
        return;
    if (m_controls.nameBox->text().isEmpty()) {
        m_desktop.windows.messageBox(searchNeedsName(), MsgOk);
        m_controls.nameBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    struct Outcome
    {
        Result<PhoneAndNote> match;
        Refreshed refreshed;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString name = m_controls.nameBox->text();
    m_worker.post(
        [outcome, name](ContactStore &store) {
            const Status found = store.queryByName(name);
            if (!found.ok()) {
                outcome->match.error = found.error;
                return;
            }
            outcome->match = store.readFirstMatch();
            if (!outcome->match.ok())
                return;
            store.closeResult();
            outcome->refreshed = refresh(store);
        },
        [this, outcome] {
            const Result<PhoneAndNote> &match = outcome->match;
            if (match.error.cause == FailureCause::NotFound) {
                m_desktop.windows.messageBox(searchNotFound(), MsgOk);
                clearFields();
                return;
            }
            if (!match.ok()) {
                // The boxes must not show the previous entry's number and
                // note beside the name just asked for.
                m_controls.phoneBox->setText(QString());
                m_controls.noteBox->setText(QString());
                m_desktop.windows.messageBox(failureText(searchFailed(), match.error), MsgOk);
                return;
            }
            m_controls.phoneBox->setText(match.value.phone);
            m_controls.noteBox->setText(match.value.note);
            showRefreshedAfterChange(outcome->refreshed);
        });
}

void MainWindow::add()
{
    if (m_worker.busy())
        return;
    if (m_controls.nameBox->text().isEmpty()) {
        m_desktop.windows.messageBox(addNeedsName(), MsgOk);
        m_controls.nameBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (m_controls.phoneBox->text().isEmpty()) {
        m_desktop.windows.messageBox(addNeedsPhone(), MsgOk);
        m_controls.phoneBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    bool counted = false;
    const double shownCount = m_controls.countBox->text().toDouble(&counted);
    struct Outcome
    {
        Status stored;
        Refreshed refreshed;
    };
    auto outcome = std::make_shared<Outcome>();
    if (!counted)
        outcome->stored.error = {13, QStringLiteral("Type mismatch"), FailureCause::Other};
    const ContactEntry entry{m_controls.nameBox->text(), m_controls.phoneBox->text(),
                             m_controls.noteBox->text(), shownCount + 1};
    EditHistory &history = m_history;
    m_worker.post(
        [outcome, entry, &history](ContactStore &store) {
            if (outcome->stored.ok())
                outcome->stored = store.appendEntry(entry);
            if (outcome->stored.ok()) {
                // An add whose key is not known cannot be undone.
                if (const qint64 key = store.lastAddedKey(); key != 0)
                    history.recordAdd(key, {entry.name, entry.phone, entry.note});
                outcome->refreshed = refresh(store);
                return;
            }
            // Go on with a freshly opened table so the next try can succeed
            // (on a server, the same entry added again is stored once at most).
            store.open();
            outcome->refreshed.settled = store.settledAdds();
        },
        [this, outcome] {
            const Status &stored = outcome->stored;
            if (!stored.ok()) {
                // Nothing was stored, or on a server perhaps nothing: say so
                // and why, and keep the typed entry.
                const bool unknown = stored.error.cause == FailureCause::OutcomeUnknown;
                m_desktop.windows.messageBox(
                    failureText(unknown ? addOutcomeUnknown() : addNotStored(), stored.error),
                    MsgOk);
                reportSettledAdds(outcome->refreshed.settled);
                return;
            }
            m_desktop.windows.messageBox(addStored(), MsgOkInformation, addStoredTitle());
            clearFields();
            showRefreshedAfterChange(outcome->refreshed);
            Q_EMIT entriesChanged();
        });
}

void MainWindow::deleteByName()
{
    if (m_worker.busy())
        return;
    if (m_controls.nameBox->text().isEmpty()) {
        m_desktop.windows.messageBox(deleteNeedsName(), MsgOk);
        m_controls.nameBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    struct Outcome
    {
        Status deleted;
        Refreshed refreshed;
    };
    auto outcome = std::make_shared<Outcome>();
    const QString name = m_controls.nameBox->text();
    EditHistory &history = m_history;
    m_worker.post(
        [outcome, name, &history](ContactStore &store) {
            outcome->deleted = store.queryByName(name);
            if (outcome->deleted.ok())
                outcome->deleted = store.deleteFirstMatch();
            if (!outcome->deleted.ok())
                return;
            // Kept among the recently deleted, it can be undone.
            if (const DeletedEntry &deleted = store.lastDeleted(); deleted.id != 0)
                history.recordDelete({deleted.keyed()}, {deleted.id});
            outcome->refreshed = refresh(store);
        },
        [this, outcome] {
            const Status &deleted = outcome->deleted;
            if (deleted.error.cause == FailureCause::NotFound) {
                m_desktop.windows.messageBox(deleteNotFound(), MsgOk);
                clearFields();
                return;
            }
            if (!deleted.ok()) {
                m_desktop.windows.messageBox(failureText(deleteFailed(), deleted.error), MsgOk);
                return;
            }
            clearFields();
            showRefreshedAfterChange(outcome->refreshed);
            Q_EMIT entriesChanged();
        });
}

void MainWindow::refreshAfterChange()
{
    auto refreshed = std::make_shared<Refreshed>();
    // While an operation runs, its own end shows the count again.
    m_worker.post([refreshed](ContactStore &store) { *refreshed = refresh(store); },
                  [this, refreshed] { showRefreshedAfterChange(*refreshed); });
}

void MainWindow::undo()
{
    runHistory(true);
}

void MainWindow::redo()
{
    runHistory(false);
}

void MainWindow::runHistory(bool undo)
{
    if (m_worker.busy())
        return;
    struct Outcome
    {
        Result<EditOutcome> step;
        Refreshed refreshed;
    };
    auto outcome = std::make_shared<Outcome>();
    EditHistory &history = m_history;
    m_worker.post(
        [outcome, undo, &history](ContactStore &store) {
            outcome->step = undo ? history.undo(store) : history.redo(store);
            if (outcome->step.ok() && outcome->step.value.step && !outcome->step.value.refused)
                outcome->refreshed = refresh(store);
        },
        [this, outcome, undo] {
            const Result<EditOutcome> &step = outcome->step;
            if (!step.ok()) {
                m_desktop.windows.messageBox(
                    failureText(undo ? undoFailed() : redoFailed(), step.error), MsgOk);
                return;
            }
            if (!step.value.step) {
                m_desktop.windows.messageBox(undo ? undoNothing() : redoNothing(), MsgOk);
                return;
            }
            if (step.value.refused) {
                m_desktop.windows.messageBox(
                    (undo ? undoRefused() : redoRefused()).arg(stepText(step.value)), MsgOk);
                return;
            }
            showRefreshedAfterChange(outcome->refreshed);
            Q_EMIT entriesChanged();
            m_desktop.windows.messageBox((undo ? undoDone() : redoDone()).arg(stepText(step.value)),
                                         MsgOkInformation);
        });
}

void MainWindow::showRefreshedAfterChange(const Refreshed &refreshed)
{
    // The change itself is done; only the count could not be shown again.
    showRefreshed(refreshed);
    if (!refreshed.count.ok())
        m_desktop.windows.messageBox(failureText(refreshFailed(), refreshed.count.error), MsgOk);
}

void MainWindow::confirmExit()
{
    // Over this window, even when the window manager closes it while another
    // of the program's windows is active.
    if (m_desktop.windows.messageBox(exitQuestion(), MsgYesNoQuestion, exitTitle(), this)
        == AnswerYes)
        m_desktop.windows.endProgram();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closed by the window system (the window has no close box): ask as the
    // exit button does, and stay open on No.
    event->ignore();
    confirmExit();
}

void MainWindow::tick()
{
    const QDateTime now = m_desktop.clock.now();
    m_controls.clockLabel->setText(generalDateText(now));
    m_controls.clockTimer->start(1000 - now.time().msec() + 1);
}

} // namespace dialvault
