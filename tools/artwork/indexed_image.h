#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

// A picture of at most 16 colours: one palette index per pixel, rows from the top.
struct IndexedImage {
    int width = 0;
    int height = 0;
    QList<QRgb> palette;
    QByteArray indices;
    int transparentIndex = -1;

    int indexAt(int x, int y) const { return static_cast<unsigned char>(indices[y * width + x]); }
};

// Reduces a picture to 16 colours. Pixels less than half opaque become the transparent entry,
// which is palette index 0 and has the given colour; the rest share the other 15 entries,
// chosen by k-means clustering of the opaque pixels.
IndexedImage ToSixteenColours(const QImage& picture, QRgb transparentColour);
