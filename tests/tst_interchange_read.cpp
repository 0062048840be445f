// Reading vCard and CSV contacts files: the exporters' files, the mapping
// of cards and rows to entries, encodings, unfolding, refusals with their
// lines, and the duplicate key.
#include "interchange/contactsfile.h"
#include "interchange/duplicatekey.h"
#include "interchange/encodingguess.h"
#include "interchange/textencoding.h"
#include "store/storeschema.h"
#include "words/interfacelanguage.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QTest>

#include <iconv.h>

using namespace dialvault;

using Entries = QList<ImportedEntry>;

Q_DECLARE_METATYPE(ImportedEntry)
Q_DECLARE_METATYPE(ReadFault)

namespace QTest {
template <>
char *toString(const ImportedEntry &entry)
{
    return QTest::toString(
        QStringLiteral("{%1 | %2 | %3}").arg(entry.name, entry.phone, entry.note));
}
} // namespace QTest

namespace {

const QString officeNote = QStringLiteral("دفتر مرکزی، طبقه سوم، اتاق ۳۱۲؛ ساعت کاری شنبه تا "
                                          "چهارشنبه ۸ تا ۱۶ — تماس فوری فقط با تلفن همراه");

// The file's text read whole, and again a line at a time: where a piece of
// it ends must change nothing, or the result is a refusal saying so.
ReadResult readBytes(const QByteArray &bytes)
{
    const QString name = QStringLiteral("contacts");
    ReadResult whole = readContacts(bytes, name);
    const ReadResult lines = readContacts(bytes, name, 1);
    const auto said = [](const ReadResult &result) {
        return result.failure ? QStringLiteral("refused at line %1 (%2)")
                                    .arg(result.failure->line)
                                    .arg(int(result.failure->fault))
                              : QStringLiteral("%1 entries, %2 without name or number, %3 "
                                               "skipped, read as '%4'")
                                    .arg(result.entries.size())
                                    .arg(result.withoutNameOrNumber)
                                    .arg(result.skippedLines)
                                    .arg(result.assumedEncoding);
    };
    if (said(whole) == said(lines) && whole.entries == lines.entries)
        return whole;
    ReadResult differs;
    differs.failure = ReadFailure{name, -1, ReadFault::NotContacts,
                                  QStringLiteral("whole: ") + said(whole)
                                      + QStringLiteral("; a line at a time: ") + said(lines)};
    return differs;
}

// QVERIFY2 builds its message even when the check passes.
QString failureText(const ReadResult &result)
{
    return result.failure
        ? QStringLiteral("line %1: %2").arg(result.failure->line).arg(result.failure->reason)
        : QString();
}

QByteArray utf8(const char16_t *text)
{
    return QString::fromUtf16(text).toUtf8();
}

// Windows-1252 agrees with Latin-1 on the letters these tests use.
QByteArray latin1(const char16_t *text)
{
    return QString::fromUtf16(text).toLatin1();
}

QByteArray quotedPrintable(const QString &text)
{
    return text.toUtf8().toPercentEncoding().replace('%', '=');
}

// The file a test reads, copied out of the project's data first.
class DataCopy
{
public:
    explicit DataCopy(const QString &name)
        : m_path(m_dir.filePath(name))
    {
        QFile::copy(QStringLiteral(DIALVAULT_TEST_DATA "/interchange/") + name, m_path);
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

class TestInterchangeRead : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Refusals are told apart by their English reasons.
    void initTestCase() { QVERIFY(useLanguage(InterfaceLanguage::English)); }
    void exportersFilesGiveTheirEntries_data();
    void exportersFilesGiveTheirEntries();
    void cardsAndRowsMapToEntries_data();
    void cardsAndRowsMapToEntries();
    void encodingsGiveTheSameText_data();
    void encodingsGiveTheSameText();
    void windows1256AgreesWithTheSystemTable_data();
    void windows1256AgreesWithTheSystemTable();
    void foldsOnEveryByteBoundary();
    void refusedFilesNameTheirLine_data();
    void refusedFilesNameTheirLine();
    void missingFileIsRefused();
    void filesAsOthersWriteThem_data();
    void filesAsOthersWriteThem();
    void codePagesAreToldApart_data();
    void codePagesAreToldApart();
    void namesFoldAsTheStoreFoldsThem_data();
    void namesFoldAsTheStoreFoldsThem();
    void phoneDigitsIgnoreScriptAndCountryCode_data();
    void phoneDigitsIgnoreScriptAndCountryCode();
};

void TestInterchangeRead::exportersFilesGiveTheirEntries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Entries>("expected");
    QTest::addColumn<int>("withoutNameOrNumber");

