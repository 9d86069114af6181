#pragma once

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>

// Drawing helpers shared by the pictures.

// Liberation Sans at a size in pixels.
QFont SansFont(int pixelSize, bool bold = false);
// A gradient from the top to the bottom edge of an area.
QLinearGradient VerticalGradient(const QRectF& area, const QColor& top, const QColor& bottom);
void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom);
