#pragma once

#include <QString>

// The formula field's keys as text edits: each takes the field's text and gives the new one.
namespace formula_edit {

// "Back": the text without its last character.
QString WithoutLastCharacter(const QString& field);

// "+/-": the field's number with the other sign, decimals kept; any other text unchanged.
QString Negated(const QString& field);

// "%" of the main window: resolves a "%" typed into the field. "200+15%" becomes "200*1.15",
// "200+7.5%" becomes "200*1.075"; where no rate follows a "+", or the rate is beyond a number's
// range, every "%" becomes "/100".
QString ResolvePercent(const QString& field);

// "%" of the correction window: the field's number divided by 100; any other text unchanged.
QString Percent(const QString& field);

// A formula stays on one line: every line break (CR LF, CR, LF, NEL, VT, FF, U+2028, U+2029)
// becomes one blank.
bool IsLineBreak(QChar character);
bool HasLineBreak(QStringView field);
QString LineBreaksAsBlanks(const QString& field);

} // namespace formula_edit
