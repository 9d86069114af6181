#pragma once

#include <QByteArray>
#include <QRandomGenerator>

// Bytes of no format, the same in every run.
inline QByteArray randomBytes(qsizetype size) {
    QRandomGenerator generator(1252);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}
