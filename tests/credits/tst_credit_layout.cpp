#include "credits/bas_credit_und_info_box.h"
#include "files/windows1252.h"
#include "tests/support/file_places.h"
#include "tests/support/fixed_width_measurer.h"
#include "tests/support/gui_fixture.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// Every character is 100 twips wide; the box is 1000 twips wide.
class TestCreditLayout : public QObject {
    Q_OBJECT

private slots:
    void wrapCreditText_data();
    void wrapCreditText();
    void wrapCreditText_emptyFileGivesNoText();
    void wrapCreditText_missingFileLaysOutThePathOnce();
    void layOut_sameAsCharacterByCharacterRule_data();
    void layOut_sameAsCharacterByCharacterRule();
    void carryPartialWord_data();
    void carryPartialWord();
    void readCreditsText_data();
    void readCreditsText();
    void readCreditsText_longFileGivesItsBeginning();
    void layOut_stopsAtTheLineBound_data();
    void layOut_stopsAtTheLineBound();
    void textAreaWidth_data();
    void textAreaWidth();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_folder;
};

namespace {

constexpr double BoxWidth = 1000;

QStringList lines(std::initializer_list<const char*> utf8) {
    QStringList result;
    for (const char* line : utf8)
        result.append(QString::fromUtf8(line));
    return result;
}

// The literal rule's step at a break: unless the remainder starts with a break character, the
// line's last word moves to the front of the remainder.
void carryWordAtBreak(QString& remainder, QString& line) {
    if (remainder.isEmpty() || BreakCharacters.contains(remainder.front()))
        return;
    qsizetype keep = line.size();
    while (keep > 0 && !BreakCharacters.contains(line[keep - 1]))
        --keep;
    remainder.prepend(QStringView(line).mid(keep));
    line.truncate(keep);
}

// The layout rule taken literally: characters come off the end of an overlong line one at a
// time, blanks go in front one at a time. Only for texts without a run wider than the column.
QStringList literalLayout(const QString& text, const TextMeasurer& measurer, double boxWidth,
                          int limit, int alignment) {
    const auto indent = [&](QString line) {
        const double width = measurer.textWidth(line);
        const double target = alignment == 1   ? (boxWidth - limit) / 2 + limit
                              : alignment == 2 ? (boxWidth - width) / 2 + width
                                               : (boxWidth - limit) / 2 + width;
        while (measurer.textWidth(line) < target)
            line.prepend(' ');
        return line;
    };
    QStringList result;
    if (text.isEmpty())
        return result;
    for (QString line : text.split("\r\n")) {
        if (measurer.textWidth(line) <= limit) {
            result.append(indent(line));
            continue;
        }
        while (true) {
            QString remainder;
            while (measurer.textWidth(line) > limit) {
                remainder.prepend(line.back());
                line.chop(1);
            }
            carryWordAtBreak(remainder, line);
            result.append(indent(line));
            line = remainder;
            if (line.trimmed().isEmpty())
                break;
        }
    }
    return result;
}

// Lines of words of 1 to 8 letters between break characters, the same for every run.
QString generatedCredits(int lineCount) {
    QRandomGenerator random(7);
    const QString letters = QStringLiteral("aeinrstuhlmgoWMfkäöüßAVTyfil");
    const QString breaks = QStringLiteral("     .,;:-_!?(/+=*~");
    QStringList lineTexts;
    for (int line = 0; line < lineCount; ++line) {
        QString text;
        const int words = random.bounded(0, 40);
        for (int word = 0; word < words; ++word) {
            for (int letter = random.bounded(1, 9); letter > 0; --letter)
                text += letters[random.bounded(letters.size())];
            text += breaks[random.bounded(breaks.size())];
        }
        lineTexts.append(text);
    }
    return lineTexts.join("\r\n");
}

} // namespace

