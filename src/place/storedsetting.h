#pragma once

#include <QString>

namespace dialvault {

// The value of the setting `name` in the settings the windows read (the
// portable folder's INI file, or the user's own store; `dataFolderOption` is
// --data-dir, which decides between them), for the commands, which open no
// window. Empty when missing. Needs a QCoreApplication.
QString storedSetting(const QString &name, const QString &dataFolderOption);

} // namespace dialvault
