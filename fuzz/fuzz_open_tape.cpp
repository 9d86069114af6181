// Any bytes as the tape file: its lines land on the formula tape in order, right-aligned where
// they fit, and neither the other tapes nor the file change. A file with a line beyond the
// length bound is refused as a whole.
#include "calc/module1.h"
#include "files/windows1252.h"
#include "formats/tape_file.h"
#include "tests/support/fixed_width_measurer.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int ListWidthTwips = 1100;
constexpr DecimalsIndex TwoDecimals = 1;
const QStringList Earlier{QStringLiteral("1+1")};

// Narrow, wide and zero-width characters, as a proportional font has them.
FixedWidthMeasurer proportionalMeasurer() {
    FixedWidthMeasurer measurer(100.0);
    measurer.setWidth(u'i', 40.0);
    measurer.setWidth(u'W', 190.0);
    measurer.setWidth(QChar(0xAD), 0.0);
    return measurer;
}

// Every CR or CR LF ends a line; a rest after the last end is a line too.
QStringList expectedLines(const QByteArray& bytes) {
    QStringList pieces =
        DecodeWindows1252(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\r")).split(u'\r');
    if (pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

// Blanks before a line that fits end it within half a blank of the list's right margin; a wider
// line stands as it is.
bool isAligned(const QString& entry, const QString& line, const TextMeasurer& measurer) {
    const qsizetype blanks = entry.size() - line.size();
    if (!entry.endsWith(line) || entry.first(blanks) != QString(blanks, u' '))
        return false;
    const double room = ListWidthTwips - ListRightMarginTwips;
    const double lineWidth = measurer.textWidth(line);
    if (lineWidth > room)
        return blanks == 0;
    const double blankWidth = measurer.textWidth(QStringLiteral(" "));
    return std::abs(room - lineWidth - static_cast<double>(blanks) * blankWidth) <= blankWidth / 2;
}

QString writtenFile(const QByteArray& bytes) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Zahlen.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void check(bool invariant) {
    if (!invariant)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FixedWidthMeasurer measurer = proportionalMeasurer();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList fileLines = expectedLines(bytes);
    const bool refused = fileLines.size() > MaxTapeFileLines ||
                         std::ranges::any_of(fileLines, [](const QString& line) {
                             return line.size() > MaxTapeLineLength;
                         });
    const QStringList lines = refused ? QStringList() : fileLines;
    check(TapeFileProblem(bytes).has_value() == refused);

    NumberTape tapes;
    for (Tape* list : {&tapes.List1, &tapes.List2, &tapes.List3})
        list->append(Earlier);
    const QString path = writtenFile(bytes);

    check(
        OpenTapeFile(tapes, LineFormat{measurer, TwoDecimals, ListWidthTwips}, path).has_value() ==
        refused);

    const QStringList& entries = tapes.List1.lines();
    check(entries.size() == Earlier.size() + lines.size() &&
          entries.first(Earlier.size()) == Earlier);
    for (qsizetype i = 0; i < lines.size(); ++i)
        check(isAligned(entries[Earlier.size() + i], lines[i], measurer));
    check(tapes.List2.lines() == Earlier && tapes.List3.lines() == Earlier);
    check(contentOf(path) == bytes);
    return 0;
}
