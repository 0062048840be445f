#include "place/serverchoice.h"

#include "place/phonebookplace.h"

#include <QSettings>

namespace dialvault {

QString chosenServer(const QString &serverOption, const QString &dataFolderOption)
{
    if (!serverOption.isEmpty())
        return serverOption;
    if (const QString environment = qEnvironmentVariable("DIALVAULT_SERVER");
        !environment.isEmpty())
        return environment;
    return settingValue(serverSettingName, dataFolderOption).toString();
}

QVariant settingValue(const QString &name, const QString &dataFolderOption)
{
    // The settings the windows would use, even where a portable folder
    // cannot be written: with a server the folder holds only the settings.
    PlaceFacts facts = placeFacts(dataFolderOption);
    facts.canWriteIn = [](const QString &) { return true; };
    const Result<PhoneBookPlace> place = decidePlace(facts);
    if (!place.value.settingsFile.isEmpty())
        return QSettings(place.value.settingsFile, QSettings::IniFormat).value(name);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dialvault"))
        .value(name);
}

} // namespace dialvault
