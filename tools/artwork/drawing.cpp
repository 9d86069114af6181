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

QImage Painted(QSize size, qreal scale, QImage::Format format,
               const std::function<void(QPainter&)>& paint) {
    QImage image(size * scale, format);
    if (image.hasAlphaChannel())
        image.fill(Qt::transparent);
    QPainter painter(&image);
    if (scale != 1)
        painter.scale(scale, scale);
    paint(painter);
    return image;
}
