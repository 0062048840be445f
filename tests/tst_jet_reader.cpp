// Reading table `test` of a Jet file: every value exact, the refusals, and
// damaged copies that must be refused (or read whole) without crashing or
// hanging the program.
#include "tst_jet_fixture.h"

#include "jet/isolatedreading.h"
#include "jet/jetfailure.h"
#include "jet/jetreader.h"
#include "jet/jettext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <unistd.h>

using namespace dialvault;
using namespace std::chrono_literals;

namespace {

constexpr qsizetype pageSize = 4096;
// Short enough that a hang shows as a slow test, long enough for a slow machine.
constexpr auto testSilenceLimit = 5s;

// Set while a test wants to know whether an exit handler of this process ran.
QByteArray exitMarker;

void markExit()
{
    if (!exitMarker.isEmpty())
        writeFile(QString::fromLocal8Bit(exitMarker), "exit handler ran");
}

QByteArray utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

} // namespace

class TestJetReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEveryValueExactly_data();
    void readsEveryValueExactly();
    void refusals_data();
    void refusals();
    void decodesJet4Text_data();
    void decodesJet4Text();
    void decodesCodePage_data();
    void decodesCodePage();
    void childTroubleBecomesRefusal_data();
    void childTroubleBecomesRefusal();
    void damagedCopiesAreRefusedOrReadWhole_data();
    void damagedCopiesAreRefusedOrReadWhole();

private:
    QTemporaryDir dir;
};

void TestJetReader::readsEveryValueExactly_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QList<JetRow>>("expected");
    QTest::newRow("basic") << u"jet4-basic.mdb"_qs << basicRows();
    QTest::newRow("NULLs beside empty texts") << u"jet4-nulls.mdb"_qs << nullRows();
    QTest::newRow("extra fields, memos") << u"jet4-extra-fields.mdb"_qs << extraFieldRows();
    QTest::newRow("empty table") << u"jet4-empty.mdb"_qs << QList<JetRow>();
    QTest::newRow("20,000 rows") << u"jet4-large.mdb"_qs << largeRows();
}

void TestJetReader::readsEveryValueExactly()
{
    QFETCH(QString, fixture);
    QFETCH(QList<JetRow>, expected);
    const QString path = dir.filePath(fixture);
    QVERIFY(writeFile(path, fixtureBytes(fixture)));
    const Result<QList<JetRow>> read = readJetTable(path);
    QVERIFY2(read.ok(), qPrintable(read.error.description));
    QVERIFY(sameRows(read.value, expected));
    QCOMPARE(fileBytes(path), fixtureBytes(fixture));
}

void TestJetReader::refusals_data()
{
    const QByteArray basic = fixtureBytes(u"jet4-basic.mdb"_qs);
    QByteArray renamedField = basic;
    const QByteArray phone = utf16(u"تلفن"_qs);
    const qsizetype at = renamedField.indexOf(phone);
    QVERIFY(at > 0);
    renamedField.replace(at, phone.size(), utf16(u"تلفك"_qs));

    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<FailureCause>("cause");
    QTest::addColumn<QString>("told");
    QTest::newRow("no table test")
        << fixtureBytes(u"jet4-notable.mdb"_qs) << true << FailureCause::NoTable << u"contacts"_qs;
    QTest::newRow("plain text") << fixtureBytes(u"not-a-database.mdb"_qs) << true
                                << FailureCause::NotADatabase << u"4096 bytes"_qs;
    QTest::newRow("zero bytes") << QByteArray() << true << FailureCause::NotADatabase
                                << u"0 bytes"_qs;
    QTest::newRow("Jet signature only")
        << basic.left(20) << true << FailureCause::Damaged << u"list of tables"_qs;
    QTest::newRow("a field renamed")
        << renamedField << true << FailureCause::MissingField << u"no field تلفن"_qs;
    QTest::newRow("data page cut off")
        << basic.left(26 * pageSize) << true << FailureCause::Damaged << u"0 of the 8 rows"_qs;
    // libmdb itself crashes on this one (a usage map pointed elsewhere).
    QByteArray crashing = fixtureBytes(u"jet4-extra-fields.mdb"_qs);
    for (const auto &[at, byte] :
         {std::pair{8247, 0x0C}, {8248, 0x1B}, {127951, 0x38}, {127952, 0xB9}, {127953, 0x89}})
        crashing[at] = char(byte);
    QTest::newRow("crashing libmdb") << crashing << true << FailureCause::Damaged << u""_qs;
    QTest::newRow("missing") << QByteArray() << false << FailureCause::CannotOpen
                             << u"cannot read"_qs;
}

