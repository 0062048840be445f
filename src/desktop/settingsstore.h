#pragma once

#include "desktop/settings.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace dialvault {

// The program's settings in one store: an INI file of a given path (beside
// a portable phone book, or the one a test makes), or else the user's own
// (the registry under Software\Dialvault on Windows, ~/.config/Dialvault.conf
// on Linux).
class SettingsStore final : public Settings
{
public:
    // The INI file at `path`; the user's own store when `path` is empty.
    explicit SettingsStore(const QString &path = {});
    ~SettingsStore() override;

    QString read(const QString &name) override;
    bool write(const QString &name, const QString &value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace dialvault
