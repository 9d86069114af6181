#include "tools/artwork/gif_writer.h"

#include <QHash>

namespace {

constexpr int MinimumCodeSize = 4; // 16 colours
constexpr int ClearCode = 1 << MinimumCodeSize;
constexpr int EndCode = ClearCode + 1;
constexpr int MaximumCodeSize = 12;
constexpr int DictionaryLimit = 1 << MaximumCodeSize;
constexpr int SubBlockSize = 255;

void appendWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Packs codes of varying width, least significant bit first.
class BitWriter {
public:
    void write(int code, int width) {
        m_buffer |= static_cast<quint32>(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.append(static_cast<char>(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_bits -= 8;
        }
    }

    QByteArray finish() {
        if (m_bits > 0)
            m_bytes.append(static_cast<char>(m_buffer & 0xFF));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_buffer = 0;
    int m_bits = 0;
};

// The dictionary maps (prefix code, next index) to the code of the longer string.
QByteArray compress(const QByteArray& indices) {
    BitWriter bits;
    QHash<int, int> dictionary;
    int codeSize = MinimumCodeSize + 1;
    int nextCode = EndCode + 1;
    bits.write(ClearCode, codeSize);
    int prefix = static_cast<unsigned char>(indices.front());
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int symbol = static_cast<unsigned char>(indices[i]);
        const int key = (prefix << 8) | symbol;
        const auto found = dictionary.constFind(key);
        if (found != dictionary.constEnd()) {
            prefix = *found;
            continue;
        }
        bits.write(prefix, codeSize);
        prefix = symbol;
        if (nextCode == DictionaryLimit) {
            bits.write(ClearCode, codeSize);
            dictionary.clear();
            codeSize = MinimumCodeSize + 1;
            nextCode = EndCode + 1;
            continue;
        }
        dictionary.insert(key, nextCode);
        if (nextCode == (1 << codeSize) && codeSize < MaximumCodeSize)
            ++codeSize;
        ++nextCode;
    }
    bits.write(prefix, codeSize);
    bits.write(EndCode, codeSize);
    return bits.finish();
}

QByteArray subBlocks(const QByteArray& data) {
    QByteArray out;
    for (qsizetype start = 0; start < data.size(); start += SubBlockSize) {
        const QByteArray block = data.mid(start, SubBlockSize);
        out.append(static_cast<char>(block.size()));
        out.append(block);
    }
    out.append('\0');
    return out;
}

void appendHeader(QByteArray& out, const IndexedImage& image) {
    out.append("GIF89a");
    appendWord(out, image.width);
    appendWord(out, image.height);
    out.append(static_cast<char>(0xF0 | (MinimumCodeSize - 1))); // global table, 8 bits
    out.append('\0');                                            // background index
    out.append('\0');                                            // square pixels
    for (QRgb colour : image.palette) {
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
}

void appendTransparency(QByteArray& out, int transparentIndex) {
    const char extension[] = {
        '\x21', '\xF9', '\x04', '\x01', '\0', '\0', static_cast<char>(transparentIndex), '\0'};
    out.append(extension, sizeof extension);
}

void appendImageDescriptor(QByteArray& out, const IndexedImage& image) {
    out.append('\x2C');
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, image.width);
    appendWord(out, image.height);
    out.append('\0'); // no local table, not interlaced
}

} // namespace

QByteArray EncodeGif(const IndexedImage& image) {
    QByteArray out;
    appendHeader(out, image);
    if (image.transparentIndex >= 0)
        appendTransparency(out, image.transparentIndex);
    appendImageDescriptor(out, image);
    out.append(static_cast<char>(MinimumCodeSize));
    out.append(subBlocks(compress(image.indices)));
    out.append('\x3B');
    return out;
}
