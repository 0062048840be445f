#pragma once

#include <QStringList>

namespace dialvault {

class MainWindow;
class WindowSystem;

// The contacts files the program was started with (a desktop's "open with",
// dialvault FILE…), once the main window shows: each is imported into the
// window's phone book whole or not at all, the outcome told in one Persian
// message, and the count on the window refreshed.
void importFilesGivenAtStart(WindowSystem &windows, MainWindow &window, const QStringList &files);

} // namespace dialvault
