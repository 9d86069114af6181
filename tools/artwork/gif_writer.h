#pragma once

#include "tools/artwork/indexed_image.h"

#include <QByteArray>

// GIF89a file of a 16-colour picture, LZW-compressed; the picture's transparent index is
// written as the transparent colour of a graphic control extension.
QByteArray EncodeGif(const IndexedImage& image);
