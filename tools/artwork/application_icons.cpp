// The application icon that menus and launchers show: the window icon's design, scaled.

#include "tools/artwork/artwork.h"
#include "tools/artwork/drawing.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

QImage ApplicationIcon(int size) {
    return Painted(QSize(IconSize, IconSize), static_cast<qreal>(size) / IconSize,
                   QImage::Format_ARGB32, PaintWindowIcon);
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
