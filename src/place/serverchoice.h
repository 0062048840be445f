#pragma once

#include <QString>
#include <QVariant>

namespace dialvault {

// The name of the setting that holds the server's URL.
inline const QString serverSettingName = QStringLiteral("server");

// The phone book server of this run: --server (`serverOption`), else the
// environment variable DIALVAULT_SERVER, else the `server` value of the
// settings the windows read (the portable folder's INI file, or the user's
// own store; `dataFolderOption` is --data-dir, which decides between them).
// Empty when none names one: the phone book is the local file. Reads no
// widget, so the commands share it. Needs a QCoreApplication.
QString chosenServer(const QString &serverOption, const QString &dataFolderOption);

// The value `name` in the settings the windows read, chosen as above.
QVariant settingValue(const QString &name, const QString &dataFolderOption);

} // namespace dialvault