void TestJetReader::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QFETCH(FailureCause, cause);
    QFETCH(QString, told);
    const QString path = dir.filePath(u"refused.mdb"_qs);
    QFile::remove(path);
    if (exists)
        QVERIFY(writeFile(path, bytes));
    const Result<QList<JetRow>> read = readJetTable(path, testSilenceLimit);
    QVERIFY(!read.ok());
    QCOMPARE(read.error.cause, cause);
    QVERIFY2(read.error.description.contains(told), qPrintable(read.error.description));
    QVERIFY(read.error.number != 0);
    QCOMPARE(QFile::exists(path), exists);
    QCOMPARE(fileBytes(path), bytes);
}

void TestJetReader::decodesJet4Text_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty is text, not NULL") << QByteArray() << true << u""_qs;
    QTest::newRow("UTF-16") << utf16(u"نيک\u200Cنام 1"_qs) << true << u"نيک\u200Cنام 1"_qs;
    QTest::newRow("compressed") << QByteArray("\xFF\xFE"
                                              "0912 '9'")
                                << true << u"0912 '9'"_qs;
    QTest::newRow("compressed Latin-1") << QByteArray("\xFF\xFE"
                                                      "caf\xE9")
                                        << true << u"caf\u00E9"_qs;
    QTest::newRow("compressed, then UTF-16, then compressed") << QByteArray("\xFF\xFE"
                                                                            "ab\x00",
                                                                            5)
            + utf16(u"پژ"_qs)
            + QByteArray("\x00"
                         "cd",
                         3) << true << u"abپژcd"_qs;
    QTest::newRow("marker alone") << QByteArray("\xFF\xFE") << true << u""_qs;
    QTest::newRow("odd UTF-16") << QByteArray("\x46\x06\x27") << false << QString();
    QTest::newRow("odd UTF-16 run") << QByteArray("\xFF\xFE"
                                                  "a\x00\x46",
                                                  5)
                                    << false << QString();
}

void TestJetReader::decodesJet4Text()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(QString, expected);
    const std::optional<QString> text = decodeJet4Text(bytes);
    QCOMPARE(text.has_value(), valid);
    if (valid) {
        QCOMPARE(*text, expected);
        QVERIFY(!text->isNull());
    }
}

void TestJetReader::decodesCodePage_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    // Peh, tcheh, jeh, gaf, keheh, ZWNJ, yeh, lam, meem, noon, alef.
    QTest::newRow("Persian letters in 1256")
        << 1256 << QByteArray("\x81\x8D\x8E\x90\x98\x9D\xED\xE1\xE3\xE4\xC7")
        << u"\u067E\u0686\u0698\u06AF\u06A9\u200C\u064A\u0644\u0645\u0646\u0627"_qs;
    QTest::newRow("undefined in 1252 keeps its value")
        << 1252 << QByteArray("a\x81\x80") << u"a\u0081\u20AC"_qs;
}

void TestJetReader::decodesCodePage()
{
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    CodePageDecoder decoder(codePage);
    QVERIFY(decoder.isValid());
    const QString text = decoder.decode(bytes);
    QCOMPARE(text, expected);
    QVERIFY(!text.isNull());
}

using Behaviour = std::function<Status(JetRowSink &)>;

void TestJetReader::childTroubleBecomesRefusal_data()
{
    const QList<JetRow> sent{jetRow(u"علي"_qs, QString(), u""_qs, std::nullopt),
                             jetRow(u""_qs, u"0912"_qs, QString(), -0.0)};
    const auto send = [sent](quint32 recorded, qsizetype count) {
        return [sent, recorded, count](JetRowSink &sink) {
            sink.tableFound(recorded);
            for (qsizetype i = 0; i < count; ++i)
                sink.row(sent.at(i % sent.size()));
            return Status();
        };
    };
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<FailureCause>("cause");
    QTest::addColumn<QString>("told");
    QTest::newRow("reads, NULLs kept")
        << Behaviour(send(2, 2)) << true << FailureCause::None << QString();
    QTest::newRow("refuses") << Behaviour(
        [](JetRowSink &) { return jetFailure(FailureCause::NoTable, u"no table test"_qs); })
                             << false << FailureCause::NoTable << u"no table test"_qs;
    QTest::newRow("hangs") << Behaviour([](JetRowSink &sink) {
        sink.tableFound(5);
        for (;;)
            pause();
        return Status();
    }) << false << FailureCause::Damaged
                           << u"stopped responding after 0 of the 5 rows"_qs;
    QTest::newRow("crashes") << Behaviour([](JetRowSink &) {
        std::raise(SIGSEGV);
        return Status();
    }) << false << FailureCause::Damaged
                             << u"crashed (signal 11) before finding table test"_qs;
    QTest::newRow("calls exit()") << Behaviour([](JetRowSink &) {
        std::exit(3);
        return Status();
    }) << false << FailureCause::Damaged
                                  << u"ended unexpectedly (status 3)"_qs;
    // 2 GiB in all, a row sent after each 64 MiB so that the reading never
    // falls silent: only the limit on its memory stops it.
    QTest::newRow("takes memory without end") << Behaviour([](JetRowSink &sink) {
        constexpr int chunks = 32;
        constexpr size_t chunk = size_t(64) << 20;
        sink.tableFound(chunks);
        std::vector<std::unique_ptr<char[]>> held;
        for (int i = 0; i < chunks; ++i) {
            held.emplace_back(new char[chunk]);
            std::memset(held.back().get(), 1, chunk);
            sink.row(jetRow(u"x"_qs, {}, QString(64 * 1024, u'n'), i));
        }
        return Status();
    }) << false << FailureCause::Damaged << u"of the 32 rows"_qs;
    QTest::newRow("more rows than recorded")
        << Behaviour(send(1, 3)) << false << FailureCause::Damaged << u"more rows"_qs;
    QTest::newRow("fewer rows, yet content")
        << Behaviour(send(3, 1)) << false << FailureCause::Damaged << u"after 1 of the 3"_qs;
}

