#include "tools/artwork/drawing.h"

QFont SansFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QLinearGradient VerticalGradient(const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom) {
    painter.fillRect(area, VerticalGradient(area, top, bottom));
}
