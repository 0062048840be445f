#include "jet/importjetcommand.h"

#include "jet/jetconversion.h"
#include "jet/jetreader.h"
#include "store/durablefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace dialvault {

namespace {

int fail(const QString &from, const QString &to, const StoreError &error, QTextStream &err,
         int exitStatus)
{
    err << "dialvault: " << QDir::toNativeSeparators(from) << " was not carried over into "
        << QDir::toNativeSeparators(to) << ": " << error.description << " (error " << error.number
        << ")\n";
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
    out << "Carried over " << count << (count == 1 ? " entry" : " entries") << " from "
        << QDir::toNativeSeparators(jetPath) << " into " << QDir::toNativeSeparators(newPath)
        << ".\n";
    out.flush();
    return ImportJetDone;
}

} // namespace dialvault
