#pragma once

#include "calc/evaluation.h"
#include "files/failure.h"

#include <QString>

#include <optional>

// The tape file: a header line and one line per formula, each entry as the tape shows it,
// every line ended by CR LF, in Windows-1252.

// Bounds of a tape file, the same for opening and saving, so that every saved file opens again.
inline constexpr qint64 MaxTapeFileBytes = 64 * 1024 * 1024;
inline constexpr qsizetype MaxTapeFileLines = 1'000'000;
inline constexpr qsizetype MaxTapeLineLength = 64 * 1024; // characters, one byte each

// ~/Programme/Morvantis/Zahlen/Zahlen.txt
QString TapeFilePath();

// Replaces the file at the path atomically, creating missing folders and removing temporary
// files of interrupted earlier saves. A tape beyond the bounds is not saved. Nothing on success,
// otherwise a German warning naming the file and the cause; the tapes are never changed.
std::optional<Failure> SaveTapeFile(const NumberTape& tapes, const QString& path);

// Appends every line of the file to List1, each right-aligned for it where it fits. A line ends
// at CR or CR LF; a lone LF stays in the line. Appends everything or, with a German warning,
// nothing; the file is only read.
std::optional<Failure> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path);

// The file's bytes for the tapes.
QByteArray TapeFileBytes(const NumberTape& tapes);
// What keeps the bytes from being a tape file, in German: too many bytes, too many lines or a
// line too long. Nothing when they are within the bounds.
std::optional<Failure> TapeFileProblem(const QByteArray& bytes);
