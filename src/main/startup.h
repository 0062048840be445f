#pragma once

#include <QString>
#include <QStringList>

namespace dialvault {

// The program with its windows: the phone book's place decided (`dataFolder`
// is --data-dir, empty when not given), an old phone book there carried over,
// the main window shown with the day's backup behind it, the `files` it was
// asked to open taken in, the event loop run. Returns the exit status.
int runWindows(int &argc, char **argv, const QString &dataFolder = {},
               const QStringList &files = {});

} // namespace dialvault
