#include "main/form1.h"

#include "button/paintedbutton.h"
#include "layout/failurewords.h"
#include "layout/layoutdata.h"
#include "layout/services.h"
#include "layout/unhandledfailure.h"
#include "main/clocktext.h"
#include "main/form1texts.h"
#include "windows/contactsdrop.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/form5.h"
#include "windows/singlewindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace dialvault {

using namespace form1texts;

Form1::Form1()
    : FormWindow(form1Layout())
    , store_(services().phoneBookSource())
{
    Label1 = control<QLabel>(QStringLiteral("Label1"));
    Label2 = control<QLabel>(QStringLiteral("Label2"));
    Label4 = control<QLabel>(QStringLiteral("Label4"));
    Label5 = control<QLabel>(QStringLiteral("Label5"));
    Label6 = control<QLabel>(QStringLiteral("Label6"));
    Text1 = control<QLineEdit>(QStringLiteral("Text1"));
    Text2 = control<QLineEdit>(QStringLiteral("Text2"));
    Text3 = control<QLineEdit>(QStringLiteral("Text3"));
    Text5 = control<QLineEdit>(QStringLiteral("Text5"));
    paintedButton1 = control<PaintedButton>(QStringLiteral("paintedButton1"));
    paintedButton2 = control<PaintedButton>(QStringLiteral("paintedButton2"));
    paintedButton3 = control<PaintedButton>(QStringLiteral("paintedButton3"));
    paintedButton4 = control<PaintedButton>(QStringLiteral("paintedButton4"));
    paintedButton5 = control<PaintedButton>(QStringLiteral("paintedButton5"));
    paintedButton6 = control<PaintedButton>(QStringLiteral("paintedButton6"));
    paintedButton7 = control<PaintedButton>(QStringLiteral("paintedButton7"));
    paintedButton8 = control<PaintedButton>(QStringLiteral("paintedButton8"));
    Timer1 = control<QTimer>(QStringLiteral("Timer1"));

    connect(paintedButton1, &PaintedButton::Click, this, &Form1::search);
    connect(paintedButton2, &PaintedButton::Click, this, &Form1::ClearFields);
    connect(paintedButton5, &PaintedButton::Click, this, &Form1::add);
    connect(paintedButton6, &PaintedButton::Click, this, &Form1::confirmExit);
    connect(paintedButton8, &PaintedButton::Click, this, &Form1::deleteByName);
    connect(paintedButton3, &PaintedButton::Click, this, [] { showSingle<Form2>(); });
    connect(paintedButton4, &PaintedButton::Click, this, [] { showSingle<Form3>(); });
    connect(paintedButton7, &PaintedButton::Click, this, [] { showSingle<Form5>(); });

    // The clock only needs to wake when the shown second changes, so it
    // sleeps until just past each second boundary rather than ticking
    // every millisecond.
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &Form1::tick);
    Timer1->start();

    // Contacts files dropped on the window go into its phone book; the count
    // shows them.
    ContactsDrop::install(
        this, [this] { return store_.source(); }, [this] { refreshAfterChange(); });
}

Form1::~Form1() = default;

bool Form1::start()
{
    const Status opened = RefreshMain();
    if (!opened.ok()) {
        reportUnhandledFailure(failureText(startupFailed, opened.error, store_.source()));
        return false;
    }
    services().showWindow(this);
    Text1->setFocus(Qt::OtherFocusReason);
    return true;
}

Status Form1::RefreshMain()
{
    if (Status opened = store_.open(); !opened.ok())
        return opened;
    const Result<qint32> count = store_.countEntries();
    if (count.ok())
        Text5->setText(QString::number(count.value));
    reportSettledAdds();
    return count;
}

void Form1::reportSettledAdds()
{
    for (const SettledAdd &settled : store_.settledAdds())
        services().messageBox(addSettled.arg(settled.entry.name), MsgOkInformation, addStoredTitle);
}

void Form1::ClearFields()
{
    Text1->setText(QString());
    Text2->setText(QString());
    Text3->setText(QString());
}

void Form1::search()
{
    if (Text1->text().isEmpty()) {
        services().messageBox(searchNeedsName, MsgOk);
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    Status found = store_.queryByName(Text1->text());
    Result<PhoneAndNote> match;
    if (found.ok()) {
        match = store_.readFirstMatch();
        found = match;
    }
    if (found.error.cause == FailureCause::NotFound) {
        services().messageBox(searchNotFound, MsgOk);
        ClearFields();
        return;
    }
    if (!found.ok()) {
        // The boxes must not show the previous entry's number and note beside
        // the name just asked for.
        Text2->setText(QString());
        Text3->setText(QString());
        services().messageBox(failureText(searchFailed, found.error), MsgOk);
        return;
    }
    Text2->setText(match.value.phone);
    Text3->setText(match.value.note);
    store_.closeResult();
    refreshAfterChange();
}

void Form1::add()
{
    if (Text1->text().isEmpty()) {
        services().messageBox(addNeedsName, MsgOk);
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (Text2->text().isEmpty()) {
        services().messageBox(addNeedsPhone, MsgOk);
        Text2->setFocus(Qt::OtherFocusReason);
        return;
    }
    bool counted = false;
    const double shownCount = Text5->text().toDouble(&counted);
    Status stored;
    if (counted)
        stored = store_.appendEntry({Text1->text(), Text2->text(), Text3->text(), shownCount + 1});
    else
        stored.error = {13, QStringLiteral("Type mismatch"), FailureCause::Other};
    if (!stored.ok()) {
        // Nothing was stored, or on a server perhaps nothing: say so and why,
        // keep the typed entry, and go on with a freshly opened table so the
        // next try can succeed (on a server, the same entry added again is
        // stored once at most).
        const bool unknown = stored.error.cause == FailureCause::OutcomeUnknown;
        services().messageBox(failureText(unknown ? addOutcomeUnknown : addNotStored, stored.error),
                              MsgOk);
        store_.open();
        reportSettledAdds();
        return;
    }
    services().messageBox(addStored, MsgOkInformation, addStoredTitle);
    ClearFields();
    refreshAfterChange();
}

void Form1::deleteByName()
{
    if (Text1->text().isEmpty()) {
        services().messageBox(deleteNeedsName, MsgOk);
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    Status deleted = store_.queryByName(Text1->text());
    if (deleted.ok())
        deleted = store_.deleteFirstMatch();
    if (deleted.error.cause == FailureCause::NotFound) {
        services().messageBox(deleteNotFound, MsgOk);
        ClearFields();
        return;
    }
    if (!deleted.ok()) {
        services().messageBox(failureText(deleteFailed, deleted.error), MsgOk);
        return;
    }
    ClearFields();
    refreshAfterChange();
}

void Form1::refreshAfterChange()
{
    // The change itself is done; only the count could not be shown again.
    if (const Status refreshed = RefreshMain(); !refreshed.ok())
        services().messageBox(failureText(refreshFailed, refreshed.error), MsgOk);
}

void Form1::confirmExit()
{
    if (services().messageBox(exitQuestion, MsgYesNoQuestion, exitTitle) == AnswerYes)
        services().endProgram();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closed by the window system (the window has no close box): ask as the
    // exit button does, and stay open on No.
    event->ignore();
    confirmExit();
}

void Form1::tick()
{
    const QDateTime now = services().now();
    Label4->setText(generalDateText(now));
    Timer1->start(1000 - now.time().msec() + 1);
}

} // namespace dialvault
