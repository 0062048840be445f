#include "layout/layoutresources.h"

#include "button/colour.h"

#include <QPixmap>

namespace dialvault {

QCursor pointerCursor(PointerShape shape)
{
    switch (shape) {
    case PointerShape::Crosshair:
        return Qt::CrossCursor;
    case PointerShape::Arrow:
        return QCursor(QPixmap(QStringLiteral(":/arrow.png")), 10, 5);
    case PointerShape::Bird:
        return QCursor(QPixmap(QStringLiteral(":/bird.png")), 5, 7);
    case PointerShape::Default:
        break;
    }
    return Qt::ArrowCursor;
}

QColor layoutColour(LayoutColour colour)
{
    const Colour value = colour.kind == LayoutColour::Kind::System ? systemColour(int(colour.value))
                                                                   : colour.value;
    return QColor::fromRgb(toQRgb(value));
}

QIcon bookIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/book-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace dialvault
