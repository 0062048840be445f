#include "images/palettestrip.h"

#include <QColor>

#include <cmath>

namespace images {

// Thirty hues in three tones over a row of greys, each swatch framed by a
// dark line: 121 colours in a 128-entry GIF palette.
QImage paletteStrip()
{
    constexpr int columns = 30;
    constexpr int rows = 4;
    constexpr int cellW = 25;
    constexpr int cellH = 20;
    QList<QRgb> colours{qRgb(0x2A, 0x2A, 0x2E)};
    QImage image(columns * cellW, rows * cellH, QImage::Format_Indexed8);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            QColor colour;
            if (row < 3) {
                const qreal hue = qreal(column) / columns;
                const qreal lightness[] = {0.80, 0.55, 0.32};
                const qreal saturation[] = {0.70, 0.85, 0.75};
                colour
                    = QColor::fromHslF(float(hue), float(saturation[row]), float(lightness[row]));
            } else {
                const int grey = int(std::lround(255.0 * (columns - 1 - column) / (columns - 1)));
                colour = QColor(grey, grey, grey);
            }
            const int index = int(colours.size());
            colours.append(colour.rgb());
            for (int y = 0; y < cellH; ++y) {
                uchar *line = image.scanLine(row * cellH + y);
                for (int x = 0; x < cellW; ++x) {
                    const bool border = x == 0 || y == 0 || x == cellW - 1 || y == cellH - 1;
                    line[column * cellW + x] = uchar(border ? 0 : index);
                }
            }
        }
    }
    while (colours.size() < 128)
        colours.append(qRgb(0, 0, 0));
    image.setColorTable(colours);
    return image;
}

} // namespace images
