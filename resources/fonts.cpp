#include "resources/fonts.h"

#include "calc/twips.h"

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

namespace {

constexpr char16_t Ascii = 128;

// Position of each ASCII character among the tape characters; -1 for any other.
template <size_t Size>
constexpr std::array<qint8, Ascii> indexTable(const char16_t (&characters)[Size]) {
    std::array<qint8, Ascii> table{};
    table.fill(-1);
    for (size_t i = 0; i + 1 < Size; ++i)
        table[characters[i]] = static_cast<qint8>(i);
    return table;
}

} // namespace

FontMeasurer::FontMeasurer(const QFont& font)
    : m_metrics(font) {
    m_widths.fill(Unknown);
    m_kerning.fill(Unknown);
}

double FontMeasurer::textWidth(const QString& text) const {
    static constexpr std::array<qint8, Ascii> Index = indexTable(TapeCharacters);
    double width = 0.0;
    int previous = -1;
    for (const QChar character : text) {
        const int index = character.unicode() < Ascii ? Index[character.unicode()] : -1;
        if (index < 0)
            return measure(text);
        const double known = m_widths[static_cast<size_t>(index)];
        width += std::isnan(known) ? measureCharacter(index) : known;
        if (previous >= 0) {
            const double kerned = m_kerning[pairIndex(previous, index)];
            width += std::isnan(kerned) ? measureKerning(previous, index) : kerned;
        }
        previous = index;
    }
    return width;
}

double FontMeasurer::measure(const QString& text) const {
    return m_metrics.horizontalAdvance(text) * TwipsPerPixel;
}

double FontMeasurer::measureCharacter(int character) const {
    double& width = m_widths[static_cast<size_t>(character)];
    width = measure(QString(QChar(TapeCharacters[character])));
    return width;
}

double FontMeasurer::measureKerning(int left, int right) const {
    const QString pair = QString(QChar(TapeCharacters[left])) + QChar(TapeCharacters[right]);
    double& adjustment = m_kerning[pairIndex(left, right)];
    adjustment = measure(pair) - m_widths[static_cast<size_t>(left)] -
                 m_widths[static_cast<size_t>(right)]; // both measured on their way here
    return adjustment;
}

int FontMeasurer::checkMarkWidth() const {
    return QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth);
}
