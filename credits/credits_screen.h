#pragma once

#include <QRegion>

class QImage;
class ScrollingLayer;

// Where the moved credits reach the screen. The box holds its picture in device pixels, as a
// background and the ring of text rows above it; when the text has moved, the box hands the
// pixels that changed to its screen and repaints through Qt's backing store whatever the screen
// leaves.
class CreditsScreen {
public:
    virtual ~CreditsScreen() = default;

    // Shows the region of the box (device pixels, devicePixelRatio of them to a pixel) as the
    // text above the background composes it; returns the part it did not show.
    virtual QRegion show(const QImage& background, ScrollingLayer& text, const QRegion& region,
                         qreal devicePixelRatio) = 0;
};
