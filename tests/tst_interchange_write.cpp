// Writing vCard and CSV contacts files: their exact shape, folding, write
// failures, and export then import giving back every entry value for value.
#include "interchange/contactsfile.h"
#include "interchange/csvwriter.h"
#include "interchange/duplicatekey.h"
#include "interchange/vcardwriter.h"

#include <QBuffer>
#include <QTest>

using namespace dialvault;

using Entries = QList<ImportedEntry>;

namespace QTest {
template <>
char *toString(const ImportedEntry &entry)
{
    return QTest::toString(
        QStringLiteral("{%1 | %2 | %3}").arg(entry.name, entry.phone, entry.note));
}
} // namespace QTest

namespace {

enum class Format { Csv, VCard3, VCard4 };

} // namespace

Q_DECLARE_METATYPE(Format)
Q_DECLARE_METATYPE(dialvault::ContactEntry)

namespace {

QByteArray written(Format format, const QList<ContactEntry> &entries)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == Format::Csv) {
        CsvWriter writer(buffer);
        for (const ContactEntry &entry : entries)
            writer.write(entry);
        writer.finish();
    } else {
        VCardWriter writer(buffer, format == Format::VCard3 ? VCardVersion::V3 : VCardVersion::V4);
        for (const ContactEntry &entry : entries)
            writer.write(entry);
        writer.finish();
    }
    return buffer.data();
}

// Texts that break naive writers and readers.
QString longText()
{
    const QString pieces[] = {QStringLiteral("نیک\u200Cنام "),
                              QStringLiteral("😀"),
                              QStringLiteral("\"q\""),
                              QStringLiteral(",;\\"),
                              QStringLiteral("\r\n"),
                              QStringLiteral("\n"),
                              QStringLiteral("\t"),
                              QStringLiteral("a")};
    QString text;
    for (int i = 0; text.size() < 10000; ++i)
        text += pieces[(i * 7) % 8];
    return text.left(10000);
}

QList<ContactEntry> hostileEntries()
{
    return {
        {QStringLiteral("Quote \"q\", comma; semi"), QStringLiteral("+98 (912) 555-0101"),
         QStringLiteral("back\\slash \\n is not a break\\"), 1},
        {QStringLiteral("two\nlines"), QStringLiteral("0912;1,2"),
         QStringLiteral("one\r\ntwo\nthree\rfour\r\n"), 2},
        {QStringLiteral("😀 emoji 👍🏽"), QStringLiteral("۰۹۱۲ ۱۲۳"),
         QStringLiteral("نیک\u200Cنام, \u200F"), 3},
        {longText(), QStringLiteral("1"), longText(), 4},
        {QString(), QStringLiteral("0912"), QString(), 5},
        {QStringLiteral("name only"), QString(), QString(), 6},
        {QString(), QString(), QStringLiteral("note only: neither name nor number"), 7},
        {QStringLiteral("  spaces  "), QStringLiteral("tel:+98-912"),
         QStringLiteral("BEGIN:VCARD\nEND:VCARD\n=0D=0A= "), 8},
        {QStringLiteral(" x"), QStringLiteral("1 ::: 2"), QStringLiteral("\ttab, =cmd"), 9},
    };
}

} // namespace

class TestInterchangeWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesHaveTheirExactShape_data();
    void filesHaveTheirExactShape();
    void linesFoldAt75OctetsOnCharacterBoundaries();
    void writeFailuresAreReported();
    void exportThenImportGivesEveryEntryBack_data();
    void exportThenImportGivesEveryEntryBack();
};

void TestInterchangeWrite::filesHaveTheirExactShape_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QList<ContactEntry>>("entries");
    QTest::addColumn<QByteArray>("bytes");

    const QList<ContactEntry> entries{
        {QStringLiteral("علی, رضا"), QStringLiteral("0912"), QStringLiteral("a;b\r\n\"c\""), 1},
        {QString(), QString(), QString(), 2.5},
    };
    const QByteArray name = QStringLiteral("علی\\, رضا").toUtf8();
    QTest::newRow("vCard 3.0") << Format::VCard3 << entries
                               << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:;" + name
            + ";;;\r\nTEL;TYPE=CELL:0912\r\nNOTE:a\\;b\\n\"c\"\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\r\nN:;;;;\r\nEND:VCARD\r\n";
    QTest::newRow("vCard 4.0") << Format::VCard4 << entries.mid(0, 1)
                               << "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:" + name + "\r\nN:;" + name
            + ";;;\r\nTEL;TYPE=cell:0912\r\nNOTE:a\\;b\\n\"c\"\r\nEND:VCARD\r\n";
    QTest::newRow("CSV") << Format::Csv << entries
                         << "\xEF\xBB\xBF" + QStringLiteral("نام,تلفن,يادداشت,رديف\r\n").toUtf8()
            + "\"" + QStringLiteral("علی, رضا").toUtf8()
            + "\",0912,\"a;b\r\n\"\"c\"\"\",1\r\n,,,2.5\r\n";
    QTest::newRow("CSV without entries")
        << Format::Csv << QList<ContactEntry>{}
        << "\xEF\xBB\xBF" + QStringLiteral("نام,تلفن,يادداشت,رديف\r\n").toUtf8();
}

