// Dragging windows on a real Wayland compositor, as a person would: the built
// program on weston, which runs in a virtual X display (tools/westontest.sh)
// whose pointer xdotool moves and presses. Where the windows stand is read
// back from the compositor's screenshots.
#include "button/paintedbutton.h"
#include "main/mainwindow.h"
#include "support/compositorscreen.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/contactlistwindow.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace dialvault;

namespace {

const QString westonDir = QStringLiteral(DIALVAULT_WESTON_X11_DIR);
// Weston's screen (tools/westontest.sh), at the virtual display's top left.
const QSize screen(1280, 1024);

} // namespace

class TestCompositorDrag : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QProcess program;
    QString display;

    QString runtime() const { return westonDir + QStringLiteral("/runtime"); }

    // The pointer of the virtual display, which weston's window fills, given
    // xdotool's commands ("mousemove 10 20 click 1").
    void pointer(const QString &commands)
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), commands.split(u' '));
        QVERIFY(xdotool.waitForFinished(10000));
        QCOMPARE(xdotool.exitCode(), 0);
    }

    // xdotool's commands that put the pointer at `at` on weston's screen.
    // Weston's X11 backend follows the pointer by its moves, and takes its
    // place only as it enters weston's window: so the pointer leaves that
    // window (the virtual display is larger) and comes in again where it is
    // wanted, lest the two drift apart as a grab or an edge stops it.
    static QString enter(QPoint at)
    {
        return QStringLiteral("mousemove %1 %2 sleep 0.1 mousemove %3 %4")
            .arg(screen.width() + 32)
            .arg(screen.height() + 32)
            .arg(at.x())
            .arg(at.y());
    }

    // Presses at `from` on the screen, holds still for `hold` seconds, moves
    // in steps to `from` + `by`, and lets go there.
    void drag(QPoint from, QPoint by, double hold)
    {
        QString commands
            = enter(from) + QStringLiteral(" sleep 0.2 mousedown 1 sleep %3").arg(hold);
        for (int step = 1; step <= 8; ++step) {
            const QPoint at = from + by * step / 8;
            commands += QStringLiteral(" sleep 0.05 mousemove %1 %2").arg(at.x()).arg(at.y());
        }
        pointer(commands + QStringLiteral(" sleep 0.2 mouseup 1"));
    }

    // Drags the window whose picture is `picture`, standing at `at`, to
    // `to`, pressing at `grip` inside it; true once it stands there. The
    // compositor moves the window from the moment the program asks, which is
    // when it has read the press: on a loaded machine that may be late, after
    // part of the pointer's way or after the button is up, and the window
    // then stops short. A person drags again from where it stands, holding
    // the button a little longer; so does the test.
    bool dragWindow(const QString &picture, const QRect &bare, QPoint at, QPoint grip, QPoint to)
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            drag(at + grip, to - at, 0.3 + attempt);
            if (QTest::currentTestFailed())
                return false;
            // Where it stands once it no longer moves.
            std::optional<QPoint> now = windowAt(picture, bare);
            for (QDeadlineTimer deadline(5000); now != to && !deadline.hasExpired();) {
                QTest::qWait(300);
                const std::optional<QPoint> later = windowAt(picture, bare);
                if (later == now)
                    break;
                now = later;
            }
            if (now == to)
                return true;
            if (!now)
                return false;
            at = *now;
        }
        return false;
    }

    // Where the window whose picture is `picture` stands on the screen:
    // found by a part of the picture that no control covers.
    std::optional<QPoint> windowAt(const QString &picture, const QRect &bare)
    {
        const QImage part = QImage(picture).copy(bare);
        std::optional<QPoint> found = findIn(compositorScreenshot(runtime()), part);
        if (found)
            *found -= bare.topLeft();
        return found;
    }

    // A move of `window` that keeps it on weston's screen.
    static QPoint moveFor(QPoint window)
    {
        return QPoint(window.x() > 600 ? -240 : 240, window.y() > 450 ? -170 : 170);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QFile number(westonDir + QStringLiteral("/display"));
        QVERIFY(number.open(QIODevice::ReadOnly));
        display = u':' + QString::fromLatin1(number.readAll().trimmed());
        makeEmptyDatabase(dir.path());

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-dialvault"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
        environment.remove(QStringLiteral("DISPLAY"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(DIALVAULT_PROGRAM),
                      {QStringLiteral("--data-dir"), dir.path()});
        QVERIFY(program.waitForStarted());
    }
    void cleanupTestCase()
    {
        program.kill();
        program.waitForFinished(5000);
    }

    // The main window, then the list it opens: each pressed on its own
    // surface and dragged, each where the pointer let it go.
    void windowsMoveWithThePointer()
    {
        FakeDesktop fake;
        fake.folder = dir.path();
        MainWindow main(fake.desktop());
        ContactListWindow list(fake.desktop());
        const QString mainPicture = QStringLiteral(":/form1.jpg");
        const QRect mainBare(140, 8, 260, 48); // the title, above the boxes
        const QString listPicture = QStringLiteral(":/form5.jpg");
        const QRect listBare(20, 6, 450, 24); // above the find box

        std::optional<QPoint> at;
        QTRY_VERIFY_WITH_TIMEOUT((at = windowAt(mainPicture, mainBare)).has_value(), 60000);
        QPoint by = moveFor(*at);
        QVERIFY(dragWindow(mainPicture, mainBare, *at, QPoint(15, 120), *at + by));
        const QPoint mainMoved = *at + by;

        const QPoint listButton = mainMoved + main.controls().listButton->geometry().center();
        pointer(enter(listButton) + QStringLiteral(" sleep 0.2 click 1"));
        QTRY_VERIFY_WITH_TIMEOUT((at = windowAt(listPicture, listBare)).has_value(), 60000);
        by = moveFor(*at);
        QVERIFY(dragWindow(listPicture, listBare, *at, QPoint(8, list.height() / 2), *at + by));
    }
};

QTEST_MAIN(TestCompositorDrag)
#include "tst_compositordrag.moc"
