// The nine toolbar pictures and the window icon, drawn on 32 x 32 transparent canvases.

#include "tools/artwork/artwork.h"
#include "tools/artwork/drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <functional>

namespace {

const QColor Outline(0x20, 0x20, 0x28);

// A white sheet with a folded top right corner.
void paintSheet(QPainter& painter, const QRectF& area) {
    constexpr qreal Fold = 6;
    QPainterPath sheet;
    sheet.moveTo(area.topLeft());
    sheet.lineTo(area.right() - Fold, area.top());
    sheet.lineTo(area.right(), area.top() + Fold);
    sheet.lineTo(area.bottomRight());
    sheet.lineTo(area.bottomLeft());
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(0x60, 0x64, 0x70), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(area.right() - Fold, area.top());
    fold.lineTo(area.right() - Fold, area.top() + Fold);
    fold.lineTo(area.right(), area.top() + Fold);
    painter.setBrush(QColor(0xD8, 0xDC, 0xE4));
    painter.drawPath(fold);
}

// A coloured tile with one bold white letter, in front of a sheet.
void paintLetterTile(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom,
                     const QString& letter) {
    painter.setPen(QPen(bottom.darker(140), 1));
    painter.setBrush(VerticalGradient(area, top, bottom));
    painter.drawRoundedRect(area, 3, 3);
    painter.setFont(SansFont(15, true));
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter, letter);
}

void paintWord(QPainter& painter) {
    paintSheet(painter, QRectF(11.5, 3.5, 18, 25));
    painter.setPen(QPen(QColor(0x7A, 0x8C, 0xC0), 1.4));
    for (qreal y = 11; y <= 24; y += 3.2)
        painter.drawLine(QPointF(20, y), QPointF(27, y));
    paintLetterTile(painter, QRectF(2.5, 8.5, 18, 18), QColor(0x4A, 0x7B, 0xE0),
                    QColor(0x1B, 0x45, 0xA8), QStringLiteral("W"));
}

void paintExcel(QPainter& painter) {
    paintSheet(painter, QRectF(11.5, 3.5, 18, 25));
    painter.setPen(Qt::NoPen);
    const std::array<qreal, 3> bars{6, 11, 8};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const qreal left = 20 + static_cast<qreal>(i) * 3;
        painter.setBrush(i == 1 ? QColor(0xE0, 0x8A, 0x1E) : QColor(0x2F, 0x9E, 0x4F));
        painter.drawRect(QRectF(left, 25 - bars[i], 2.4, bars[i]));
    }
    painter.setPen(QPen(QColor(0x60, 0x64, 0x70), 1));
    painter.drawLine(QPointF(19, 25.5), QPointF(28, 25.5));
    paintLetterTile(painter, QRectF(2.5, 8.5, 18, 18), QColor(0x3F, 0xB0, 0x63),
                    QColor(0x16, 0x6E, 0x34), QStringLiteral("X"));
}

