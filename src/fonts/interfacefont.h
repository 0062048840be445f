#pragma once

#include <QString>

namespace dialvault {

// The family every window draws its text in: Vazirmatn UI, a Persian
// interface font embedded in the program, so that text looks the same on
// every machine whatever fonts it has.
QString interfaceFontFamily();

// Registers the embedded font, once. Needs a QGuiApplication.
void useInterfaceFont();

// The family that draws a font the layouts name: the Windows interface fonts
// (Tahoma, MS Sans Serif) become the interface font, any other name stays.
QString familyFor(const QString &layoutName);

} // namespace dialvault
