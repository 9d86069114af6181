// The application icon that menus and launchers show: the window icon's design, scaled.

#include "tools/artwork/artwork.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

QImage ApplicationIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const qreal scale = static_cast<qreal>(size) / IconSize;
    painter.scale(scale, scale);
    PaintWindowIcon(painter);
    return image;
}

QByteArray ApplicationIconSvg(const QString& title) {
    QByteArray document;
    QBuffer buffer(&document);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(IconSize, IconSize));
    generator.setViewBox(QRect(0, 0, IconSize, IconSize));
    generator.setTitle(title);
    QPainter painter(&generator);
    PaintWindowIcon(painter);
    painter.end();
    return document;
}
