// Phone books from someone else: a file that holds another program's
// triggers, index, view or column, or claims gigabytes it has not, is
// refused at opening and at restore, untouched and with nothing written
// beside it; repair, from the command line or at start-up, gives back its
// four fields and nothing else.
#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "layout/formtextbox.h"
#include "main/mainwindow.h"
#include "main/mainwindowtexts.h"
#include "place/restore.h"
#include "store/contactstore.h"
#include "store/databasecheck.h"
#include "store/phonebook.h"
#include "store/storeschema.h"
#include "support/fakedesktop.h"
#include "support/sqlitefile.h"
#include "words/causewords.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>

using namespace dialvault;

namespace {

const QDateTime morning(QDate(2026, 12, 7), QTime(9, 0));

const QList<StoredRow> entries{
    {QStringLiteral("علی"), QStringLiteral("0912 111"), QStringLiteral("first"), 1},
    {QStringLiteral("سارا"), QStringLiteral("0912 222"), QString(), 2},
};

QStringList texts(const QList<StoredRow> &rows)
{
    QStringList out;
    for (const StoredRow &row : rows)
        out.append(
            QStringList{row.name, row.phone, row.note, QString::number(row.rowNumber)}.join(u'|'));
    return out;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A file as it lies: its length, its first megabyte and what is beside it.
struct Snapshot
{
    qint64 size = -1;
    QByteArray start;
    QStringList beside;

    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

Snapshot snapshot(const QString &path)
{
    Snapshot taken;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        taken.size = file.size();
        taken.start = file.read(1 << 20);
    }
    taken.beside = namesIn(QFileInfo(path).path());
    return taken;
}

// The statements that make `kind` of another program's in a phone book of
// ours that holds `entries`.
QString hostileStatements(const QString &kind)
{
    if (kind == QLatin1String("trigger before insert"))
        return QStringLiteral("CREATE TRIGGER swallow BEFORE INSERT ON test BEGIN SELECT "
                              "RAISE(IGNORE); END");
    if (kind == QLatin1String("trigger after insert"))
        return QStringLiteral("CREATE TRIGGER rewrite AFTER INSERT ON test BEGIN UPDATE test SET "
                              "\"تلفن\" = '0999' WHERE rowid = NEW.rowid; END");
    if (kind == QLatin1String("trigger before delete"))
        return QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON test BEGIN SELECT "
                              "RAISE(IGNORE); END");
    if (kind == QLatin1String("trigger on the count"))
        return QStringLiteral("CREATE TRIGGER halve AFTER UPDATE ON test_count BEGIN DELETE FROM "
                              "test WHERE rowid % 2 = 0; END");
    if (kind == QLatin1String("costly index"))
        return QStringLiteral("CREATE INDEX costly ON test(length(hex(zeroblob(1000000)) || "
                              "\"نام\"))");
    if (kind == QLatin1String("extra NOT NULL column"))
        return QStringLiteral("ALTER TABLE test ADD COLUMN extra TEXT NOT NULL DEFAULT ''");
    if (kind == QLatin1String("our trigger gone"))
        return QStringLiteral("DROP TRIGGER test_after_insert");
    return {};
}

// Table `test` as the program makes it, but for a folded name that is
// always 'x', at the schema's version: nobody is found, whatever the name.
void makeForeignFoldedName(const QString &path)
{
    using namespace StoreSchema;
    QFile(path).open(QIODevice::WriteOnly);
    RawDatabase db(path);
    QVERIFY(db.exec(createTableStatement()));
    for (GeneratedColumn column : generatedColumns()) {
        if (column.name == foldedNameColumn)
            column.expression = QStringLiteral("'x'");
        QVERIFY(db.exec(addColumnStatement(column)));
    }
    for (const QString &statement : companionStatements())
        QVERIFY(db.exec(statement));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO test_count VALUES (0); PRAGMA user_version = %1")
                        .arg(version)));
}

// Says it holds 4 GiB of pages, and is as long, but takes a few pages of the disk.
void makeSparse(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray header = file.read(100);
    qToBigEndian<quint32>(quint32(1) << 20, header.data() + 28);
    std::copy_n(header.constData() + 24, 4, header.data() + 92);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(header), 100);
    QVERIFY(file.resize(qint64(4096) << 20));
}

