#include "layout/settingsstore.h"

namespace dialvault {

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Dialvault")))
{ }

SettingsStore::SettingsStore(const QString &path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat))
{ }

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString &name)
{
    // Another program may have changed the store since it was last read.
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        return {};
    return settings_->value(name).toString();
}

bool SettingsStore::write(const QString &name, const QString &value)
{
    settings_->setValue(name, value);
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::location() const
{
    return settings_->fileName();
}

} // namespace dialvault
