// The windows on a screen of two device pixels to a pixel: the grid's lines,
// the button captions, the pictures and the cursors, read back from what the
// widgets draw.
#include "button/paintedbutton.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "windows/contactgrid.h"
#include "windows/contactlistwindow.h"
#include "windows/helpwindow.h"

#include <QApplication>
#include <QSet>
#include <QtTest>

using namespace dialvault;

class TestHighDpi : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDesktop> fake;

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        fake = std::make_unique<FakeDesktop>();
        fake->folder = dir->path();
        makeEmptyDatabase(dir->path());
    }
    void cleanup()
    {
        fake.reset();
        dir.reset();
    }

    void gridLinesAreRedAndAWholePixelWide()
    {
        insertRow(QDir(dir->path()).filePath(QStringLiteral("db1.mdb")),
                  {QStringLiteral("مريم"), QStringLiteral("021"), QString(), 1});
        ContactListWindow list(fake->desktop());
        fake->showWindow(&list);
        ContactGrid *grid = list.grid();
        QTRY_COMPARE(grid->model()->rowCount(), 1);
        const QImage drawn = grid->viewport()->grab().toImage();
        QCOMPARE(drawn.devicePixelRatio(), 2.0);

        const QRect cell = grid->cellRect(0, 0);
        const int middleY = 2 * cell.center().y();
        const int middleX = 2 * cell.center().x();
        // The line is the cell's last pixel: both of its device pixels red,
        // and the cell's own colour on either side.
        for (const int x : {2 * cell.right(), 2 * cell.right() + 1})
            QCOMPARE(QColor(drawn.pixel(x, middleY)), QColor(Qt::red));
        for (const int y : {2 * cell.bottom(), 2 * cell.bottom() + 1})
            QCOMPARE(QColor(drawn.pixel(middleX, y)), QColor(Qt::red));
        const QRgb inside = drawn.pixel(2 * cell.left() + 2, middleY);
        QCOMPARE(drawn.pixel(2 * cell.right() - 1, middleY), inside);
        QCOMPARE(drawn.pixel(2 * cell.right() + 2, middleY), inside);
    }

    void captionsAreSmoothed()
    {
        PaintedButton button;
        button.resize(90, 24);
        button.setCaption(QStringLiteral("جستجو"));
        const QImage drawn = button.grab().toImage();
        QCOMPARE(drawn.size(), QSize(180, 48));
        const QRgb face = drawn.pixel(20, 24);
        QSet<QRgb> ink;
        for (int y = 10; y < 38; ++y) {
            for (int x = 10; x < 170; ++x) {
                if (drawn.pixel(x, y) != face)
                    ink.insert(drawn.pixel(x, y));
            }
        }
        QVERIFY2(ink.size() > 2, qPrintable(QString::number(ink.size())));
    }

    void picturesAndCursorsAreDrawnAtTwiceTheSize()
    {
        HelpWindow help(fake->desktop());
        fake->showWindow(&help);
        const QImage drawn = help.grab().toImage();
        // The heading's lettering, above the help's labels.
        const QRect heading(200, 60, 228, 80);
        const QImage twice(QStringLiteral(":/form2@2x.jpg"));
        QCOMPARE(drawn.copy(heading), twice.convertToFormat(drawn.format()).copy(heading));
        QCOMPARE(help.cursor().pixmap().devicePixelRatio(), 2.0);
        QCOMPARE(help.cursor().pixmap().size(), QSize(64, 64));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
