// The contact list's rows: what the model shows of a phone book, in which
// order, as of which moment, and what it says of a file it cannot show.
#include "store/contactlistreader.h"
#include "store/contactlistsnapshot.h"
#include "store/contactlistview.h"
#include "store/contactstore.h"
#include "store/partquery.h"
#include "store/storeschema.h"
#include "support/sqlitefile.h"
#include "tst_engines.h"
#include "windows/contactgrid.h"
#include "windows/contactlistmodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <numeric>

using namespace dialvault;

namespace {

// Adds `count` entries "نام i", "تلفن i", "يادداشت i", i for i from 1.
void fill(const QString &path, int count)
{
    QCOMPARE(execSql(path,
                     QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                    "FROM c WHERE i < %1) INSERT INTO test (\"نام\", "
                                    "\"تلفن\", \"يادداشت\", \"رديف\") SELECT 'نام ' || i, "
                                    "'تلفن ' || i, 'يادداشت ' || i, i FROM c")
                         .arg(count)),
             QString());
}

// What the list shows of entry i as the tests fill a phone book.
QStringList filled(int i)
{
    return {QStringLiteral("نام %1").arg(i), QStringLiteral("تلفن %1").arg(i),
            QStringLiteral("يادداشت %1").arg(i), QString::number(i)};
}

QStringList texts(const StoredRow &row)
{
    return {row.name, row.phone, row.note, QString::number(qint64(row.rowNumber))};
}

QStringList texts(const ContactListRow &row)
{
    return {row.name, row.phone, row.note, row.rowNumber};
}

QStringList texts(const QAbstractItemModel &model, int row)
{
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column)
        shown << model.index(row, column).data().toString();
    return shown;
}

// Reads positions as a person jumps and scrolls: to the end, the start, the
// middle, back up a page at a time from the end, then down from the start.
using RowAt = std::function<QStringList(int)>;
void verifyVisits(const QList<QStringList> &stored, const RowAt &rowAt)
{
    const int count = int(stored.size());
    QList<int> visits{count - 1, 0, count / 2, count / 2 - 1};
    for (int row = count - 1; row >= 0; row -= 50)
        visits << row;
    for (int row = 0; row < count; row += 7)
        visits << row;
    for (int row : visits)
        QCOMPARE(rowAt(row), stored.at(row));
}

} // namespace

class TestContactListModel : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path;

