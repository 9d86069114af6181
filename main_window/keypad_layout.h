#pragma once

#include <array>
#include <cstdint>

// The main window's keypad as the window places it: positions in twips of the window's client
// area, row by row, left to right (the tab order).
namespace keypad {

// What a key does: append its character to the formula, or one of the editing commands.
enum class Command { Append, Back, Exit, Negate, Percent, Equal };

struct Key {
    const char* name;
    const char* caption;
    int left;
    int top;
    int width;
    std::uint32_t backColour; // 0xRRGGBB
    const char* face;         // picture
    const char* tooltip;      // empty for none
    Command command;
    char character; // appended by Command::Append
};

inline constexpr int KeySize = 495;
inline constexpr int BackKeyWidth = 675;

inline constexpr std::uint32_t DigitColour = 0xA077DF;
inline constexpr std::uint32_t OperatorColour = 0xD2D242;
inline constexpr std::uint32_t FunctionColour = 0x6C6AD2;
inline constexpr std::uint32_t CancelColour = 0xC04000;

inline constexpr const char* FaceA = ":/images/face_a.jpg";
inline constexpr const char* FaceB = ":/images/face_b.jpg";
inline constexpr const char* FaceC = ":/images/face_c.jpg";

inline constexpr std::array<Key, 20> Keys = {{
    {"cmd1", "1", 210, 2160, KeySize, DigitColour, FaceA, "", Command::Append, '1'},
    {"cmd2", "2", 780, 2160, KeySize, DigitColour, FaceA, "", Command::Append, '2'},
    {"cmd3", "3", 1320, 2160, KeySize, DigitColour, FaceA, "", Command::Append, '3'},
    {"cmdMul", "*", 1890, 2160, KeySize, OperatorColour, FaceA, "Multiplikation", Command::Append,
     '*'},
    {"cmd4", "4", 210, 2670, KeySize, DigitColour, FaceA, "", Command::Append, '4'},
    {"cmd5", "5", 780, 2670, KeySize, DigitColour, FaceA, "", Command::Append, '5'},
    {"cmd6", "6", 1320, 2670, KeySize, DigitColour, FaceA, "", Command::Append, '6'},
    {"cmdDiv", "/", 1890, 2670, KeySize, OperatorColour, FaceA, "Geteilt", Command::Append, '/'},
    {"cmd7", "7", 210, 3180, KeySize, DigitColour, FaceA, "", Command::Append, '7'},
    {"cmd8", "8", 780, 3180, KeySize, DigitColour, FaceA, "", Command::Append, '8'},
    {"cmd9", "9", 1320, 3180, KeySize, DigitColour, FaceA, "", Command::Append, '9'},
    {"cmdSub", "-", 1890, 3180, KeySize, OperatorColour, FaceB, "Minus", Command::Append, '-'},
    {"cmd0", "0", 210, 3690, KeySize, DigitColour, FaceA, "", Command::Append, '0'},
    {"cmdDec", ".", 780, 3690, KeySize, DigitColour, FaceB, "", Command::Append, '.'},
    {"cmdEqual", "=", 1320, 3690, KeySize, OperatorColour, FaceB, "Ist gleich ", Command::Equal, 0},
    {"cmdAdd", "+", 1890, 3690, KeySize, OperatorColour, FaceB, "Plus", Command::Append, '+'},
    {"cmdNeg", "+/-", 210, 4200, KeySize, FunctionColour, FaceB, "Rechnen mit negativ Zahlen",
     Command::Negate, 0},
    {"cmdPer", "%", 720, 4200, KeySize, FunctionColour, FaceB, "Prozent", Command::Percent, 0},
    {"cmdBack", "Back", 1230, 4200, BackKeyWidth, FunctionColour, FaceC,
     "Eingabe um ein Zeichen löschen", Command::Back, 0},
    {"cmdExit", "E&xit", 1890, 4200, KeySize, CancelColour, FaceB,
     "Eingabe der Formel kpl. löschen", Command::Exit, 0},
}};

} // namespace keypad
