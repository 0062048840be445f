// Writes one PNG sheet of every button style in every look under each colour
// scheme, at the main window's button size and enlarged, for people to review.
//
//   QT_QPA_PLATFORM=offscreen dialvault-buttonsheet OUT.png

#include "button/buttonface.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <array>

using namespace dialvault;

namespace {

constexpr int buttonW = 93;
constexpr int buttonH = 25;
constexpr int zoom = 4;
constexpr int labelW = 150;
constexpr int gap = 12;
constexpr int cellW = buttonW + gap + buttonW * zoom + gap;
constexpr int cellH = buttonH * zoom + gap;
constexpr int headerH = 24;
// Shows through the corners that the window shape clips away.
constexpr QRgb backdrop = 0xFFF4C8D8;

struct Scheme
{
    ColourScheme scheme;
    const char *name;
    QString caption;
};

struct SheetColumn
{
    const char *name;
    Look look;
    bool focused;
};

const std::array<const char *, 8> styleNames{
    "",          "1 DoubleBevel", "2 Classic3D",  "3 Gradient",
    "4 Rounded", "5 BoldFlat",    "6 SoftShadow", "7 Thin3D"};

const std::array<SheetColumn, 4> looks{{{"Up", Look::Up, false},
                                        {"Down", Look::Down, false},
                                        {"Up, focused", Look::Up, true},
                                        {"Disabled", Look::Disabled, false}}};

// The drawn button as the window shows it: pixels outside its shape are the backdrop.
QImage shaped(ButtonFace &face)
{
    QImage image(buttonW, buttonH, QImage::Format_RGB32);
    image.fill(backdrop);
    const QRegion shape = face.buildRegion();
    for (int y = 0; y < buttonH; ++y)
        for (int x = 0; x < buttonW; ++x)
            if (shape.contains(QPoint(x, y)))
                image.setPixel(x, y, face.image().pixel(x, y));
    return image;
}

QImage drawButton(const Scheme &scheme, ButtonStyle style, const SheetColumn &look)
{
    ButtonFace face;
    face.colourScheme = scheme.scheme;
    face.backColour = 0xECE9D8; // the stored layouts' other face colour (#D8E9EC)
    face.foreColour = 0x000000;
    face.buildPalette();
    face.buttonType = style;
    face.caption = scheme.caption;
    face.enabled = look.look != Look::Disabled;
    face.hasFocus = look.focused;
    face.setSize(buttonW, buttonH);
    face.redraw(look.look == Look::Down ? Look::Down : Look::Up, true);
    return shaped(face);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: dialvault-buttonsheet OUT.png\n";
        return 2;
    }

    const std::array<Scheme, 3> schemes{{
        {ColourScheme::SystemColors, "SystemColors", QStringLiteral("جستجو")},
        {ColourScheme::CustomColors, "CustomColors #D8E9EC", QStringLiteral("اضافه کردن ")},
        {ColourScheme::FixedGrey, "FixedGrey", QStringLiteral("&جستجو Search")},
    }};

    const int rows = int(schemes.size()) * 7;
    QImage sheet(labelW + cellW * int(looks.size()), headerH + rows * cellH, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont labelFont(QStringLiteral("Noto Sans"));
    labelFont.setPixelSize(12);
    painter.setFont(labelFont);
    painter.setPen(Qt::black);

    for (int c = 0; c < int(looks.size()); ++c)
        painter.drawText(QRect(labelW + c * cellW, 0, cellW, headerH), Qt::AlignCenter,
                         QString::fromLatin1(looks[c].name));

    int row = 0;
    for (const Scheme &scheme : schemes) {
        for (int style = 1; style <= 7; ++style, ++row) {
            const int top = headerH + row * cellH;
            painter.drawText(
                QRect(4, top, labelW - 8, buttonH * zoom), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("%1\nstyle %2")
                    .arg(QString::fromLatin1(scheme.name), QString::fromLatin1(styleNames[style])));
            for (int c = 0; c < int(looks.size()); ++c) {
                const QImage button = drawButton(scheme, ButtonStyle(style), looks[c]);
                const int left = labelW + c * cellW;
                painter.drawImage(left, top + (buttonH * zoom - buttonH) / 2, button);
                // Enlarged pixel for pixel, no smoothing, so single pixels can be checked.
                painter.drawImage(left + buttonW + gap, top,
                                  button.scaled(buttonW * zoom, buttonH * zoom,
                                                Qt::IgnoreAspectRatio, Qt::FastTransformation));
            }
        }
    }
    painter.end();

    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
