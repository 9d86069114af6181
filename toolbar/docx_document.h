#pragma once

#include "files/failure.h"
#include "toolbar/text_font.h"

#include <QStringList>

#include <optional>

// Writes a new word-processing document (.docx) whose body is the paragraphs, each with its
// blanks kept, set in the font (its size rounded to half a point) without space between them.
// The texts must hold only characters that XML allows. Fails when the file exists; a failed
// write leaves no file behind. Nothing on success, otherwise the German reason.
std::optional<Failure> WriteDocx(const QString& path, const QStringList& paragraphs,
                                 const TextFont& font);
