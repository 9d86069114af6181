#include "resources/fonts.h"

#include "calc/module1.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QStyle>

#include <cmath>

namespace fonts {
namespace {

const QString Liberation = QStringLiteral("Liberation Sans");
constexpr qreal PixelsPerPoint = 96.0 / 72.0;

QFont withPoints(const QString& family, qreal points, bool bold) {
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * PixelsPerPoint)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

void LoadApplicationFonts() {
    const QDir folder(QStringLiteral("/usr/share/fonts/truetype/liberation"));
    for (const QString& file :
         {QStringLiteral("LiberationSans-Regular.ttf"), QStringLiteral("LiberationSans-Bold.ttf")})
        QFontDatabase::addApplicationFont(folder.filePath(file));
}

QFont SansSerif(qreal points, bool bold) {
    return withPoints(Liberation, points, bold);
}

QFont Arial(qreal points) {
    return withPoints(Liberation, points, false);
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
