#include "toolbar/tape_look.h"

#include "calc/twips.h"
#include "resources/fonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

// The windows size their fonts in pixels, 96 to the inch.
constexpr double PointsPerPixel = 72.0 / 96.0;
// A column never narrower than a spreadsheet's default one; the cell's margins around the text.
constexpr int DefaultColumnPixels = 64;
constexpr int CellMarginPixels = 8;
constexpr int RowMarginPixels = 2;

QList<int> columnPixels(const QList<SheetCell>& cells, const QFont& font) {
    const FontMeasurer measurer(font);
    QList<int> pixels;
    for (const SheetCell& cell : cells) {
        if (cell.column >= pixels.size())
            pixels.resize(cell.column + 1, DefaultColumnPixels);
        const auto text =
            static_cast<int>(std::ceil(measurer.textWidth(cell.text) / TwipsPerPixel));
        pixels[cell.column] = std::max(pixels[cell.column], text + CellMarginPixels);
    }
    return pixels;
}

} // namespace

// The tapes are shown in the main window's default font.
TextFont TapeTextFont() {
    const QFont font = fonts::WindowDefault();
    return {font.family(), font.pixelSize() * PointsPerPixel};
}

SheetLook TapeSheetLook(const QList<SheetCell>& cells) {
    const QFont font = fonts::WindowDefault();
    const double line = std::ceil(QFontMetricsF(font).lineSpacing());
    return {TapeTextFont(), (line + RowMarginPixels) * PointsPerPixel, columnPixels(cells, font)};
}
