#include "toolbar/tape_file.h"

#include "calc/text_measurer.h"
#include "calc/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

const QString Header = QStringLiteral("Eingabe Zeile Spalte");
constexpr char LineEnd[] = "\r\n";

void appendEncoded(QByteArray& bytes, QStringView text, const char* separator) {
    AppendWindows1252(bytes, text);
    bytes += separator;
}

// The entry as shown, or the empty text past the end of the tape, without copying it.
QStringView entryOf(const Tape& tape, int position) {
    return position < tape.count() ? QStringView(tape.lines()[position]) : QStringView();
}

QString saveWarning(const QString& path, const QString& reason) {
    return QStringLiteral("Das Band konnte nicht in „%1“ gespeichert werden: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString openWarning(const QString& path, const QString& reason) {
    return QStringLiteral("Das Band konnte nicht aus „%1“ geöffnet werden: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString tooLargeReason() {
    return QStringLiteral("Die Datei ist größer als %1 MiB oder hat mehr als %2 Zeilen.")
        .arg(MaxTapeFileBytes / (1024 * 1024))
        .arg(MaxTapeFileLines);
}

std::optional<QString> createFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder))
        return std::nullopt;
    return QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.")
        .arg(QDir::toNativeSeparators(folder));
}

// The whole file, or the reason it cannot be read. Only regular files are opened, so that no
// pipe or device can block or flood the reading; a file beyond the limit is not loaded.
std::optional<QByteArray> readLimited(QFile& file, QString& reason) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile()) {
        reason = info.isDir() ? QStringLiteral("An dieser Stelle liegt ein Ordner.")
                              : QStringLiteral("An dieser Stelle liegt keine gewöhnliche Datei.");
        return std::nullopt;
    }
    if (info.size() > MaxTapeFileBytes) {
        reason = tooLargeReason();
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return std::nullopt;
    }
    // Sized by the opened file, not by the limit: a short file must not cost 64 MiB of memory.
    QByteArray bytes = file.read(std::min(file.size(), MaxTapeFileBytes) + 1);
    if (bytes.size() > MaxTapeFileBytes) {
        reason = tooLargeReason();
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

// Tells from a sum of character widths which lines surely cannot be padded for the list, so that
// only lines that may fit are measured as a whole: a saved tape line is three lists wide, and a
// megabyte line is given up after its first characters. Kerning and shaping never narrow a line
// by a third; should combining marks do so, such a line is appended unpadded, losing nothing.
class FitEstimate {
public:
    FitEstimate(const TextMeasurer& measurer, const Tape& list)
        : m_measurer(measurer)
        , m_limit(TooWideFactor * (list.widthTwips() + measurer.textWidth(QStringLiteral(" "))))
        , m_widths(std::numeric_limits<char16_t>::max() + 1, Unmeasured) {}

    bool surelyTooWide(const QString& line) {
        double sum = 0;
        for (const QChar character : line) {
            sum += widthOf(character.unicode());
            if (sum > m_limit)
                return true;
        }
        return false;
    }

private:
    static constexpr double TooWideFactor = 1.5;
    static constexpr float Unmeasured = -1;

    double widthOf(char16_t character) {
        float& width = m_widths[character];
        if (width == Unmeasured)
            width = static_cast<float>(m_measurer.textWidth(QString(QChar(character))));
        return width;
    }

    const TextMeasurer& m_measurer;
    double m_limit;
    std::vector<float> m_widths;
};

} // namespace

QString TapeFilePath() {
    return QDir::homePath() + QStringLiteral("/Programme/Morvantis/Zahlen/Zahlen.txt");
}

QByteArray TapeFileBytes(const NumberTape& tapes) {
    const int n = tapes.List1.count();
    // Encoded entry by entry: a single text of the whole file would take twice its size.
    qsizetype size = Header.size() + 2;
    for (int i = 0; i < n; ++i)
        size += entryOf(tapes.List1, i).size() + entryOf(tapes.List2, i).size() +
                entryOf(tapes.List3, i).size() + 4;
    QByteArray bytes;
    bytes.reserve(size);
    appendEncoded(bytes, Header, LineEnd);
    for (int i = 0; i < n; ++i) {
        appendEncoded(bytes, entryOf(tapes.List1, i), " ");
        appendEncoded(bytes, entryOf(tapes.List2, i), " ");
        appendEncoded(bytes, entryOf(tapes.List3, i), LineEnd);
    }
    return bytes;
}

QStringList TapeFileLines(const QByteArray& bytes) {
    QStringList lines;
    lines.reserve(bytes.count('\r') + 1);
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = bytes.indexOf('\r', start);
        if (end < 0)
            end = size;
        lines << DecodeWindows1252(QByteArray::fromRawData(bytes.constData() + start, end - start));
        start = end + 1;
        if (start < size && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

std::optional<QString> SaveTapeFile(const NumberTape& tapes, const QString& path) {
    if (const std::optional<QString> reason = createFolderOf(path))
        return saveWarning(path, *reason);
    QSaveFile file(path);
    const QByteArray bytes = TapeFileBytes(tapes);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return saveWarning(path, file.errorString());
    return std::nullopt;
}

std::optional<QString> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path) {
    QFile file(path);
    QString reason;
    const std::optional<QByteArray> bytes = readLimited(file, reason);
    if (!bytes)
        return openWarning(path, reason);
    QStringList lines = TapeFileLines(*bytes);
    if (lines.size() > MaxTapeFileLines)
        return openWarning(path, tooLargeReason());
    FitEstimate estimate(format.measurer, tapes.List1);
    for (QString& line : lines) {
        if (!estimate.surelyTooWide(line))
            line = AlignedForList(format, tapes.List1, std::move(line));
    }
    tapes.List1.append(lines);
    return std::nullopt;
}