    QTest::newRow("phone 2.1 quoted-printable")
        << "phone-2.1-qp.vcf"
        << Entries{{QStringLiteral("علی رضایی"), QStringLiteral("0912-123-4567"),
                    QStringLiteral("همکار قدیمی\r\n") + officeNote
                        + QStringLiteral("\r\nWork: 021 8888 1234")},
                   {QStringLiteral("Reza Tehrani"), QStringLiteral("+98 935 111 2233"),
                    QStringLiteral("Home: +98 21 4455 6677")},
                   {QStringLiteral("کاظم"), QStringLiteral("۰۹۱۹ ۷۷۷ ۶۶۵۵"), QString()}}
        << 1;
    QTest::newRow("address book 3.0")
        << "addressbook-3.0.vcf"
        << Entries{{QStringLiteral("مریم کاظمی"), QStringLiteral("+98 912 555 0101"),
                    QStringLiteral("همکار، طبقه دوم, داخلی ۲۱۴\nاز طرف ") + officeNote
                        + QStringLiteral("\nدفتر: 021-2222-3333")},
                   {QStringLiteral("Mohammad-Reza"), QStringLiteral("(021) 6600-1122"),
                    QStringLiteral("Back office; ask for \"Ali\", ext. 5\nHome: 021 7700 3344")},
                   {QStringLiteral("سارا نیک\u200Cنام"), QStringLiteral("09121112233"), QString()}}
        << 0;
    QTest::newRow("mail 4.0")
        << "mail-4.0.vcf"
        << Entries{{QStringLiteral("Sara Ahmadi"), QStringLiteral("+98-912-000-1122"),
                    QStringLiteral("Line one\nLine two, with a comma\nWork: +98-21-8800-9900")},
                   {QStringLiteral("حسین کریمی"), QStringLiteral("۰۲۱۸۸۱۲۳۴۵۶"), QString()}}
        << 0;
    QTest::newRow("web mail CSV")
        << "webmail-google.csv"
        << Entries{{QStringLiteral("علی رضایی"), QStringLiteral("0912 123 4567"),
                    QStringLiteral("همکار قدیمی, طبقه دوم\nWork: 021 8888 1234")},
                   {QStringLiteral("Nasrin Parsa"), QStringLiteral("+98 912 444 5566"),
                    QStringLiteral("Mobile: +98 912 444 7788")},
                   {QStringLiteral("Hamid \"Hami\" Nouri"), QStringLiteral("021-3333-4444"),
                    QStringLiteral("first line\nsecond line")}}
        << 0;
    QTest::newRow("desktop mail CSV in Windows-1256")
        << "outlook-1256.csv"
        << Entries{{QStringLiteral("مينا احمدي"), QStringLiteral("0912 765 4321"),
                    QStringLiteral("دوست خانوادگي\nWork: 021 2200 1100")},
                   {QStringLiteral("Kaveh Moradi"), QStringLiteral("021 5555 6666"), QString()}}
        << 0;
    QTest::newRow("mail program CSV")
        << "mailprogram.csv"
        << Entries{{QStringLiteral("پرویز صالحی"), QStringLiteral("0935 222 3344"),
                    QStringLiteral("همسایه\nWork: 021 4400 5500")}}
        << 0;
    QTest::newRow("own CSV") << "dialvault.csv"
                             << Entries{{QStringLiteral("اكبر كريمي"),
                                         QStringLiteral("09121234567"),
                                         QStringLiteral("يادداشت با \"نقل قول\" و ویرگول, در آن")},
                                        {QStringLiteral("Zahra;Test"),
                                         QStringLiteral("۰۹۱۲۰۰۰۰۰۰۰"), QString()}}
                             << 0;
}

void TestInterchangeRead::exportersFilesGiveTheirEntries()
{
    QFETCH(QString, file);
    QFETCH(Entries, expected);
    QFETCH(int, withoutNameOrNumber);

    const DataCopy copy(file);
    const ReadResult result = readContactsFile(copy.path());
    QVERIFY2(result.ok(), qPrintable(failureText(result)));
    QCOMPARE(result.entries, expected);
    QCOMPARE(result.withoutNameOrNumber, withoutNameOrNumber);
}

void TestInterchangeRead::cardsAndRowsMapToEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entries>("expected");
    QTest::addColumn<int>("withoutNameOrNumber");

