#include "formats/tape_journal.h"

#include <QTest>

namespace {

using Lists = std::array<QStringList, 3>;

// A journal of records, each the lists as they then were and how many lines of each it kept.
struct Step {
    Lists lists;
    JournalCounts keep;
    QString result;
    QString total;
};

QByteArray journalOf(const QList<Step>& steps) {
    QByteArray bytes = JournalStart("run1");
    for (const Step& step : steps)
        bytes += JournalRecord(
            {{&step.lists[0], &step.lists[1], &step.lists[2]}, step.keep, step.result, step.total});
    return bytes;
}

// A record of the counts (six numbers) and lines as they stand, with a sound checksum.
QByteArray record(const QByteArray& counts, const QByteArray& lines) {
    const QByteArray header = counts + ' ' + QByteArray::number(lines.size()) + ' ';
    return header + QByteArray::number(Crc32(header + lines), 16).rightJustified(8, '0') + '\n' +
           lines;
}

const Step Evaluated{{QStringList{"2+3"}, {" 5,00"}, {" 5,00"}}, {}, "5", "5,00"};
const Step EvaluatedTwice{
    {QStringList{"2+3", "1*2"}, {" 5,00", " 2,00"}, {" 5,00", " 7,00"}}, {1, 1, 1}, "2", "7,00"};

} // namespace

Q_DECLARE_METATYPE(Step)

class TestTapeJournal : public QObject {
    Q_OBJECT

private slots:
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void refusesWhatItDidNotWrite_data();
    void refusesWhatItDidNotWrite();
};

void TestTapeJournal::readsBackWhatWasWritten_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Step>("expected");
    const Step odd{
        {QStringList{"a\\nb", "x\ny\r\\", ""}, {"äöü €", "😀 \t"}, {"\\"}}, {}, "\n", "\\r"};
    QTest::newRow("every character") << journalOf({odd}) << odd;
    QTest::newRow("appended") << journalOf({Evaluated, EvaluatedTwice}) << EvaluatedTwice;
    const Step corrected{{QStringList{"2+4", "1*2"}, {" 6,00", " 2,00"}, {" 6,00", " 8,00"}},
                         {0, 0, 0},
                         "6",
                         "8,00"};
    Step correctedFromTop = corrected;
    correctedFromTop.keep = {0, 0, 0};
    QTest::newRow("rewritten from the top")
        << journalOf({Evaluated, EvaluatedTwice, correctedFromTop}) << corrected;
    const Step takenBack{{QStringList{"2+3"}, {" 5,00"}, {" 5,00"}}, {1, 1, 1}, "5", "5,00"};
    QTest::newRow("taken back") << journalOf({Evaluated, EvaluatedTwice, takenBack}) << Evaluated;
    const QByteArray two = journalOf({Evaluated, EvaluatedTwice});
    const qsizetype secondRecord = journalOf({Evaluated}).size();
    QTest::newRow("torn in the last header") << two.first(secondRecord + 5) << Evaluated;
    QTest::newRow("torn in the last lines") << two.chopped(3) << Evaluated;
    QByteArray flipped = two;
    flipped[flipped.size() - 2] = 'X';
    QTest::newRow("last lines garbled") << flipped << Evaluated;
    QByteArray garbledHeader = two;
    garbledHeader[secondRecord] = '0';
    QTest::newRow("last header garbled") << garbledHeader << Evaluated;
    QTest::newRow("zeros after a power cut")
        << journalOf({Evaluated}) + QByteArray(512, '\0') << Evaluated;
}

void TestTapeJournal::readsBackWhatWasWritten() {
    QFETCH(QByteArray, bytes);
    QFETCH(Step, expected);
    const std::optional<JournalTapes> tapes = ReadJournal(bytes);
    QVERIFY(tapes);
    QCOMPARE(tapes->lists, expected.lists);
    QCOMPARE(tapes->resultText, expected.result);
    QCOMPARE(tapes->totalText, expected.total);
    const std::optional<JournalSummary> summary = SummarizeJournal(bytes);
    QVERIFY(summary);
    QCOMPARE(summary->run, QByteArray("run1"));
    QCOMPARE(summary->formulas, expected.lists[0].size());
}

void TestTapeJournal::refusesWhatItDidNotWrite_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray one = journalOf({Evaluated});
    const QByteArray start = JournalStart("run1");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("start only") << start;
    QTest::newRow("other version") << QByteArray(one).replace("Journal 1", "Journal 2");
    QTest::newRow("first record torn") << one.chopped(1);
    QTest::newRow("run with a blank") << QByteArray(one).replace("run1", "run 1");
    QTest::newRow("tape file") << QByteArray("Eingabe Zeile Spalte\r\n2+3 5,00 5,00\r\n");
    Step keeping = Evaluated;
    keeping.keep = {1, 0, 0};
    QTest::newRow("first record keeps") << journalOf({keeping});
    QTest::newRow("keeps more than the list has")
        << journalOf({Evaluated}) + record("1 1 5 1 1 1", "a\nb\nc\n\n\n");
    const QString longLine(MaxJournalLineLength, QChar(0x20AC)); // three bytes each in UTF-8
    const QStringList tooLong{longLine + longLine};
    QTest::newRow("line beyond the bound")
        << journalOf({{{tooLong, {}, {}}, {}, QString(), QString()}});
    // Sound checksums over records the writer never makes.
    QTest::newRow("unknown escape") << start + record("0 0 0 1 0 0", "a\\x\n\n\n");
    QTest::newRow("fewer lines than counted") << start + record("0 0 0 1 0 0", "a\n\n");
    QTest::newRow("count beyond the bound") << start + record("0 0 0 1000001 0 0", "\n\n");
    QTest::newRow("not UTF-8") << start + record("0 0 0 1 0 0", "\xC3(\n\n\n");
    QTest::newRow("sign in a count") << start + record("0 0 0 +1 0 0", "a\n\n\n");
}

void TestTapeJournal::refusesWhatItDidNotWrite() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!ReadJournal(bytes));
    QVERIFY(!SummarizeJournal(bytes));
}

QTEST_GUILESS_MAIN(TestTapeJournal)
#include "tst_tape_journal.moc"