void paintCheckMark(QPainter& painter) {
    QPainterPath check;
    check.moveTo(4, 17);
    check.lineTo(12, 25);
    check.lineTo(28, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x0E, 0x4D, 0x16), 7.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(check);
    painter.setPen(QPen(
        VerticalGradient(QRectF(0, 4, 32, 24), QColor(0x6E, 0xE0, 0x58), QColor(0x1E, 0x9A, 0x2A)),
        4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(check);
}

void paintWarning(QPainter& painter) {
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30, 28.5);
    triangle.lineTo(2, 28.5);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(0x5A, 0x3C, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(
        VerticalGradient(QRectF(0, 2, 32, 27), QColor(0xFF, 0xEE, 0x55), QColor(0xF0, 0xB4, 0x00)));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Outline);
    QPainterPath bar;
    bar.moveTo(14.2, 10);
    bar.lineTo(17.8, 10);
    bar.lineTo(16.8, 20.5);
    bar.lineTo(15.2, 20.5);
    bar.closeSubpath();
    painter.drawPath(bar);
    painter.drawEllipse(QPointF(16, 24.2), 1.9, 1.9);
}

const QColor CabinetLight(0xFF, 0xDD, 0x40);
const QColor CabinetDark(0xD8, 0xA2, 0x00);
const QColor CabinetEdge(0x70, 0x50, 0x00);

void paintDrawerFront(QPainter& painter, const QRectF& front) {
    painter.setPen(QPen(CabinetEdge, 1));
    painter.setBrush(VerticalGradient(front, CabinetLight, CabinetDark));
    painter.drawRect(front);
    painter.setBrush(CabinetEdge);
    painter.drawRect(QRectF(front.center().x() - 2.5, front.top() + 2.5, 5, 1.5));
}

void paintFilingCabinet(QPainter& painter) {
    const QRectF body(9.5, 2.5, 17, 27);
    painter.setPen(QPen(CabinetEdge, 1));
    painter.setBrush(VerticalGradient(body, CabinetLight.darker(108), CabinetDark.darker(115)));
    painter.drawRect(body);
    paintDrawerFront(painter, QRectF(11.5, 4.5, 13, 7));
    paintDrawerFront(painter, QRectF(11.5, 20.5, 13, 7));
    // The middle drawer, pulled out towards the viewer: its dark inside and a lower front.
    QPainterPath inside;
    inside.moveTo(11.5, 12.5);
    inside.lineTo(24.5, 12.5);
    inside.lineTo(20.5, 16.5);
    inside.lineTo(3.5, 16.5);
    inside.closeSubpath();
    painter.setBrush(QColor(0x8A, 0x64, 0x00));
    painter.drawPath(inside);
    paintDrawerFront(painter, QRectF(3.5, 16.5, 17, 8));
}

void paintFileDrawer(QPainter& painter) {
    const std::array<QColor, 3> folders{QColor(0xF4, 0xD2, 0x7A), QColor(0xFF, 0xFF, 0xFF),
                                        QColor(0xF0, 0xC0, 0x50)};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const qreal left = 5.5 + static_cast<qreal>(i) * 7;
        painter.setPen(QPen(QColor(0x6A, 0x55, 0x20), 1));
        painter.setBrush(folders[i]);
        painter.drawRect(QRectF(left, 5.5 + static_cast<qreal>(i % 2) * 2, 9, 12));
        painter.drawRect(QRectF(left + 2, 3.5 + static_cast<qreal>(i % 2) * 2, 4, 2));
    }
    const QRectF box(2.5, 13.5, 27, 15);
    painter.setPen(QPen(QColor(0x0E, 0x2A, 0x6E), 1));
    painter.setBrush(VerticalGradient(box, QColor(0x5C, 0x8E, 0xF2), QColor(0x1C, 0x44, 0xA6)));
    painter.drawRoundedRect(box, 2, 2);
    painter.setBrush(QColor(0xE8, 0xEE, 0xFA));
    painter.drawRoundedRect(QRectF(12.5, 18.5, 7, 4), 1.5, 1.5);
}

void paintPrinter(QPainter& painter) {
    painter.setPen(QPen(QColor(0x50, 0x54, 0x5E), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(8.5, 2.5, 15, 12)); // paper in the feed
    const QRectF body(2.5, 11.5, 27, 12);
    painter.setBrush(VerticalGradient(body, QColor(0xD8, 0xDB, 0xE2), QColor(0x86, 0x8C, 0x99)));
    painter.drawRoundedRect(body, 3, 3);
    painter.setBrush(QColor(0x3A, 0x3E, 0x48));
    painter.drawRect(QRectF(6.5, 19.5, 19, 2));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(7.5, 21.5, 17, 8)); // the printed page
    painter.setPen(QPen(QColor(0x70, 0x78, 0x88), 1));
    painter.drawLine(QPointF(10, 24.5), QPointF(22, 24.5));
    painter.drawLine(QPointF(10, 27), QPointF(19, 27));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x30, 0xC0, 0x40));
    painter.drawEllipse(QPointF(25.5, 15.5), 1.6, 1.6);
}

