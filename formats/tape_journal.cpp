#include "formats/tape_journal.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <numeric>

namespace {

const QByteArray Format = QByteArrayLiteral("Zifferon-Journal 1 ");
constexpr qsizetype MaxRunLength = 64;
constexpr qsizetype MaxLineBytes = 4 * MaxJournalLineLength;
constexpr int HeaderFields = 8;

struct RecordHeader {
    JournalCounts keep{};
    JournalCounts added{};
    qsizetype bytes = 0;
    quint32 crc = 0;
};

void appendEscaped(QByteArray& out, QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    if (!utf8.contains('\\') && !utf8.contains('\n') && !utf8.contains('\r')) {
        out += utf8;
    } else {
        for (const char c : utf8) {
            switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
            }
        }
    }
    out += '\n';
}

// The line's text, or nothing for an escape the writer does not make.
std::optional<QString> unescaped(QByteArrayView line) {
    if (!line.contains('\\'))
        return QString::fromUtf8(line);
    QByteArray plain;
    plain.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            plain += line[i];
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
        case '\\':
            plain += '\\';
            break;
        case 'n':
            plain += '\n';
            break;
        case 'r':
            plain += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return QString::fromUtf8(plain);
}

bool isEscapedWell(QByteArrayView line) {
    for (qsizetype i = line.indexOf('\\'); i >= 0; i = line.indexOf('\\', i + 2)) {
        if (i + 1 == line.size() || QByteArrayView("\\nr").indexOf(line[i + 1]) < 0)
            return false;
    }
    return true;
}

std::optional<qsizetype> count(QByteArrayView field, qsizetype bound) {
    bool ok = false;
    const qlonglong value = field.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > bound || field.startsWith('+') || field.startsWith('-'))
        return std::nullopt;
    return static_cast<qsizetype>(value);
}

std::optional<RecordHeader> parseHeader(QByteArrayView line) {
    std::array<QByteArrayView, HeaderFields> fields;
    qsizetype from = 0;
    for (int i = 0; i < HeaderFields; ++i) {
        const qsizetype end = i + 1 < HeaderFields ? line.indexOf(' ', from) : line.size();
        if (end < 0)
            return std::nullopt;
        fields[i] = line.sliced(from, end - from);
        from = end + 1;
    }
    RecordHeader header;
    for (int i = 0; i < 3; ++i) {
        const auto keep = count(fields[i], MaxJournalLines);
        const auto added = count(fields[i + 3], MaxJournalLines);
        if (!keep || !added)
            return std::nullopt;
        header.keep[i] = *keep;
        header.added[i] = *added;
    }
    const auto bytes = count(fields[6], MaxJournalBytes);
    bool ok = false;
    header.crc = fields[7].size() == 8 ? fields[7].toUInt(&ok, 16) : 0;
    if (!bytes || !ok)
        return std::nullopt;
    header.bytes = *bytes;
    return header;
}

// Follows a journal's records and hands each sound one to the reader: the lines of a record
// split at LF, the last two the hidden fields. A torn record after the first ends the journal.
class RecordWalk {
public:
    virtual ~RecordWalk() = default;

    // Nothing when the bytes are no sound journal.
    std::optional<QByteArray> walk(QByteArrayView bytes) {
        const qsizetype startEnd = bytes.indexOf('\n');
        if (startEnd < 0 || !bytes.startsWith(Format))
            return std::nullopt;
        const QByteArrayView run = bytes.first(startEnd).sliced(Format.size());
        if (run.isEmpty() || run.size() > MaxRunLength ||
            !std::all_of(run.begin(), run.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            return std::nullopt;
        qsizetype at = startEnd + 1;
        bool first = true;
        while (at < bytes.size()) {
            const auto record = nextRecord(bytes, at);
            if (!record)
                return first ? std::nullopt : std::optional<QByteArray>(run.toByteArray());
            const auto& [header, lines] = *record;
            if ((first && header.keep != JournalCounts{}) || !take(header, lines))
                return std::nullopt;
            first = false;
        }
        if (first)
            return std::nullopt;
        return run.toByteArray();
    }

protected:
    JournalCounts m_counts{};

    // Takes a record whose checksum holds; false when its lines do not fit the journal.
    bool take(const RecordHeader& header, QByteArrayView lines) {
        JournalCounts after{};
        for (int i = 0; i < 3; ++i) {
            after[i] = header.keep[i] + header.added[i];
            if (header.keep[i] > m_counts[i] || after[i] > MaxJournalLines)
                return false;
        }
        const qsizetype expected =
            std::accumulate(header.added.begin(), header.added.end(), qsizetype{2});
        if (lines.isEmpty() || !lines.endsWith('\n') || lines.count('\n') != expected ||
            !lines.isValidUtf8())
            return false;
        if (!takeLines(header, lines.chopped(1)))
            return false;
        m_counts = after;
        return true;
    }

    virtual bool takeLines(const RecordHeader& header, QByteArrayView lines) = 0;

private:
    static std::optional<std::pair<RecordHeader, QByteArrayView>> nextRecord(QByteArrayView bytes,
                                                                             qsizetype& at) {
        const qsizetype headerEnd = bytes.indexOf('\n', at);
        if (headerEnd < 0)
            return std::nullopt;
        const QByteArrayView headerLine = bytes.sliced(at, headerEnd - at);
        const auto header = parseHeader(headerLine);
        if (!header || header->bytes > bytes.size() - headerEnd - 1)
            return std::nullopt;
        const QByteArrayView lines = bytes.sliced(headerEnd + 1, header->bytes);
        if (Crc32(lines, Crc32(headerLine.chopped(8))) != header->crc)
            return std::nullopt;
        at = headerEnd + 1 + header->bytes;
        return std::pair{*header, lines};
    }
};

template <typename LineVisitor> bool forEachLine(QByteArrayView lines, LineVisitor visit) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = lines.indexOf('\n', from);
        const QByteArrayView line = lines.sliced(from, (end < 0 ? lines.size() : end) - from);
        if (line.size() > MaxLineBytes || !visit(line))
            return false;
        if (end < 0)
            return true;
        from = end + 1;
    }
}

