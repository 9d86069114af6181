#pragma once

#include <QByteArray>
#include <QString>

// Descriptor-level steps that the file writers of this folder share.

// Writes all bytes, going on after interruptions; 0, or the errno of the failure.
int WriteAll(int fd, const QByteArray& bytes);

// The file's folder made durable after a rename; a folder that cannot be synced changes nothing.
void SyncFolderOf(const QString& path);

// Whether the path still names the file open at fd (not removed or replaced since).
bool StillAt(int fd, const QByteArray& path);
