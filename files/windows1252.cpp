#include "files/windows1252.h"

#include <array>

namespace {

constexpr char16_t FirstSpecial = 0x80;
constexpr char16_t PastSpecial = 0xA0;
constexpr char Unrepresentable = '?';

// The characters of bytes 0x80 to 0x9F; an undefined byte keeps its own number.
constexpr std::array<char16_t, PastSpecial - FirstSpecial> SpecialCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr std::array<char16_t, 256> decodedBytes() {
    std::array<char16_t, 256> characters{};
    for (std::size_t byte = 0; byte < characters.size(); ++byte)
        characters[byte] = byte >= FirstSpecial && byte < PastSpecial
                               ? SpecialCharacters[byte - FirstSpecial]
                               : static_cast<char16_t>(byte);
    return characters;
}

// The character of every byte.
constexpr std::array<char16_t, 256> DecodedBytes = decodedBytes();

char encodeCharacter(char16_t character) {
    if (character < FirstSpecial || (character >= PastSpecial && character <= 0xFF))
        return static_cast<char>(character);
    for (std::size_t index = 0; index < SpecialCharacters.size(); ++index) {
        if (SpecialCharacters[index] == character)
            return static_cast<char>(FirstSpecial + index);
    }
    return Unrepresentable;
}

} // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    auto* characters = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : bytes)
        *characters++ = DecodedBytes[static_cast<unsigned char>(byte)];
    return text;
}

void AppendWindows1252(QByteArray& bytes, QStringView text) {
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char* out = bytes.data() + start;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar character = text[index];
        const bool pair = character.isHighSurrogate() && index + 1 < text.size() &&
                          text[index + 1].isLowSurrogate();
        if (pair)
            ++index; // one character outside the code page, one "?"
        *out++ = character.isSurrogate() ? Unrepresentable : encodeCharacter(character.unicode());
    }
    bytes.truncate(out - bytes.constData());
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray bytes;
    AppendWindows1252(bytes, text);
    return bytes;
}
