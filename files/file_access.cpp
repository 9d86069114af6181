#include "files/file_access.h"

#include "files/file_attributes.h"
#include "files/posix_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

struct ErrorText {
    int error;
    const char* text;
};

const std::array SystemErrorTexts = {
    ErrorText{ENOSPC, "Kein Speicherplatz mehr auf dem Datenträger"},
    ErrorText{EDQUOT, "Das Speicherkontingent auf dem Datenträger ist erschöpft"},
    ErrorText{EFBIG, "Die Datei ist zu groß für den Datenträger"},
    ErrorText{EACCES, "Zugriff verweigert"},
    ErrorText{EPERM, "Der Vorgang ist nicht erlaubt"},
    ErrorText{EROFS, "Der Datenträger ist schreibgeschützt"},
    ErrorText{ENOENT, "Die Datei oder der Ordner existiert nicht"},
    ErrorText{ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    ErrorText{EISDIR, "An dieser Stelle liegt ein Ordner"},
    ErrorText{EEXIST, "Die Datei existiert bereits"},
    ErrorText{ENAMETOOLONG, "Der Dateiname ist zu lang"},
    ErrorText{ELOOP, "Der Pfad enthält zu viele symbolische Verknüpfungen"},
    ErrorText{EIO, "Ein- oder Ausgabefehler des Datenträgers"},
    ErrorText{ENOMEM, "Nicht genug Arbeitsspeicher"},
    ErrorText{EMFILE, "Zu viele geöffnete Dateien"},
    ErrorText{ENFILE, "Zu viele geöffnete Dateien im System"},
    ErrorText{EBUSY, "Die Datei ist belegt"},
    ErrorText{ETXTBSY, "Die Datei ist belegt"},
    ErrorText{EXDEV, "Die Datei liegt auf einem anderen Datenträger"},
    ErrorText{ENXIO, "Das Gerät ist nicht erreichbar"},
    ErrorText{ENODEV, "Das Gerät ist nicht erreichbar"},
    ErrorText{ESTALE, "Die Datei auf dem Netzlaufwerk ist nicht mehr gültig"},
    ErrorText{EINVAL, "Der Datenträger unterstützt den Vorgang nicht"},
};

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // The error of closing, 0 when it closed cleanly.
    int close() {
        const int fd = std::exchange(m_fd, -1);
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int m_fd;
};

std::optional<Failure> notRegular(const struct stat& status) {
    if (S_ISREG(status.st_mode))
        return std::nullopt;
    return Failure(S_ISDIR(status.st_mode)
                       ? QStringLiteral("An dieser Stelle liegt ein Ordner.")
                       : QStringLiteral("An dieser Stelle liegt keine gewöhnliche Datei."),
                   Failure::Kind::NotRegular);
}

Failure tooLarge(qint64 maxBytes) {
    constexpr qint64 MiB = 1024 * 1024;
    const QString bound = maxBytes % MiB == 0 ? QStringLiteral("%1 MiB").arg(maxBytes / MiB)
                                              : QStringLiteral("%1 Bytes").arg(maxBytes);
    return {QStringLiteral("Die Datei ist größer als %1.").arg(bound), Failure::Kind::TooLarge};
}

Failure failureOf(int error) {
    if (error == ENOENT)
        return {QStringLiteral("Die Datei fehlt."), Failure::Kind::Missing};
    return {SystemErrorSentence(error), Failure::Kind::Unreadable};
}

// Reads until the end of the file, at most limit bytes. The buffer starts at the size the file
// reports and grows only for files that report less than they hold (as those under /proc do).
// The error number, or 0.
int readInto(int fd, QByteArray& bytes, qint64 expected, qint64 limit) {
    bytes = QByteArray(std::min(expected + 1, limit), Qt::Uninitialized); // exactly this size
    qint64 filled = 0;
    while (filled < limit) {
        if (filled == bytes.size())
            bytes.resize(std::min(2 * bytes.size() + 4096, limit));
        const ssize_t got =
            ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return 0;
}

// The program's marker in the names of its temporary files: ".Zahlen.txt.zifferon-a1B2c3".
const QString Marker = QStringLiteral(".zifferon-");
constexpr qsizetype SuffixLength = 6;

QString temporaryNameStem(const QString& targetName) {
    return u'.' + targetName + Marker;
}

// The name of the target whose temporary file may have this name; nothing for any other name.
std::optional<QString> targetOfTemporary(const QString& name) {
    const qsizetype targetLength = name.size() - 1 - Marker.size() - SuffixLength;
    if (targetLength <= 0 || !name.startsWith(u'.') ||
        QStringView(name).sliced(1 + targetLength, Marker.size()) != Marker)
        return std::nullopt;
    const bool randomSuffix =
        std::all_of(name.cend() - SuffixLength, name.cend(), [](QChar character) {
            return character.unicode() < 0x80 && character.isLetterOrNumber();
        });
    return randomSuffix ? std::optional(name.sliced(1, targetLength)) : std::nullopt;
}

QString randomSuffix() {
    static constexpr char16_t Characters[] =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix(SuffixLength, Qt::Uninitialized);
    for (QChar& character : suffix)
        character = Characters[QRandomGenerator::global()->bounded(62)];
    return suffix;
}

// Where a temporary file lies.
enum class Shape {
    Beside,       // as a hidden file beside the target
    PrivateFolder // under the target's name in a hidden folder beside it that only its user may
                  // enter, for content that is written by name
};

// A temporary file beside the target, hidden and named after it with the program's marker and six
// random letters or digits (".Zahlen.txt.zifferon-a1B2c3"): a name that no user file has. Only its
// user may read it, and it stays locked while it exists, so that no other write takes it for a
// leftover of a killed one.
class TemporaryFile {
public:
    // The error number, 0 when the file was created.
    int create(const QString& target, Shape shape) {
        constexpr int Attempts = 100;
        const QFileInfo info(target);
        const QString stem = info.absolutePath() + u'/' + temporaryNameStem(info.fileName());
        for (int attempt = 0; attempt < Attempts; ++attempt) {
            m_entry = stem + randomSuffix();
            const int error =
                shape == Shape::Beside ? createBeside() : createInPrivateFolder(info.fileName());
            if (error != EEXIST)
                return error;
        }
        return EEXIST;
    }

    ~TemporaryFile() {
        if (m_fd || m_lock)
            discard();
    }

    // The path to fill the file through.
    const QString& path() const { return m_fillPath; }
    int fd() const { return m_fd->get(); }

    // Syncs and closes the file; the error number, or 0.
    int finish() {
        if (::fsync(fd()) != 0)
            return errno;
        return m_fd->close();
    }

    // Gives the file the target's name; the error number, or 0.
    int commit(const QString& target, Commit commit) {
        const QByteArray from = encoded(m_path);
        const QByteArray to = encoded(target);
        int error = 0;
        if (commit == Commit::Replace)
            error = ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
        else
            error = renameWithoutReplacing(from, to);
        if (error != 0)
            return error;
        if (m_path != m_entry)
            ::rmdir(encoded(m_entry).constData());
        m_fd.reset();
        m_lock.reset();
        return 0;
    }

    void discard() {
        m_fd.reset();
        ::unlink(encoded(m_path).constData());
        if (m_path != m_entry)
            ::rmdir(encoded(m_entry).constData());
        m_lock.reset();
    }

private:
    int createBeside() {
        m_path = m_fillPath = m_entry;
        const int fd =
            ::open(encoded(m_path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                   S_IRUSR | S_IWUSR);
        if (fd < 0)
            return errno;
        m_fd = std::make_unique<Descriptor>(fd);
        // Its own open file, so that the lock outlasts the closing of the written one.
        return holdLock(::open(encoded(m_path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    }

    int createInPrivateFolder(const QString& name) {
        if (::mkdir(encoded(m_entry).constData(), S_IRWXU) != 0)
            return errno;
        m_path = m_entry + u'/' + name;
        const int lockError = holdLock(
            ::open(encoded(m_entry).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (lockError != 0) {
            ::rmdir(encoded(m_entry).constData());
            return lockError;
        }
        const int fd =
            ::openat(m_lock->get(), encoded(name).constData(),
                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, S_IRUSR | S_IWUSR);
        if (fd < 0)
            return errno;
        m_fd = std::make_unique<Descriptor>(fd);
        // Through the open folder: a folder put in its place later is never written into.
        const QString throughFolder = QStringLiteral("/proc/self/fd/%1").arg(m_lock->get());
        m_fillPath = QFileInfo::exists(throughFolder) ? throughFolder + u'/' + name : m_path;
        return 0;
    }

    // Keeps the entry locked against the removal of leftovers, where the file system has locks;
    // the error number of opening it, or 0. An entry that another write took for a leftover in the
    // moment before the lock (removed, or held to be removed) gives EEXIST: a new name is tried.
    int holdLock(int fd) {
        if (fd < 0)
            return errno == ENOENT ? EEXIST : errno;
        m_lock = std::make_unique<Descriptor>(fd);
        const bool heldByRemoval = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (heldByRemoval || !StillAt(fd, encoded(m_entry))) {
            m_lock.reset();
            m_fd.reset();
            return EEXIST;
        }
        return 0;
    }

    // A file system that cannot rename without replacing gets a hard link instead.
    static int renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0)
            return 0;
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        if (::link(from.constData(), to.constData()) != 0)
            return errno;
        ::unlink(from.constData());
        return 0;
    }

    QString m_entry;    // the hidden name beside the target: the file or its folder
    QString m_path;     // the file
    QString m_fillPath; // the file as the filler reaches it
    std::unique_ptr<Descriptor> m_fd;
    std::unique_ptr<Descriptor> m_lock;
};

// A leftover private folder: the file of the target's name in it, if it is a regular file of this
// user, then the folder, which stays while anything else is in it.
void removePrivateFolder(int folder, const QByteArray& path, const QString& targetName) {
    const QByteArray name = encoded(targetName);
    struct stat status {};
    if (::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode) && status.st_uid == ::geteuid())
        ::unlinkat(folder, name.constData(), 0);
    ::rmdir(path.constData());
}

// Removes the entry if it is a temporary file or private folder (only its user may enter it) of
// this user that no running write holds; nothing else (no link, pipe or device, nothing of another
// user) is even opened.
void removeIfStale(const QByteArray& path, const QString& targetName) {
    struct stat seen {};
    if (::lstat(path.constData(), &seen) != 0 || seen.st_uid != ::geteuid())
        return;
    const bool privateFolder = S_ISDIR(seen.st_mode) && (seen.st_mode & 07777) == S_IRWXU;
    if (!S_ISREG(seen.st_mode) && !privateFolder)
        return;
    const Descriptor entry(
        ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!entry.valid() || ::fstat(entry.get(), &status) != 0 || status.st_ino != seen.st_ino ||
        status.st_dev != seen.st_dev || ::flock(entry.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    if (S_ISREG(status.st_mode))
        ::unlink(path.constData());
    else
        removePrivateFolder(entry.get(), path, targetName);
}

// A replacing write puts the content where a symbolic link at the target leads, so that the link
// stays a link: the target becomes that file. A link that leads to no file is not followed, since
// the file it names may lie on a drive that is not mounted: the German reason then.
std::optional<Failure> followLink(QString& target) {
    struct stat status {};
    if (::lstat(encoded(target).constData(), &status) != 0 || !S_ISLNK(status.st_mode))
        return std::nullopt;
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(encoded(target).constData(), nullptr), &std::free);
    if (resolved) {
        target = QFile::decodeName(resolved.get());
        return std::nullopt;
    }
    if (errno != ENOENT)
        return SystemErrorSentence(errno);
    return QStringLiteral("Die Datei ist eine symbolische Verknüpfung, die auf keine vorhandene "
                          "Datei zeigt.");
}

// Only a regular file that this user may write is replaced; the status of an existing file is
// handed out, so that its owner and permissions stay with the new content.
std::optional<Failure> checkReplaceable(const QString& target,
                                        std::optional<struct stat>& existing) {
    struct stat status {};
    if (::stat(encoded(target).constData(), &status) != 0)
        return std::nullopt;
    if (std::optional<Failure> refusal = notRegular(status))
        return refusal;
    existing = status;
    if (::access(encoded(target).constData(), W_OK) != 0)
        return SystemErrorSentence(errno);
    return std::nullopt;
}

// The existing file's owner, permissions and attributes, or those of a new file.
void giveAttributes(int fd, const QString& target, const std::optional<struct stat>& existing) {
    if (existing)
        TakeOverAttributes(fd, encoded(target), *existing);
    else
        ::fchmod(fd, NewFilePermissions());
}

std::optional<Failure> writeThroughTemporary(const QString& path,
                                             const std::function<int(TemporaryFile&)>& fill,
                                             Commit commit, Shape shape) {
    QString target = path;
    std::optional<struct stat> existing;
    if (commit == Commit::Replace) {
        if (std::optional<Failure> refusal = followLink(target))
            return refusal;
        if (std::optional<Failure> refusal = checkReplaceable(target, existing))
            return refusal;
        const QFileInfo info(target);
        RemoveStaleTemporaries(info.absolutePath(),
                               [name = info.fileName()](const QString& of) { return of == name; });
    } else if (const QFileInfo present(path); present.exists() || present.isSymLink()) {
        return SystemErrorSentence(EEXIST);
    }
    TemporaryFile temporary;
    if (const int error = temporary.create(target, shape))
        return SystemErrorSentence(error);
    int error = fill(temporary);
    if (error == 0) {
        giveAttributes(temporary.fd(), target, existing);
        error = temporary.finish();
    }
    if (error == 0)
        error = temporary.commit(target, commit);
    if (error != 0)
        return SystemErrorSentence(error); // the temporary file goes with it
    SyncFolderOf(target);
    return std::nullopt;
}

} // namespace

QString SystemErrorText(int error) {
    const auto known = std::find_if(SystemErrorTexts.cbegin(), SystemErrorTexts.cend(),
                                    [error](const ErrorText& text) { return text.error == error; });
    if (known != SystemErrorTexts.cend())
        return QString::fromUtf8(known->text);
    return QStringLiteral("Systemfehler Nummer %1").arg(error);
}

QString SystemErrorSentence(int error) {
    return SystemErrorText(error) + u'.';
}

std::variant<QByteArray, Failure> ReadRegularFile(const QString& path, qint64 maxBytes,
                                                  Oversize oversize) {
    const QByteArray name = encoded(path);
    struct stat status {};
    // Looked at before opening: opening a device can already have an effect.
    if (::stat(name.constData(), &status) != 0)
        return failureOf(errno);
    if (std::optional<Failure> failure = notRegular(status))
        return *failure;
    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.valid())
        return failureOf(errno);
    if (::fstat(file.get(), &status) != 0)
        return failureOf(errno);
    if (std::optional<Failure> failure = notRegular(status))
        return *failure; // swapped in since the first look
    if (status.st_size > maxBytes && oversize == Oversize::Refuse)
        return tooLarge(maxBytes);
    // One byte more than the bound tells a file that holds more than it.
    QByteArray bytes;
    if (const int error = readInto(file.get(), bytes, status.st_size, maxBytes + 1))
        return failureOf(error);
    if (bytes.size() > maxBytes) {
        if (oversize == Oversize::Refuse)
            return tooLarge(maxBytes);
        bytes.truncate(maxBytes);
    }
    return bytes;
}

void RemoveStaleTemporaries(const QString& folder,
                            const std::function<bool(const QString& targetName)>& isTarget) {
    const QDir entries(folder);
    for (const QString& entry :
         entries.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const std::optional<QString> target = targetOfTemporary(entry);
        if (target && isTarget(*target))
            removeIfStale(encoded(entries.filePath(entry)), *target);
    }
}

std::optional<Failure> ReadableRegularFileProblem(const QString& path) {
    const QByteArray name = encoded(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return failureOf(errno);
    if (std::optional<Failure> failure = notRegular(status))
        return failure;
    if (::access(name.constData(), R_OK) != 0)
        return failureOf(errno);
    return std::nullopt;
}

Failure FileTooLarge(qint64 maxBytes) {
    return tooLarge(maxBytes);
}

std::optional<Failure> WriteFileSafely(const QString& path, const QByteArray& bytes,
                                       Commit commit) {
    return writeThroughTemporary(
        path, [&bytes](TemporaryFile& temporary) { return WriteAll(temporary.fd(), bytes); },
        commit, Shape::Beside);
}

std::optional<Failure> WriteFileSafely(const QString& path, const FileFiller& fill, Commit commit) {
    std::optional<Failure> reason;
    const std::optional<Failure> failure = writeThroughTemporary(
        path,
        [&](TemporaryFile& temporary) {
            reason = fill(temporary.path());
            return reason ? EIO : 0;
        },
        commit, Shape::PrivateFolder);
    if (failure && reason)
        return reason;
    return failure;
}
