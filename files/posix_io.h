#pragma once

#include <QByteArray>
#include <QString>

// Descriptor-level steps that the file writers of this folder share.

// Writes all bytes, going on after interruptions; 0, or the errno of the failure.
int WriteAll(int fd, const QByteArray& bytes);

// The file's folder made durable after a rename; a folder that cannot be synced changes nothing.
void SyncFolderOf(const QString& path);