    QTest::newRow("lowest PREF wins over mobile and order")
        << QByteArray("BEGIN:VCARD\nVERSION:4.0\nFN:A\nTEL;TYPE=cell:1\nTEL;PREF=2:2\n"
                      "TEL;TYPE=work;PREF=1:3\nEND:VCARD\n")
        << Entries{{"A", "3", "Mobile: 1\n2"}} << 0;
    QTest::newRow("first mobile when none is preferred")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:A\nTEL;TYPE=HOME:1\nTEL;TYPE=CELL:2\n"
                      "TEL;TYPE=CELL:3\nEND:VCARD\n")
        << Entries{{"A", "2", "Home: 1\nMobile: 3"}} << 0;
    QTest::newRow("tel URI loses its scheme, a text value keeps it")
        << QByteArray("BEGIN:VCARD\nVERSION:4.0\nFN:A\nTEL;VALUE=uri:tel:+98-21-1;ext=5\n"
                      "TEL;VALUE=text;TYPE=fax:tel:2\nEND:VCARD\n")
        << Entries{{"A", "+98-21-1;ext=5", "Fax: tel:2"}} << 0;
    QTest::newRow("structured name: given, additional, family; comma lists")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nN:Family;Given;Philip,Paul;Dr.;Jr.\nEND:VCARD\n"
                      "BEGIN:VCARD\nVERSION:3.0\nN:Family\\, Jr;;;;\nTEL:1\nEND:VCARD\n")
        << Entries{{"Given Philip Paul Family", "", ""}, {"Family, Jr", "1", ""}} << 0;
    QTest::newRow("2.1 backslashes are text but for \\;")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:C:\\new\\; dir\r\nNOTE:a\\nb\\,c\r\nEND:VCARD\r\n")
        << Entries{{"C:\\new; dir", "", "a\\nb\\,c"}} << 0;
    QTest::newRow("3.0 escapes, unknown ones kept")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:a\\\\b\\,c\\;d\\Ne\\qf\nEND:VCARD\n")
        << Entries{{"a\\b,c;d\ne\\qf", "", ""}} << 0;
    QTest::newRow("labels by group; wrapped labels unwrapped; many notes")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:A\nitem1.TEL;type=pref:1\n"
                      "item2.X-ABLabel:_$!<Mobile>!$_\nitem2.TEL:2\nNOTE:n1\nNOTE:n2\nEND:VCARD\n")
        << Entries{{"A", "1", "n1\nn2\nMobile: 2"}} << 0;
    QTest::newRow("2.1 base64 runs over unindented lines; bare QUOTED-PRINTABLE")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;QUOTED-PRINTABLE:A=3DB\r\n"
               "PHOTO;ENCODING=BASE64;JPEG:AAAA\r\nBBBB\r\nCCCC\r\n\r\nTEL:1\r\nEND:VCARD\r\n")
        << Entries{{"A=B", "1", ""}} << 0;
    // Only a quoted-printable value continues past a line ending in "=".
    QTest::newRow("plain value ending in = before another property")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\r\nNOTE:x=\r\nTEL:0912\r\nEND:VCARD\r\n")
        << Entries{{"A", "0912", "x="}} << 0;
    QTest::newRow("cards with neither name nor number counted")
        << QByteArray("BEGIN:VCARD\nVERSION:3.0\nNOTE:x\nTEL:\nEND:VCARD\n\n"
                      "begin:vcard\nversion:3.0\nfn:B\nend:vcard\n")
        << Entries{{"B", "", ""}} << 1;
    QTest::newRow("CSV: display name before first and last; semicolons")
        << utf8(u"First Name;Last Name;Display Name;Mobile Number\r\nA;B;;1\r\nA;B;Shown;2\r\n")
        << Entries{{"A B", "1", ""}, {"Shown", "2", ""}} << 0;
    QTest::newRow("CSV: starred type is preferred; tabs; blank rows passed over")
        << QByteArray("Name\tPhone 1 - Type\tPhone 1 - Value\tPhone 2 - Value\tPhone 2 - Type\r\n"
                      "\r\nA\tMobile\t1\t2\t* Work\r\n\t\t\t\t\r\n\tHome\t\t\t\r\n")
        << Entries{{"A", "2", "Mobile: 1"}} << 1;
    QTest::newRow("CSV: primary phone preferred; trailing cells may be missing")
        << QByteArray("First Name,Mobile Phone,Primary Phone,Notes\nA,1,2\n")
        << Entries{{"A", "2", "Mobile: 1"}} << 0;
    QTest::newRow("CSV: own phone cell is never split; name trimmed, note kept exactly")
        << utf8(u"\"نام\",\"تلفن\",\"يادداشت\",\"رديف\"\n\" a \",1 ::: 2,\"x\r\ny \",7\n")
        << Entries{{"a", "1 ::: 2", "x\r\ny "}} << 0;
}

void TestInterchangeRead::cardsAndRowsMapToEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entries, expected);
    QFETCH(int, withoutNameOrNumber);

    const ReadResult result = readBytes(bytes);
    QVERIFY2(result.ok(), qPrintable(failureText(result)));
    QCOMPARE(result.entries, expected);
    QCOMPARE(result.withoutNameOrNumber, withoutNameOrNumber);
    // A null text would reach the phone book as NULL.
    for (const ImportedEntry &entry : result.entries)
        QVERIFY(!entry.name.isNull() && !entry.phone.isNull() && !entry.note.isNull());
}

void TestInterchangeRead::encodingsGiveTheSameText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("phone");

    // Characters Windows-1256 holds: Arabic yeh and kaf, gaf, peh, jeh, ZWNJ.
    const QString csv = QStringLiteral("نام,تلفن\r\nكيوان گل\u200Cپري,۰۹۱۲ ژ\r\n");
    const QString vcard
        = QStringLiteral("BEGIN:VCARD\r\nFN:كيوان گل\u200Cپري\r\nTEL:۰۹۱۲ ژ\r\nEND:VCARD\r\n");
    const QString phone = QStringLiteral("۰۹۱۲ ژ");
    auto encoded = [](const QString &text, QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder.encode(text));
    };
    for (const auto &[format, text] : {std::pair{"CSV", csv}, std::pair{"vCard", vcard}}) {
        QTest::addRow("%s UTF-8", format) << text.toUtf8() << phone;
        QTest::addRow("%s UTF-8 with BOM", format)
            << encoded(text, QStringConverter::Utf8) << phone;
        QTest::addRow("%s UTF-16LE", format) << encoded(text, QStringConverter::Utf16LE) << phone;
        QTest::addRow("%s UTF-16BE", format) << encoded(text, QStringConverter::Utf16BE) << phone;
    }
    // The same texts in Windows-1256, which has no Persian digits.
    QTest::newRow("CSV Windows-1256") << QByteArray(
        "\xe4\xc7\xe3,\xca\xe1\xdd\xe4\r\n\xdf\xed\xe6\xc7\xe4 \x90\xe1\x9d\x81\xd1\xed,"
        "0912 \x8e\r\n") << QStringLiteral("0912 ژ");
    QTest::newRow("vCard Windows-1256")
        << QByteArray("BEGIN:VCARD\r\nFN:\xdf\xed\xe6\xc7\xe4 \x90\xe1\x9d\x81\xd1\xed\r\n"
                      "TEL:0912 \x8e\r\nEND:VCARD\r\n")
        << QStringLiteral("0912 ژ");
}

