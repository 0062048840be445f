#include "place/serverchoice.h"

#include "place/storedsetting.h"

namespace dialvault {

QString chosenServer(const QString &serverOption, const QString &dataFolderOption)
{
    if (!serverOption.isEmpty())
        return serverOption;
    if (const QString environment = qEnvironmentVariable("DIALVAULT_SERVER");
        !environment.isEmpty())
        return environment;
    return storedSetting(serverSettingName, dataFolderOption);
}

} // namespace dialvault
