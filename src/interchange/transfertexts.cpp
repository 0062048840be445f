#include "interchange/transfertexts.h"

#include "words/causewords.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <limits>

namespace dialvault {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The count that picks a text's singular or plural; the text writes the
// number itself with arg(), which takes counts beyond an int.
int formFor(qint64 count)
{
    return int(std::clamp<qint64>(count, 0, std::numeric_limits<int>::max()));
}

// The cause in the person's words, then the engine's own for whoever looks
// further.
QString why(const StoreError &error)
{
    QString words = errorWords(error);
    if (!words.isEmpty())
        words += u' ';
    return words
        + QCoreApplication::translate("FailureWords", "(خطاي شماره %1: %2)")
              .arg(QString::number(error.number), error.description);
}

} // namespace

QString importSummaryText(const ImportCounts &counts, const QStringList &fileNotes)
{
    QString summary
        = QCoreApplication::translate("TransferTexts",
                                      "%1 شماره اضافه شد، %2 شماره تکراري کنار گذاشته شد، %3 "
                                      "مورد بي نام و شماره بود.",
                                      nullptr, formFor(counts.duplicates))
              .arg(QString::number(counts.added), QString::number(counts.duplicates),
                   QString::number(counts.withoutNameOrNumber));
    for (const QString &note : fileNotes)
        summary = QCoreApplication::translate("TransferTexts", "%1 %2",
                                              "the summary of an import, then a file's note")
                      .arg(summary, note);
    return summary;
}

QString fileNoteText(const FileImport &taken)
{
    const bool assumed = !taken.assumedEncoding.isEmpty();
    const int skipped = taken.skippedLines;
    const QString file = shown(taken.path);
    if (assumed && skipped > 0)
        return QCoreApplication::translate(
                   "TransferTexts",
                   "پرونده %1 با رمزگذاري %2 خوانده شد و %3 سطر آن کنار گذاشته شد.", nullptr,
                   skipped)
            .arg(file, taken.assumedEncoding, QString::number(skipped));
    if (assumed)
        return QCoreApplication::translate("TransferTexts", "پرونده %1 با رمزگذاري %2 خوانده شد.")
            .arg(file, taken.assumedEncoding);
    if (skipped > 0)
        return QCoreApplication::translate("TransferTexts", "%1 سطر پرونده %2 کنار گذاشته شد.",
                                           nullptr, skipped)
            .arg(QString::number(skipped), file);
    return QString();
}

QString refusedFileText(const ReadFailure &failure)
{
    const QString file = shown(failure.fileName);
    const QString where = failure.line > 0
        ? QCoreApplication::translate("TransferTexts", "پرونده %1، سطر %2")
              .arg(file, QString::number(failure.line))
        : QCoreApplication::translate("TransferTexts", "پرونده %1").arg(file);
    return QCoreApplication::translate("TransferTexts", "%1 اضافه نشد: %2")
        .arg(where, failure.reason);
}

QString notDoneText(const QString &path, const StoreError &error, bool reading)
{
    // Said "not imported", an import that was stored would be imported twice
    // by hand; imported again, its stored entries are skipped.
    if (reading && error.cause == FailureCause::OutcomeUnknown)
        return QCoreApplication::translate(
                   "TransferTexts",
                   "معلوم نيست پرونده %1 به دفترچه تلفن اضافه شد يا نه: %2 اگر آن را "
                   "دوباره اضافه کنيد، شماره هاي ثبت شده تکراري شمرده و کنار "
                   "گذاشته مي شوند.")
            .arg(shown(path), why(error));
    const QString what = reading
        ? QCoreApplication::translate("TransferTexts", "پرونده %1 به دفترچه تلفن اضافه نشد: %2")
        : QCoreApplication::translate("TransferTexts", "پرونده %1 نوشته نشد: %2");
    return what.arg(shown(path), why(error));
}

QString exportedText(qint64 count, const QString &path)
{
    return QCoreApplication::translate("TransferTexts", "%1 شماره در پرونده %2 نوشته شد.", nullptr,
                                       formFor(count))
        .arg(QString::number(count), shown(path));
}

QString newPhoneBookText(const QString &folder)
{
    return QCoreApplication::translate("TransferTexts",
                                       "دفترچه تلفن تازه و خالي در پوشه %1 ساخته شد.")
        .arg(shown(folder));
}

QString notOpenedText(const PhoneBookSource &source, const StoreError &error)
{
    if (!source.isServer())
        return notOpenedText(source.databasePath(), error);
    return QCoreApplication::translate("TransferTexts", "دفترچه تلفن باز نشد: %1\nسرور: %2")
        .arg(why(error), source.shownName());
}

QString notOpenedText(const QString &path, const StoreError &error)
{
    return QCoreApplication::translate("TransferTexts", "دفترچه تلفن باز نشد: %1\nپرونده: %2")
        .arg(why(error), shown(path));
}

} // namespace dialvault
