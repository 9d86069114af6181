#pragma once

#include "files/failure.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

// Files the user hands the program are read with bounds, files it writes are written with every
// step checked, and every failure carries its cause in German words.

// The German words for a system error number (errno), without a full stop:
// "Kein Speicherplatz mehr auf dem Datenträger".
QString SystemErrorText(int error);
// The same as a sentence: "Kein Speicherplatz mehr auf dem Datenträger."
QString SystemErrorSentence(int error);

// What to do with a file larger than the bound.
enum class Oversize { Refuse, KeepPrefix };

// The bytes of the regular file at the path (symbolic links followed), at most maxBytes of them:
// a larger file is refused or cut. Pipes, devices and folders are refused without being opened
// for reading, so no reading can block or flood memory. A failure tells its kind: Missing,
// NotRegular, TooLarge (only with Oversize::Refuse) or Unreadable.
std::variant<QByteArray, Failure> ReadRegularFile(const QString& path, qint64 maxBytes,
                                                  Oversize oversize);

// Why the path names no regular file that this user may read (Missing, NotRegular or
// Unreadable), found without opening it; nothing when it names one. For readers that must hand
// the path to a library which opens whatever it names.
std::optional<Failure> ReadableRegularFileProblem(const QString& path);

// Why a file larger than maxBytes is refused: "Die Datei ist größer als 64 MiB."
Failure FileTooLarge(qint64 maxBytes);

// How a written file takes its name.
enum class Commit {
    Replace,  // over the existing regular file; temporary files of earlier interrupted writes go
    CreateNew // only where no file exists yet
};

// Fills the temporary file through its path; nothing on success, else why not.
using FileFiller = std::function<std::optional<Failure>(const QString& temporaryPath)>;

// Writes through a hidden temporary file beside the path (".Zahlen.txt.zifferon-a1B2c3") that only
// its user may read and that is synced to the disk before it takes the name, so the path holds
// either what it held before or the complete new content; on failure the temporary file is
// removed. A filler writes by name, so its file lies in a hidden folder of that name that only
// this user may enter. A replacing write keeps a symbolic link at the path and writes to the file
// it leads to (a link that leads to no file, and anything but a regular file, is refused), and
// gives the new content the existing file's owner, group, permissions and extended attributes
// (its access control list) where the process may, never more access than the file gave.
// Nothing on success, else why not ("Kein Speicherplatz mehr auf dem Datenträger.").
std::optional<Failure> WriteFileSafely(const QString& path, const QByteArray& bytes, Commit commit);
std::optional<Failure> WriteFileSafely(const QString& path, const FileFiller& fill, Commit commit);

// Removes from the folder what killed or crashed writes left: temporary files and folders named
// after a target whose name the test accepts, owned by this user and held by no running write.
// Nothing else is touched: no link, pipe or device, nothing of another user. A replacing write
// does this for its own target.
void RemoveStaleTemporaries(const QString& folder,
                            const std::function<bool(const QString& targetName)>& isTarget);
