// Pictures of the main window: background, key faces and the calculate button.

#include "tools/artwork/artwork.h"
#include "tools/artwork/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

// Rows of a key face: the square key (0 .. KeyHeight-1) and the pressed view below, which
// starts at FaceHeight - KeyHeight. The rows in between belong to both views.
constexpr int KeyHeight = 33;

struct FaceColours {
    QColor top, bottom;       // the raised key
    QColor lipTop, lipBottom; // the rows both views share: shade under and over the key
    QColor pressedTop, pressedBottom;
};

FaceColours faceColours(FaceStyle style) {
    if (style == FaceStyle::Pearl)
        return {QColor(0xFD, 0xFD, 0xFF), QColor(0xDD, 0xE1, 0xEA), QColor(0xC9, 0xCE, 0xDA),
                QColor(0xB4, 0xBA, 0xC8), QColor(0xD2, 0xD6, 0xE0), QColor(0xEA, 0xEC, 0xF2)};
    return {QColor(0xFF, 0xFC, 0xF1), QColor(0xE6, 0xDF, 0xCC), QColor(0xD0, 0xC7, 0xB2),
            QColor(0xB9, 0xAF, 0x98), QColor(0xDA, 0xD2, 0xBE), QColor(0xF1, 0xEC, 0xDE)};
}

// A soft light spot that makes the warm face look domed.
void paintDome(QPainter& painter, const QRectF& area, int alpha) {
    QRadialGradient glow(area.center().x(), area.top() + area.height() * 0.35, area.width() * 0.65);
    glow.setColorAt(0, QColor(255, 255, 255, alpha));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(area, glow);
}

// A gloss band over the upper half that makes the cool face look lit from above.
void paintGloss(QPainter& painter, const QRectF& area) {
    QLinearGradient gloss(area.topLeft(), QPointF(area.left(), area.top() + area.height() / 2));
    gloss.setColorAt(0, QColor(255, 255, 255, 170));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(area.left(), area.top(), area.width(), area.height() / 2), gloss);
}

void paintSideShades(QPainter& painter, const QRectF& area) {
    QLinearGradient sides(area.topLeft(), area.topRight());
    sides.setColorAt(0, QColor(255, 255, 255, 90));
    sides.setColorAt(0.12, QColor(255, 255, 255, 0));
    sides.setColorAt(0.88, QColor(0, 0, 0, 0));
    sides.setColorAt(1, QColor(0, 0, 0, 40));
    painter.fillRect(area, sides);
}

} // namespace

QImage KeyFace(FaceStyle style, QSize size, int scale) {
    const FaceColours colours = faceColours(style);
    const int pressedTop = size.height() - KeyHeight;
    const qreal width = size.width();
    const QRectF key(0, 0, width, pressedTop);
    const QRectF lip(0, pressedTop, width, KeyHeight - pressedTop);
    const QRectF pressed(0, KeyHeight, width, size.height() - KeyHeight);
    return Painted(size, scale, QImage::Format_RGB32, [&](QPainter& painter) {
        FillVertical(painter, key, colours.top, colours.bottom);
        FillVertical(painter, lip, colours.lipTop, colours.lipBottom);
        FillVertical(painter, pressed, colours.pressedTop, colours.pressedBottom);
        if (style == FaceStyle::Pearl)
            paintGloss(painter, key);
        else
            paintDome(painter, key, 150);
        paintDome(painter, pressed, style == FaceStyle::Pearl ? 40 : 70);
        paintSideShades(painter, QRectF(0, 0, width, size.height()));
    });
}

namespace {

constexpr QSize BackgroundSize(593, 472);
const QColor BodyTop(0xE6, 0xE9, 0xF0);
const QColor BodyBottom(0xCD, 0xD2, 0xDD);
const QColor PanelEdge(0xA6, 0xAD, 0xBD);

// A raised panel: lighter face, white upper edge, darker outline.
void paintPanel(QPainter& painter, const QRectF& area) {
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0, QColor(0xF1, 0xF3, 0xF7));
    face.setColorAt(1, QColor(0xDE, 0xE2, 0xEA));
    painter.setPen(QPen(PanelEdge, 1));
    painter.setBrush(face);
    painter.drawRoundedRect(area, 8, 8);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(area.adjusted(1, 1, -1, -1), 7, 7);
}

