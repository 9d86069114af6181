#pragma once

#include "files/failure.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

// Files of the program's own in a folder of its own: only regular files of this user are
// opened, never through a symbolic link, and each is held with an exclusive lock while in use,
// so that two runs never write into one file.

// $XDG_STATE_HOME/zifferon, or ~/.local/state/zifferon when that is unset or not absolute.
QString ProgramStateFolder();

// Makes the folder, and its missing parents, for this user alone (0700); an existing folder
// must be one of this user's and no link. Nothing on success, else why not.
std::optional<Failure> MakePrivateFolder(const QString& path);

class LockedFile {
public:
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // The file at the path, locked for this run; nothing when it is not a regular file of this
    // user, is reached through a link, or is held by another run.
    static std::unique_ptr<LockedFile> lockExisting(const QString& path);
    // Puts the bytes at the path, which must be free or a file of the run's own (then replaced):
    // a new file (0600) beside it, ".<name>.new-XXXXXX", locked before it takes the name and
    // synced to the disk.
    static std::variant<std::unique_ptr<LockedFile>, Failure>
    create(const QString& path, const QByteArray& bytes, bool replacing);

    const QString& path() const { return m_path; }
    qint64 size() const;
    qint64 modifiedMs() const;
    std::variant<QByteArray, Failure> readAll(qint64 maxBytes) const;
    std::optional<Failure> append(const QByteArray& bytes);
    // Makes what was written durable; the folder with it.
    void sync();
    // Removes the file at the path while it is still this one.
    void remove();

private:
    LockedFile(QString path, int fd);

    QString m_path;
    int m_fd;
};
