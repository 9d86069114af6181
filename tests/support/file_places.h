#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMetaType>
#include <QString>

#include <sys/stat.h>

// What a test puts where the program expects a file.
enum class Place {
    File, // a regular file with the given bytes
    Missing,
    Folder,
    Pipe, // with no writer, so that reading it would block
    LinkToZero,
    LinkToRandom,
};
Q_DECLARE_METATYPE(Place)

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray fileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool makePlace(Place place, const QString& path, const QByteArray& bytes = {}) {
    switch (place) {
    case Place::File:
        return writeFile(path, bytes);
    case Place::Missing:
        return !QFile::exists(path);
    case Place::Folder:
        return QDir().mkpath(path);
    case Place::Pipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Place::LinkToZero:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Place::LinkToRandom:
        return QFile::link(QStringLiteral("/dev/urandom"), path);
    }
    return false;
}

// A file of the given size that holds no data blocks.
inline bool makeSparseFile(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}
