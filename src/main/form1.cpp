#include "main/form1.h"

#include "button/fontobject.h"
#include "button/paintedbutton.h"
#include "button/propertybag.h"
#include "layout/dialogkeys.h"
#include "layout/failurewords.h"
#include "layout/formlabel.h"
#include "layout/services.h"
#include "layout/twips.h"
#include "layout/unhandledfailure.h"
#include "main/clocktext.h"
#include "main/form1texts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace dialvault {

namespace {

using namespace form1texts;

FontObject windowFont()
{
    FontObject font;
    font.name = QStringLiteral("Tahoma");
    font.size = 8.25;
    font.charset = 178;
    return font;
}

QLabel *makeLabel(QWidget *parent, const QString &text, const QRect &geometry,
                  QColor colour = QColor(0xC0, 0xFF, 0xFF))
{
    auto *label = new FormLabel(text, colour, parent);
    label->setGeometry(geometry);
    return label;
}

QLineEdit *makeBox(QWidget *parent, const QRect &geometry, const QString &tip = {})
{
    auto *box = new QLineEdit(parent);
    box->setGeometry(geometry);
    box->setToolTip(tip);
    box->setCursor(Qt::CrossCursor);
    return box;
}

// Every button of this window carries the same stored settings but for its
// caption, kept as the layout keeps them (lower-case keys).
PaintedButton *makeButton(QWidget *parent, const QString &caption, const QRect &geometry,
                          const QString &tip)
{
    PropertyBag bag;
    bag.write(QStringLiteral("_extentx"), 2461);
    bag.write(QStringLiteral("_extenty"), 661);
    bag.write(QStringLiteral("btype"), 3);
    bag.write(QStringLiteral("tx"), caption);
    bag.write(QStringLiteral("enab"), true);
    bag.write(QStringLiteral("font"), QVariant::fromValue(windowFont()));
    bag.write(QStringLiteral("coltype"), 1);
    bag.write(QStringLiteral("focusr"), true);
    bag.write(QStringLiteral("bcol"), 0xC0C0C0);
    bag.write(QStringLiteral("fcol"), 0);
    auto *button = new PaintedButton(parent);
    button->readProperties(bag);
    button->setGeometry(geometry);
    button->setToolTip(tip);
    return button;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , store_(services().programFolder())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Dialvault"));
    setFixedSize(twipsToPixels(6195), twipsToPixels(3585));
    setLayoutDirection(Qt::LeftToRight);
    setFont(windowFont().toQFont());
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    setPalette(colours);

    // Created in tab order, so the focus chain follows it.
    Label1 = makeLabel(this, labelName, twipsRect(5160, 960, 615, 255));
    Text1 = makeBox(this, twipsRect(2040, 960, 2655, 285), tipName);
    Text2 = makeBox(this, twipsRect(2040, 1320, 2655, 285), tipPhone);
    Text3 = makeBox(this, twipsRect(2040, 1680, 2655, 285));
    Text3->setText(QStringLiteral(" "));
    paintedButton1 = makeButton(this, captionSearch, twipsRect(480, 360, 1392, 375),
                                QStringLiteral("Josto joo"));
    paintedButton2 = makeButton(this, captionClear, twipsRect(480, 1440, 1392, 375),
                                QStringLiteral("pak kardaneh filde ha"));
    Label2 = makeLabel(this, labelPhone, twipsRect(4920, 1320, 1575, 255));
    paintedButton3
        = makeButton(this, captionHelp, twipsRect(480, 1800, 1392, 375), QStringLiteral("rahnama"));
    paintedButton4 = makeButton(this, captionAbout, twipsRect(480, 2520, 1392, 375),
                                QStringLiteral("Moarefi barnameh"));
    paintedButton6
        = makeButton(this, captionExit, twipsRect(480, 2880, 1395, 375), QStringLiteral("khoroj"));
    Label4 = makeLabel(this, QStringLiteral("Label4"), twipsRect(3600, 3000, 2415, 255),
                       QColor(0xFF, 0xFF, 0x00));
    Label5 = makeLabel(this, labelNote, twipsRect(5040, 1680, 735, 255));
    Label6 = makeLabel(this, labelCount, twipsRect(3600, 2040, 2175, 255));
    Text5 = makeBox(this, twipsRect(2040, 2040, 615, 285));
    Text5->setCursor(Qt::ArrowCursor);
    Text5->setEnabled(false);
    FontObject countFont = windowFont();
    countFont.name = QStringLiteral("MS Sans Serif");
    Text5->setFont(countFont.toQFont());
    paintedButton7 = makeButton(this, captionList, twipsRect(480, 2160, 1392, 375),
                                QStringLiteral("Liste moshtarak ha"));
    paintedButton5 = makeButton(this, captionAdd, twipsRect(480, 720, 1392, 375),
                                QStringLiteral("Ezafeh kardane shomare"));
    paintedButton8 = makeButton(this, captionDelete, twipsRect(480, 1080, 1392, 375),
                                QStringLiteral("pak kardan az List"));

    const QList<QWidget *> tabOrder{Text1,          Text2,          Text3,          paintedButton1,
                                    paintedButton2, paintedButton3, paintedButton4, paintedButton6,
                                    paintedButton7, paintedButton5, paintedButton8};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    DialogKeys::install(this, paintedButton1, paintedButton6);

    connect(paintedButton1, &PaintedButton::Click, this, &Form1::search);
    connect(paintedButton2, &PaintedButton::Click, this, &Form1::ClearFields);
    connect(paintedButton5, &PaintedButton::Click, this, &Form1::add);
    connect(paintedButton6, &PaintedButton::Click, this, &Form1::confirmExit);
    connect(paintedButton8, &PaintedButton::Click, this, &Form1::deleteByName);

    // The clock only needs to wake when the shown second changes, so it
    // sleeps until just past each second boundary rather than ticking
    // every millisecond.
    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &Form1::tick);
    Timer1.start(1);
}

Form1::~Form1() = default;

bool Form1::start()
{
    const Status opened = RefreshMain();
    if (!opened.ok()) {
        reportUnhandledFailure(failureText(startupFailed, opened.error, store_.databasePath()));
        return false;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    services().showWindow(this);
    Text1->setFocus(Qt::OtherFocusReason);
    return true;
}

Status Form1::RefreshMain()
{
    if (Status opened = store_.OpenStore(); !opened.ok())
        return opened;
    const Result<qint32> count = store_.CountEntries();
    if (count.ok())
        Text5->setText(QString::number(count.value));
    return count;
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
    Status found = store_.QueryByName(Text1->text());
    Result<PhoneAndNote> match;
    if (found.ok()) {
        match = store_.ReadFirstMatch();
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
    store_.CloseRecordset();
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
        stored = store_.AppendEntry({Text1->text(), Text2->text(), Text3->text(), shownCount + 1});
    else
        stored.error = {13, QStringLiteral("Type mismatch"), FailureCause::Other};
    if (!stored.ok()) {
        // Nothing was stored: say so and why, keep the typed entry, and go on
        // with a freshly opened table so the next try can succeed.
        services().messageBox(failureText(addNotStored, stored.error), MsgOk);
        store_.OpenStore();
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
    Status deleted = store_.QueryByName(Text1->text());
    if (deleted.ok())
        deleted = store_.DeleteFirstMatch();
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
    Timer1.start(1000 - now.time().msec() + 1);
}

} // namespace dialvault
