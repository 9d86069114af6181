#pragma once

#include "files/failure.h"

#include <QImage>
#include <QString>

#include <variant>

// Pictures that lie as files beside the program or in the user's folders (the info box's logo,
// "Layout.jpg"), read with bounds on the file's bytes and on the picture's size, so that no file
// can block the program or exhaust its memory.

inline constexpr qint64 MaxPictureFileBytes = 32 * 1024 * 1024;
inline constexpr qint64 MaxPicturePixels = 4096 * 4096;

// The path of a picture's version at twice the size, beside it: "images/face_a.jpg" gives
// "images/face_a@2x.jpg".
QString DoubleSizePath(const QString& path);

// The picture in the file (JPEG, GIF, PNG or ICO, told by its content), or why there is none (of
// kind Missing where nothing is at the path). A picture larger than the bound is refused from its
// header, before it is decoded.
std::variant<QImage, Failure> LoadPictureFile(const QString& path);
