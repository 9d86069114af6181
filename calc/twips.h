#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>

// Twips, the unit the windows are laid out in: 15 to a pixel.
inline constexpr int TwipsPerPixel = 15;

// A rectangle in twips as pixels, each coordinate rounded towards zero.
inline QRect FromTwips(int left, int top, int width, int height) {
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
            height / TwipsPerPixel};
}

inline QSize FromTwips(int width, int height) {
    return {width / TwipsPerPixel, height / TwipsPerPixel};
}

inline QRectF FromTwips(const QRectF& twips) {
    return {twips.x() / TwipsPerPixel, twips.y() / TwipsPerPixel, twips.width() / TwipsPerPixel,
            twips.height() / TwipsPerPixel};
}
