#include "button/buttonsettings.h"

#include "button/propertybag.h"

#include <QVariant>

#include <array>

namespace dialvault {

namespace {

qint32 readInt(const PropertyBag &bag, Setting setting, qint32 defaultValue)
{
    bool ok = false;
    const qint32 value = bag.read(settingKey(setting), defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

// Colours may be stored as signed 32-bit values (system-colour references),
// so they are read wide and kept bit for bit.
Colour readColour(const PropertyBag &bag, Setting setting, Colour defaultValue)
{
    bool ok = false;
    const qlonglong value = bag.read(settingKey(setting), defaultValue).toLongLong(&ok);
    return ok ? Colour(quint32(value)) : defaultValue;
}

bool readBool(const PropertyBag &bag, Setting setting, bool defaultValue)
{
    return bag.read(settingKey(setting), defaultValue).toBool();
}

} // namespace

QString settingKey(Setting setting)
{
    static const std::array<QString, 8> keys{QStringLiteral("BTYPE"),   QStringLiteral("TX"),
                                             QStringLiteral("ENAB"),    QStringLiteral("FONT"),
                                             QStringLiteral("COLTYPE"), QStringLiteral("FOCUSR"),
                                             QStringLiteral("BCOL"),    QStringLiteral("FCOL")};
    return keys.at(std::size_t(setting));
}

ButtonSettings readSettings(const PropertyBag &bag, const FontRef &currentFont)
{
    ButtonSettings settings;
    settings.buttonType = ButtonStyle(readInt(bag, Setting::ButtonType, 2));
    settings.caption = bag.read(settingKey(Setting::Caption), QString()).toString();
    settings.enabled = readBool(bag, Setting::Enabled, true);
    const QVariant font = bag.read(settingKey(Setting::Font), QVariant());
    settings.font = font.metaType() == QMetaType::fromType<FontObject>()
        ? std::make_shared<FontObject>(font.value<FontObject>())
        : currentFont;
    settings.colourScheme = ColourScheme(readInt(bag, Setting::ColorScheme, 1));
    settings.showFocusRect = readBool(bag, Setting::ShowFocusRect, true);
    settings.backColour = readColour(bag, Setting::BackColor, systemColour(15));
    settings.foreColour = readColour(bag, Setting::ForeColor, systemColour(18));
    return settings;
}

void writeSettings(PropertyBag &bag, const ButtonSettings &settings)
{
    bag.write(settingKey(Setting::ButtonType), qint32(settings.buttonType));
    bag.write(settingKey(Setting::Caption), settings.caption);
    bag.write(settingKey(Setting::Enabled), settings.enabled);
    bag.write(settingKey(Setting::Font), QVariant::fromValue(*settings.font));
    bag.write(settingKey(Setting::ColorScheme), qint32(settings.colourScheme));
    bag.write(settingKey(Setting::ShowFocusRect), settings.showFocusRect);
    bag.write(settingKey(Setting::BackColor), settings.backColour);
    bag.write(settingKey(Setting::ForeColor), settings.foreColour);
}

} // namespace dialvault
