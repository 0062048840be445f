#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "cli/phonebookfolder.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

int exportCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1) {
        err << "dialvault: " << oneFileText("export") << "\n";
        return CommandMisused;
    }
    const QString &path = line.arguments.first();
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