void TestInterchangeRead::encodingsGiveTheSameText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, phone);

    const ReadResult result = readBytes(bytes);
    QVERIFY2(result.ok(), qPrintable(failureText(result)));
    const Entries expected{{QStringLiteral("كيوان گل\u200Cپري"), phone, QString()}};
    QCOMPARE(result.entries, expected);
}

void TestInterchangeRead::windows1256AgreesWithTheSystemTable_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<QString>("expected");

    // glibc's own CP1256 table, which defines every byte from 0x80 to 0xFF.
    const iconv_t system = iconv_open("UTF-16LE", "CP1256");
    QVERIFY(system != iconv_t(-1));
    for (int value = 0x80; value <= 0xFF; ++value) {
        char in = char(value);
        char16_t out[2] = {};
        char *inAt = &in;
        char *outAt = reinterpret_cast<char *>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        QVERIFY(iconv(system, &inAt, &inLeft, &outAt, &outLeft) != size_t(-1));
        QTest::addRow("0x%02X", value) << QByteArray(1, in) << QString(QChar(out[0]));
    }
    iconv_close(system);
}

void TestInterchangeRead::windows1256AgreesWithTheSystemTable()
{
    QFETCH(QByteArray, byte);
    QFETCH(QString, expected);
    QString text;
    QCOMPARE(TextEncoding::windows1256().decode(byte, text), qsizetype(-1));
    QCOMPARE(text, expected);
}

void TestInterchangeRead::foldsOnEveryByteBoundary()
{
    // Persian letters (2 bytes), a ZWNJ (3 bytes) and an emoji (4 bytes).
    const QString note = QStringLiteral("یادداشت\u200Cها 😀, بعدی");
    const QByteArray line = "NOTE;CHARSET=UTF-8:" + note.toUtf8();
    const QByteArray qpLine = "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:"
        + note.toUtf8().toPercentEncoding().replace('%', '=');
    for (const QByteArray &fold : {QByteArray("\r\n "), QByteArray("\n\t")}) {
        for (qsizetype at = 1; at < line.size(); ++at) {
            const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:X\r\n" + line.left(at) + fold
                + line.mid(at) + "\r\nEND:VCARD\r\n";
            const ReadResult result = readBytes(card);
            QVERIFY2(result.ok(), qPrintable(QStringLiteral("fold at %1").arg(at)));
            QCOMPARE(result.entries.front().note, note);
        }
    }
    // Soft line breaks of quoted-printable, between any two encoded units.
    const qsizetype valueStart = qpLine.indexOf(':') + 1;
    for (qsizetype at = valueStart; at < qpLine.size(); ++at) {
        if (qpLine[at - 1] == '=' || (at >= 2 && qpLine[at - 2] == '='))
            continue;
        const QByteArray card = "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:X\r\n" + qpLine.left(at) + "=\r\n"
            + qpLine.mid(at) + "\r\nEND:VCARD\r\n";
        const ReadResult result = readBytes(card);
        QVERIFY2(result.ok(), qPrintable(QStringLiteral("soft break at %1").arg(at)));
        QCOMPARE(result.entries.front().note, note);
    }
}

