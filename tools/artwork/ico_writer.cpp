#include "tools/artwork/ico_writer.h"

namespace {

constexpr int BitsPerPixel = 4;
constexpr int PaletteSize = 16;
constexpr int DirectorySize = 6 + 16;
constexpr int InfoHeaderSize = 40;

void appendInt(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Bitmap rows are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool isMasked(const IndexedImage& image, int x, int y) {
    return image.indexAt(x, y) == image.transparentIndex;
}

QByteArray colourBitmap(const IndexedImage& image) {
    QByteArray bits;
    const int stride = rowBytes(image.width, BitsPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width; ++x) {
            const int index = image.indexAt(x, y);
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        bits.append(row);
    }
    return bits;
}

QByteArray maskBitmap(const IndexedImage& image) {
    QByteArray bits;
    const int stride = rowBytes(image.width, 1);
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.width; ++x)
            if (isMasked(image, x, y))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        bits.append(row);
    }
    return bits;
}

QByteArray infoHeader(const IndexedImage& image, int bitmapBytes) {
    QByteArray out;
    appendInt(out, InfoHeaderSize, 4);
    appendInt(out, static_cast<quint32>(image.width), 4);
    appendInt(out, static_cast<quint32>(2 * image.height), 4); // colour bitmap and mask
    appendInt(out, 1, 2);                                      // planes
    appendInt(out, BitsPerPixel, 2);
    appendInt(out, 0, 4); // uncompressed
    appendInt(out, static_cast<quint32>(bitmapBytes), 4);
    appendInt(out, 0, 4);
    appendInt(out, 0, 4);
    appendInt(out, PaletteSize, 4);
    appendInt(out, 0, 4);
    return out;
}

QByteArray palette(const IndexedImage& image) {
    QByteArray out;
    for (int i = 0; i < PaletteSize; ++i) {
        // Masked pixels must be black in the colour bitmap to show the screen behind them.
        const bool masked = i == image.transparentIndex || i >= image.palette.size();
        const QRgb colour = masked ? qRgb(0, 0, 0) : image.palette[i];
        out.append(static_cast<char>(qBlue(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qRed(colour)));
        out.append('\0');
    }
    return out;
}

} // namespace

QByteArray EncodeIco(const IndexedImage& image) {
    const QByteArray bitmaps = colourBitmap(image) + maskBitmap(image);
    const QByteArray picture =
        infoHeader(image, static_cast<int>(bitmaps.size())) + palette(image) + bitmaps;
    QByteArray out;
    appendInt(out, 0, 2); // reserved
    appendInt(out, 1, 2); // icon
    appendInt(out, 1, 2); // one picture
    out.append(static_cast<char>(image.width));
    out.append(static_cast<char>(image.height));
    out.append(static_cast<char>(PaletteSize));
    out.append('\0');
    appendInt(out, 1, 2); // planes
    appendInt(out, BitsPerPixel, 2);
    appendInt(out, static_cast<quint32>(picture.size()), 4);
    appendInt(out, DirectorySize, 4);
    return out + picture;
}
