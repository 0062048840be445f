#include "interchange/transfertexts.h"

#include "words/causewords.h"

#include <QDir>
#include <QLocale>

namespace dialvault {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString engineWords(const StoreError &error)
{
    if (!error.missingRight.isEmpty())
        return QStringLiteral("%1 (error %2; the right needed: %3)")
            .arg(error.description)
            .arg(error.number)
            .arg(error.missingRight);
    return QStringLiteral("%1 (error %2)").arg(error.description).arg(error.number);
}

// The cause in Persian words, then the engine's own for whoever looks further.
QString persianWhy(const StoreError &error)
{
    QString why = errorWords(error);
    if (!why.isEmpty())
        why += u' ';
    return why + QStringLiteral("(خطاي شماره %1: %2)").arg(error.number).arg(error.description);
}

} // namespace

Language userLanguage()
{
    // The languages the user reads messages in (LANGUAGE, LC_ALL,
    // LC_MESSAGES, LANG on Unix), not the one numbers are written in.
    const QString first = QLocale::system().uiLanguages().value(0);
    return first == QLatin1String("fa") || first.startsWith(QLatin1String("fa-"))
        ? Language::Persian
        : Language::English;
}

QString importSummaryText(const ImportCounts &counts, Language language,
                          const QStringList &fileNotes)
{
    if (language == Language::Persian) {
        QString summary = QStringLiteral("%1 شماره اضافه شد، %2 شماره تکراري کنار گذاشته شد، %3 "
                                         "مورد بي نام و شماره بود.")
                              .arg(counts.added)
                              .arg(counts.duplicates)
                              .arg(counts.withoutNameOrNumber);
        for (const QString &note : fileNotes)
            summary += u' ' + note;
        return summary;
    }
    QString summary = QStringLiteral("%1 added, %2 %3 skipped, %4 without name or number")
                          .arg(counts.added)
                          .arg(counts.duplicates)
                          .arg(counts.duplicates == 1 ? QStringLiteral("duplicate")
                                                      : QStringLiteral("duplicates"))
                          .arg(counts.withoutNameOrNumber);
    for (const QString &note : fileNotes)
        summary += QStringLiteral("; ") + note;
    return summary;
}

QString fileNoteText(const FileImport &taken, Language language)
{
    const bool assumed = !taken.assumedEncoding.isEmpty();
    const int skipped = taken.skippedLines;
    if (!assumed && skipped == 0)
        return QString();
    const QString file = shown(taken.path);
    if (language == Language::Persian) {
        if (assumed && skipped > 0)
            return QStringLiteral("پرونده %1 با رمزگذاري %2 خوانده شد و %3 سطر آن کنار گذاشته شد.")
                .arg(file, taken.assumedEncoding)
                .arg(skipped);
        if (assumed)
            return QStringLiteral("پرونده %1 با رمزگذاري %2 خوانده شد.")
                .arg(file, taken.assumedEncoding);
        return QStringLiteral("%1 سطر پرونده %2 کنار گذاشته شد.").arg(skipped).arg(file);
    }
    QStringList parts;
    if (assumed)
        parts.append(QStringLiteral("read as %1").arg(taken.assumedEncoding));
    if (skipped > 0)
        parts.append(QStringLiteral("%1 %2 skipped")
                         .arg(skipped)
                         .arg(skipped == 1 ? QStringLiteral("line") : QStringLiteral("lines")));
    return file + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

QString refusedFileText(const ReadFailure &failure, Language language)
{
    if (language == Language::Persian) {
        const QString where = failure.line > 0
            ? QStringLiteral("پرونده %1، سطر %2").arg(shown(failure.fileName)).arg(failure.line)
            : QStringLiteral("پرونده %1").arg(shown(failure.fileName));
        return QStringLiteral("%1 اضافه نشد: %2").arg(where, failure.reasonFa);
    }
    const QString where = failure.line > 0
        ? QStringLiteral("%1, line %2").arg(shown(failure.fileName)).arg(failure.line)
        : shown(failure.fileName);
    return QStringLiteral("%1 was not imported: %2").arg(where, failure.reason);
}

QString notDoneText(const QString &path, const StoreError &error, bool reading, Language language)
{
    // Said "not imported", an import that was stored would be imported twice
    // by hand; imported again, its stored entries are skipped.
    if (reading && error.cause == FailureCause::OutcomeUnknown) {
        if (language == Language::Persian)
            return QStringLiteral(
                       "معلوم نيست پرونده %1 به دفترچه تلفن اضافه شد يا نه: %2 اگر آن را "
                       "دوباره اضافه کنيد، شماره هاي ثبت شده تکراري شمرده و کنار "
                       "گذاشته مي شوند.")
                .arg(shown(path), persianWhy(error));
        return QStringLiteral("it is not known whether %1 was imported: the connection to the "
                              "server broke while it was committed (%2). Importing it again is "
                              "safe: the entries already stored are skipped as duplicates.")
            .arg(shown(path), engineWords(error));
    }
    if (language == Language::Persian) {
        const QString what = reading ? QStringLiteral("پرونده %1 به دفترچه تلفن اضافه نشد: %2")
                                     : QStringLiteral("پرونده %1 نوشته نشد: %2");
        return what.arg(shown(path), persianWhy(error));
    }
    const QString what = reading ? QStringLiteral("%1 was not imported: %2")
                                 : QStringLiteral("%1 was not written: %2");
    return what.arg(shown(path), engineWords(error));
}

QString exportedText(qint64 count, const QString &path, Language language)
{
    if (language == Language::Persian)
        return QStringLiteral("%1 شماره در پرونده %2 نوشته شد.").arg(count).arg(shown(path));
    return QStringLiteral("%1 %2 written to %3")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"), shown(path));
}

QString newPhoneBookText(const QString &folder, Language language)
{
    if (language == Language::Persian)
        return QStringLiteral("دفترچه تلفن تازه و خالي در پوشه %1 ساخته شد.").arg(shown(folder));
    return QStringLiteral("made a new empty phone book in %1").arg(shown(folder));
}

QString notOpenedText(const PhoneBookSource &source, const StoreError &error, Language language)
{
    if (!source.isServer())
        return notOpenedText(source.databasePath(), error, language);
    if (language == Language::Persian)
        return QStringLiteral("دفترچه تلفن باز نشد: %1\nسرور: %2")
            .arg(persianWhy(error), source.shownName());
    return QStringLiteral("the phone book on the server %1 could not be opened: %2")
        .arg(source.shownName(), engineWords(error));
}

QString notOpenedText(const QString &path, const StoreError &error, Language language)
{
    if (language == Language::Persian)
        return QStringLiteral("دفترچه تلفن باز نشد: %1\nپرونده: %2")
            .arg(persianWhy(error), shown(path));
    return QStringLiteral("the phone book %1 could not be opened: %2")
        .arg(shown(path), engineWords(error));
}

} // namespace dialvault
