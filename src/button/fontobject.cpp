#include "button/fontobject.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace dialvault {

namespace {

// The layouts name Windows fonts that Linux does not have. Their stand-ins
// cover Persian (Noto Sans Arabic) and Latin (Noto Sans), so mixed captions
// still draw every letter.
void installSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList standIns{QStringLiteral("Noto Sans Arabic UI"),
                                   QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans")};
        QFont::insertSubstitutions(QStringLiteral("Tahoma"), standIns);
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), standIns);
    });
}

} // namespace

QFont FontObject::toQFont() const
{
    installSubstitutions();
    QFont font(name);
    font.setPixelSize(std::max(1, int(std::lround(size * 96.0 / 72.0))));
    // Weight 0 is the window system's "don't care", which draws as normal.
    const int own = weight > 0 ? std::min(weight, 1000) : 400;
    font.setWeight(QFont::Weight(bold ? std::max(own, 700) : own));
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethrough);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace dialvault
