#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// A small file system (tmpfs) mounted on a fresh folder for as long as the object lives, where
// the machine lets the test mount one (as root outside a locked-down container).
class SmallDisk {
public:
    explicit SmallDisk(const char* size = "64k") {
        const QByteArray options = QByteArray("mode=0755,size=") + size;
        if (!m_folder.isValid())
            m_whyNot = QStringLiteral("no temporary folder");
        else if (::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs",
                         MS_NOSUID | MS_NODEV | MS_NOEXEC, options.constData()) != 0)
            m_whyNot = QStringLiteral("cannot mount a tmpfs here: ") + std::strerror(errno);
        else
            m_mounted = true;
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    const QString& whyNot() const { return m_whyNot; }
    QString path() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    // Fills the disk with a filler file, then frees about the given number of bytes of it.
    // False when the disk did not fill up.
    bool fill(qint64 leaveFree = 0) {
        const QByteArray filler = QFile::encodeName(filePath(QStringLiteral(".filler")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        qint64 size = 0;
        ssize_t written = 0;
        while ((written = ::write(fd, block.constData(), block.size())) > 0)
            size += written;
        const bool full = written < 0 && errno == ENOSPC;
        const bool freed = ::ftruncate(fd, std::max<qint64>(size - leaveFree, 0)) == 0;
        ::close(fd);
        return full && freed;
    }

    // The files on the disk other than the filler.
    QStringList files() const {
        QStringList names =
            QDir(path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        names.removeAll(QStringLiteral(".filler"));
        return names;
    }

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    QString m_whyNot;
};
