#pragma once

#include "tools/artwork/indexed_image.h"

#include <QByteArray>

// Icon file with one 4-bit-per-pixel picture (16-colour palette, bottom-up XOR bitmap and
// 1-bit AND mask). Pixels of the transparent index are masked and stored as black.
QByteArray EncodeIco(const IndexedImage& image);
