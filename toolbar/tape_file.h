#pragma once

#include "calc/evaluation.h"

#include <QString>

#include <optional>

// The tape file: a header line and one line per formula, each entry as the tape shows it,
// every line ended by CR LF, in Windows-1252.

// Files larger than this, or with more lines, are refused on opening.
inline constexpr qint64 MaxTapeFileBytes = 64 * 1024 * 1024;
inline constexpr qsizetype MaxTapeFileLines = 1'000'000;

// ~/Programme/Morvantis/Zahlen/Zahlen.txt
QString TapeFilePath();

// Replaces the file at the path atomically, creating missing folders. Nothing on success,
// otherwise a German warning naming the file and the reason; the tapes are never changed.
std::optional<QString> SaveTapeFile(const NumberTape& tapes, const QString& path);

// Appends every line of the file to List1, each right-aligned for it where it fits. A line ends
// at CR or CR LF; a lone LF stays in the line. Appends everything or, with a German warning,
// nothing; the file is only read.
std::optional<QString> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path);

// The file's bytes for the tapes, and the lines of such bytes.
QByteArray TapeFileBytes(const NumberTape& tapes);
QStringList TapeFileLines(const QByteArray& bytes);
