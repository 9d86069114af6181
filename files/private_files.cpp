#include "files/private_files.h"

#include "files/file_access.h"
#include "files/posix_io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <variant>

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

Failure failureAt(const QString& path, int error) {
    return Failure(
        QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), SystemErrorSentence(error)));
}

bool isOwnRegular(const struct stat& status) {
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

// A new temporary file beside the path, held locked: its name and descriptor, or the errno. Another
// run may take it for a leftover in the moment before the lock, and then a new one is made.
std::variant<std::pair<QByteArray, int>, int> createLockedTemporary(const QString& path) {
    const QFileInfo info(path);
    const QByteArray pattern =
        encoded(info.absolutePath() + "/." + info.fileName() + ".new-XXXXXX");
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = pattern;
        const int fd = ::mkostemp(name.data(), O_CLOEXEC | O_APPEND);
        if (fd < 0)
            return errno;
        if (::flock(fd, LOCK_EX) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(name.constData());
            return error;
        }
        if (StillAt(fd, name))
            return std::pair(name, fd);
        ::close(fd);
    }
    return EEXIST;
}

} // namespace

QString ProgramStateFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(state) ? state : QDir::homePath() + "/.local/state";
    return QDir::cleanPath(base + QStringLiteral("/zifferon"));
}

std::optional<Failure> MakePrivateFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !QDir().mkpath(info.absolutePath()))
        return failureAt(info.absolutePath(), errno != 0 ? errno : EACCES);
    const QByteArray name = encoded(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return failureAt(path, errno);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return failureAt(path, errno);
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
        return failureAt(path, ENOTDIR);
    return std::nullopt;
}

LockedFile::LockedFile(QString path, int fd)
    : m_path(std::move(path))
    , m_fd(fd) {}

LockedFile::~LockedFile() {
    ::close(m_fd);
}

std::unique_ptr<LockedFile> LockedFile::lockExisting(const QString& path) {
    // Not even opened unless a regular file stands at the path: a device may act on opening.
    struct stat atPath {};
    if (::lstat(encoded(path).constData(), &atPath) != 0 || !isOwnRegular(atPath))
        return nullptr;
    const int fd = ::open(encoded(path).constData(),
                          O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !isOwnRegular(status) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<LockedFile>(new LockedFile(path, fd));
}

std::variant<std::unique_ptr<LockedFile>, Failure>
LockedFile::create(const QString& path, const QByteArray& bytes, bool replacing) {
    const auto created = createLockedTemporary(path);
    if (const int* error = std::get_if<int>(&created))
        return failureAt(path, *error);
    const auto& [temporary, fd] = std::get<std::pair<QByteArray, int>>(created);
    std::unique_ptr<LockedFile> file(new LockedFile(path, fd));
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error == 0) {
        const unsigned flags = replacing ? 0U : RENAME_NOREPLACE;
        if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, encoded(path).constData(),
                        flags) != 0)
            error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return failureAt(path, error);
    }
    SyncFolderOf(path);
    return file;
}

qint64 LockedFile::size() const {
    struct stat status {};
    return ::fstat(m_fd, &status) == 0 ? status.st_size : 0;
}

qint64 LockedFile::modifiedMs() const {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0)
        return 0;
    return qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1'000'000;
}

std::variant<QByteArray, Failure> LockedFile::readAll(qint64 maxBytes) const {
    const qint64 bytes = size();
    if (bytes > maxBytes)
        return FileTooLarge(maxBytes);
    QByteArray content(bytes, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < bytes) {
        const ssize_t got =
            ::pread(m_fd, content.data() + filled, static_cast<size_t>(bytes - filled), filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failureAt(m_path, errno);
        if (got == 0)
            break;
        filled += got;
    }
    content.truncate(filled);
    return content;
}

std::optional<Failure> LockedFile::append(const QByteArray& bytes) {
    if (const int error = WriteAll(m_fd, bytes); error != 0)
        return failureAt(m_path, error);
    return std::nullopt;
}

void LockedFile::sync() {
    ::fdatasync(m_fd);
    SyncFolderOf(m_path);
}

void LockedFile::remove() {
    struct stat mine {};
    struct stat there {};
    const QByteArray name = encoded(m_path);
    if (::fstat(m_fd, &mine) == 0 && ::lstat(name.constData(), &there) == 0 &&
        mine.st_dev == there.st_dev && mine.st_ino == there.st_ino)
        ::unlink(name.constData());
}