QString TestCreditLayout::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(m_folder.path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestCreditLayout::wrapCreditText_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("widthOfW");
    QTest::addColumn<QStringList>("expected");
    // Alignment 0 with a column of 600 leaves a margin of 200: two blanks.
    QTest::newRow("three lines, empty middle one is the margin")
        << QByteArray("abc\r\n\r\ndef") << 600 << 0 << 100.0 << lines({"  abc", "  ", "  def"});
    QTest::newRow("line exactly as wide as the limit stays whole")
        << QByteArray("abcdef") << 600 << 0 << 100.0 << lines({"  abcdef"});
    QTest::newRow("breaks after the second blank")
        << QByteArray("ab cd efgh") << 700 << 0 << 100.0 << lines({"  ab cd ", "  efgh"});
    QTest::newRow("overflow right at a blank continues with the blank")
        << QByteArray("abcdef ghi") << 600 << 0 << 100.0 << lines({"  abcdef", "   ghi"});
    QTest::newRow("trailing CR LF gives an indented empty line")
        << QByteArray("abc\r\n") << 600 << 0 << 100.0 << lines({"  abc", "  "});
    QTest::newRow("lone CR and LF stay inside the line")
        << QByteArray("ab\rc\nd") << 600 << 0 << 100.0 << lines({"  ab\rc\nd"});
    QTest::newRow("several breaks in one line") << QByteArray("aa bb cc dd ee") << 500 << 0 << 100.0
                                                << lines({"   aa bb", "    cc ", "   dd ee"});
    QTest::newRow("hyphen stays at the end of the line")
        << QByteArray("ab-cdef") << 500 << 0 << 100.0 << lines({"   ab-", "   cdef"});
    QTest::newRow("remainder of blanks is dropped")
        << QByteArray("abcdef   ") << 600 << 0 << 100.0 << lines({"  abcdef"});
    QTest::newRow("blank line that fits is kept")
        << QByteArray("   ") << 600 << 0 << 100.0 << lines({"     "});
    QTest::newRow("alignment 1 lines up the right ends")
        << QByteArray("ab\r\nabcd") << 600 << 1 << 100.0 << lines({"      ab", "    abcd"});
    QTest::newRow("alignment 2 centres every line in the box")
        << QByteArray("ab\r\nabcd\r\nabcdefgh") << 800 << 2 << 100.0
        << lines({"    ab", "   abcd", " abcdefgh"});
    QTest::newRow("unknown alignment is left")
        << QByteArray("ab") << 600 << 7 << 100.0 << lines({"  ab"});
    QTest::newRow("word wider than the column is split at a character")
        << QByteArray("abcdefghij") << 400 << 0 << 100.0 << lines({"   abcd", "   efgh", "   ij"});
    QTest::newRow("long word after a short one") << QByteArray("ab cdefghijk") << 400 << 0 << 100.0
                                                 << lines({"   ab ", "   cdef", "   ghij", "   k"});
    QTest::newRow("character wider than the column gets a line of its own")
        << QByteArray("aWb") << 400 << 0 << 500.0 << lines({"   a", "   W", "   b"});
    QTest::newRow("read as Windows-1252") << QByteArray("Gr\xF6\xDF"
                                                        "e \x80")
                                          << 700 << 0 << 100.0 << lines({"  Größe €"});
}

void TestCreditLayout::wrapCreditText() {
    QFETCH(QByteArray, file);
    QFETCH(int, limit);
    QFETCH(int, alignment);
    QFETCH(double, widthOfW);
    QFETCH(QStringList, expected);
    FixedWidthMeasurer measurer;
    measurer.setWidth('W', widthOfW);
    CreditsState state;
    state.CreditsFile = writeFile(QStringLiteral("Tiska.dpi"), file);

    WrapCreditText(state, LayoutBox{measurer, BoxWidth}, state.CreditsFile, limit,
                   static_cast<quint8>(alignment));

    QCOMPARE(state.CreditsLines, expected);
    QCOMPARE(state.CreditsText(), expected.join("\r\n") + "\r\n");
}

void TestCreditLayout::wrapCreditText_emptyFileGivesNoText() {
    FixedWidthMeasurer measurer;
    CreditsState state;
    state.CreditsFile = writeFile(QStringLiteral("leer.dpi"), QByteArray());

    WrapCreditText(state, LayoutBox{measurer, BoxWidth}, state.CreditsFile, 600, 0);

    QVERIFY(state.CreditsLines.isEmpty());
    QCOMPARE(state.CreditsText(), QString());
}

void TestCreditLayout::wrapCreditText_missingFileLaysOutThePathOnce() {
    FixedWidthMeasurer measurer;
    CreditsState state;
    state.CreditsFile = QDir(m_folder.path()).filePath(QStringLiteral("fehlt.dpi"));
    const LayoutBox wideBox{measurer, 100000};

    WrapCreditText(state, wideBox, state.CreditsFile, 90000, 0);
    WrapCreditText(state, wideBox, state.CreditsFile, 90000, 0);

    QCOMPARE(state.CreditsText(), QString(50, ' ') + state.CreditsFile + "\r\n");
}