// Whatever the reading child does, the program goes on and gets an answer:
// the rows, the child's own refusal, or Damaged.
void TestJetReader::childTroubleBecomesRefusal()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(bool, ok);
    QFETCH(FailureCause, cause);
    QFETCH(QString, told);
    const QString marker = dir.filePath(u"exit-marker"_qs);
    exitMarker = QFile::encodeName(marker);
    const Result<QList<JetRow>> read = readInChildProcess(u"child.mdb"_qs, behaviour, 500ms);
    exitMarker.clear();
    QVERIFY(!QFile::exists(marker));
    QCOMPARE(read.ok(), ok);
    QCOMPARE(read.error.cause, cause);
    QVERIFY2(read.error.description.contains(told), qPrintable(read.error.description));
    if (ok)
        QVERIFY(sameRows(read.value,
                         {jetRow(u"علي"_qs, QString(), u""_qs, std::nullopt),
                          jetRow(u""_qs, u"0912"_qs, QString(), -0.0)}));
}

void TestJetReader::damagedCopiesAreRefusedOrReadWhole_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("damage");
    for (const QString &fixture :
         {u"jet4-basic.mdb"_qs, u"jet4-nulls.mdb"_qs, u"jet4-extra-fields.mdb"_qs}) {
        for (const QString &damage : {u"cut"_qs, u"overwritten"_qs})
            QTest::newRow(qPrintable(fixture + u' ' + damage)) << fixture << damage;
    }
}

// Every copy is either refused as damaged (or as lacking what it needs) or
// read with all of its rows; the reading never takes the program down and
// never outlasts the silence limit by much.
void TestJetReader::damagedCopiesAreRefusedOrReadWhole()
{
    QFETCH(QString, fixture);
    QFETCH(QString, damage);
    const QByteArray original = fixtureBytes(fixture);
    const qsizetype rows = readJetTable(fixturePath(fixture)).value.size();
    QVERIFY(rows > 0);

    QList<QByteArray> copies;
    if (damage == u"cut") {
        for (qsizetype page = 1; page * pageSize < original.size(); ++page) {
            copies.append(original.left(page * pageSize));
            copies.append(original.left(page * pageSize + 100));
        }
    } else {
        // Every page, hit with a few kinds of bytes in its header (page type,
        // owner, row offsets), among its rows at the end, and anywhere.
        QRandomGenerator random(20240601);
        for (qsizetype page = 0; page * pageSize < original.size(); ++page) {
            for (int hit = 0; hit < 9; ++hit) {
                QByteArray copy = original;
                const int place = hit < 3 ? random.bounded(64)
                    : hit < 6             ? int(pageSize) - 16 - random.bounded(700)
                                          : random.bounded(int(pageSize) - 16);
                const qsizetype at = page * pageSize + place;
                const int length = 1 + random.bounded(16);
                for (int i = 0; i < length; ++i)
                    copy[at + i] = char(hit % 3 == 0       ? 0xFF
                                            : hit % 3 == 1 ? 0x00
                                                           : random.bounded(256));
                copies.append(copy);
            }
        }
    }

    const QString path = dir.filePath(u"damaged.mdb"_qs);
    int refused = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        QVERIFY(writeFile(path, copies.at(i)));
        QElapsedTimer timer;
        timer.start();
        const Result<QList<JetRow>> read = readJetTable(path, testSilenceLimit);
        QVERIFY2(timer.elapsed() < 8000, qPrintable(QString::number(i)));
        if (read.ok()) {
            QVERIFY2(read.value.size() == rows, qPrintable(QString::number(i)));
            continue;
        }
        ++refused;
        const FailureCause cause = read.error.cause;
        QVERIFY2(cause == FailureCause::Damaged || cause == FailureCause::NotADatabase
                     || cause == FailureCause::NoTable || cause == FailureCause::MissingField,
                 qPrintable(read.error.description));
        QVERIFY(!read.error.description.isEmpty());
        QCOMPARE(fileBytes(path), copies.at(i));
    }
    QVERIFY(refused > 0);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::atexit(markExit);
    TestJetReader test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_jet_reader.moc"
