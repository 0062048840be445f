// The printed list: a PDF whose text reads back as the entries that were
// printed, every letter of every name, over as many pages as they take.
#include "printing/listpdf.h"
#include "printing/printedlist.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace dialvault;

namespace {

// The rows of `entries`, as a list's view hands them out.
PrintedRows rowsOf(const ContactListRows &entries)
{
    return {entries.size(), [entries](qint64 first, int count) {
                Result<ContactListRows> rows;
                rows.value = entries.mid(first, count);
                return rows;
            }};
}

// The text of a PDF's pages as a reader extracts it, one string per page:
// presentation forms as the letters they show, without the direction marks
// the extractor adds nor the joiners that draw nothing.
QStringList pagesText(const QString &pdf)
{
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!extract.waitForFinished(60000) || extract.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(extract.readAllStandardOutput()).split(u'\f');
    for (QString &page : pages) {
        page = page.normalized(QString::NormalizationForm_KC);
        page.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    }
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString withoutJoiners(QString text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    return text;
}

} // namespace

class TestPrintedList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private Q_SLOTS:
    void namesReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Arabic yeh, medial and final") << QStringLiteral("علي رضايي");
        QTest::newRow("Persian yeh beside it") << QStringLiteral("علی رضایی");
        QTest::newRow("letters of dots") << QStringLiteral("پريسا ژاله چنگيز گلي");
        QTest::newRow("keheh and kaf") << QStringLiteral("کاظم كاظم کیکاووس");
        QTest::newRow("lam alef") << QStringLiteral("لاله غلام");
        QTest::newRow("zero-width non-joiner") << QStringLiteral("زهرا نیک‌نام");
        QTest::newRow("hamza forms") << QStringLiteral("آیدا إبراهیم أحمد مؤمن ئیل");
        QTest::newRow("Persian digits") << QStringLiteral("اتاق ۱۲۳");
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("واحد ٤٥٦");
        QTest::newRow("Latin digits") << QStringLiteral("طبقه 789");
        QTest::newRow("Latin") << QStringLiteral("Sara Karimi");
        QTest::newRow("repeated letters") << QStringLiteral("يحيي یحیی ییی ببب پپپ");
    }
    void namesReadBack()
    {
        QFETCH(QString, name);
        const QString path = dir.filePath(QStringLiteral("names.pdf"));
        ContactListRows rows{{name, QStringLiteral("0912 000 1234"), QString(), QString()}};
        const Result<qint64> written
            = writeListPdf(path, rowsOf(rows), {QStringLiteral("ليست مشترك ها"), {}, {}});
        QVERIFY(written.ok());
        QCOMPARE(written.value, 1);
        const QStringList pages = pagesText(path);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages.first().contains(withoutJoiners(name)), qPrintable(pages.first()));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestPrintedList test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printedlist.moc"
