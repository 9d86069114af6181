#pragma once

#include <QByteArray>

#include <sys/stat.h>

// What a file written anew keeps of the file it replaces, and what a new file gets.

// Gives the open file the existing file's owner and group as far as this process may set them,
// its permissions (a set-ID bit only where its owner or group was kept) and its extended
// attributes, the access control list among them. Where the list cannot go with them, the owning
// group keeps only what the list gave it, so that nobody gains access.
void TakeOverAttributes(int fd, const QByteArray& existingPath, const struct stat& existing);

// The permissions of a file created by this process: read and write for all less its umask;
// read and write for its user alone where the umask cannot be read.
mode_t NewFilePermissions();