class SummaryWalk : public RecordWalk {
public:
    JournalCounts counts() const { return m_counts; }

protected:
    bool takeLines(const RecordHeader&, QByteArrayView lines) override {
        return forEachLine(lines, isEscapedWell);
    }
};

class TapesWalk : public RecordWalk {
public:
    JournalTapes tapes;

protected:
    bool takeLines(const RecordHeader& header, QByteArrayView lines) override {
        std::array<QStringList, 3> added;
        std::array<QString, 2> fields;
        int list = 0;
        qsizetype taken = 0;
        const bool sound = forEachLine(lines, [&](QByteArrayView line) {
            std::optional<QString> text = unescaped(line);
            if (!text)
                return false;
            while (list < 3 && taken == header.added[list]) {
                ++list;
                taken = 0;
            }
            if (list < 3) {
                added[list].append(std::move(*text));
                ++taken;
            } else {
                fields[taken++] = std::move(*text);
            }
            return true;
        });
        if (!sound)
            return false;
        for (int i = 0; i < 3; ++i) {
            tapes.lists[i].resize(header.keep[i]);
            tapes.lists[i].append(std::move(added[i]));
        }
        tapes.resultText = std::move(fields[0]);
        tapes.totalText = std::move(fields[1]);
        return true;
    }
};

} // namespace

quint32 Crc32(QByteArrayView bytes, quint32 before) {
    uLong crc = before;
    for (qsizetype from = 0; from < bytes.size(); from += std::numeric_limits<uInt>::max()) {
        const QByteArrayView piece = bytes.sliced(from).first(
            std::min<qsizetype>(bytes.size() - from, std::numeric_limits<uInt>::max()));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()),
                    static_cast<uInt>(piece.size()));
    }
    return static_cast<quint32>(crc);
}

QByteArray JournalStart(QByteArrayView run) {
    return Format + run.toByteArray() + '\n';
}

QByteArray JournalRecord(const JournalRecordSource& source) {
    QByteArray lines;
    JournalCounts added{};
    for (int i = 0; i < 3; ++i) {
        const QStringList& list = *source.lists[i];
        const qsizetype keep = std::clamp<qsizetype>(source.keep[i], 0, list.size());
        added[i] = list.size() - keep;
        for (qsizetype k = keep; k < list.size(); ++k)
            appendEscaped(lines, list[k]);
    }
    appendEscaped(lines, source.resultText);
    appendEscaped(lines, source.totalText);
    QByteArray record;
    for (int i = 0; i < 3; ++i)
        record += QByteArray::number(source.lists[i]->size() - added[i]) + ' ';
    for (const qsizetype n : added)
        record += QByteArray::number(n) + ' ';
    record += QByteArray::number(lines.size()) + ' ';
    record += QByteArray::number(Crc32(lines, Crc32(record)), 16).rightJustified(8, '0') + '\n';
    return record + lines;
}

std::optional<JournalSummary> SummarizeJournal(QByteArrayView bytes) {
    SummaryWalk walk;
    std::optional<QByteArray> run = walk.walk(bytes);
    if (!run)
        return std::nullopt;
    const JournalCounts counts = walk.counts();
    return JournalSummary{
        *run, counts[0],
        std::all_of(counts.begin(), counts.end(), [](qsizetype n) { return n == 0; })};
}

std::optional<JournalTapes> ReadJournal(QByteArrayView bytes) {
    TapesWalk walk;
    if (!walk.walk(bytes))
        return std::nullopt;
    return std::move(walk.tapes);
}
