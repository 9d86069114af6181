#pragma once

#include <QStringList>

#include <optional>

// Text pasted into the formula field that holds several lines: each line becomes a formula of
// its own, evaluated in order.
namespace column_paste {

inline constexpr qsizetype MaxLines = 1'000'000;

// Whether the text holds more than one line that gives a formula.
bool IsColumn(QStringView text);

// The formulas of the text's lines, in order; nothing when they are more than MaxLines.
// - A line of blanks (and TABs) gives none.
// - A row of fields separated by TAB, as the whole tape is copied, gives its first field, which
//   may be empty.
// - An amount as banks and spreadsheets write it ("1.234,56 €", "12,00-", "EUR −5,00",
//   "1 234,56") gives the plain number with a decimal comma ("1234,56", "-12,00"). When any
//   amount of the text has a decimal comma, every point of an amount separates thousands;
//   otherwise a point is the decimal point, unless several points part three-digit groups.
// - Any other line stays as it is.
std::optional<QStringList> Formulas(QStringView text);

} // namespace column_paste