void paintEndDisc(QPainter& painter) {
    QRadialGradient fill(QPointF(12, 10), 20);
    fill.setColorAt(0, QColor(0xFF, 0x70, 0x60));
    fill.setColorAt(1, QColor(0xB8, 0x10, 0x10));
    painter.setPen(QPen(QColor(0x6E, 0x08, 0x08), 1.2));
    painter.setBrush(fill);
    painter.drawEllipse(QPointF(16, 16), 13.8, 13.8);
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void paintHelpBook(QPainter& painter) {
    painter.setPen(QPen(QColor(0x50, 0x54, 0x5E), 1));
    painter.setBrush(QColor(0xF4, 0xF0, 0xE4));
    painter.drawRect(QRectF(7.5, 25.5, 21, 3)); // the pages
    const QRectF cover(5.5, 3.5, 22, 23);
    painter.setPen(QPen(QColor(0x0C, 0x24, 0x66), 1));
    painter.setBrush(VerticalGradient(cover, QColor(0x4F, 0x7F, 0xE8), QColor(0x1A, 0x3C, 0x9A)));
    painter.drawRoundedRect(cover, 2, 2);
    painter.setBrush(QColor(0x10, 0x2C, 0x78));
    painter.drawRect(QRectF(5.5, 3.5, 3, 23)); // the spine
    painter.setFont(SansFont(20, true));
    painter.setPen(QColor(0xFF, 0xE0, 0x40));
    painter.drawText(QRectF(8, 3, 20, 24), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

QImage ToolbarPicture(int number, int scale) {
    static const std::array<std::function<void(QPainter&)>, 9> Painters{
        paintWord,    paintCheckMark, paintWarning,  paintFilingCabinet, paintFileDrawer,
        paintPrinter, paintEndDisc,   paintHelpBook, paintExcel};
    return Painted(QSize(IconSize, IconSize), scale, QImage::Format_ARGB32,
                   [number](QPainter& painter) {
                       painter.setRenderHint(QPainter::Antialiasing);
                       painter.setRenderHint(QPainter::TextAntialiasing);
                       Painters.at(static_cast<std::size_t>(number - 1))(painter);
                   });
}

// A tape calculator in the colours of its keys, with the paper tape coming out of the top.
void PaintWindowIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9.5, 0.5, 13, 10)); // the tape
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.drawLine(QPointF(12, 3.5), QPointF(20, 3.5));
    painter.drawLine(QPointF(14, 6.5), QPointF(20, 6.5));
    const QRectF body(3.5, 7.5, 25, 24);
    painter.setPen(QPen(QColor(0x2A, 0x20, 0x50), 1));
    painter.setBrush(VerticalGradient(body, QColor(0x6C, 0x6A, 0xD2), QColor(0x38, 0x30, 0x8A)));
    painter.drawRoundedRect(body, 3, 3);
    painter.setBrush(QColor(0xC8, 0xF0, 0xC0));
    painter.drawRect(QRectF(6.5, 10.5, 19, 5)); // the display
    const std::array<QColor, 4> columns{QColor(160, 119, 223), QColor(160, 119, 223),
                                        QColor(160, 119, 223), QColor(210, 210, 66)};
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (std::size_t column = 0; column < columns.size(); ++column) {
            painter.setBrush(row == 2 && column == 3 ? QColor(192, 64, 0) : columns[column]);
            painter.drawRect(QRectF(6.5 + static_cast<qreal>(column) * 5, 18 + row * 4.3, 4, 3.3));
        }
}

QImage WindowIcon(int scale) {
    return Painted(QSize(IconSize, IconSize), scale, QImage::Format_ARGB32, PaintWindowIcon);
}
