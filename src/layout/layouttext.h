#pragma once

#include <QCoreApplication>
#include <QString>

namespace dialvault {

// A text of a layout as the window shows it, in the language in use. The
// layouts are made once, before any language may be chosen, so they keep
// the Persian and mark each text a person reads with
// QT_TRANSLATE_NOOP("Layouts", …); names and other data pass unchanged.
inline QString shownText(const QString &layoutText)
{
    if (layoutText.isEmpty())
        return layoutText;
    return QCoreApplication::translate("Layouts", layoutText.toUtf8().constData());
}

} // namespace dialvault
