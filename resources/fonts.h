#pragma once

#include "calc/text_measurer.h"

#include <QFont>
#include <QFontMetricsF>

// The fonts the windows are drawn in. Liberation Sans stands in for MS Sans Serif and Arial;
// sizes are fixed in pixels so that every machine measures text alike.
namespace fonts {

// Loads the Liberation fonts into the application; call once after the application exists.
void LoadApplicationFonts();

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
