#pragma once

#include "calc/tape.h"

#include <QStringList>

// The tape's lines without their alignment blanks.
inline QStringList trimmedLines(const Tape& tape) {
    QStringList lines;
    for (const QString& line : tape.lines())
        lines << line.trimmed();
    return lines;
}
