#pragma once

#include "calc/text_measurer.h"

#include <QFont>
#include <QFontMetricsF>

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

// Text widths in twips of a font, as the windows measure their lines.
class FontMeasurer : public TextMeasurer {
public:
    explicit FontMeasurer(const QFont& font);

    double textWidth(const QString& text) const override;
    int checkMarkWidth() const override;

private:
    QFontMetricsF m_metrics;
};