void TestInterchangeRead::refusedFilesNameTheirLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ReadFault>("fault");
    QTest::addColumn<int>("line");

    const QByteArray persianRow = utf8(u"علی رضایی,0912,یادداشت\r\n");
    const QByteArray goodCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Good\r\nEND:VCARD\r\n";

    QTest::newRow("card that never ends")
        << "broken-unterminated.vcf" << QByteArray() << ReadFault::CardNeverEnds << 6;
    QTest::newRow("quote that never closes")
        << "broken-quote.csv" << QByteArray() << ReadFault::QuoteNeverCloses << 3;
    QTest::newRow("binary bytes") << "not-contacts.vcf" << QByteArray() << ReadFault::NotContacts
                                  << 1;
    QTest::newRow("plain text") << "" << QByteArray("hello\nworld\n") << ReadFault::NotContacts
                                << 1;

    QTest::newRow("invalid UTF-8 after a BOM")
        << ""
        << "\xEF\xBB\xBFName,Phone 1 - Value,Notes\r\n" + persianRow + "A,1,\xD8\r\n"
        << ReadFault::InvalidBytes << 3;
    QTest::newRow("UTF-8 cut short in a mostly UTF-8 file")
        << ""
        << "Name,Phone 1 - Value,Notes\r\n" + persianRow + persianRow + "A,1,\xDB\x8C\xDB\r\n"
        << ReadFault::InvalidBytes << 4;
    QTest::newRow("NUL byte") << "" << QByteArray("Name,Notes\nA,b\0c\n", 17)
                              << ReadFault::InvalidBytes << 2;
    QTest::newRow("NUL byte in Windows-1256")
        << "" << QByteArray("Name\n\xe4\xc7\xe3\nA\0\n", 12) << ReadFault::InvalidBytes << 3;
    QTest::newRow("unpaired surrogate in UTF-16")
        << "" << QByteArray("\xFF\xFEN\0a\0m\0e\0\n\0A\0\n\0\x3D\xD8\n\0", 20)
        << ReadFault::InvalidBytes << 3;
    QTest::newRow("folded vCard line damaged on its second physical line")
        << "" << goodCard + utf8(u"BEGIN:VCARD\r\nFN:علی\r\n رضا") + "\xFF\r\nEND:VCARD\r\n"
        << ReadFault::InvalidBytes << 7;
    QTest::newRow("quoted-printable UTF-8 damaged after a soft break") << ""
                                                                       << goodCard
            + "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;CHARSET=UTF-8;QUOTED-PRINTABLE:=D8=B9=\r\n"
              "=D9=84=\r\n=DB\r\nEND:VCARD\r\n" << ReadFault::InvalidBytes
                                                                       << 9;
    QTest::newRow("broken quoted-printable escape")
        << "" << goodCard + "BEGIN:VCARD\r\nNOTE;QUOTED-PRINTABLE:a=ZZ\r\nEND:VCARD\r\n"
        << ReadFault::BrokenEncodedValue << 6;
    QTest::newRow("unknown charset")
        << "" << QByteArray("BEGIN:VCARD\nFN;CHARSET=X-NO-SUCH-SET:a\nEND:VCARD\n")
        << ReadFault::UnknownCharset << 2;
    QTest::newRow("card begun inside a card")
        << "" << goodCard + "BEGIN:VCARD\r\nFN:A\r\n" + goodCard << ReadFault::CardNeverEnds << 5;
    QTest::newRow("text between cards")
        << "" << goodCard + "\r\nstray text\r\n" + goodCard << ReadFault::OutsideCard << 6;
    QTest::newRow("line without a colon in a card")
        << "" << QByteArray("BEGIN:VCARD\nFN:A\nno colon here\nEND:VCARD\n")
        << ReadFault::NotAProperty << 3;
    QTest::newRow("quote opened over several lines never closes")
        << "" << QByteArray("Name,Notes\nA,\"one\ntwo\"\nB,\"three\nfour\n")
        << ReadFault::QuoteNeverCloses << 4;
    QTest::newRow("text after a closing quote")
        << "" << QByteArray("Name,Notes\nA,\"one\n\"two\n") << ReadFault::TextAfterQuote << 3;
    QTest::newRow("more cells than the header")
        << "" << QByteArray("Name,Mobile Phone\nA,1\nB,2,3\n") << ReadFault::TooManyCells << 3;
}

void TestInterchangeRead::refusedFilesNameTheirLine()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(ReadFault, fault);
    QFETCH(int, line);

    QTemporaryDir dir;
    const QString path = dir.filePath(file.isEmpty() ? QStringLiteral("made.vcf") : file);
    if (file.isEmpty()) {
        QFile made(path);
        QVERIFY(made.open(QIODevice::WriteOnly));
        made.write(bytes);
    } else {
        QVERIFY(QFile::copy(QStringLiteral(DIALVAULT_TEST_DATA "/interchange/") + file, path));
    }

    const ReadResult result = readContactsFile(path);
    QVERIFY(!result.ok());
    QVERIFY(result.entries.isEmpty());
    QFile read(path);
    QVERIFY(read.open(QIODevice::ReadOnly));
    QCOMPARE(readBytes(read.readAll()).failure->line, line);
    QCOMPARE(result.withoutNameOrNumber, 0);
    QCOMPARE(result.failure->fileName, path);
    QCOMPARE(result.failure->fault, fault);
    QCOMPARE(result.failure->line, line);
    QVERIFY(!result.failure->reason.isEmpty());
}

void TestInterchangeRead::missingFileIsRefused()
{
    QTemporaryDir dir;
    const ReadResult result = readContactsFile(dir.filePath(QStringLiteral("absent.vcf")));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure->fault, ReadFault::CannotOpen);
    QCOMPARE(result.failure->line, 0);
}

