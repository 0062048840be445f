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

    // Hundreds of entries over many pages, some with notes of many lines:
    // every page numbered in turn, every name and every word of every note
    // on one of them, none cut at a page's foot.
    void longListsWrapAndNumberTheirPages()
    {
        ContactListRows rows;
        QStringList words;
        for (int i = 0; i < 60; ++i)
            words << QStringLiteral("واژه%1").arg(i);
        for (int i = 0; i < 300; ++i) {
            rows.append(
                {QStringLiteral("نام%1").arg(i), QStringLiteral("0912 %1").arg(i),
                 i % 10 == 0 ? words.join(u' ') + QStringLiteral(" پایان%1").arg(i) : QString(),
                 QString::number(i + 1)});
        }
        const QString path = dir.filePath(QStringLiteral("long.pdf"));
        const Result<qint64> written
            = writeListPdf(path, rowsOf(rows), {QStringLiteral("ليست مشترك ها"), {}, {}});
        QVERIFY(written.ok());
        QCOMPARE(written.value, 300);
        const QStringList pages = pagesText(path);
        QVERIFY(pages.size() > 3);
        QString all;
        for (qsizetype page = 0; page < pages.size(); ++page) {
            QVERIFY2(pages.at(page).contains(QStringLiteral("صفحه %1").arg(page + 1)),
                     qPrintable(pages.at(page)));
            all += pages.at(page);
        }
        all.remove(u' ').remove(u'\n');
        for (int i = 0; i < 300; ++i) {
            QVERIFY2(all.contains(QStringLiteral("نام%1").arg(i)), qPrintable(QString::number(i)));
            if (i % 10 == 0)
                QVERIFY2(all.contains(QStringLiteral("پایان%1").arg(i)),
                         qPrintable(QString::number(i)));
        }
        for (const QString &word : std::as_const(words))
            QVERIFY2(all.count(word) >= 30, qPrintable(word));
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
