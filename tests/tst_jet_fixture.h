#pragma once

// The Jet test files and what each one holds (tests/data/README.md), and
// what a phone book file holds after a carry-over.

#include "jet/jetrow.h"
#include "support/rawdatabase.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace dialvault {

inline QString fixturePath(const QString &name)
{
    return QStringLiteral(DIALVAULT_TEST_DATA "/") + name;
}

inline QByteArray fixtureBytes(const QString &name)
{
    QFile file(fixturePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline JetRow jetRow(const QString &name, const QString &phone, const QString &note,
                     std::optional<double> rowNumber)
{
    return {name, phone, note, rowNumber};
}

// The texts are written as the files hold them: Arabic yeh U+064A and keheh
// U+06A9 as a rule, Persian yeh U+06CC where the README says so.
inline QList<JetRow> basicRows()
{
    return {
        jetRow(u"علي رضايي"_qs, u"09121234567"_qs, u"همکار، دفتر مرکزي"_qs, 1),
        jetRow(u"مريم احمدي"_qs, u"021-88776655"_qs, u""_qs, 2),
        jetRow(u"علي رضايي"_qs, u"0935 765 4321"_qs, u"شماره دوم"_qs, 3),
        jetRow(u"زهرا نيک\u200Cنام"_qs, u"+98 913 111 2233"_qs, u" "_qs, 3),
        jetRow(u"Ma'soumeh Karimi"_qs, u"031-32223344"_qs,
               u"Email: m.karimi@example.com - همسايه طبقه دوم"_qs, 5),
        jetRow(u"حسين محمدي"_qs, u"۰۵۱-۳۸۴۴۵۵۶۶"_qs, u"تولد: ۱۲ مهر"_qs, 6),
        jetRow(u"نگار \u06CCزدان\u06CC"_qs, u"0912 000 1122"_qs,
               u"کلاس زبان، سه\u200Cشنبه\u200Cها"_qs, 9),
        jetRow(u"پژمان چگيني"_qs, u"(021) 2290 1234"_qs, u"ساعت 9 تا 17"_qs, 8),
    };
}

inline QList<JetRow> nullRows()
{
    return {
        jetRow(u"علي رضايي"_qs, u"09121234567"_qs, QString(), 1),
        jetRow(u"مريم احمدي"_qs, u"021-88776655"_qs, u"يادداشت دارد"_qs, std::nullopt),
        jetRow(u"حسين محمدي"_qs, u"051-38445566"_qs, QString(), std::nullopt),
        jetRow(u"نرگس کاظمي"_qs, QString(), u""_qs, 4),
        jetRow(u"سارا موسوي"_qs, u"0913 555 6677"_qs, u"رديف اعشاري"_qs, 2.5),
    };
}

inline QList<JetRow> extraFieldRows()
{
    QString chain;
    for (int n = 1; n <= 60; ++n)
        chain += u"سطر %1: تماس گرفته شد - call back later.\r\n"_qs.arg(n);
    const QString twelveThousand = u"اين يک يادداشت بلند است. "_qs.repeated(500);
    const QString onePage
        = u"آدرس: مشهد، بلوار وکيل\u200Cآباد، کوچه ۱۲، پلاک ۳۴ - Mashhad, Vakilabad Blvd.\r\n"_qs
              .repeated(6);
    return {
        jetRow(u"علي رضايي"_qs, u"09121234567"_qs, u"يادداشت کوتاه"_qs, 1),
        jetRow(u"مريم احمدي"_qs, u"021-88776655"_qs, u"Plain ASCII memo"_qs, 2),
        jetRow(u"Ma'soumeh Karimi"_qs, u"031-32223344"_qs, chain, 3),
        jetRow(u"پژمان چگيني"_qs, u"(021) 2290 1234"_qs, twelveThousand, 4),
        jetRow(u"زهرا نيک\u200Cنام"_qs, u"+98 913 111 2233"_qs, u""_qs, 5),
        jetRow(u"حسين محمدي"_qs, u"051-38445566"_qs, onePage, 6),
    };
}

// jet4-large.mdb is made by a rule; every one of its 20,000 rows follows it.
inline QList<JetRow> largeRows()
{
    static const QStringList first{u"علي"_qs,  u"محمد"_qs, u"حسين"_qs,  u"رضا"_qs,   u"مهدي"_qs,
                                   u"امير"_qs, u"سعيد"_qs, u"حميد"_qs,  u"مجيد"_qs,  u"کامران"_qs,
                                   u"مريم"_qs, u"زهرا"_qs, u"فاطمه"_qs, u"ليلا"_qs,  u"سارا"_qs,
                                   u"نرگس"_qs, u"مينا"_qs, u"پريسا"_qs, u"شيرين"_qs, u"آزاده"_qs};
    static const QStringList last{
        u"احمدي"_qs, u"رضايي"_qs, u"محمدي"_qs, u"حسيني"_qs,        u"کريمي"_qs, u"موسوي"_qs,
        u"جعفري"_qs, u"صادقي"_qs, u"رحيمي"_qs, u"قاسمي"_qs,        u"نوري"_qs,  u"کاظمي"_qs,
        u"هاشمي"_qs, u"عباسي"_qs, u"ملکي"_qs,  u"شريفي"_qs,        u"باقري"_qs, u"اکبري"_qs,
        u"يوسفي"_qs, u"زماني"_qs, u"طاهري"_qs, u"نيک\u200Cنام"_qs, u"چگيني"_qs};
    static const QStringList prefixes{u"0912"_qs, u"0935"_qs, u"0919"_qs, u"0913"_qs,
                                      u"0938"_qs, u"021-"_qs, u"031-"_qs, u"051-"_qs};
    QList<JetRow> rows;
    for (qint64 i = 0; i < 20000; ++i) {
        const qint64 n = (7919 * i + 12345) % 100000000;
        const bool mobile = i % 8 < 5;
        const QString phone = prefixes.at(i % 8)
            + QStringLiteral("%1").arg(mobile ? n % 10000000 : n, mobile ? 7 : 8, 10,
                                       QLatin1Char('0'));
        const QString note = i % 10 == 0 ? u""_qs
            : i % 10 == 5                ? u"يادداشت شماره "_qs + QString::number(i + 1)
                                         : u"مشتري گروه "_qs + QString::number(i % 50);
        rows.append(
            jetRow(first.at(i % 20) + u' ' + last.at((7 * i) % 23), phone, note, double(i + 1)));
    }
    return rows;
}

// Compares row by row, telling NULL apart from the empty text.
inline bool sameRows(const QList<JetRow> &actual, const QList<JetRow> &expected)
{
    if (actual.size() != expected.size()) {
        qWarning("%lld rows instead of %lld", qlonglong(actual.size()), qlonglong(expected.size()));
        return false;
    }
    for (qsizetype i = 0; i < actual.size(); ++i) {
        const JetRow &a = actual.at(i);
        const JetRow &e = expected.at(i);
        const bool nullsMatch = a.name.isNull() == e.name.isNull()
            && a.phone.isNull() == e.phone.isNull() && a.note.isNull() == e.note.isNull();
        if (!(a == e) || !nullsMatch) {
            qWarning("row %lld differs: %s | %s | %s", qlonglong(i + 1), qPrintable(a.name),
                     qPrintable(a.phone), qPrintable(a.note.left(60)));
            return false;
        }
    }
    return true;
}

// Every row of table `test` of a phone book file, in storage order, read
// through plain SQLite: NULL as a null QString or no row number.
inline QList<JetRow> phoneBookRows(const QString &path)
{
    RawDatabase db(path);
    const QString select = QStringLiteral(
        "SELECT \"نام\", \"تلفن\", \"يادداشت\", \"رديف\" FROM test ORDER BY rowid");
    QList<QVariantList> columns;
    for (int c = 0; c < 4; ++c)
        columns.append(db.column(select, {}, c));
    QList<JetRow> rows;
    const auto text = [](const QVariant &v) {
        return v.isValid() ? (v.toString().isEmpty() ? u""_qs : v.toString()) : QString();
    };
    for (qsizetype r = 0; r < columns.at(0).size(); ++r) {
        const QVariant number = columns.at(3).at(r);
        rows.append(jetRow(text(columns.at(0).at(r)), text(columns.at(1).at(r)),
                           text(columns.at(2).at(r)),
                           number.isValid() ? std::optional(number.toDouble()) : std::nullopt));
    }
    return rows;
}

} // namespace dialvault
