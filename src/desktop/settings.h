#pragma once

#include <QString>

namespace dialvault {

// The user's few settings, by name ("color code", "backup failure told on").
class Settings
{
public:
    virtual ~Settings() = default;

    // Empty text when the value is missing or cannot be read.
    virtual QString read(const QString &name) = 0;
    // False when the value could not be kept.
    virtual bool write(const QString &name, const QString &value) = 0;
};

} // namespace dialvault
