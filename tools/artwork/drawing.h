#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>

#include <functional>

// Drawing helpers shared by the pictures.

// Liberation Sans at a size in pixels.
QFont SansFont(int pixelSize, bool bold = false);
// A gradient from the top to the bottom edge of an area.
QLinearGradient VerticalGradient(const QRectF& area, const QColor& top, const QColor& bottom);
void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom);

// A picture of the given size, painted at scale pixels for each of its own: the painter draws in
// the picture's own units, so that every scale shows the same design. A format with alpha starts
// transparent.
QImage Painted(QSize size, qreal scale, QImage::Format format,
               const std::function<void(QPainter&)>& paint);