void TestInterchangeRead::filesAsOthersWriteThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entries>("expected");
    QTest::addColumn<int>("withoutNameOrNumber");
    QTest::addColumn<int>("skippedLines");
    QTest::addColumn<QString>("said"); // the code page assumed, or what a refusal says
    QTest::addColumn<int>("refusedAt"); // the line of a refusal; 0: taken

    const QString ali = QStringLiteral("علی رضایی");
    QTest::newRow("CR CR LF line ends and the address book's label wrapper")
        << QByteArray(
               "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nN:Smith;Bob;;;\r\r\nFN:Bob Smith\r\r\n"
               "item1.TEL;type=pref:+98 912 000 1111\r\r\nitem1.X-ABLabel:_$!<Mobile>!$_\r\r\n"
               "item2.TEL:021 5555 0000\r\r\nitem2.X-ABLabel:_$!<HomeFAX>!$_\r\r\n"
               "NOTE:two\\nlines\r\r\nEND:VCARD\r\r\n")
        << Entries{{"Bob Smith", "+98 912 000 1111", "two\nlines\nHomeFAX: 021 5555 0000"}} << 0
        << 0 << "" << 0;
    QTest::newRow("lone CR line ends")
        << QByteArray("BEGIN:VCARD\rVERSION:3.0\rFN:Old Mac\rTEL:1\rEND:VCARD\r")
        << Entries{{"Old Mac", "1", ""}} << 0 << 0 << "" << 0;
    QTest::newRow("spaces, no-break spaces and direction marks around names and numbers")
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:"
            + quotedPrintable(u' ' + ali + QStringLiteral("\u00A0\u200F")) + "\r\n"
            + "TEL;CELL:\t0912 111 2233 \r\nTEL;HOME:\u202A+98 912 111 2233\u202C\r\n"
            + "TEL;WORK:021 1\r\nEND:VCARD\r\n"
            + utf8(u"BEGIN:VCARD\r\nVERSION:3.0\r\nN: \u200Cنیک\u200Cنام ;\u00A0سارا;;;\r\n"
                   u"FN:\u3000\r\nEND:VCARD\r\n")
        << Entries{{ali, "0912 111 2233", "Work: 021 1"},
                   {QStringLiteral("سارا \u200Cنیک\u200Cنام"), "", ""}}
        << 0 << 0 << "" << 0;
    QTest::newRow("German desktop mail CSV in Windows-1252")
        << latin1(u"Anrede,Vorname,Weitere Vornamen,Nachname,Firma,Straße geschäftlich,"
                  u"Telefon geschäftlich,Telefon privat,Mobiltelefon,Pager,Telex,Notizen\r\n"
                  u",Jürgen,,Müller,Bäckerei Müller,Hauptstraße 5,+49 30 1234567,030 7654321,"
                  u"+49 171 2345678,,,Kunde seit 1998\r\n,,,,,,,,,Pager,Telex,\r\n")
        << Entries{{QStringLiteral("Jürgen Müller"), "+49 171 2345678",
                    "Kunde seit 1998\nWork: +49 30 1234567\nHome: 030 7654321"}}
        << 1 << 0 << "Windows-1252" << 0;
    QTest::newRow("French desktop mail CSV, semicolons")
        << utf8(u"Prénom;Nom;Téléphone bureau;Tél. mobile;Notes\r\n"
                u"Émilie;Dubois;01 23 45 67 89;06 12 34 56 78;Cliente\r\n")
        << Entries{{QStringLiteral("Émilie Dubois"), "06 12 34 56 78",
                    "Cliente\nWork: 01 23 45 67 89"}}
        << 0 << 0 << "" << 0;
    QTest::newRow("Persian desktop mail CSV: نام beside a last name is the first name")
        << utf8(u"نام,نام خانوادگی,تلفن همراه,تلفن محل کار,یادداشت\u200Cها\r\n"
                u"علی,رضایی,0912 111 2233,021 8888 0000,همکار\r\n")
        << Entries{{ali, "0912 111 2233", QStringLiteral("همکار\nWork: 021 8888 0000")}} << 0 << 0
        << "" << 0;
    QTest::newRow("Russian CSV in Windows-1251: the header row tells the code page")
        << QByteArray("\xc8\xec\xff,\xd4\xe0\xec\xe8\xeb\xe8\xff,\xcc\xee\xe1\xe8\xeb\xfc\xed\xfb"
                      "\xe9 \xf2\xe5\xeb\xe5\xf4\xee\xed\r\n\xc8\xe2\xe0\xed,\xcf\xe5\xf2\xf0\xee"
                      "\xe2,+7 900 123 45 67\r\n")
        << Entries{{QStringLiteral("Иван Петров"), "+7 900 123 45 67", ""}} << 0 << 0
        << "Windows-1251" << 0;
    QTest::newRow("vCard values in Windows-1252, declared and quoted-printable")
        << QByteArray(
               "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=windows-1252:Nov\xe1k;Tom\xe1\x9a\r\n"
               "NOTE;CHARSET=CP1252;ENCODING=QUOTED-PRINTABLE:=8Akoda=20=80\r\n"
               "TEL:1\r\nEND:VCARD\r\n")
        << Entries{{QStringLiteral("Tomáš Novák"), "1", QStringLiteral("Škoda €")}} << 0 << 0 << ""
        << 0;
    QTest::newRow("vCard in Windows-1252 without a charset")
        << latin1(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jürgen Müller\r\nTEL:1\r\nEND:VCARD\r\n")
        << Entries{{QStringLiteral("Jürgen Müller"), "1", ""}} << 0 << 0 << "Windows-1252" << 0;
    QTest::newRow("a parameter that only resembles CHARSET")
        << QByteArray("BEGIN:VCARD\r\nFN;XCHARSET=utf-8:Caf\xe9\r\nEND:VCARD\r\n")
        << Entries{{QStringLiteral("Café"), "", ""}} << 0 << 0 << "Windows-1252" << 0;
    QTest::newRow("Shift_JIS vCard")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x8e"
                      "R\x93"
                      "c;"
                      "\x91\xbe\x98Y\r\nNOTE;CHARSET=Shift_JIS;ENCODING=QUOTED-PRINTABLE:=8E=52"
                      "=93=63\r\nTEL:03 1234 5678\r\nEND:VCARD\r\n")
        << Entries{{QStringLiteral("太郎 山田"), "03 1234 5678", QStringLiteral("山田")}} << 0 << 0
        << "" << 0;
    const QString persianCsv = QStringLiteral("نام,تلفن\r\nعلی,۰۹۱۲\r\n");
    const QString persianCard
        = QStringLiteral("BEGIN:VCARD\r\nFN:علی\r\nTEL:۰۹۱۲\r\nEND:VCARD\r\n");
    const Entries persianEntry{{QStringLiteral("علی"), QStringLiteral("۰۹۱۲"), ""}};
    for (const auto &[order, encoding] : {std::pair{"little-endian", QStringConverter::Utf16LE},
                                          std::pair{"big-endian", QStringConverter::Utf16BE}}) {
        for (const auto &[format, text] :
             {std::pair{"CSV", persianCsv}, std::pair{"vCard", persianCard}}) {
            QTest::addRow("UTF-16 %s without a byte order mark, %s", order, format)
                << QByteArray(QStringEncoder(encoding).encode(text)) << persianEntry << 0 << 0 << ""
                << 0;
        }
    }
    QTest::newRow("an address run on over lines, and comment lines, skipped")
        << QByteArray("# exported by a mail program\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ali\r\n"
                      "ADR;TYPE=HOME:;;12 Main St\r\nSpringfield\r\nTEL:0912\r\n# the end\r\n"
                      "END:VCARD\r\n")
        << Entries{{"Ali", "0912", ""}} << 0 << 3 << "" << 0;
    QTest::newRow("empty file") << QByteArray() << Entries{} << 0 << 0 << "" << 0;
    QTest::newRow("blank file with a byte order mark")
        << QByteArray("\xEF\xBB\xBF\r\n \r\n") << Entries{} << 0 << 0 << "" << 0;

    QTest::newRow("CSV of unknown columns, refused naming them")
        << QByteArray("Email,Company,City\r\na@example.com,X,Y\r\n") << Entries{} << 0 << 0
        << "\"Email\", \"Company\", \"City\"" << 1;
    QTest::newRow("CSV of pager and telex columns alone")
        << latin1(u"Firma;Pager;Telex;Straße\r\nX;1;2;Y\r\n") << Entries{} << 0 << 0 << "\"Straße\""
        << 1;
    QTest::newRow("vCard 4.0 is UTF-8, never a code page")
        << latin1(u"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Jürgen\r\nEND:VCARD\r\n") << Entries{} << 0
        << 0 << "bytes that are not valid text" << 3;
    QTest::newRow("a Shift_JIS value cut inside a character")
        << QByteArray("BEGIN:VCARD\r\nFN:A\r\nNOTE;CHARSET=Shift_JIS:\x93\r\nEND:VCARD\r\n")
        << Entries{} << 0 << 0 << "bytes that are not valid text" << 3;
    QTest::newRow("a line breaking a note, which is kept")
        << QByteArray("BEGIN:VCARD\r\r\nFN:A\r\r\nNOTE:one\r\r\ntwo\r\r\nEND:VCARD\r\r\n")
        << Entries{} << 0 << 0 << "not a vCard property" << 4;
}