// A sunken well: darker face, shade at the top left, light at the bottom right.
void paintWell(QPainter& painter, const QRectF& area) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xC7, 0xCC, 0xD8));
    painter.drawRoundedRect(area, 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x8E, 0x95, 0xA6), 1));
    painter.drawRoundedRect(area, 6, 6);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
    painter.drawLine(area.bottomLeft() + QPointF(6, 1), area.bottomRight() + QPointF(-6, 1));
}

void paintEngravedText(QPainter& painter, const QRectF& area, const QFont& font,
                       const QString& text) {
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 200));
    painter.drawText(area.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.setPen(QColor(0x9C, 0xA3, 0xB4));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace

QImage MainWindowBackground(int scale) {
    return Painted(BackgroundSize, scale, QImage::Format_RGB32, [](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        FillVertical(painter, QRect(QPoint(), BackgroundSize), BodyTop, BodyBottom);
        painter.setPen(QPen(PanelEdge, 1));
        painter.drawLine(QPointF(0, 57.5), QPointF(BackgroundSize.width(), 57.5));
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
        painter.drawLine(QPointF(0, 58.5), QPointF(BackgroundSize.width(), 58.5));

        paintPanel(painter, QRectF(6.5, 70.5, 180, 312));   // input field, keypad, calculate
        paintPanel(painter, QRectF(196.5, 70.5, 390, 388)); // the three tapes
        paintWell(painter, QRectF(9.5, 139.5, 161, 179));   // the keypad

        QFont name = SansFont(26, true);
        name.setItalic(true);
        paintEngravedText(painter, QRectF(16, 394, 170, 34), name, QStringLiteral("Zifferon"));
        paintEngravedText(painter, QRectF(18, 426, 170, 16), SansFont(11),
                          QStringLiteral("Morvantis · Rechentechnik"));
    });
}

namespace {

constexpr QSize CalculateSize(104, 27);
// The button is 81 pixels wide: what the picture says stays inside the middle 81 pixels.
constexpr int CalculateVisibleWidth = 81;
constexpr int BadgeSize = 19;
constexpr int BadgeGap = 4;

void paintEqualsBadge(QPainter& painter, const QRectF& area) {
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, QColor(0x5B, 0x8D, 0xF0));
    fill.setColorAt(1, QColor(0x1E, 0x4C, 0xB0));
    painter.setPen(QPen(QColor(0x17, 0x3A, 0x86), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, 4, 4);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    const qreal left = area.left() + 5;
    const qreal right = area.right() - 5;
    const qreal middle = area.center().y();
    painter.drawLine(QPointF(left, middle - 2.6), QPointF(right, middle - 2.6));
    painter.drawLine(QPointF(left, middle + 2.6), QPointF(right, middle + 2.6));
}

// The largest bold font up to 13 pixels in which the label fits the given width.
QFont fittingFont(const QString& label, int width) {
    for (int pixels = 13;; --pixels) {
        const QFont font = SansFont(pixels, true);
        if (pixels <= 8 || QFontMetrics(font).horizontalAdvance(label) <= width)
            return font;
    }
}

} // namespace

QImage CalculateButtonPicture(int scale) {
    const QString label = QStringLiteral("Berechnen");
    const int margin = (CalculateSize.width() - CalculateVisibleWidth) / 2;
    const QFont font = fittingFont(label, CalculateVisibleWidth - 4 - BadgeSize - BadgeGap);
    const int labelWidth = QFontMetrics(font).horizontalAdvance(label);
    const int left = margin + (CalculateVisibleWidth - BadgeSize - BadgeGap - labelWidth) / 2;
    const qreal badgeTop = (CalculateSize.height() - BadgeSize) / 2.0;
    return Painted(CalculateSize, scale, QImage::Format_RGB32, [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        const QRect whole(QPoint(), CalculateSize);
        FillVertical(painter, whole, QColor(0xF7, 0xF8, 0xFB), QColor(0xD3, 0xD8, 0xE4));
        paintGloss(painter, QRectF(whole));
        paintEqualsBadge(painter, QRectF(left + 0.5, badgeTop + 0.5, BadgeSize - 1, BadgeSize - 1));
        painter.setFont(font);
        painter.setPen(QColor(0x14, 0x23, 0x4A));
        painter.drawText(
            QRect(left + BadgeSize + BadgeGap, 0, labelWidth + 2, CalculateSize.height()),
            Qt::AlignLeft | Qt::AlignVCenter, label);
    });
}
