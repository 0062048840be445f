#include "layout/layoutresources.h"

#include "button/colour.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace dialvault {

namespace {

QCursor pictureCursor(const QString &path, QPoint hotSpot, qreal scale)
{
    const QPixmap picture = layoutPicture(path, scale);
    // X11 takes the hot spot in the image's own pixels, Wayland in pixels
    // of the screen.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        hotSpot *= picture.devicePixelRatio();
    return QCursor(picture, hotSpot.x(), hotSpot.y());
}

} // namespace

QCursor pointerCursor(PointerShape shape, qreal scale)
{
    switch (shape) {
    case PointerShape::Crosshair:
        return Qt::CrossCursor;
    case PointerShape::Arrow:
        return pictureCursor(QStringLiteral(":/arrow.png"), QPoint(10, 5), scale);
    case PointerShape::Bird:
        return pictureCursor(QStringLiteral(":/bird.png"), QPoint(5, 7), scale);
    case PointerShape::Default:
        break;
    }
    return Qt::ArrowCursor;
}

QPixmap layoutPicture(const QString &path, qreal scale)
{
    if (scale > 1) {
        // Read at a device pixel ratio of 2, as its name says.
        const QFileInfo file(path);
        const QString twice
            = file.path() + u'/' + file.completeBaseName() + QStringLiteral("@2x.") + file.suffix();
        if (QFile::exists(twice))
            return QPixmap(twice);
    }
    return QPixmap(path);
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
