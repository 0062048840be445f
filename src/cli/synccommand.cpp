#include "cli/synccommand.h"

#include "cli/commands.h"
#include "cli/phonebookfolder.h"
#include "interchange/transfertexts.h"
#include "place/storedsetting.h"
#include "sync/addressbookaccount.h"
#include "sync/addressbooksync.h"
#include "sync/syncwords.h"

#include <QCoreApplication>
#include <QTextStream>

namespace dialvault {

int syncCommand(const CommandLine &line, QTextStream &out, QTextStream &err,
                PasswordSource &passwords)
{
    if (!line.arguments.isEmpty()) {
        err << "dialvault: " << noArgumentsText("sync") << "\n";
        return CommandMisused;
    }
    const QString address = line.carddav.isEmpty()
        ? storedSetting(carddavSettingName, line.dataFolder)
        : line.carddav;
    const bool allowHttp = line.allowHttp
        || QVariant(storedSetting(carddavHttpSettingName, line.dataFolder)).toBool();
    const SyncResult<AddressBookAccount> account = addressBookAccount(address, allowHttp);
    if (!account.ok()) {
        err << "dialvault: " << syncFailureWords(account) << "\n";
        return account.cause == SyncCause::NoAddressBook ? CommandMisused : CommandFailed;
    }
    const std::optional<PhoneBookSource> source = commandPhoneBook(line, err);
    if (!source)
        return CommandFailed;
    const SyncResult<SyncReport> synced = syncAddressBook(*source, account.value, passwords);
    if (!synced.ok()) {
        const QString words = synced.cause == SyncCause::Store
            ? notOpenedText(*source, synced.store)
            : syncFailureWords(synced);
        err << "dialvault: " << words << "\n"
            << QCoreApplication::translate(
                   "Commands", "چيزي نيمه کاره نماند: همگام سازي را مي توانيد دوباره اجرا کنيد.")
            << "\n";
        return CommandFailed;
    }
    for (const QString &reportLine : syncReportLines(synced.value))
        out << reportLine << "\n";
    for (const EntryTexts &ours : synced.value.putAside)
        out << QCoreApplication::translate("Commands", "نسخه کنار گذاشته:") << '\t'
            << onOneLine(ours.name) << '\t' << onOneLine(ours.phone) << '\t' << onOneLine(ours.note)
            << "\n";
    return CommandDone;
}

} // namespace dialvault
