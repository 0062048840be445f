#include "images/windowpictures.h"

#include "images/drawing.h"
#include "images/lettering.h"
#include "images/panel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace images {

namespace {

const QString bookTitle = QStringLiteral("دفترچه تلفن");
const QString programName = QStringLiteral("Dialvault");

// A neutral head-and-shoulders silhouette in a gilt frame.
void drawPortrait(QImage &image, const QRect &frame)
{
    QPainterPath outer;
    outer.addRect(frame);
    drawSoftShadow(image, outer, QColor(0, 0, 0, 170), QPointF(2, 3), 0, 2);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Gilt moulding: lit on the top and left, in shade on the bottom and right.
    const int moulding = 5;
    for (int i = 0; i < moulding; ++i) {
        const QRect ring = frame.adjusted(i, i, -i, -i);
        const qreal t = qreal(i) / (moulding - 1);
        const QColor lit = mix(QColor(0xFF, 0xE6, 0x9A), QColor(0xC8, 0x90, 0x30), t);
        const QColor shade = mix(QColor(0x6A, 0x44, 0x10), QColor(0xA8, 0x76, 0x24), t);
        painter.setPen(Qt::NoPen);
        painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), lit);
        painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), lit);
        painter.fillRect(QRect(ring.left() + 1, ring.bottom(), ring.width() - 1, 1), shade);
        painter.fillRect(QRect(ring.right(), ring.top() + 1, 1, ring.height() - 1), shade);
    }
    const QRect mat = frame.adjusted(moulding, moulding, -moulding, -moulding);
    painter.fillRect(mat, QColor(0xF2, 0xEC, 0xDC));
    const QRect photo = mat.adjusted(4, 4, -4, -4);
    painter.fillRect(photo.adjusted(-1, -1, 1, 1), QColor(0x9C, 0x94, 0x80));

    QLinearGradient backdrop(photo.topLeft(), photo.bottomLeft());
    backdrop.setColorAt(0, QColor(0xD4, 0xDE, 0xE8));
    backdrop.setColorAt(1, QColor(0x84, 0x94, 0xA8));
    painter.fillRect(photo, backdrop);

    painter.setClipRect(photo);
    const qreal cx = photo.center().x() + 0.5;
    const qreal headTop = photo.top() + photo.height() * 0.20;
    const qreal headHeight = photo.height() * 0.34;
    const qreal headWidth = headHeight * 0.80;
    QPainterPath head;
    head.addEllipse(QRectF(cx - headWidth / 2, headTop, headWidth, headHeight));
    const qreal neckTop = headTop + headHeight * 0.80;
    QPainterPath neck;
    neck.addRect(QRectF(cx - headWidth * 0.24, neckTop, headWidth * 0.48, headHeight * 0.7));
    const qreal shoulders = neckTop + headHeight * 0.30;
    QPainterPath body;
    body.moveTo(cx - headWidth * 0.24, shoulders);
    body.cubicTo(cx - photo.width() * 0.30, shoulders, cx - photo.width() * 0.44,
                 shoulders + headHeight * 0.08, cx - photo.width() * 0.46,
                 shoulders + headHeight * 0.45);
    body.lineTo(cx - photo.width() * 0.50, photo.bottom() + 2);
    body.lineTo(cx + photo.width() * 0.50, photo.bottom() + 2);
    body.lineTo(cx + photo.width() * 0.46, shoulders + headHeight * 0.45);
    body.cubicTo(cx + photo.width() * 0.44, shoulders + headHeight * 0.08,
                 cx + photo.width() * 0.30, shoulders, cx + headWidth * 0.24, shoulders);
    body.closeSubpath();

    QLinearGradient tone(QPointF(cx - photo.width() / 2.0, headTop),
                         QPointF(cx + photo.width() / 2.0, photo.bottom()));
    tone.setColorAt(0, QColor(0x7C, 0x86, 0x92));
    tone.setColorAt(1, QColor(0x46, 0x4E, 0x5A));
    painter.fillPath(head.united(neck).united(body), tone);
    // A soft light from the top left, like a studio portrait.
    QRadialGradient light(QPointF(photo.left() + photo.width() * 0.3, photo.top()),
                          photo.height() * 0.9);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(photo, light);
}

} // namespace

QImage mainPanel(int scale)
{
    // Labels and entry boxes start at y 64 and the button column at x 32..125:
    // the title keeps to the band above them at the right.
    QImage image = stripedPanel({413, 240}, {413, 239}, QPointF(330, 20), scale);
    const QPainterPath title = placed(textPath(bookTitle, 30, true), 396, 40, Anchor::Right);
    drawLettering(image, title, goldLettering);
    const QPainterPath name = placed(textPath(programName, 12, true), 396, 56, Anchor::Right);
    drawLettering(image, name, paleLettering);
    drawRule(image, title.boundingRect().left() - 20, name.boundingRect().left() - 8, 51);
    return image;
}

QImage helpPanel(int scale)
{
    // The instructions start at y 120.
    QImage image = stripedPanel({314, 382}, {314, 382}, QPointF(157, 40), scale);
    const QPainterPath heading
        = placed(textPath(QStringLiteral("راهنما"), 34, true), 157, 62, Anchor::Centre);
    drawLettering(image, heading, goldLettering);
    const QRectF box = heading.boundingRect();
    drawRule(image, 24, box.left() - 12, 48);
    drawRule(image, box.right() + 12, 290, 48);
    return image;
}

QImage aboutPanel(int scale)
{
    // The version line starts at y 96.
    QImage image = stripedPanel({384, 377}, {384, 376}, QPointF(192, 34), scale);
    const QPainterPath title = placed(textPath(bookTitle, 30, true), 192, 50, Anchor::Centre);
    drawLettering(image, title, goldLettering);
    const QPainterPath name = placed(textPath(programName, 13, true), 192, 78, Anchor::Centre);
    drawLettering(image, name, paleLettering);
    const QRectF box = name.boundingRect();
    drawRule(image, 110, box.left() - 10, 72);
    drawRule(image, box.right() + 10, 274, 72);
    return image;
}

QImage pictureCard(int scale)
{
    // The exit button stands at x 192..256, y 128..153.
    QImage image = stripedPanel({272, 165}, {272, 164}, QPointF(190, 50), scale);
    drawPortrait(image, QRect(14, 14, 86, 134));
    const qreal column = 186;
    drawLettering(image, placed(textPath(programName, 20, true), column, 48, Anchor::Centre),
                  goldLettering);
    drawRule(image, column - 56, column + 56, 60);
    drawLettering(
        image, placed(textPath(QStringLiteral("۱۳۸۳/۵/۲۸"), 14, true), column, 84, Anchor::Centre),
        paleLettering);
    drawLettering(
        image, placed(textPath(QStringLiteral("نسخه 2.03"), 14, true), column, 108, Anchor::Centre),
        paleLettering);
    return image;
}

QImage listPanel(int scale)
{
    return stripedPanel({493, 325}, {493, 325}, QPointF(246, 20), scale);
}

QImage passwordPanel(int scale)
{
    // The entry box covers x 104..193, y 31..50; its text sits near y 45.
    QImage image = stripedPanel({226, 110}, {224, 109}, QPointF(112, 10), scale);
    const QPainterPath word
        = placed(textPath(QStringLiteral("Password:"), 14, true), 14, 46, Anchor::Left);
    if (word.boundingRect().right() > 100)
        qFatal("the password lettering runs under the entry box");
    drawLettering(image, word, paleLettering);
    return image;
}
} // namespace images
