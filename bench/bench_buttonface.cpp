// Cost of drawing a main-window button (93 x 25, gradient style, Persian
// caption). Goals: an unforced redraw that changes nothing costs under 2% of
// a forced one, and a forced one at most 3 times a plain fill plus the
// caption alone.

#include "button/buttonface.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace dialvault;

namespace {

void prepare(ButtonFace &face)
{
    face.colourScheme = ColourScheme::SystemColors;
    face.buildPalette();
    face.buttonType = ButtonStyle::Gradient;
    face.caption = QStringLiteral("جستجو");
    face.setSize(93, 25);
}

void forcedGradientRedraw(benchmark::State &state)
{
    ButtonFace face;
    prepare(face);
    for (auto _ : state) {
        face.redraw(Look::Up, true);
        benchmark::DoNotOptimize(face.image().constBits());
    }
}
BENCHMARK(forcedGradientRedraw);

void unforcedRedrawNoChange(benchmark::State &state)
{
    ButtonFace face;
    prepare(face);
    face.redraw(Look::Up, true);
    for (auto _ : state) {
        face.redraw(Look::Up);
        benchmark::DoNotOptimize(face.lastState);
    }
}
BENCHMARK(unforcedRedrawNoChange);

void plainFill(benchmark::State &state)
{
    QImage image(93, 25, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(0xFFC0C0C0);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(plainFill);

// With the font built from its stored form, as each redraw does.
void captionAlone(benchmark::State &state)
{
    ButtonFace face;
    prepare(face);
    ButtonSurface surface;
    surface.resize(face.width, face.height, face.faceColour);
    surface.setCaption(face.caption);
    surface.setTextColour(face.textColour);
    for (auto _ : state) {
        surface.setFont(face.font->toQFont());
        surface.drawCaption(face.fullRect);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
}
BENCHMARK(captionAlone);

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
