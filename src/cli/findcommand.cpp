#include "cli/contactcommands.h"

#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "interchange/transfertexts.h"
#include "store/phonebook.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

namespace {

QString firstLine(const QString &note)
{
    qsizetype end = 0;
    while (end < note.size() && note[end] != u'\n' && note[end] != u'\r')
        ++end;
    return note.left(end);
}

} // namespace

int findCommand(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    if (line.arguments.size() != 1 || line.arguments.first().isEmpty()) {
        err << "dialvault: " << QCoreApplication::translate("Commands", "find به يک TEXT نياز دارد")
            << "\n";
        return FindFailed;
    }
    const std::unique_ptr<PhoneBook> opened = openCommandPhoneBook(line, err);
    if (!opened)
        return FindFailed;
    PhoneBook &book = *opened;
    qint64 shown = 0;
    const Status searched = book.findByPart(PartQuery(line.arguments.first()),
                                            line.atStart ? PartPlace::Start : PartPlace::Anywhere,
                                            [&](const ContactEntry &entry) {
                                                out << onOneLine(entry.name) << '\t'
                                                    << onOneLine(entry.phone) << '\t'
                                                    << onOneLine(firstLine(entry.note)) << '\n';
                                                ++shown;
                                                return true;
                                            });
    out.flush();
    if (!searched.ok()) {
        err << "dialvault: " << notOpenedText(book.source(), searched.error) << "\n";
        return FindFailed;
    }
    return shown > 0 ? FindMatched : FindNothing;
}

} // namespace dialvault
