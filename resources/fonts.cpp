#include "resources/fonts.h"

#include "calc/module1.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStyle>

#include <cmath>
#include <cstdio>

namespace fonts {
namespace {

const QString Liberation = QStringLiteral("Liberation Sans");
constexpr qreal PixelsPerPoint = 96.0 / 72.0;

// Looked up once, on the first font a window asks for.
const QString& standInFamily() {
    static const QString family = [] {
        if (QFontDatabase::hasFamily(Liberation))
            return Liberation;
        const QString fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        std::fprintf(stderr, "Zifferon: Schrift „%s“ nicht gefunden, verwende „%s“.\n",
                     qUtf8Printable(Liberation), qUtf8Printable(fallback));
        return fallback;
    }();
    return family;
}

QFont withPoints(const QString& family, qreal points, bool bold) {
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * PixelsPerPoint)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont SansSerif(qreal points, bool bold) {
    return withPoints(standInFamily(), points, bold);
}

QFont Arial(qreal points) {
    return withPoints(standInFamily(), points, false);
}

QFont WindowDefault() {
    return SansSerif(8.25);
}

QFont Symbols(qreal points) {
    return withPoints(QStringLiteral("DejaVu Sans"), points, false);
}

} // namespace fonts

FontMeasurer::FontMeasurer(const QFont& font)
    : m_metrics(font) {}

double FontMeasurer::textWidth(const QString& text) const {
    return m_metrics.horizontalAdvance(text) * TwipsPerPixel;
}

int FontMeasurer::checkMarkWidth() const {
    return QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth);
}
