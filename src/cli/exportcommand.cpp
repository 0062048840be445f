#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "cli/phonebookfolder.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"
#include "printing/listpdf.h"
#include "printing/printedlist.h"
#include "store/contactlistsnapshot.h"
#include "store/contactlistview.h"
#include "store/contactlistviews.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

namespace dialvault {

namespace {

// Every entry as the list prints it, by name in the Persian alphabet: a
// printed phone book is looked up by name.
int exportPdf(const CommandLine &line, const QString &path, QTextStream &out, QTextStream &err)
{
    // Opened as the other formats open it, so that a phone book that cannot
    // be used is told the same way.
    const std::unique_ptr<PhoneBook> book = openCommandPhoneBook(line, err);
    if (!book)
        return CommandFailed;
    auto snapshot = std::make_shared<ContactListSnapshot>();
    const Status opened = snapshot->open(book->source());
    if (!opened.ok()) {
        err << "dialvault: " << notOpenedText(book->source(), opened.error) << "\n";
        return CommandFailed;
    }
    ContactListViews views(snapshot);
    views.request({ListColumn::Name, false}, {});
    // Reading and ordering every entry takes seconds at a million; a
    // command waits for as long as it takes.
    while (!views.waitUntilCurrent(1000)) { }
    const std::shared_ptr<const ContactListView> view = views.latest();
    Result<qint64> written;
    if (view->failure.ok()) {
        const PrintedHeading heading{QCoreApplication::translate("Layouts", "ليست مشترك ها"),
                                     printedDateText(QDate::currentDate()),
                                     {}};
        written = writeListPdf(path, printedRowsOf(snapshot, view), heading);
    } else {
        written.error = view->failure.error;
    }
    if (!written.ok()) {
        err << "dialvault: " << notDoneText(path, written.error, false) << "\n";
        return CommandFailed;
    }
    out << exportedText(written.value, path) << "\n";
    return CommandDone;
}

} // namespace

bool exportWritesPdf(const CommandLine &line)
{
    return line.command == QLatin1String("export") && line.error.isEmpty()
        && line.arguments.size() == 1 && line.format.isEmpty() && isPdfPath(line.arguments.first());
}

int exportCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1) {
        err << "dialvault: " << oneFileText("export") << "\n";
        return CommandMisused;
    }
    const QString &path = line.arguments.first();
    if (exportWritesPdf(line))
        return exportPdf(line, path, out, err);
    const std::optional<ExportFormat> format
        = line.format.isEmpty() ? exportFormatOfPath(path) : exportFormatNamed(line.format);
    if (!format) {
        err << "dialvault: "
            << (line.format.isEmpty()
                    ? QCoreApplication::translate("Commands",
                                                  "قالب %1 از نام آن معلوم نيست: --format را با "
                                                  "vcard3، vcard4 يا csv بدهيد")
                          .arg(path)
                    : QCoreApplication::translate("Commands",
                                                  "--format بايد vcard3، vcard4 يا csv باشد"))
            << "\n";
        return CommandMisused;
    }
    const std::unique_ptr<PhoneBook> book = openCommandPhoneBook(line, err);
    if (!book)
        return CommandFailed;
    const Result<qint64> written = exportPhoneBook(*book, path, *format);
    if (!written.ok()) {
        err << "dialvault: " << notDoneText(path, written.error, false) << "\n";
        return CommandFailed;
    }
    out << exportedText(written.value, path) << "\n";
    return CommandDone;
}

} // namespace dialvault