void TestCreditLayout::layOut_sameAsCharacterByCharacterRule_data() {
    QTest::addColumn<bool>("realFont");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("alignment");
    QTest::newRow("font, info box column, left") << true << 9126 << 0;
    QTest::newRow("font, narrow column, left") << true << 4000 << 0;
    QTest::newRow("font, narrow column, right") << true << 4000 << 1;
    QTest::newRow("font, narrow column, centred") << true << 4000 << 2;
    QTest::newRow("uneven widths, narrow column, left") << false << 5000 << 0;
    QTest::newRow("uneven widths, wide column, centred") << false << 9000 << 2;
}

void TestCreditLayout::layOut_sameAsCharacterByCharacterRule() {
    QFETCH(bool, realFont);
    QFETCH(int, limit);
    QFETCH(int, alignment);
    FixedWidthMeasurer uneven(150);
    for (QChar wide : QStringLiteral("WMmäA"))
        uneven.setWidth(wide, 310);
    uneven.setWidth('i', 45.5);
    uneven.setWidth(' ', 62.5);
    const FontMeasurer font(CreditsFont());
    const TextMeasurer& measurer = realFont ? static_cast<const TextMeasurer&>(font) : uneven;
    const QString text = generatedCredits(60);
    const double boxWidth = 10140;

    const QStringList laidOut = LayOutCreditLines(text, LayoutBox{measurer, boxWidth}, limit,
                                                  static_cast<quint8>(alignment));

    QCOMPARE(laidOut, literalLayout(text, measurer, boxWidth, limit, alignment));
    QVERIFY(laidOut.size() > 60);
}

void TestCreditLayout::carryPartialWord_data() {
    QTest::addColumn<QString>("remainder");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expectedRemainder");
    QTest::addColumn<QString>("expectedLine");
    QTest::newRow("empty remainder") << ""
                                     << "ab cd"
                                     << ""
                                     << "ab cd";
    QTest::newRow("remainder starts with a blank") << " ef"
                                                   << "ab cd"
                                                   << " ef"
                                                   << "ab cd";
    QTest::newRow("remainder starts with a comma") << ",ef"
                                                   << "ab cd"
                                                   << ",ef"
                                                   << "ab cd";
    QTest::newRow("word moves to the remainder") << "ef"
                                                 << "ab cd"
                                                 << "cdef"
                                                 << "ab ";
    QTest::newRow("line without a break empties") << "ef"
                                                  << "abcd"
                                                  << "abcdef"
                                                  << "";
    QTest::newRow("empty line") << "ef"
                                << ""
                                << "ef"
                                << "";
    QTest::newRow("letters are no break") << "e"
                                          << "A.bZ"
                                          << "bZe"
                                          << "A.";
    QTest::newRow("closing parenthesis is no break") << "e"
                                                     << "a(b)"
                                                     << "b)e"
                                                     << "a(";
    QTest::newRow("ampersand is no break") << "e"
                                           << "a+b&c"
                                           << "b&ce"
                                           << "a+";
    QTest::newRow("tab is no break") << "e"
                                     << "a b\tc"
                                     << "b\tce"
                                     << "a ";
    QTest::newRow("digit remainder start") << "9"
                                           << "a b1"
                                           << "b19"
                                           << "a ";
    const QString breaks = QStringLiteral(" .,;:-_!?(/+=*~");
    for (QChar character : breaks) {
        const QByteArray name = "break after '" + QString(character).toUtf8() + "'";
        QTest::newRow(name.constData()) << "d"
                                        << "ab" + QString(character) + "c"
                                        << "cd"
                                        << "ab" + QString(character);
    }
}

void TestCreditLayout::carryPartialWord() {
    QFETCH(QString, remainder);
    QFETCH(QString, line);
    QFETCH(QString, expectedRemainder);
    QFETCH(QString, expectedLine);

    carryWordAtBreak(remainder, line);

    QCOMPARE(remainder, expectedRemainder);
    QCOMPARE(line, expectedLine);
}

