#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>

// A small JPEG whose header declares the given size, as a picture file made to exhaust memory.
inline QByteArray JpegDeclaring(QSize declared) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    // Start of frame: marker, length (2), precision (1), height (2), width (2).
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    if (frame < 0)
        return {};
    const auto setWord = [&bytes](qsizetype at, int value) {
        bytes[at] = static_cast<char>(value >> 8);
        bytes[at + 1] = static_cast<char>(value & 0xFF);
    };
    setWord(frame + 5, declared.height());
    setWord(frame + 7, declared.width());
    return bytes;
}

// A JPEG of the given size, filled with one colour.
inline QByteArray JpegOf(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// An 8 × 4 picture in a format Qt writes.
inline QByteArray PictureIn(const char* format) {
    QImage image(8, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
