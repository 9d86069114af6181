#pragma once

// The journal of the tapes, which keeps the run's tapes for the next start. It is UTF-8 text of
// the program's own. The first line names the format, its version and the run that writes it:
// "Zifferon-Journal 1 <run>". Records follow, each a header line
//   "<keep1> <keep2> <keep3> <added1> <added2> <added3> <bytes> <crc32>"
// and then <bytes> bytes of lines: the record keeps the first keep_i lines of list i (List1,
// List2, List3), appends added_i lines to it, and then gives the texts of Text2 and Text3. Each
// line ends in LF; a backslash, LF and CR in a line are written "\\", "\n" and "\r". The first
// record keeps nothing. The checksum (CRC-32 of the header up to it and of the lines) tells a
// record torn by the end of the program: a torn record after the first ends the journal, and the
// records before it stand.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <array>
#include <optional>

// The same bounds as the tape file's: lines per list and characters per line. A line of UTF-8
// takes at most four bytes a character, and the journal's size only bounds what is read at once.
inline constexpr qsizetype MaxJournalLines = 1'000'000;
inline constexpr qsizetype MaxJournalLineLength = 64 * 1024;
inline constexpr qint64 MaxJournalBytes = 512LL * 1024 * 1024;

using JournalCounts = std::array<qsizetype, 3>;

// What a journal brings back: the three lists and the hidden fields.
struct JournalTapes {
    std::array<QStringList, 3> lists;
    QString resultText; // Text2
    QString totalText;  // Text3
};

// The lines of one record: the lists as they are now, of which the first `keep` lines of each
// are already in the journal.
struct JournalRecordSource {
    std::array<const QStringList*, 3> lists;
    JournalCounts keep;
    QStringView resultText;
    QStringView totalText;
};

// The first line of a journal of the run (letters and digits).
QByteArray JournalStart(QByteArrayView run);
QByteArray JournalRecord(const JournalRecordSource& source);

// What the start needs to know of a journal, found without keeping its lines.
struct JournalSummary {
    QByteArray run;
    qsizetype formulas = 0; // lines of List1 in the last complete record
    bool tapesEmpty = true;
};

// Nothing when the bytes are not a journal, or a damaged one, or one beyond the bounds.
std::optional<JournalSummary> SummarizeJournal(QByteArrayView bytes);
std::optional<JournalTapes> ReadJournal(QByteArrayView bytes);

// CRC-32 (IEEE 802.3), as the records carry it; `before` is that of the bytes just before.
quint32 Crc32(QByteArrayView bytes, quint32 before = 0);