void TestCreditLayout::readCreditsText_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    const QString ordinary = writeFile(QStringLiteral("ordinary.dpi"), "Dank an \x84"
                                                                       "alle\x93");
    const QString hidden = writeFile(QStringLiteral(".hidden.dpi"), "versteckt");
    const QString missing = QDir(m_folder.path()).filePath(QStringLiteral("missing.dpi"));
    const QString unreadable = QStringLiteral("/proc/self/mem");
    QTest::newRow("ordinary file in Windows-1252") << ordinary << "Dank an „alle“";
    QTest::newRow("missing file gives the text") << missing << "ohne Datei";
    QTest::newRow("empty path gives the text") << QString() << "ohne Datei";
    QTest::newRow("folder counts as missing") << m_folder.path() << "ohne Datei";
    QTest::newRow("hidden file counts as missing") << hidden << "ohne Datei";
    const QString pipe = QDir(m_folder.path()).filePath(QStringLiteral("pipe.dpi"));
    QVERIFY(makePlace(Place::Pipe, pipe));
    const QString zero = QDir(m_folder.path()).filePath(QStringLiteral("zero.dpi"));
    QVERIFY(makePlace(Place::LinkToZero, zero));
    QByteArray everyByte(256, Qt::Uninitialized);
    for (int byte = 0; byte < 256; ++byte)
        everyByte[byte] = static_cast<char>(byte);
    const QString binary = writeFile(QStringLiteral("binary.dpi"), everyByte);
    QTest::newRow("binary file decoded byte by byte") << binary << DecodeWindows1252(everyByte);
    QTest::newRow("pipe counts as missing, never blocks") << pipe << "ohne Datei";
    QTest::newRow("link to a device counts as missing") << zero << "ohne Datei";
    QTest::newRow("unreadable file gives a notice")
        << unreadable
        << "Die Datei mit den Mitwirkenden konnte nicht gelesen werden:\r\n" + unreadable;
}

void TestCreditLayout::readCreditsText() {
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QCOMPARE(ReadCreditsText(file, QStringLiteral("ohne Datei")), expected);
}

void TestCreditLayout::readCreditsText_longFileGivesItsBeginning() {
    QByteArray tenMegabytes;
    for (int line = 0; tenMegabytes.size() < 10'000'000; ++line)
        tenMegabytes += "Mitwirkende Zeile " + QByteArray::number(line) + "\r\n";
    const QString file = writeFile(QStringLiteral("lang.dpi"), tenMegabytes);

    const QString text = ReadCreditsText(file, QStringLiteral("ohne Datei"));

    QCOMPARE(text, QString::fromLatin1(tenMegabytes.first(MaxCreditsFileBytes)));
}

void TestCreditLayout::layOut_stopsAtTheLineBound_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("lines");
    const QString shortLines = QStringLiteral("Dank\r\n").repeated(MaxCreditLines + 100);
    QTest::newRow("as many lines as the bound")
        << shortLines.first((MaxCreditLines - 1) * 6 + 4) << MaxCreditLines;
    QTest::newRow("more short lines") << shortLines << MaxCreditLines;
    QTest::newRow("one line broken into more pieces")
        << QStringLiteral("Dank ").repeated(MaxCreditLines * 3) << MaxCreditLines;
}

void TestCreditLayout::layOut_stopsAtTheLineBound() {
    QFETCH(QString, text);
    QFETCH(qsizetype, lines);
    const FixedWidthMeasurer measurer(100);

    const QStringList laidOut = LayOutCreditLines(text, LayoutBox{measurer, BoxWidth}, 900, 0);

    QCOMPARE(laidOut.size(), lines);
    QVERIFY(laidOut.last().contains(QStringLiteral("Dank")));
}

void TestCreditLayout::textAreaWidth_data() {
    QTest::addColumn<double>("scaleWidth");
    QTest::addColumn<float>("factor");
    QTest::addColumn<int>("expected");
    QTest::newRow("info box factor") << 10140.0 << 0.9f << 9126;
    QTest::newRow("0.5 is raised to 0.6") << 10140.0 << 0.5f << 6084;
    QTest::newRow("0.6 itself") << 10140.0 << 0.6f << 6084;
    QTest::newRow("1.2 is cut to the full width") << 10140.0 << 1.2f << 10140;
    QTest::newRow("negative factor") << 1000.0 << -3.0f << 600;
    QTest::newRow("half rounds up to even") << 10.0 << 0.75f << 8;
    QTest::newRow("half rounds down to even") << 14.0 << 0.75f << 10;
    QTest::newRow("above a half rounds up") << 11.0 << 0.7f << 8;
}

void TestCreditLayout::textAreaWidth() {
    QFETCH(double, scaleWidth);
    QFETCH(float, factor);
    QFETCH(int, expected);
    QCOMPARE(TextAreaWidthFor(scaleWidth, factor), expected);
}

ZIFFERON_GUI_TEST_MAIN(TestCreditLayout)
#include "tst_credit_layout.moc"
