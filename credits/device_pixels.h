#pragma once

#include "calc/twips.h"

#include <QRect>

#include <cmath>

// The device pixels that a rectangle in logical pixels touches.
inline QRect DeviceRect(const QRect& logical, qreal devicePixelRatio) {
    return QRectF(QPointF(logical.topLeft()) * devicePixelRatio,
                  QSizeF(logical.size()) * devicePixelRatio)
        .toAlignedRect();
}

// The row of device pixels a position in twips falls in; a device pixel is 15 twips divided by
// the device pixel ratio.
inline int DeviceRow(double twips, qreal devicePixelRatio) {
    return static_cast<int>(std::floor(twips * devicePixelRatio / TwipsPerPixel));
}
