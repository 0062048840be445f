#pragma once

#include <QStringList>

namespace dialvault {

class Form1;

// The contacts files the program was started with (a desktop's "open with",
// dialvault FILE…), once the main window shows: each is imported into the
// phone book whole or not at all, the outcome told in one Persian message,
// and the count on the window refreshed.
void importFilesGivenAtStart(Form1 &form, const QStringList &files);

} // namespace dialvault
