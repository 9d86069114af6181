// The title picture of the splash window and the logo of the info box. Both carry white text
// drawn by the windows, so every place where text goes stays dark.

#include "tools/artwork/artwork.h"
#include "tools/artwork/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr QSize TitleSize(675, 610);
constexpr int TitleRuleY = 248; // the window's first red rule
constexpr QSize LogoSize(660, 600);

void paintGlow(QPainter& painter, QPointF centre, qreal radius, const QColor& colour) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    QColor outer = colour;
    outer.setAlpha(0);
    glow.setColorAt(1, outer);
    painter.fillRect(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                     glow);
}

// A strip of adding-machine tape with right-aligned figures, in muted colours.
void paintTapeStrip(QPainter& painter, const QRectF& strip, const QColor& paper, const QColor& ink,
                    int firstFigure) {
    painter.fillRect(strip, paper);
    painter.setFont(SansFont(12));
    painter.setPen(ink);
    int figure = firstFigure;
    for (qreal y = strip.top() + 8; y + 16 < strip.bottom(); y += 22) {
        figure = (figure * 37 + 1234) % 99991;
        const QString line =
            QStringLiteral("%1,%2").arg(figure / 100).arg(figure % 100, 2, 10, QLatin1Char('0'));
        painter.drawText(QRectF(strip.left(), y, strip.width() - 8, 16),
                         Qt::AlignRight | Qt::AlignVCenter, line);
    }
}

void paintProductName(QPainter& painter) {
    QFont font = SansFont(96, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    const QRectF nameArea(0, 70, TitleSize.width(), 120);
    QPainterPath name;
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QStringLiteral("Zifferon"));
    name.addText((TitleSize.width() - width) / 2, nameArea.top() + metrics.ascent(), font,
                 QStringLiteral("Zifferon"));
    painter.fillPath(name.translated(3, 4), QColor(0, 0, 0, 150));
    QLinearGradient fill(0, nameArea.top() + 10, 0, nameArea.top() + metrics.ascent());
    fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    fill.setColorAt(0.55, QColor(0xD9, 0xCC, 0xFF));
    fill.setColorAt(1, QColor(0xA0, 0x77, 0xDF));
    painter.fillPath(name, fill);
    painter.strokePath(name, QPen(QColor(0x3C, 0x28, 0x78), 1.2));
}

void paintTitleTexts(QPainter& painter) {
    QFont maker = SansFont(15, true);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(maker);
    painter.setPen(QColor(0xA8, 0xB8, 0xE8));
    painter.drawText(QRectF(0, 34, TitleSize.width(), 24), Qt::AlignCenter,
                     QStringLiteral("MORVANTIS"));
    painter.setFont(SansFont(20));
    painter.setPen(QColor(0xD0, 0xDA, 0xF4));
    painter.drawText(QRectF(0, 196, TitleSize.width(), 30), Qt::AlignCenter,
                     QStringLiteral("Der Rechner mit dem Zahlenstreifen"));
}

} // namespace

QImage TitlePicture(int scale) {
    return Painted(TitleSize, scale, QImage::Format_RGB32, [](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        FillVertical(painter, QRectF(0, 0, TitleSize.width(), TitleRuleY), QColor(0x1E, 0x2C, 0x5E),
                     QColor(0x10, 0x18, 0x3A));
        FillVertical(painter,
                     QRectF(0, TitleRuleY, TitleSize.width(), TitleSize.height() - TitleRuleY),
                     QColor(0x0E, 0x15, 0x32), QColor(0x07, 0x0B, 0x1E));
        painter.save();
        painter.setClipRect(0, 0, TitleSize.width(), TitleRuleY);
        paintGlow(painter, QPointF(337, 130), 300, QColor(0x6C, 0x5A, 0xC8, 110));
        painter.restore();
        paintTapeStrip(painter,
                       QRectF(40, TitleRuleY + 14, 84, TitleSize.height() - TitleRuleY - 14),
                       QColor(0x16, 0x20, 0x44), QColor(0x3A, 0x4A, 0x7E), 4711);
        paintProductName(painter);
        paintTitleTexts(painter);
    });
}

namespace {

// A tape that swings through the logo in the shape of a Z.
void paintZRibbon(QPainter& painter, const QRectF& area) {
    QPainterPath ribbon;
    ribbon.moveTo(area.left(), area.top());
    ribbon.lineTo(area.right(), area.top());
    ribbon.lineTo(area.left(), area.bottom());
    ribbon.lineTo(area.right(), area.bottom());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x3A, 0x2C, 0x6E), 58, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(ribbon);
    painter.setPen(QPen(QColor(0x4A, 0x3A, 0x86), 2, Qt::DashLine));
    painter.drawPath(ribbon);
}

void paintDigitRing(QPainter& painter, QPointF centre, qreal radius) {
    painter.setFont(SansFont(30, true));
    painter.setPen(QColor(0x33, 0x28, 0x60));
    for (int digit = 0; digit < 10; ++digit) {
        painter.save();
        painter.translate(centre);
        painter.rotate(36.0 * digit);
        painter.drawText(QRectF(-20, -radius - 20, 40, 40), Qt::AlignCenter,
                         QString::number(digit));
        painter.restore();
    }
}

void paintFrame(QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x8C, 0x78, 0xD0), 2));
    painter.drawRect(QRectF(5, 5, LogoSize.width() - 10, LogoSize.height() - 10));
    painter.setPen(QPen(QColor(0x4C, 0x3E, 0x8C), 1));
    painter.drawRect(QRectF(10.5, 10.5, LogoSize.width() - 21, LogoSize.height() - 21));
}

void paintLogoName(QPainter& painter) {
    QFont font = SansFont(40, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 8);
    painter.setFont(font);
    painter.setPen(QColor(0x40, 0x33, 0x78));
    painter.drawText(QRectF(0, LogoSize.height() - 80, LogoSize.width(), 50), Qt::AlignCenter,
                     QStringLiteral("ZIFFERON"));
}

} // namespace

QImage LogoPicture(int scale) {
    return Painted(LogoSize, scale, QImage::Format_RGB32, [](QPainter& painter) {
        painter.fillRect(QRect(QPoint(), LogoSize), QColor(0x12, 0x0C, 0x28));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QPointF centre(LogoSize.width() / 2.0, LogoSize.height() / 2.0 - 20);
        paintGlow(painter, centre, 340, QColor(0x2E, 0x22, 0x5E));
        paintDigitRing(painter, centre, 215);
        paintZRibbon(painter, QRectF(centre.x() - 110, centre.y() - 120, 220, 240));
        paintLogoName(painter);
        paintFrame(painter);
    });
}