void TestInterchangeRead::filesAsOthersWriteThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Entries, expected);
    QFETCH(int, withoutNameOrNumber);
    QFETCH(int, skippedLines);
    QFETCH(QString, said);
    QFETCH(int, refusedAt);

    const ReadResult result = readBytes(bytes);
    if (refusedAt > 0) {
        QVERIFY(!result.ok());
        QCOMPARE(result.failure->line, refusedAt);
        QVERIFY2(result.failure->reason.contains(said), qPrintable(result.failure->reason));
        return;
    }
    QVERIFY2(result.ok(), qPrintable(failureText(result)));
    QCOMPARE(result.entries, expected);
    QCOMPARE(result.withoutNameOrNumber, withoutNameOrNumber);
    QCOMPARE(result.skippedLines, skippedLines);
    QCOMPARE(result.assumedEncoding, said);
    // No value holds a CR or LF the file's syntax did not put there.
    for (const ImportedEntry &entry : result.entries) {
        QVERIFY(!entry.name.contains(u'\r') && !entry.phone.contains(u'\r'));
        QVERIFY(!entry.note.contains(u'\r'));
    }
}

void TestInterchangeRead::codePagesAreToldApart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("codePage");

    const QString arabic = QStringLiteral("Windows-1256");
    const QString latin = QStringLiteral("Windows-1252");
    QTest::newRow("German") << QStringLiteral("Müller, Jürgen;Straße 5;Größe") << latin;
    QTest::newRow("French") << QStringLiteral("Hélène Lefèvre;Chloé;garçon, où") << latin;
    QTest::newRow("Spanish") << QStringLiteral("José Muñoz;Íñigo;año") << latin;
    QTest::newRow("Portuguese") << QStringLiteral("João Conceição;Antônio") << latin;
    QTest::newRow("Italian and Dutch") << QStringLiteral("Niccolò;città;Zoë") << latin;
    // Windows-1256 has the Arabic yeh only.
    QTest::newRow("Persian") << QStringLiteral("علي رضايي،گلناز چگيني;ژاله") << arabic;
    QTest::newRow("Arabic") << QStringLiteral("محمد عبد الله;0912") << arabic;
    QTest::newRow("Persian among Latin words")
        << QStringLiteral("Ali علي رضايي Reza;Tehran") << arabic;
    QTest::newRow("Persian letters Windows-1252 has none for")
        << QStringLiteral("Café پژمان") << arabic;
}

