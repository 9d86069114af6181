#pragma once

#include <QImage>
#include <QString>

#include <variant>

// Pictures that lie as files beside the program or in the user's folders (the info box's logo,
// "Layout.jpg"), read with bounds on the file's bytes and on the picture's size, so that no file
// can block the program or exhaust its memory.

inline constexpr qint64 MaxPictureFileBytes = 32 * 1024 * 1024;
inline constexpr qint64 MaxPicturePixels = 4096 * 4096;

// Why a picture file was not loaded.
struct PictureFailure {
    bool missing = false; // nothing at the path
    QString reason;       // a German sentence
};

// The picture in the file (any format Qt reads), or why there is none. A picture larger than the
// bound is refused from its header, before it is decoded.
std::variant<QImage, PictureFailure> LoadPictureFile(const QString& path);
