#pragma once

#include <QString>

#include <optional>

namespace dialvault {

// One plain line saying how to run the program when there is no display to
// show its windows on; nothing when there is one (or a platform was chosen).
std::optional<QString> missingDisplay(const QString &program);

} // namespace dialvault
