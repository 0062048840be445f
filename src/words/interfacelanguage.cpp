#include "words/interfacelanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace dialvault {

namespace {

// Built into the program, so that the build tree, a portable folder and an
// installation all find the same translation as the texts it translates.
QTranslator &englishTranslation()
{
    static QTranslator translation;
    return translation;
}

} // namespace

std::optional<InterfaceLanguage> languageOfCode(const QString &code)
{
    if (code == QLatin1String("fa"))
        return InterfaceLanguage::Persian;
    if (code == QLatin1String("en"))
        return InterfaceLanguage::English;
    return std::nullopt;
}

InterfaceLanguage usersLanguage()
{
    // The languages the user reads messages in (LANGUAGE, LC_ALL,
    // LC_MESSAGES, LANG on Unix), not the one numbers are written in.
    const QString first = QLocale::system().uiLanguages().value(0);
    return first == QLatin1String("fa") || first.startsWith(QLatin1String("fa-"))
        ? InterfaceLanguage::Persian
        : InterfaceLanguage::English;
}

InterfaceLanguage windowsLanguage(std::optional<InterfaceLanguage> chosen, const QString &setting)
{
    return chosen.value_or(languageOfCode(setting.trimmed()).value_or(InterfaceLanguage::Persian));
}

bool useLanguage(InterfaceLanguage language)
{
    QTranslator &english = englishTranslation();
    QCoreApplication::removeTranslator(&english);
    if (language == InterfaceLanguage::Persian)
        return true;
    if (english.isEmpty() && !english.load(QStringLiteral(":/translations/dialvault_en.qm")))
        return false;
    return QCoreApplication::installTranslator(&english);
}

InterfaceLanguage languageInUse()
{
    // Each translation names its own language; the texts themselves are
    // Persian.
    const QString code = QCoreApplication::translate(
        "InterfaceLanguage", "fa", "The code of the language of this translation");
    return languageOfCode(code).value_or(InterfaceLanguage::Persian);
}

} // namespace dialvault