void makeHostile(const QString &kind, const QString &path)
{
    if (kind == QLatin1String("view named test")) {
        QFile(path).open(QIODevice::WriteOnly);
        QCOMPARE(execSql(path,
                         QStringLiteral("CREATE TABLE entries (\"نام\" TEXT, \"تلفن\" TEXT, "
                                        "\"يادداشت\" TEXT, \"رديف\" REAL); CREATE VIEW test AS "
                                        "SELECT * FROM entries")),
                 QString());
        for (const StoredRow &row : entries)
            QCOMPARE(execSql(path,
                             QStringLiteral("INSERT INTO entries VALUES ('%1', '%2', '%3', %4)")
                                 .arg(row.name, row.phone, row.note)
                                 .arg(row.rowNumber)),
                     QString());
        return;
    }
    if (kind == QLatin1String("folded expression at version 2"))
        makeForeignFoldedName(path);
    else
        makeEmptyDatabase(QFileInfo(path).path());
    for (const StoredRow &row : entries)
        insertRow(path, row);
    if (kind == QLatin1String("sparse with a huge page count"))
        makeSparse(path);
    else if (const QString sql = hostileStatements(kind); !sql.isEmpty())
        QCOMPARE(execSql(path, sql), QString());
}

// The schema of a phone book the program made, as SQLite keeps it.
QVariantList schemaOf(const QString &path)
{
    return RawDatabase(path).column(
        QStringLiteral("SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_master "
                       "ORDER BY name"));
}

} // namespace

class TestHostilePhoneBooks : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString folder; // holds the phone book, db1.mdb
    QString database;

    int runCommand(const QString &word, const QStringList &arguments, QString *out = nullptr,
                   QString *err = nullptr)
    {
        CommandLine line;
        line.command = word;
        line.arguments = arguments;
        line.dataFolder = folder;
        QString o;
        QString e;
        QTextStream outStream(&o);
        QTextStream errStream(&e);
        const int status = dialvault::runCommand(line, outStream, errStream);
        outStream.flush();
        errStream.flush();
        if (out)
            *out = o;
        if (err)
            *err = e;
        return status;
    }

    // The hostile phone books, and what refuses each.
    static void hostileRows()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FailureCause>("cause");
        QTest::addColumn<QString>("part");
        const FailureCause foreign = FailureCause::ForeignSchema;
        for (const auto &[kind, part] : {
                 std::pair{"trigger before insert", "trigger swallow"},
                 std::pair{"trigger after insert", "trigger rewrite"},
                 std::pair{"trigger before delete", "trigger keep"},
                 std::pair{"trigger on the count", "trigger halve"},
                 std::pair{"folded expression at version 2", "column folded_name"},
                 std::pair{"costly index", "index costly"},
                 std::pair{"view named test", "view test"},
                 std::pair{"extra NOT NULL column", "column extra"},
                 std::pair{"our trigger gone", "no trigger test_after_insert"},
             })
            QTest::newRow(kind) << QString::fromLatin1(kind) << foreign
                                << QString::fromLatin1(part);
        QTest::newRow("sparse with a huge page count")
            << "sparse with a huge page count" << FailureCause::Damaged << QString();
    }

