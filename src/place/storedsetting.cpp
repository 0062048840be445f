#include "place/storedsetting.h"

#include "place/phonebookplace.h"

#include <QSettings>

namespace dialvault {

QString storedSetting(const QString &name, const QString &dataFolderOption)
{
    // The settings the windows would use, even where a portable folder
    // cannot be written: with a server the folder holds only the settings.
    PlaceFacts facts = placeFacts(dataFolderOption);
    facts.canWriteIn = [](const QString &) { return true; };
    const Result<PhoneBookPlace> place = decidePlace(facts);
    if (!place.value.settingsFile.isEmpty())
        return QSettings(place.value.settingsFile, QSettings::IniFormat).value(name).toString();
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dialvault"))
        .value(name)
        .toString();
}

} // namespace dialvault
