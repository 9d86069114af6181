#include "formats/tape_file.h"

#include "calc/module1.h"
#include "calc/text_measurer.h"
#include "files/file_access.h"
#include "files/windows1252.h"

#include <QDir>
#include <QFileInfo>

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

// Said with every reason that concerns the bounds.
QString boundsNote(const TapeFileBounds& bounds) {
    return QStringLiteral(" Eine Banddatei darf höchstens %1 MiB und %2 Zeilen haben, jede Zeile "
                          "höchstens %3 Zeichen.")
        .arg(bounds.bytes / (1024 * 1024))
        .arg(GermanCount(bounds.lines), GermanCount(bounds.lineLength));
}

std::optional<Failure> createFolderOf(const QString& path) {
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

// How many lines the bytes hold, and the first line longer than the bound (counted from 1; 0
// when there is none), in one pass that stops at that line.
struct LineSurvey {
    qsizetype lines = 0;
    qsizetype firstOverlong = 0;
};

LineSurvey surveyLines(const QByteArray& bytes, qsizetype maxLineLength) {
    LineSurvey survey;
    forEachLine(bytes, [&survey, maxLineLength](qsizetype, qsizetype length) {
        ++survey.lines;
        if (length > maxLineLength)
            survey.firstOverlong = survey.lines;
        return survey.firstOverlong == 0;
    });
    return survey;
}

// Tells from a sum of character widths which lines surely cannot be padded for the list, so that
// only lines that may fit are measured as a whole: a saved tape line is three lists wide, and a
// long line is given up after its first characters. It sums the widths of the file's bytes, each
// measured once as the character it decodes to. Kerning and shaping never narrow a line by a
// third; should combining marks do so, such a line is appended unpadded, losing nothing.
class FitEstimate {
public:
    explicit FitEstimate(const LineFormat& format)
        : m_measurer(format.measurer)
        , m_limit(static_cast<float>(
              TooWideFactor *
              (format.listWidthTwips + format.measurer.textWidth(QStringLiteral(" "))))) {
        m_widths.fill(Unmeasured);
    }

    bool surelyTooWide(QByteArrayView line) {
        float sum = 0;
        for (const char byte : line) {
            sum += widthOf(static_cast<unsigned char>(byte));
            if (sum > m_limit)
                return true;
        }
        return false;
    }

private:
    static constexpr double TooWideFactor = 1.5;
    static constexpr float Unmeasured = -1;

    float widthOf(unsigned char byte) {
        float& width = m_widths[byte];
        if (width == Unmeasured) {
            const QString character = DecodeWindows1252(QByteArray(1, static_cast<char>(byte)));
            width = static_cast<float>(m_measurer.textWidth(character));
        }
        return width;
    }

    const TextMeasurer& m_measurer;
    float m_limit;
    std::array<float, 256> m_widths{};
};

// The lines of bytes within the bounds, each right-aligned for the list where it fits.
QStringList alignedLines(const QByteArray& bytes, const LineFormat& format) {
    FitEstimate estimate(format);
    QStringList lines;
    forEachLine(bytes, [&](qsizetype start, qsizetype length) {
        const QByteArray line = QByteArray::fromRawData(bytes.constData() + start, length);
        if (estimate.surelyTooWide(line))
            lines << DecodeWindows1252(line);
        else
            lines << AlignedForList(format, DecodeWindows1252(line));
        return true;
    });
    return lines;
}

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

std::optional<Failure> TapeFileProblem(const QByteArray& bytes, const TapeFileBounds& bounds) {
    if (bytes.size() > bounds.bytes)
        return FileTooLarge(bounds.bytes);
    const LineSurvey survey = surveyLines(bytes, bounds.lineLength);
    if (survey.firstOverlong > 0)
        return QStringLiteral("Zeile %1 ist länger als %2 Zeichen.")
            .arg(GermanCount(survey.firstOverlong), GermanCount(bounds.lineLength));
    if (survey.lines > bounds.lines)
        return QStringLiteral("Die Datei hat mehr als %1 Zeilen.").arg(GermanCount(bounds.lines));
    return std::nullopt;
}

std::optional<Failure> SaveTapeFile(const NumberTape& tapes, const QString& path) {
    if (const std::optional<Failure> failure = createFolderOf(path))
        return saveWarning(path, failure->reason);
    const QByteArray bytes = TapeFileBytes(tapes);
    if (const std::optional<Failure> problem = TapeFileProblem(bytes, SaveBounds))
        return saveWarning(path, problem->reason + boundsNote(SaveBounds));
    if (const std::optional<Failure> failure = WriteFileSafely(path, bytes, Commit::Replace))
        return saveWarning(path, failure->reason);
    return std::nullopt;
}

// Nothing of a file beyond the bounds is decoded.
std::optional<Failure> OpenTapeFile(NumberTape& tapes, const LineFormat& format,
                                    const QString& path) {
    const std::variant<QByteArray, Failure> read =
        ReadRegularFile(path, MaxTapeFileBytes, Oversize::Refuse);
    if (const auto* failure = std::get_if<Failure>(&read)) {
        const bool beyondBounds = failure->kind == Failure::Kind::TooLarge;
        return openWarning(path,
                           failure->reason + (beyondBounds ? boundsNote(OpenBounds) : QString()));
    }
    const QByteArray& bytes = std::get<QByteArray>(read);
    if (const std::optional<Failure> problem = TapeFileProblem(bytes))
        return openWarning(path, problem->reason + boundsNote(OpenBounds));
    tapes.List1.append(alignedLines(bytes, format));
    return std::nullopt;
}
