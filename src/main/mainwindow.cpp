#include "main/mainwindow.h"

#include "button/paintedbutton.h"
#include "desktop/failurewords.h"
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
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace dialvault {

using namespace mainwindowtexts;

namespace {

// `work`, which waits on the disk, run on a thread of its own while the
// window's events go on.
template <typename T>
T awaitOffThread(const std::function<T()> &work)
{
    T result;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = work(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}

} // namespace

MainWindow::MainWindow(const Desktop &desktop)
    : FormWindow(mainWindowLayout(), desktop.windows)
    , m_desktop(desktop)
    , m_store(desktop.phoneBook.source())
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
    connect(c.listButton, &PaintedButton::Click, this,
            [this] { showSingle<ContactListWindow>(m_desktop, this); });

    // The clock only needs to wake when the shown second changes, so it
    // sleeps until just past each second boundary rather than ticking
    // every millisecond.
    c.clockTimer->setSingleShot(true);
    c.clockTimer->setTimerType(Qt::PreciseTimer);
    connect(c.clockTimer, &QTimer::timeout, this, &MainWindow::tick);
    c.clockTimer->start();

    // Contacts files dropped on the window go into its phone book; the count
    // shows them.
    ContactsDrop::install(this, m_desktop.windows, m_store.source(), importSizeLimit(),
                          [this] { refreshAfterChange(); });
}

MainWindow::~MainWindow() = default;

bool MainWindow::start()
{
    Status opened = refreshMain();
    if (opened.error.cause == FailureCause::ForeignSchema && !m_store.source().isServer()
        && !repairAtStart(opened))
        return false;
    if (!opened.ok()) {
        reportUnhandledFailure(m_desktop.windows,
                               failureText(startupFailed(), opened.error, m_store.source()));
        return false;
    }
    m_desktop.windows.showWindow(this);
    m_controls.nameBox->setFocus(Qt::OtherFocusReason);
    return true;
}

bool MainWindow::repairAtStart(Status &opened)
{
    const PhoneBookSource source = m_store.source();
    const QString question = failureText(startupFailed(), opened.error, source)
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
    opened = refreshMain();
    return true;
}

Status MainWindow::refreshMain()
{
    if (Status opened = m_store.open(); !opened.ok())
        return opened;
    const Result<qint32> count = m_store.countEntries();
    if (count.ok())
        m_controls.countBox->setText(QString::number(count.value));
    reportSettledAdds();
    return count;
}

void MainWindow::reportSettledAdds()
{
    for (const SettledAdd &settled : m_store.settledAdds())
        m_desktop.windows.messageBox(addSettled().arg(settled.entry.name), MsgOkInformation,
                                     addStoredTitle());
}

qint64 MainWindow::importSizeLimit() const
{
    return importLimitOf(m_desktop.settings.read(importLimitSettingName));
}

void MainWindow::clearFields()
{
    m_controls.nameBox->setText(QString());
    m_controls.phoneBox->setText(QString());
    m_controls.noteBox->setText(QString());
}

void MainWindow::search()
{
    if (m_controls.nameBox->text().isEmpty()) {
        m_desktop.windows.messageBox(searchNeedsName(), MsgOk);
        m_controls.nameBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    Status found = m_store.queryByName(m_controls.nameBox->text());
    Result<PhoneAndNote> match;
    if (found.ok()) {
        match = m_store.readFirstMatch();
        found = match;
    }
    if (found.error.cause == FailureCause::NotFound) {
        m_desktop.windows.messageBox(searchNotFound(), MsgOk);
        clearFields();
        return;
    }
    if (!found.ok()) {
        // The boxes must not show the previous entry's number and note beside
        // the name just asked for.
        m_controls.phoneBox->setText(QString());
        m_controls.noteBox->setText(QString());
        m_desktop.windows.messageBox(failureText(searchFailed(), found.error), MsgOk);
        return;
    }
    m_controls.phoneBox->setText(match.value.phone);
    m_controls.noteBox->setText(match.value.note);
    m_store.closeResult();
    refreshAfterChange();
}

void MainWindow::add()
{
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
    Status stored;
    if (counted)
        stored = m_store.appendEntry({m_controls.nameBox->text(), m_controls.phoneBox->text(),
                                      m_controls.noteBox->text(), shownCount + 1});
    else
        stored.error = {13, QStringLiteral("Type mismatch"), FailureCause::Other};
    if (!stored.ok()) {
        // Nothing was stored, or on a server perhaps nothing: say so and why,
        // keep the typed entry, and go on with a freshly opened table so the
        // next try can succeed (on a server, the same entry added again is
        // stored once at most).
        const bool unknown = stored.error.cause == FailureCause::OutcomeUnknown;
        m_desktop.windows.messageBox(
            failureText(unknown ? addOutcomeUnknown() : addNotStored(), stored.error), MsgOk);
        m_store.open();
        reportSettledAdds();
        return;
    }
    m_desktop.windows.messageBox(addStored(), MsgOkInformation, addStoredTitle());
    clearFields();
    refreshAfterChange();
}

void MainWindow::deleteByName()
{
    if (m_controls.nameBox->text().isEmpty()) {
        m_desktop.windows.messageBox(deleteNeedsName(), MsgOk);
        m_controls.nameBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    Status deleted = m_store.queryByName(m_controls.nameBox->text());
    if (deleted.ok())
        deleted = m_store.deleteFirstMatch();
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
    refreshAfterChange();
}

void MainWindow::refreshAfterChange()
{
    // The change itself is done; only the count could not be shown again.
    if (const Status refreshed = refreshMain(); !refreshed.ok())
        m_desktop.windows.messageBox(failureText(refreshFailed(), refreshed.error), MsgOk);
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