private Q_SLOTS:
    void init()
    {
        QVERIFY(dir.isValid());
        QFile::remove(dir.filePath(ContactStore::fileName()));
        path = makeEmptyDatabase(dir.path());
    }

    void headings()
    {
        ContactListModel model;
        QVERIFY(model.open(path).ok());
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.rowCount(), 0);
        using namespace StoreSchema;
        const QStringList fields{nameField, phoneField, noteField, rowNumberField};
        for (int column = 0; column < 4; ++column)
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), fields.at(column));
        fill(path, 1);
        QVERIFY(model.open(path).ok());
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString());
    }

    void values_data()
    {
        QTest::addColumn<QString>("sqlValues");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Persian text exactly")
            << QStringLiteral("'علي كريمي', '۰۹۱۲ ۱۲۳ ۴۵۶۷', 'همكار', 1")
            << QStringList{QStringLiteral("علي كريمي"), QStringLiteral("۰۹۱۲ ۱۲۳ ۴۵۶۷"),
                           QStringLiteral("همكار"), QStringLiteral("1")};
        QTest::newRow("NULL everywhere is empty text")
            << QStringLiteral("NULL, NULL, NULL, NULL") << QStringList{{}, {}, {}, {}};
        QTest::newRow("a fraction")
            << QStringLiteral("'a', '1', '', 2.5") << QStringList{"a", "1", "", "2.5"};
        QTest::newRow("a million in digits")
            << QStringLiteral("'a', '1', '', 1000000") << QStringList{"a", "1", "", "1000000"};
        QTest::newRow("beyond exact digits")
            << QStringLiteral("'a', '1', '', 1e20") << QStringList{"a", "1", "", "1e+20"};
        QTest::newRow("text where the number goes")
            << QStringLiteral("'a', '1', '', '7a'") << QStringList{"a", "1", "", "7a"};
    }

    void values()
    {
        QFETCH(QString, sqlValues);
        QFETCH(QStringList, shown);
        QCOMPARE(execSql(path,
                         QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", "
                                        "\"رديف\") VALUES (%1)")
                             .arg(sqlValues)),
                 QString());
        ContactListModel model;
        QVERIFY(model.open(path).ok());
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(texts(model, 0), shown);
    }

    // Dense keys are read as ranges, gaps by walking; the phone book is read
    // directly until the private copy is complete, and from the copy after,
    // on either engine.
    void storedOrder_data()
    {
        addEngineColumn();
        QTest::addColumn<bool>("gaps");
        QTest::addColumn<QString>("source");
        for (const QString &engine : {sqliteEngine, serverEngine}) {
            for (const bool gaps : {false, true}) {
                for (const char *source : {"live", "copy", "model"}) {
                    const QByteArray name = QByteArray(gaps ? "gaps, " : "dense, ") + source;
                    engineRow(engine, name.constData()) << gaps << QString(source);
                }
            }
        }
    }

    void storedOrder()
    {
        QFETCH(bool, gaps);
        QFETCH(QString, source);
        ENGINE_BOOK(book, "tst_contactlistmodel");
        // More rows than the model keeps in its pages, and than a step of the copy.
        const int count = 1500;
        QVERIFY(book.exec(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                         "FROM c WHERE i < %1) INSERT INTO test (\"نام\", "
                                         "\"تلفن\", \"يادداشت\", \"رديف\") SELECT 'نام ' || "
                                         "i, 'تلفن ' || i, 'يادداشت ' || i, i FROM c")
                              .arg(count)));
        const auto deleted = [&](int i) { return gaps && (i % 7 == 0 || i <= 10 || i > 1490); };
        if (gaps)
            QVERIFY(book.exec(QStringLiteral("DELETE FROM test WHERE CAST(\"رديف\" AS integer) % 7 "
                                             "= 0 OR \"رديف\" <= 10 OR \"رديف\" > 1490")));
        QList<QStringList> stored;
        for (int i = 1; i <= count; ++i) {
            if (!deleted(i))
                stored.append(filled(i));
        }

        if (source == QLatin1String("live")) {
            const std::unique_ptr<StoreEngine> engine = makeStoreEngine(book.source());
            QVERIFY(engine->openForReading().ok());
            const Result<KeyExtent> extent = engine->listExtent();
            QVERIFY(extent.ok());
            QCOMPARE(extent.value.count, stored.size());
            QCOMPARE(extent.value.dense(), !gaps);
            ContactListReader reader(*engine, engine->listSql().table, engine->listSql().key,
                                     extent.value);
            verifyVisits(stored, [&](int row) {
                const Result<ContactListRows> rows = reader.rows(row, 3);
                return rows.ok() && !rows.value.isEmpty() ? texts(rows.value.first())
                                                          : QStringList();
            });
            QCOMPARE(reader.rows(stored.size() - 1, 10).value.size(), 1);
        } else if (source == QLatin1String("copy")) {
            ContactListSnapshot snapshot;
            QVERIFY(snapshot.open(book.source()).ok());
            QVERIFY(snapshot.waitUntilReleased(10000));
            QCOMPARE(snapshot.count(), stored.size());
            verifyVisits(stored,
                         [&](int row) { return texts(snapshot.rows(row, 1).value.value(0)); });
        } else {
            ContactListModel model;
            QVERIFY(model.open(book.source()).ok());
            QCOMPARE(model.rowCount(), stored.size());
            verifyVisits(stored, [&](int row) { return texts(model, row); });
        }
    }

    // The list shows the entries as they stood when it opened, while the main
    // window goes on adding and deleting; opening it again shows the changes.
    void snapshotWhileMainWindowWrites_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("a few") << 3;
        QTest::newRow("a copy of many steps") << 50000;
    }

    void snapshotWhileMainWindowWrites()
    {
        QFETCH(int, count);
        fill(path, count);
        ContactListModel list;
        QVERIFY(list.open(path).ok());

        ContactStore store(dir.path());
        QVERIFY(store.open().ok());
        const ContactEntry added{QStringLiteral("تازه"), QStringLiteral("1"), QString(),
                                 double(count + 1)};
        QCOMPARE(store.appendEntry(added).error.cause, FailureCause::None);
        QVERIFY(store.open().ok());
        QVERIFY(store.queryByName(QStringLiteral("نام 2")).ok());
        QCOMPARE(store.deleteFirstMatch().error.cause, FailureCause::None);

        // Read only now, so that nothing was kept from before the changes.
        QCOMPARE(list.rowCount(), count);
        QCOMPARE(texts(list, 1).first(), QStringLiteral("نام 2"));
        QCOMPARE(texts(list, count - 1).first(), QStringLiteral("نام %1").arg(count));

        ContactListModel reopened;
        QVERIFY(reopened.open(path).ok());
        QCOMPARE(reopened.rowCount(), count);
        QCOMPARE(texts(reopened, 1).first(), QStringLiteral("نام 3"));
        QCOMPARE(texts(reopened, count - 1).first(), added.name);
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FailureCause>("cause");
        QTest::newRow("missing file") << "missing" << FailureCause::CannotOpen;
        QTest::newRow("not a database") << "text" << FailureCause::NotADatabase;
        QTest::newRow("no table test") << "notable" << FailureCause::NoTable;
        QTest::newRow("a field missing") << "nofield" << FailureCause::MissingField;
    }

    void openFailures()
    {
        QFETCH(QString, kind);
        QFETCH(FailureCause, cause);
        QFile::remove(path);
        if (kind == QLatin1String("text")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("name,phone\n").repeated(500));
        } else if (kind != QLatin1String("missing")) {
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            const QString table = kind == QLatin1String("notable")
                ? QStringLiteral("CREATE TABLE other (x)")
                : QStringLiteral("CREATE TABLE test (\"نام\", \"تلفن\", \"رديف\")");
            QCOMPARE(execSql(path, table), QString());
        }

        ContactListModel model;
        const Status status = model.open(path);
        QCOMPARE(status.error.cause, cause);
        QVERIFY(status.error.number != 0);
        QCOMPARE(QFileInfo::exists(path), kind != QLatin1String("missing"));
        // Empty, yet still a usable model with its headings.
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), StoreSchema::nameField);
        QCOMPARE(model.index(0, 0).data(), QVariant());
    }

    // A file whose count was never kept (another tool made it) is counted.
    // The order of a column's values, each stored in an entry of its own in
    // the order given; the other fields are the same in every entry.
    void order_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("shown");
        const auto names = [](const char *stored, const char *shown) {
            QTest::newRow(shown) << int(ListColumn::Name) << false
                                 << QString::fromUtf8(stored).split(u'|')
                                 << QString::fromUtf8(shown).split(u'|');
        };
        names("ابراهيم|آرش|احمد", "آرش|ابراهيم|احمد");
        names("ثريا|تينا|پري|بهرام", "بهرام|پري|تينا|ثريا");
        names("گلي|حسن|ژاله|چنگيز|کيان|زهرا|جواد", "جواد|چنگيز|حسن|زهرا|ژاله|کيان|گلي");
        // Arabic yeh and kaf are the Persian letters: the next word decides.
        names("علی ب|علي الف|علی", "علی|علي الف|علی ب");
        names("کامران ج|كامران ب|کامران الف", "کامران الف|كامران ب|کامران ج");
        names("اتاق 10|اتاق ۹|اتاق 2|اتاق ٣", "اتاق 2|اتاق ٣|اتاق ۹|اتاق 10");
        names("Zahra|ali|علی|Bahram", "علی|ali|Bahram|Zahra");
        QTest::newRow("names descending")
            << int(ListColumn::Name) << true << QStringList{"بهرام", "آرش", "پري"}
            << QStringList{"پري", "بهرام", "آرش"};
        QTest::newRow("numbers by their digits")
            << int(ListColumn::Phone) << false << QStringList{"0912-300", "۰۹۱۲ ۱۰۰", "0912 200"}
            << QStringList{"۰۹۱۲ ۱۰۰", "0912 200", "0912-300"};
        QTest::newRow("row numbers by value")
            << int(ListColumn::RowNumber) << false << QStringList{"10", "9", "100", "2.5"}
            << QStringList{"2.5", "9", "10", "100"};
        QTest::newRow("row numbers descending")
            << int(ListColumn::RowNumber) << true << QStringList{"10", "9", "100"}
            << QStringList{"100", "10", "9"};
    }
    void order()
    {
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, shown);
        for (qsizetype i = 0; i < stored.size(); ++i) {
            QStringList values{"'نام'", "'0912'", "''", QString::number(i + 1)};
            values[column] = column == int(ListColumn::RowNumber) ? stored.at(i)
                                                                  : u'\'' + stored.at(i) + u'\'';
            QCOMPARE(execSql(path,
                             QStringLiteral("INSERT INTO test (\"نام\", \"تلفن\", "
                                            "\"يادداشت\", \"رديف\") VALUES (%1)")
                                 .arg(values.join(u','))),
                     QString());
        }
        ContactListModel model;
        model.setOrder({ListColumn(column), descending});
        QVERIFY(model.open(path).ok());
        QVERIFY(model.waitUntilShown(10000));
        QVERIFY(model.view().failure.ok());
        QStringList values;
        for (int row = 0; row < model.rowCount(); ++row)
            values << model.index(row, column).data().toString();
        QCOMPARE(values, shown);
        // The heading's arrow, and no other.
        for (int heading = 0; heading < model.columnCount(); ++heading) {
            const QVariant arrow
                = model.headerData(heading, Qt::Horizontal, ContactGrid::sortOrderRole);
            QCOMPARE(arrow.isValid(), heading == column);
        }
        QCOMPARE(model.headerData(column, Qt::Horizontal, ContactGrid::sortOrderRole).toInt(),
                 int(descending ? Qt::DescendingOrder : Qt::AscendingOrder));
    }

    // One list ordered by each column in turn, either way, as soon as it
    // opens, while the orders not yet asked for are worked out beside it:
    // each as if it were the only one.
    void everyOrderInTurn()
    {
        const int count = 20000;
        fill(path, count);
        // By their digits, numbers i come in the order of i's text.
        QList<int> byText(count);
        std::iota(byText.begin(), byText.end(), 1);
        std::sort(byText.begin(), byText.end(),
                  [](int a, int b) { return QString::number(a) < QString::number(b); });
        ContactListModel model;
        QVERIFY(model.open(path).ok());
        for (int column = 0; column < listColumnCount; ++column) {
            for (const bool descending : {false, true}) {
                model.setOrder({ListColumn(column), descending});
                QVERIFY(model.waitUntilShown(10000));
                QVERIFY(model.view().failure.ok());
                QCOMPARE(model.rowCount(), count);
                for (int row : {0, 1, 2, 99, count / 2, count - 2, count - 1}) {
                    const int rank = descending ? count - 1 - row : row;
                    const int entry = column == int(ListColumn::Phone) ? byText.at(rank) : rank + 1;
                    QCOMPARE(texts(model, row), filled(entry));
                }
            }
        }
    }

    // Each text as typed into the find box, over the same entries, in name
    // order: what `dialvault find` finds, and nothing else.
    void narrowedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("nothing typed")
            << QString() << QStringList{"علی رضایی", "علي كريمي", "کاظم", "مینا", "Sara Ahmadi"};
        QTest::newRow("yeh of either form") << "علی" << QStringList{"علی رضایی", "علي كريمي"};
        QTest::newRow("Arabic kaf") << "كاظم" << QStringList{"کاظم"};
        QTest::newRow("Latin of either case") << "sARA" << QStringList{"Sara Ahmadi"};
        QTest::newRow("within a name") << "ضای" << QStringList{"علی رضایی"};
        QTest::newRow("Persian digits, separators anywhere")
            << "۱۲۳۴" << QStringList{"علی رضایی", "علي كريمي", "مینا"};
        QTest::newRow("+98 for 0") << "0935 111" << QStringList{"Sara Ahmadi"};
        QTest::newRow("stored in Persian digits") << "0912-777" << QStringList{"کاظم"};
        QTest::newRow("no match") << "zzz" << QStringList{};
    }
    void narrowedAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        QCOMPARE(execSql(path,
                         QStringLiteral(
                             "INSERT INTO test (\"نام\", \"تلفن\", \"يادداشت\", \"رديف\") "
                             "VALUES ('مینا', '1234', '', 1), ('Sara Ahmadi', '+98 935 111 2233', "
                             "'', 2), ('کاظم', '۰۹۱۲ ۷۷۷ ۰۰۰۰', '', 3), ('علی رضایی', "
                             "'021-8888-1234', '', 4), ('علي كريمي', '0912 123 4567', '', 5)")),
                 QString());
        ContactListModel model;
        model.setOrder({ListColumn::Name, false});
        QVERIFY(model.open(path).ok());
        // Keystrokes one after another: only the last text is shown.
        for (qsizetype length = 1; length < typed.size(); ++length)
            model.setFilter(typed.left(length));
        model.setFilter(typed);
        QVERIFY(model.waitUntilShown(10000));
        QCOMPARE(model.view().filter, typed);
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.index(row, 0).data().toString();
        QCOMPARE(shown, names);
        const PartQuery query(typed);
        for (int row = 0; row < model.rowCount(); ++row) {
            QVERIFY(query.isEmpty()
                    || query.matches(shown.at(row), model.index(row, 1).data().toString(),
                                     PartPlace::Anywhere));
        }
    }

    // Entries deleted and corrected from the list are laid over its rows in
    // any order and narrowing, and come back where they were.
    void changesLaidOverAnyView_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("hidden");
        QTest::newRow("stored order, first and last") << ""
                                                      << "" << QList<int>{0, 3, 4, 11};
        QTest::newRow("by name descending, a run") << "name descending"
                                                   << "" << QList<int>{1, 2, 3};
        QTest::newRow("narrowed, by row descending")
            << "row descending" << QStringLiteral("نام 1") << QList<int>{0, 2};
    }
    void changesLaidOverAnyView()
    {
        QFETCH(QString, order);
        QFETCH(QString, filter);
        QFETCH(QList<int>, hidden);
        fill(path, 12);
        ContactListModel model;
        QAbstractItemModelTester tester(&model);
        model.setOrder(ListOrder::fromText(order));
        model.setFilter(filter);
        QVERIFY(model.open(path).ok());
        QVERIFY(model.waitUntilShown(10000));
        const auto shown = [&model] {
            QList<QStringList> rows;
            for (int row = 0; row < model.rowCount(); ++row)
                rows << texts(model, row);
            return rows;
        };
        const QList<QStringList> before = shown();
        QList<QStringList> remaining = before;
        for (auto row = hidden.crbegin(); row != hidden.crend(); ++row)
            remaining.removeAt(*row);

        const Result<ContactListRows> deleted = model.hideRows(hidden);
        QVERIFY(deleted.ok());
        QCOMPARE(deleted.value.size(), hidden.size());
        for (qsizetype i = 0; i < hidden.size(); ++i) {
            QCOMPARE(texts(deleted.value.at(i)), before.at(hidden.at(i)));
            QVERIFY(deleted.value.at(i).key > 0);
        }
        QCOMPARE(shown(), remaining);
        QCOMPARE(model.shownCount(), remaining.size());
        // A printout reads the same rows, from its own thread.
        const PrintedRows printed = model.shownRows();
        QCOMPARE(printed.count, remaining.size());
        const Result<ContactListRows> read = printed.read(0, int(printed.count));
        QVERIFY(read.ok());
        for (qsizetype i = 0; i < remaining.size(); ++i)
            QCOMPARE(texts(read.value.at(i)), remaining.at(i));

        // Another order and back: still hidden, however the rows stand.
        model.setOrder({});
        QVERIFY(model.waitUntilShown(10000));
        QCOMPARE(model.rowCount(), remaining.size());
        model.setOrder(ListOrder::fromText(order));
        QVERIFY(model.waitUntilShown(10000));
        QCOMPARE(shown(), remaining);

        const QStringList firstRemaining = remaining.at(0);
        ContactListRow corrected = model.entryAt(0);
        corrected.phone = QStringLiteral("0912 000");
        model.showStored(corrected);
        remaining[0][1] = corrected.phone;
        QCOMPARE(shown(), remaining);

        // Back where they were, beside the correction.
        QVERIFY(model.showAgain(deleted.value));
        QList<QStringList> expected = before;
        expected[before.indexOf(firstRemaining)][1] = corrected.phone;
        QCOMPARE(shown(), expected);
        // Unknown to the list: it must be read again to show it.
        QVERIFY(!model.hideEntries({deleted.value.first().key + 1000}));
    }

    void fileWithoutKeptCount()
    {
        QFile::remove(path);
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(execSql(path, StoreSchema::createTableStatement()), QString());
        fill(path, 5);
        ContactListModel model;
        QVERIFY(model.open(path).ok());
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(texts(model, 4), texts(storedRows(path).at(4)));
    }
};

QTEST_GUILESS_MAIN(TestContactListModel)
#include "tst_contactlistmodel.moc"
