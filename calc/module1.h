#pragma once

#include <QString>

#include <optional>

class TextMeasurer;

// Number of decimal places chosen: the index of the decimals box, -1 when none is selected.
using DecimalsIndex = int;

// Whether the index chooses one of the box's ten entries, 1 to 10 decimals.
constexpr bool IsValidDecimalsIndex(DecimalsIndex index) {
    return index >= 0 && index <= 9;
}

// The digits 0 to 9, the only ones that numbers and formulas are written in.
constexpr bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

inline constexpr double ListRightMarginTwips = 100.0;

// The value with (index + 1) decimals and a decimal comma; "" when no valid index is chosen.
// Rounds half away from zero on the value's 15-digit decimal form and never shows "-0".
QString FormatResult(double value, DecimalsIndex index);
// A text that reads as a number is formatted as that number; any other text is returned with its
// line breaks and other control characters as blanks.
QString FormatResult(const QString& value, DecimalsIndex index);

QString ToDecimalComma(double value);
QString ToDecimalComma(const QString& value);

// A list box's style: a list with check boxes leaves room for the check mark.
enum class ListStyle { Standard, CheckBox };

// Writes the blanks and then the text into the line, in the line's own memory where it has room.
void WritePadded(QString& line, qsizetype blanks, QStringView text);

// The blanks that right-align a text of this width (twips) in a list of the list width; nothing
// when the text overhangs the room by more than half a blank, or cannot be measured.
std::optional<qsizetype> AlignmentBlanks(const TextMeasurer& measurer, int listWidthTwips,
                                         double textWidth, ListStyle style = ListStyle::Standard);
// Pads the text with leading blanks so that it stands right-aligned in the list. On success the
// text argument holds the padded text, which is also returned; when the text overhangs the room
// by more than half a blank (or cannot be measured) nothing is returned and the text is unchanged.
// The tapes are standard lists.
std::optional<QString> RightAlignForList(const TextMeasurer& measurer, int listWidthTwips,
                                         QString& text, ListStyle style = ListStyle::Standard);

// General text form: up to 15 significant digits, decimal comma, exponent form beyond
// 1E+15 and below 1E-04 (1E+20, 1,5E-07).
QString NumberToText(double number);
// Reads "[blanks][sign]digits[,|.digits][E[sign]digits][blanks]"; nothing for any other text.
std::optional<double> TextToNumber(const QString& text);

// A count as German texts write it: "1.000.000".
QString GermanCount(qint64 number);
