#pragma once

#include "calc/text_measurer.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <cmath>

// The fonts the windows are drawn in. Liberation Sans, found by its family name, stands in for
// MS Sans Serif and Arial; where it is missing, the system's font takes its place (said once on
// standard error). Sizes are fixed in pixels so that every machine measures text alike.
namespace fonts {

QFont SansSerif(qreal points, bool bold = false); // "MS Sans Serif"
QFont Arial(qreal points);
QFont WindowDefault(); // MS Sans Serif 8.25 pt
// A font with the minimise and close glyphs, for the info box's two caption labels.
QFont Symbols(qreal points);

} // namespace fonts

// Text widths in twips of a font, as the windows measure their lines. A text of the characters
// that numbers and formulas on the tape are made of is measured without shaping: the font
// adjusts their widths pairwise only (kerning), so the width is the sum of the characters'
// widths and of the adjustments of neighbouring pairs, each measured once.
class FontMeasurer : public TextMeasurer {
public:
    explicit FontMeasurer(const QFont& font);

    double textWidth(const QString& text) const override;
    int checkMarkWidth() const override;

private:
    static constexpr char16_t TapeCharacters[] = u"0123456789,.-+*/() E";
    static constexpr int TapeCharacterCount = std::size(TapeCharacters) - 1;
    static constexpr double Unknown = NAN;

    static size_t pairIndex(int left, int right) {
        return static_cast<size_t>(left * TapeCharacterCount + right);
    }
    double measure(const QString& text) const;
    // Measure a character's width, and a pair's kerning, the first time it is needed.
    double measureCharacter(int character) const;
    double measureKerning(int left, int right) const;

    QFontMetricsF m_metrics;
    mutable std::array<double, TapeCharacterCount> m_widths;
    mutable std::array<double, TapeCharacterCount * TapeCharacterCount> m_kerning;
};