private Q_SLOTS:
    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        folder = scratch->filePath(QStringLiteral("phone book"));
        QVERIFY(QDir().mkpath(folder));
        database = QDir(folder).filePath(QStringLiteral("db1.mdb"));
    }
    void cleanup() { scratch.reset(); }

    void refusedAtOpening_data() { hostileRows(); }
    void refusedAtOpening()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        QFETCH(QString, part);
        makeHostile(kind, database);
        const Snapshot before = snapshot(database);

        PhoneBook book(folder);
        const Status opened = book.open();
        QCOMPARE(opened.error.cause, cause);
        QCOMPARE(opened.error.foreignPart, part);
        // Refused again, and nothing runs, when it is used all the same.
        QCOMPARE(
            book.importEntries({{QStringLiteral("x"), QStringLiteral("1"), {}, 0}}).error.cause,
            cause);
        QCOMPARE(checkPhoneBook(database).error.cause, cause);
        QCOMPARE(snapshot(database), before);
    }

    void refusedAtRestore_data() { hostileRows(); }
    void refusedAtRestore()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        QFETCH(QString, part);
        const QString received = scratch->filePath(QStringLiteral("from a colleague/db1.mdb"));
        QVERIFY(QDir().mkpath(QFileInfo(received).path()));
        makeHostile(kind, received);
        makeEmptyDatabase(folder);
        insertRow(database, {QStringLiteral("mine"), QStringLiteral("1"), {}, 1});
        const Snapshot source = snapshot(received);
        const Snapshot current = snapshot(database);

        PhoneBookPlace place;
        place.kind = PlaceKind::Chosen;
        place.folder = folder;
        const Result<QString> restored = restorePhoneBook(place, received, morning);
        QCOMPARE(restored.error.cause, cause);
        QCOMPARE(restored.error.foreignPart, part);
        QCOMPARE(snapshot(received), source);
        QCOMPARE(snapshot(database), current);
        QCOMPARE(namesIn(folder), QStringList{"db1.mdb"});
    }

    void repairGivesBackTheFourFields_data() { hostileRows(); }
    void repairGivesBackTheFourFields()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        makeHostile(kind, database);
        const QByteArray original = snapshot(database).start;
        const Snapshot before = snapshot(database);
        QString out;
        QString err;
        // The commands that open the phone book point the way out.
        QCOMPARE(runCommand(QStringLiteral("find"), {QStringLiteral("x")}, &out, &err),
                 int(FindFailed));
        QCOMPARE(err.contains(QStringLiteral("dialvault repair")),
                 cause == FailureCause::ForeignSchema);
        const int status = runCommand(QStringLiteral("repair"), {}, &out);

        // Nothing to read the entries from: a view's rows come from its
        // code, and a file claiming gigabytes is not read at all.
        if (kind == QLatin1String("view named test") || cause == FailureCause::Damaged) {
            QCOMPARE(status, int(CommandFailed));
            QCOMPARE(snapshot(database), before);
            return;
        }
        QCOMPARE(status, int(CommandDone));
        const QString kept = out.section(QStringLiteral("kept as "), 1).trimmed();
        QCOMPARE(QFileInfo(kept).path(), QDir(folder).filePath(QStringLiteral("backups")));
        QCOMPARE(snapshot(kept).start, original);

        QCOMPARE(texts(storedRows(database)), texts(entries));
        QVERIFY(checkPhoneBook(database).ok());
        QDir().mkpath(scratch->filePath(QStringLiteral("fresh")));
        QCOMPARE(schemaOf(database), schemaOf(makeEmptyDatabase(scratch->filePath("fresh"))));
        PhoneBook book(folder);
        QVERIFY(book.open().ok());
        QCOMPARE(namesIn(folder), (QStringList{"backups", "db1.mdb"}));
    }

    void startUpOffersRepair_data()
    {
        QTest::addColumn<bool>("agreed");
        QTest::newRow("repaired") << true;
        QTest::newRow("declined") << false;
    }
    void startUpOffersRepair()
    {
        QFETCH(bool, agreed);
        makeHostile(QStringLiteral("trigger before insert"), database);
        const Snapshot before = snapshot(database);
        FakeDesktop fake;
        fake.folder = folder;
        fake.answers = {agreed ? AnswerYes : AnswerNo};
        MainWindow window(fake.desktop());
        QCOMPARE(window.start(), agreed);

        QVERIFY(!fake.boxes.isEmpty());
        const FakeDesktop::Box &question = fake.boxes.first();
        QCOMPARE(question.style, int(MsgYesNoQuestion));
        QVERIFY(question.text.startsWith(mainwindowtexts::startupFailed()));
        QVERIFY(question.text.contains(errorWords(
            {1, {}, FailureCause::ForeignSchema, {}, QStringLiteral("trigger swallow")})));
        QVERIFY(question.text.endsWith(mainwindowtexts::repairQuestion()));
        if (!agreed) {
            QCOMPARE(fake.boxes.size(), 1);
            QCOMPARE(fake.exitStatus, 1);
            QCOMPARE(snapshot(database), before);
            return;
        }
        QCOMPARE(fake.boxes.size(), 2);
        QVERIFY(
            fake.boxes.at(1).text.startsWith(mainwindowtexts::repairDone().section(u'\n', 0, 0)));
        QCOMPARE(fake.endCount, 0);
        QCOMPARE(window.controls().countBox->text(), QStringLiteral("2"));
        // Adds are stored again: the trigger that swallowed them is gone.
        ContactStore store(window.source());
        QVERIFY(store.open().ok());
        QVERIFY(store.appendEntry({QStringLiteral("x"), QStringLiteral("3"), {}, 3}).ok());
        QCOMPARE(storedRows(database).size(), 3);
    }
};

QTEST_MAIN(TestHostilePhoneBooks)
#include "tst_hostilephonebooks.moc"
