#pragma once

#include <QString>

#include <optional>

namespace dialvault {

// The languages the program speaks: Persian, the language its texts are
// written in, and English, from its translation.
enum class InterfaceLanguage { Persian, English };

// The name of the setting that chooses the windows' language.
inline const QString languageSettingName = QStringLiteral("language");

// The language of a code as --language and the setting give it ("fa",
// "en"); nothing for any other.
std::optional<InterfaceLanguage> languageOfCode(const QString &code);

// The command line's language when none is chosen: Persian when the user's
// first language for messages is Persian, else English.
InterfaceLanguage usersLanguage();

// The windows' language: the one chosen on the command line, else the one
// the setting names, else Persian, whatever the system's language, since
// most who read Persian run a system in English.
InterfaceLanguage windowsLanguage(std::optional<InterfaceLanguage> chosen, const QString &setting);

// Makes every text of the running application speak `language` from now
// on. Needs a QCoreApplication; false when the translation cannot be read.
bool useLanguage(InterfaceLanguage language);

// The language the texts are in now.
InterfaceLanguage languageInUse();

} // namespace dialvault
