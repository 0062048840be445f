#include "desktop/settingsstore.h"

namespace dialvault {

SettingsStore::SettingsStore(const QString &path)
    : m_settings(path.isEmpty() ? std::make_unique<QSettings>(
                     QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dialvault"))
                                : std::make_unique<QSettings>(path, QSettings::IniFormat))
{ }

SettingsStore::~SettingsStore() = default;

QString SettingsStore::read(const QString &name)
{
    // Another program may have changed the store since it was last read.
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        return {};
    return m_settings->value(name).toString();
}

bool SettingsStore::write(const QString &name, const QString &value)
{
    m_settings->setValue(name, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace dialvault
