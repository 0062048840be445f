#include "cli/commands.h"
#include "cli/contactcommands.h"
#include "cli/phonebookfolder.h"
#include "interchange/phonebookexport.h"
#include "interchange/transfertexts.h"

#include <QTextStream>

namespace dialvault {

int exportCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1) {
        err << "dialvault: export needs one FILE\n";
        return CommandMisused;
    }
    const QString &path = line.arguments.first();
    const std::optional<ExportFormat> format
        = line.format.isEmpty() ? exportFormatOfPath(path) : exportFormatNamed(line.format);
    if (!format) {
        err << "dialvault: "
            << (line.format.isEmpty()
                    ? QStringLiteral("the format of %1 is not known by its name: give --format "
                                     "vcard3, vcard4 or csv")
                          .arg(path)
                    : QStringLiteral("--format must be vcard3, vcard4 or csv"))
            << "\n";
        return CommandMisused;
    }
    const std::unique_ptr<PhoneBook> book = openCommandPhoneBook(line, err);
    if (!book)
        return CommandFailed;
    const Language language = userLanguage();
    const Result<qint64> written = exportPhoneBook(*book, path, *format);
    if (!written.ok()) {
        err << "dialvault: " << notDoneText(path, written.error, false, language) << "\n";
        return CommandFailed;
    }
    out << exportedText(written.value, path, language) << "\n";
    return CommandDone;
}

} // namespace dialvault
