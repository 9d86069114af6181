#include "files/file_attributes.h"

#include <QFile>
#include <QList>
#include <QtEndian>

#include <cerrno>
#include <optional>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr char AccessListName[] = "system.posix_acl_access";

// The access control list as the kernel stores it: a version word, then entries of a tag, the
// permissions and an id, little-endian.
constexpr qsizetype AclHeaderBytes = 4;
constexpr qsizetype AclEntryBytes = 8;
constexpr quint16 AclOwningGroup = 0x04;
constexpr quint16 AclMask = 0x10;

// The names of the file's extended attributes: none where the file system has none, nothing
// when they cannot be listed.
std::optional<QList<QByteArray>> attributeNames(const QByteArray& path) {
    const ssize_t size = ::llistxattr(path.constData(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP ? std::optional(QList<QByteArray>{}) : std::nullopt;
    QByteArray names(size, Qt::Uninitialized);
    const ssize_t listed = ::llistxattr(path.constData(), names.data(), names.size());
    if (listed < 0)
        return std::nullopt;
    names.truncate(listed);
    QList<QByteArray> list = names.split('\0');
    list.removeAll(QByteArray());
    return list;
}

std::optional<QByteArray> attributeValue(const QByteArray& path, const QByteArray& name) {
    const ssize_t size = ::lgetxattr(path.constData(), name.constData(), nullptr, 0);
    if (size < 0)
        return std::nullopt;
    QByteArray value(size, Qt::Uninitialized);
    const ssize_t read =
        ::lgetxattr(path.constData(), name.constData(), value.data(), value.size());
    if (read < 0)
        return std::nullopt;
    value.truncate(read);
    return value;
}

// The group permission bits the owning group really has under the list: its entry within the
// mask. A list that cannot be read gives none.
mode_t owningGroupBits(const std::optional<QByteArray>& list) {
    quint16 group = 0;
    quint16 mask = 07;
    for (qsizetype at = AclHeaderBytes; list && at + AclEntryBytes <= list->size();
         at += AclEntryBytes) {
        const quint16 tag = qFromLittleEndian<quint16>(list->constData() + at);
        const quint16 permissions = qFromLittleEndian<quint16>(list->constData() + at + 2);
        if (tag == AclOwningGroup)
            group = permissions;
        if (tag == AclMask)
            mask = permissions;
    }
    return static_cast<mode_t>((group & mask & 07) << 3);
}

// Copies every extended attribute it can; the permissions to give, narrowed where the access
// control list could not be copied (the group bits of a file with one are its mask).
mode_t copyExtendedAttributes(int fd, const QByteArray& path, mode_t permissions) {
    const std::optional<QList<QByteArray>> names = attributeNames(path);
    if (!names)
        return permissions & ~mode_t{S_IRWXG};
    for (const QByteArray& name : *names) {
        const std::optional<QByteArray> value = attributeValue(path, name);
        const bool copied = value && ::fsetxattr(fd, name.constData(), value->constData(),
                                                 static_cast<size_t>(value->size()), 0) == 0;
        if (!copied && name == AccessListName)
            permissions = (permissions & ~mode_t{S_IRWXG}) | owningGroupBits(value);
    }
    return permissions;
}

} // namespace

void TakeOverAttributes(int fd, const QByteArray& existingPath, const struct stat& existing) {
    const bool owner = ::fchown(fd, existing.st_uid, existing.st_gid) == 0;
    const bool group = owner || ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) == 0;
    mode_t permissions = existing.st_mode & 07777;
    if (!owner)
        permissions &= ~mode_t{S_ISUID};
    if (!group)
        permissions &= ~mode_t{S_ISGID};
    ::fchmod(fd, copyExtendedAttributes(fd, existingPath, permissions));
}

mode_t NewFilePermissions() {
    constexpr mode_t Private = S_IRUSR | S_IWUSR;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return Private;
    const QByteArray field = "Umask:";
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (!line.startsWith(field))
            continue;
        bool ok = false;
        const uint umask = line.mid(field.size()).trimmed().toUInt(&ok, 8);
        return ok ? static_cast<mode_t>(0666 & ~umask) : Private;
    }
    return Private;
}
