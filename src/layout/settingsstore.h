#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace dialvault {

// The program's few settings, in one store: the user's own (the registry
// under Software\Dialvault on Windows, ~/.config/Dialvault.conf on Linux), or
// an INI file of a given path.
class SettingsStore
{
public:
    // The user's own settings store.
    SettingsStore();
    // An INI file at `path`.
    explicit SettingsStore(const QString &path);
    ~SettingsStore();

    // Empty text when the value is missing or cannot be read.
    QString read(const QString &name);
    // False when the value could not be kept.
    bool write(const QString &name, const QString &value);

    QString location() const;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace dialvault