void TestInterchangeRead::codePagesAreToldApart()
{
    QFETCH(QString, text);
    QFETCH(QString, codePage);

    // Encoded by the inverse of each code page's own decoding.
    const TextEncoding page = codePage == QLatin1String("Windows-1256")
        ? TextEncoding::windows1256()
        : TextEncoding::windows1252();
    QHash<QChar, char> byteOf;
    for (int byte = 1; byte < 256; ++byte) {
        const char one[1] = {char(byte)};
        QString decoded;
        QCOMPARE(page.decode(QByteArrayView(one, 1), decoded), -1);
        byteOf.insert(decoded.front(), char(byte));
    }
    QByteArray bytes;
    for (const QChar c : text) {
        QVERIFY2(byteOf.contains(c), qPrintable(QString(c)));
        bytes.append(byteOf.value(c));
    }

    const EncodingGuess guess = guessEncoding(bytes);
    QVERIFY(guess.assumed);
    QCOMPARE(guess.encoding.shownName(), codePage);
    QString decoded;
    QCOMPARE(guess.encoding.decode(bytes, decoded), -1);
    QCOMPARE(decoded, text);
}

void TestInterchangeRead::namesFoldAsTheStoreFoldsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");

    QTest::newRow("Persian yeh, keheh")
        << QStringLiteral("علی کریمی") << QStringLiteral("علي كريمي");
    QTest::newRow("alef maksura") << QStringLiteral("مصطفى") << QStringLiteral("مصطفي");
    QTest::newRow("Persian and Arabic-Indic digits")
        << QStringLiteral("۰۱۲۳۴۵۶۷۸۹ ٠١٢٣٤٥٦٧٨٩") << QStringLiteral("0123456789 0123456789");
    QTest::newRow("ASCII case only") << QStringLiteral("ÄLI Reza") << QStringLiteral("Äli reza");
    QTest::newRow("gaf, ZWNJ and spaces untouched")
        << QStringLiteral(" گل\u200Cنار ") << QStringLiteral(" گل\u200Cنار ");
    QTest::newRow("emoji") << QStringLiteral("A😀") << QStringLiteral("a😀");
}

void TestInterchangeRead::namesFoldAsTheStoreFoldsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, key);

    QCOMPARE(duplicateKeyName(name), key);

    // The importer's key must agree with what the phone book's search computes.
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fold"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.prepare(QStringLiteral("SELECT ")
                              + StoreSchema::foldedNameExpression(QStringLiteral("?"))));
        query.addBindValue(name);
        QVERIFY(query.exec() && query.next());
        QCOMPARE(query.value(0).toString(), key);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fold"));
}

void TestInterchangeRead::phoneDigitsIgnoreScriptAndCountryCode_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("digits");

    QTest::newRow("separators") << QStringLiteral("(021) 6600-1122")
                                << QStringLiteral("02166001122");
    QTest::newRow("+98") << QStringLiteral("+98 912 555 0101") << QStringLiteral("09125550101");
    QTest::newRow("0098") << QStringLiteral("0098-912-555-0101") << QStringLiteral("09125550101");
    QTest::newRow("Persian +۹۸ behind a direction mark")
        << QStringLiteral("\u200E+۹۸ ۹۱۲") << QStringLiteral("0912");
    QTest::newRow("Arabic-Indic") << QStringLiteral("٠٩١٢") << QStringLiteral("0912");
    QTest::newRow("98 without plus stays") << QStringLiteral("98 912") << QStringLiteral("98912");
    QTest::newRow("other country") << QStringLiteral("+1 555 0100") << QStringLiteral("15550100");
    QTest::newRow("superscripts are not digits") << QStringLiteral("12²") << QStringLiteral("12");
    QTest::newRow("digit outside the BMP") << QStringLiteral("1𝟐3") << QStringLiteral("123");
}

void TestInterchangeRead::phoneDigitsIgnoreScriptAndCountryCode()
{
    QFETCH(QString, phone);
    QFETCH(QString, digits);
    QCOMPARE(phoneDigits(phone), digits);
}

QTEST_GUILESS_MAIN(TestInterchangeRead)
#include "tst_interchange_read.moc"
