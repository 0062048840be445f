#include "jet/importjetcommand.h"

#include "jet/jetconversion.h"
#include "jet/jetreader.h"
#include "store/durablefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <climits>

namespace dialvault {

namespace {

int fail(const QString &from, const QString &to, const StoreError &error, QTextStream &err,
         int exitStatus)
{
    err << "dialvault: "
        << QCoreApplication::translate("ImportJet", "%1 به %2 منتقل نشد: %3 (خطاي شماره %4)")
               .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), error.description,
                    QString::number(error.number))
        << "\n";
    err.flush();
    return exitStatus;
}

} // namespace

int importJetCommand(const QString &jetPath, const QString &newPath, QTextStream &out,
                     QTextStream &err)
{
    // Checked first, so that a long reading is not wasted; the final rename
    // checks again.
    const QFileInfo target(newPath);
    if (target.exists() || target.isSymLink())
        return fail(jetPath, newPath, alreadyExists(newPath).error, err, ImportJetNotWritten);
    const Result<QList<JetRow>> rows = readJetTable(jetPath);
    if (!rows.ok())
        return fail(jetPath, newPath, rows.error, err, ImportJetRefused);
    const Status written = writeNewPhoneBook(newPath, rows.value);
    if (!written.ok())
        return fail(jetPath, newPath, written.error, err, ImportJetNotWritten);
    const qsizetype count = rows.value.size();
    // The count picks the singular or the plural; arg() writes it.
    const int form = int(std::min<qsizetype>(count, INT_MAX));
    out << QCoreApplication::translate("ImportJet", "%1 شماره از %2 به %3 منتقل شد.", nullptr, form)
               .arg(QString::number(count), QDir::toNativeSeparators(jetPath),
                    QDir::toNativeSeparators(newPath))
        << "\n";
    out.flush();
    return ImportJetDone;
}

} // namespace dialvault
