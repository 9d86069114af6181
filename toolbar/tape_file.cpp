#include "toolbar/tape_file.h"

#include "calc/file_access.h"
#include "calc/text_measurer.h"
#include "calc/windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cstring>

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

QString counted(qint64 number) {
    return QLocale(QLocale::German).toString(number);
}

QString tooLargeReason() {
    return QStringLiteral("Die Datei ist größer als %1 MiB.").arg(MaxTapeFileBytes / (1024 * 1024));
}

// Said with every reason that concerns the bounds.
QString boundsNote() {
    return QStringLiteral(" Eine Banddatei darf höchstens %1 MiB und %2 Zeilen haben, jede Zeile "
                          "höchstens %3 Zeichen.")
        .arg(MaxTapeFileBytes / (1024 * 1024))
        .arg(counted(MaxTapeFileLines), counted(MaxTapeLineLength));
}

std::optional<QString> createFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder))
        return std::nullopt;
    return QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.")
        .arg(QDir::toNativeSeparators(folder));
}

// Calls visit(start, length) for every line of the bytes in order until it returns false.
template <typename Visit> void forEachLine(const QByteArray& bytes, Visit visit) {
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        const auto* found = static_cast<const char*>(
            std::memchr(data + start, '\r', static_cast<std::size_t>(size - start)));
        const qsizetype end = found ? found - data : size;
        if (!visit(start, end - start))
            return;
        start = end + 1;
        if (start < size && data[start] == '\n')
            ++start;
    }
}

// Every CR ends a line; a rest after the last line end is one more.
qsizetype lineCount(const QByteArray& bytes) {
    const qsizetype ends = std::count(bytes.cbegin(), bytes.cend(), '\r');
    qsizetype rest = bytes.lastIndexOf('\r') + 1;
    if (rest > 0 && rest < bytes.size() && bytes[rest] == '\n')
        ++rest;
    return ends + (rest < bytes.size() ? 1 : 0);
}

// The number of the first line longer than the bound, counted from 1; 0 when there is none.
qsizetype firstOverlongLine(const QByteArray& bytes) {
    qsizetype number = 0;
    bool found = false;
    forEachLine(bytes, [&](qsizetype, qsizetype length) {
        ++number;
        found = length > MaxTapeLineLength;
        return !found;
    });
    return found ? number : 0;
}

// Tells from a sum of character widths which lines surely cannot be padded for the list, so that
// only lines that may fit are measured as a whole: a saved tape line is three lists wide, and a
// long line is given up after its first characters. Kerning and shaping never narrow a line by a
// third; should combining marks do so, such a line is appended unpadded, losing nothing.
class FitEstimate {
public:
    FitEstimate(const TextMeasurer& measurer, const Tape& list)
        : m_measurer(measurer)
        , m_limit(TooWideFactor * (list.widthTwips() + measurer.textWidth(QStringLiteral(" ")))) {
        m_latin1Widths.fill(Unmeasured);
    }

    bool surelyTooWide(const QString& line) {
        double sum = 0;
        for (const QChar character : line) {
            sum += widthOf(character);
            if (sum > m_limit)
                return true;
        }
        return false;
    }

private:
    static constexpr double TooWideFactor = 1.5;
    static constexpr float Unmeasured = -1;

    // Decoded tape text is Latin-1 but for the typographic characters of Windows-1252.
    double widthOf(QChar character) {
        const char16_t code = character.unicode();
        if (code < m_latin1Widths.size()) {
            float& width = m_latin1Widths[code];
            if (width == Unmeasured)
                width = measured(character);
            return width;
        }
        auto known = m_otherWidths.constFind(code);
        if (known == m_otherWidths.cend())
            known = m_otherWidths.insert(code, measured(character));
        return *known;
    }

    float measured(QChar character) const {
        return static_cast<float>(m_measurer.textWidth(QString(character)));
    }

    const TextMeasurer& m_measurer;
    double m_limit;
    std::array<float, 256> m_latin1Widths{};
    QHash<char16_t, float> m_otherWidths;
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

std::optional<QString> TapeFileProblem(const QByteArray& bytes) {
    if (bytes.size() > MaxTapeFileBytes)
        return tooLargeReason();
    if (lineCount(bytes) > MaxTapeFileLines)
        return QStringLiteral("Die Datei hat mehr als %1 Zeilen.").arg(counted(MaxTapeFileLines));
    if (const qsizetype line = firstOverlongLine(bytes))
        return QStringLiteral("Zeile %1 ist länger als %2 Zeichen.")
            .arg(counted(line), counted(MaxTapeLineLength));
    return std::nullopt;
}

QStringList TapeFileLines(const QByteArray& bytes) {
    QStringList lines;
    lines.reserve(lineCount(bytes));
    forEachLine(bytes, [&](qsizetype start, qsizetype length) {
        lines << DecodeWindows1252(QByteArray::fromRawData(bytes.constData() + start, length));
        return true;
    });
    return lines;
}

std::optional<QString> SaveTapeFile(const NumberTape& tapes, const QString& path) {
    if (const std::optional<QString> reason = createFolderOf(path))
        return saveWarning(path, *reason);
    const QByteArray bytes = TapeFileBytes(tapes);
    if (const std::optional<QString> problem = TapeFileProblem(bytes)) {
        return saveWarning(path, QStringLiteral("„Öffnen“ könnte die Datei nicht wieder lesen. ") +
                                     *problem + boundsNote());
    }
    if (const std::optional<QString> reason = WriteFileSafely(path, bytes, Commit::Replace))
        return saveWarning(path, *reason);
    return std::nullopt;
}

// Nothing of a file beyond the bounds is decoded.
std::optional<QString> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path) {
    const std::variant<QByteArray, ReadFailure> read =
        ReadRegularFile(path, MaxTapeFileBytes, Oversize::Refuse);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        if (failure->kind == ReadFailure::Kind::TooLarge)
            return openWarning(path, tooLargeReason() + boundsNote());
        return openWarning(path, failure->reason);
    }
    const QByteArray& bytes = std::get<QByteArray>(read);
    if (const std::optional<QString> problem = TapeFileProblem(bytes))
        return openWarning(path, *problem + boundsNote());
    QStringList lines = TapeFileLines(bytes);
    FitEstimate estimate(format.measurer, tapes.List1);
    for (QString& line : lines) {
        if (!estimate.surelyTooWide(line))
            line = AlignedForList(format, tapes.List1, std::move(line));
    }
    tapes.List1.append(std::move(lines));
    return std::nullopt;
}
