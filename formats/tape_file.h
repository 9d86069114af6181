#pragma once

#include "calc/evaluation.h"
#include "files/failure.h"

#include <QString>

#include <optional>

// The tape file: a header line and one line per formula, each entry as the tape shows it,
// every line ended by CR LF, in Windows-1252.

// Bounds of a tape file.
struct TapeFileBounds {
    qint64 bytes;
    qsizetype lines;
    qsizetype lineLength; // characters, one byte each
};

// What "Öffnen" reads. Every line that an evaluation or a correction makes lies within them: a
// formula (its field holds 32 767 characters), a result (the engine makes at most 65 536) and a
// total, with their separators and alignment blanks.
inline constexpr qint64 MaxTapeFileBytes = 64 * 1024 * 1024;
inline constexpr qsizetype MaxTapeFileLines = 1'000'000;
inline constexpr qsizetype MaxTapeLineLength = 128 * 1024;
inline constexpr TapeFileBounds OpenBounds{MaxTapeFileBytes, MaxTapeFileLines, MaxTapeLineLength};

// What "Speichern" writes: whatever an open brought in, with the header line and the separators
// and line ends the save adds, so that no opened tape blocks a save; every line as long as three
// entries of an opened line's length.
inline constexpr TapeFileBounds SaveBounds{MaxTapeFileBytes + 4 * 1024 * 1024, MaxTapeFileLines + 1,
                                           3 * MaxTapeLineLength + 2};

// ~/Programme/Morvantis/Zahlen/Zahlen.txt
QString TapeFilePath();

// Replaces the file at the path atomically, creating missing folders and removing temporary
// files of interrupted earlier saves. A tape beyond the save's bounds is not saved. Nothing on
// success, otherwise a German warning naming the file and the cause; the tapes are never changed.
std::optional<Failure> SaveTapeFile(const NumberTape& tapes, const QString& path);

// Appends every line of the file to List1, each right-aligned for it where it fits. A line ends
// at CR or CR LF; a lone LF stays in the line. Appends everything or, with a German warning,
// nothing; the file is only read.
std::optional<Failure> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path);

// The file's bytes for the tapes.
QByteArray TapeFileBytes(const NumberTape& tapes);
// What keeps the bytes within the bounds, in German: too many bytes, too many lines or a line too
// long. Nothing when they are within them.
std::optional<Failure> TapeFileProblem(const QByteArray& bytes,
                                       const TapeFileBounds& bounds = OpenBounds);
