#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The formula field's keys as text edits: each takes the field's text and gives the new one.
namespace keypad {

// "Back": the text without its last character.
QString WithoutLastCharacter(const QString& field);

// "+/-": the field's number with the other sign, decimals kept; any other text unchanged.
QString Negated(const QString& field);

// "%" of the main window: resolves a "%" typed into the field. "200+15%" becomes "200*1.15",
// "200+7.5%" becomes "200*1.075"; where no rate follows a "+", every "%" becomes "/100".
QString ResolvePercent(const QString& field);

// "%" of the correction window: the field's number divided by 100; any other text unchanged.
QString Percent(const QString& field);

enum class Face { A, B, C };

// One key of the keypad as the main window places it, in twips.
struct Key {
    const char* name;
    const char* caption;
    int left;
    int top;
    int width;
    std::uint32_t backColour; // 0xRRGGBB
    Face face;
    const char* tooltip; // empty for none
    char character;      // appended to the field; 0 for the command keys
};

inline constexpr int KeySize = 495;
inline constexpr int BackKeyWidth = 675;

// The twenty keys in tab order, row by row.
extern const std::array<Key, 20> Keys;

} // namespace keypad