void TestInterchangeWrite::filesHaveTheirExactShape()
{
    QFETCH(Format, format);
    QFETCH(QList<ContactEntry>, entries);
    QFETCH(QByteArray, bytes);
    QCOMPARE(written(format, entries), bytes);
}

void TestInterchangeWrite::linesFoldAt75OctetsOnCharacterBoundaries()
{
    // Every mix of 1-, 2-, 3- and 4-byte characters meets the fold somewhere.
    const QString characters[]
        = {QStringLiteral("a"), QStringLiteral("ب"), QStringLiteral("\u200C"), QStringLiteral("😀")};
    QList<ContactEntry> entries;
    for (int length = 60; length < 200; ++length) {
        QString name;
        for (int i = 0; name.size() < length; ++i)
            name += characters[(i + length) % 4];
        entries.append({name, QString(), QString(), 1});
    }
    const QByteArray file = written(Format::VCard3, entries);
    for (const QByteArray &line : file.split('\n')) {
        QVERIFY(line.isEmpty() || line.endsWith('\r'));
        QVERIFY2(line.size() - 1 <= 75, line.constData());
        // The texts hold no U+FFFD: one here means a fold split a sequence.
        const QString text = QString::fromUtf8(line.startsWith(' ') ? line.mid(1) : line);
        QVERIFY2(!text.contains(QChar::ReplacementCharacter), "a fold split a UTF-8 sequence");
    }
}

void TestInterchangeWrite::writeFailuresAreReported()
{
    const ContactEntry entry{QStringLiteral("a"), QStringLiteral("1"), QString(), 1};
    QByteArray storage;
    QBuffer readOnly(&storage);
    readOnly.open(QIODevice::ReadOnly);
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");

    VCardWriter vcard(readOnly);
    QVERIFY(!vcard.write(entry));
    QVERIFY(!vcard.finish());
    QVERIFY(!vcard.errorString().isEmpty());

    CsvWriter csv(readOnly);
    QVERIFY(!csv.finish());
    QVERIFY(!csv.errorString().isEmpty());

    // A writer holds nothing back: each entry is on the device once written.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    VCardWriter streaming(buffer);
    QVERIFY(streaming.write(entry));
    const qint64 afterOne = buffer.size();
    QVERIFY(buffer.data().endsWith("END:VCARD\r\n"));
    QVERIFY(streaming.write(entry));
    QCOMPARE(buffer.size(), 2 * afterOne);
}

void TestInterchangeWrite::exportThenImportGivesEveryEntryBack_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("CSV") << Format::Csv;
    QTest::newRow("vCard 3.0") << Format::VCard3;
    QTest::newRow("vCard 4.0") << Format::VCard4;
}

void TestInterchangeWrite::exportThenImportGivesEveryEntryBack()
{
    QFETCH(Format, format);

    Entries expected;
    for (const ContactEntry &entry : hostileEntries()) {
        if (entry.name.isEmpty() && entry.phone.isEmpty())
            continue;
        // Names and numbers come back trimmed.
        ImportedEntry back{trimmedText(entry.name), trimmedText(entry.phone), entry.note};
        // vCard has one line break: CR LF and a lone CR come back as LF.
        if (format != Format::Csv) {
            for (QString *text : {&back.name, &back.phone, &back.note})
                text->replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        }
        expected.append(back);
    }

    const ReadResult result
        = readContacts(written(format, hostileEntries()), QStringLiteral("out"));
    QVERIFY(result.ok());
    QCOMPARE(result.withoutNameOrNumber, 1);
    QCOMPARE(result.entries.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(result.entries[i], expected[i]);
}

QTEST_GUILESS_MAIN(TestInterchangeWrite)
#include "tst_interchange_write.moc"
