// The tapes outlive the run: whichever way the program ends, the next run's first Ctrl+Z brings
// them back; a journal the program did not write is never offered and never touched.
#include "files/private_files.h"
#include "main_window/end_on_signals.h"
#include "main_window/form1.h"
#include "main_window/tape_journal.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/tape_lines.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

#include <csignal>
#include <functional>
#include <unistd.h>

namespace {

using Lists = std::array<QStringList, 3>;
using Ending = std::function<void(std::unique_ptr<Form1>&)>;

Lists listsOf(Form1& window) {
    NumberTape& tapes = window.tapes();
    return {trimmedLines(tapes.List1), trimmedLines(tapes.List2), trimmedLines(tapes.List3)};
}

// Types the formula (characters beyond ASCII as an input method would put them) and presses
// Enter.
void evaluate(Form1& window, const QString& formula) {
    for (const QChar c : formula) {
        if (c.unicode() < 0x80)
            QTest::keyClick(window.Text1, c.toLatin1());
        else
            window.Text1->insert(c);
    }
    QTest::keyClick(window.Text1, Qt::Key_Return);
}

void press(Form1& window, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window.Text1, Qt::Key_Z, modifiers);
}

void endBySignal(std::unique_ptr<Form1>& window, int signal) {
    const EndOnSignals ending([&window] { window.reset(); });
    ::raise(signal);
    QTRY_VERIFY(!window);
}

QStringList journalsIn(const QString& folder) {
    return QDir(folder).entryList({"*.journal"}, QDir::Files | QDir::System);
}

mode_t modeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QByteArray journalOfOneLine() {
    const QStringList lines{"2+3"};
    return JournalStart("earlier") + JournalRecord({{&lines, &lines, &lines}, {}, u"5", u"5"});
}

} // namespace

Q_DECLARE_METATYPE(Ending)

class TestLastRun : public QObject {
    Q_OBJECT

private slots:
    void init();
    void endedRunComesBack_data();
    void endedRunComesBack();
    void lastRunLiesUnderTheNewSteps();
    void runningRunKeepsItsJournal();
    void hintFitsTheField();
    void outsideJournalIsLeftAlone_data();
    void outsideJournalIsLeftAlone();
    void unwritableJournalWarnsOnce();

private:
    std::unique_ptr<Form1> startRun(const QByteArray& run);

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_state;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
};

void TestLastRun::init() {
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    m_state = m_home->filePath("state/zifferon");
    m_messages = std::make_shared<RecordingMessageBoxes>();
}

std::unique_ptr<Form1> TestLastRun::startRun(const QByteArray& run) {
    Form1Services services = Form1Services::Default();
    services.messages = m_messages;
    services.journal = std::make_shared<FileTapeJournal>(m_state, run);
    auto window = std::make_unique<Form1>(std::move(services));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    window->Text1->setFocus();
    return window;
}

void TestLastRun::endedRunComesBack_data() {
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("emptiedFirst");
    const Ending ende = [](std::unique_ptr<Form1>& window) {
        QTest::mouseClick(window->findChild<QToolButton*>("Toolbar1_Ende"), Qt::LeftButton);
        window.reset(); // as main() does once the event loop ends
    };
    QTest::newRow("Ende") << ende << false;
    QTest::newRow("closed") << Ending([](std::unique_ptr<Form1>& window) {
        QVERIFY(window->close());
        window.reset();
    }) << false;
    QTest::newRow("SIGTERM") << Ending([](auto& window) { endBySignal(window, SIGTERM); }) << false;
    QTest::newRow("SIGHUP") << Ending([](auto& window) { endBySignal(window, SIGHUP); }) << false;
    QTest::newRow("SIGINT") << Ending([](auto& window) { endBySignal(window, SIGINT); }) << false;
    QTest::newRow("Neu, then Ende") << ende << true;
}

void TestLastRun::endedRunComesBack() {
    QFETCH(Ending, ending);
    QFETCH(bool, emptiedFirst);
    std::unique_ptr<Form1> first = startRun("first");
    QVERIFY(first);
    for (const char* formula : {"2+3", "x\\y \"ä😀\"", "1,5*2"})
        evaluate(*first, formula);
    const Lists lines = listsOf(*first);
    const QString result = first->Text2->text();
    const QString total = first->Text3->text();
    QCOMPARE(modeOf(m_state), mode_t(0700));
    QCOMPARE(journalsIn(m_state).size(), 1);
    QCOMPARE(modeOf(m_state + '/' + journalsIn(m_state).constFirst()), mode_t(0600));
    if (emptiedFirst) {
        QTest::mouseClick(first->findChild<QToolButton*>("Toolbar1_Neu"), Qt::LeftButton);
        const QString journal = m_state + '/' + journalsIn(m_state).constFirst();
        QVERIFY(!fileContent(journal).contains("2+3")); // written anew, not appended to
    }
    ending(first);
    QVERIFY(!QTest::currentTestFailed());

    const QString unfinished = m_state + "/.x.journal.new-a1B2c3";
    QVERIFY(writeFile(unfinished, "Zifferon-Journal 1 killed\n"));
    std::unique_ptr<Form1> second = startRun("second");
    QVERIFY(!QFile::exists(unfinished));
    QVERIFY(second);
    if (emptiedFirst) {
        QVERIFY(second->Text1->placeholderText().isEmpty());
        QCOMPARE(journalsIn(m_state), QStringList());
        press(*second, Qt::ControlModifier);
        QCOMPARE(listsOf(*second), Lists());
        return;
    }
    QCOMPARE(second->Text1->placeholderText(), "Strg+Z: 3 Zeilen von zuletzt");
    QVERIFY(second->Text1->toolTip().contains("Strg+Z holt die 3 Zeilen zurück"));
    QCOMPARE(listsOf(*second), Lists());
    press(*second, Qt::ControlModifier);
    QCOMPARE(listsOf(*second), lines);
    QCOMPARE(second->Text2->text(), result);
    QCOMPARE(second->Text3->text(), total);
    QVERIFY(second->Text1->placeholderText().isEmpty());
    QCOMPARE(second->Text1->toolTip(), "Eingabe der Formel.");
    press(*second, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(listsOf(*second), Lists());
    QVERIFY(second->Text3->text().isEmpty());
    press(*second, Qt::ControlModifier);
    second.reset();
    // The second run's journal took over: one file, which the third run offers.
    QCOMPARE(journalsIn(m_state).size(), 1);
    std::unique_ptr<Form1> third = startRun("third");
    QVERIFY(third);
    press(*third, Qt::ControlModifier);
    QCOMPARE(listsOf(*third), lines);
    QCOMPARE(m_messages->said, QList<RecordingMessageBoxes::Said>());
}

void TestLastRun::lastRunLiesUnderTheNewSteps() {
    std::unique_ptr<Form1> first = startRun("first");
    QVERIFY(first);
    evaluate(*first, "2+3");
    first.reset();
    const QString unfinished = m_state + "/.x.journal.new-a1B2c3";
    QVERIFY(writeFile(unfinished, "Zifferon-Journal 1 killed\n"));
    std::unique_ptr<Form1> second = startRun("second");
    QVERIFY(!QFile::exists(unfinished));
    QVERIFY(second);
    evaluate(*second, "7");
    evaluate(*second, "8");
    press(*second, Qt::ControlModifier);
    press(*second, Qt::ControlModifier);
    QCOMPARE(second->tapes().List1.count(), 0);
    press(*second, Qt::ControlModifier);
    QCOMPARE(trimmedLines(second->tapes().List1), QStringList{"2+3"});
}

void TestLastRun::runningRunKeepsItsJournal() {
    std::unique_ptr<Form1> first = startRun("first");
    QVERIFY(first);
    evaluate(*first, "1");
    const QString unfinished = m_state + "/.x.journal.new-a1B2c3";
    QVERIFY(writeFile(unfinished, "Zifferon-Journal 1 killed\n"));
    std::unique_ptr<Form1> second = startRun("second");
    QVERIFY(!QFile::exists(unfinished));
    QVERIFY(second);
    QVERIFY(second->Text1->placeholderText().isEmpty());
    evaluate(*second, "2");
    evaluate(*second, "3");
    QCOMPARE(journalsIn(m_state).size(), 2);
    first.reset();
    std::unique_ptr<Form1> third = startRun("third");
    QVERIFY(third);
    QCOMPARE(third->Text1->placeholderText(), "Strg+Z: 1 Zeile von zuletzt");
    press(*third, Qt::ControlModifier);
    QCOMPARE(trimmedLines(third->tapes().List1), QStringList{"1"});
}

// A count too wide for the full hint leaves out "von zuletzt"; the tooltip says it in full.
void TestLastRun::hintFitsTheField() {
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << QString::number(i);
    QVERIFY(QDir().mkpath(m_state));
    QVERIFY(writeFile(m_state + "/earlier.journal",
                      JournalStart("earlier") +
                          JournalRecord({{&lines, &lines, &lines}, {}, u"", u""})));
    std::unique_ptr<Form1> window = startRun("mine");
    QVERIFY(window);
    QCOMPARE(window->Text1->placeholderText(), "Strg+Z: 1.000 Zeilen");
    QVERIFY(window->Text1->toolTip().contains("Strg+Z holt die 1.000 Zeilen zurück"));
    QCOMPARE(journalsIn(m_state), QStringList{"earlier.journal"}); // no change, no journal
    press(*window, Qt::ControlModifier);
    QCOMPARE(trimmedLines(window->tapes().List3), lines);
}

void TestLastRun::outsideJournalIsLeftAlone_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QByteArray damaged = journalOfOneLine();
    damaged[damaged.size() - 3] = '9';
    QTest::newRow("damaged") << Place::File << damaged;
    QTest::newRow("cut short") << Place::File << journalOfOneLine().chopped(2);
    QTest::newRow("too large") << Place::File << QByteArray();
    QTest::newRow("link to a journal") << Place::LinkToZero << QByteArray();
    QTest::newRow("folder") << Place::Folder << QByteArray();
    QTest::newRow("pipe") << Place::Pipe << QByteArray();
    QTest::newRow("another user's") << Place::File << journalOfOneLine();
}

void TestLastRun::outsideJournalIsLeftAlone() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QVERIFY(QDir().mkpath(m_state));
    const QString path = m_state + "/planted.journal";
    const QString sound = m_home->filePath("sound.journal");
    QVERIFY(writeFile(sound, journalOfOneLine()));
    if (place == Place::LinkToZero) {
        QVERIFY(QFile::link(sound, path));
    } else {
        QVERIFY(makePlace(place, path, bytes));
    }
    if (QByteArray(QTest::currentDataTag()) == "another user's") {
        if (::geteuid() != 0)
            QSKIP("only the administrator can give a file to another user");
        QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
    }
    if (QByteArray(QTest::currentDataTag()) == "too large") {
        QVERIFY(writeFile(path, journalOfOneLine()));
        QVERIFY(::truncate(QFile::encodeName(path).constData(), MaxJournalBytes + 1) == 0);
    }
    const QFileInfo before(path);
    std::unique_ptr<Form1> window = startRun("mine");
    QVERIFY(window);
    QVERIFY(window->Text1->placeholderText().isEmpty());
    press(*window, Qt::ControlModifier);
    QCOMPARE(listsOf(*window), Lists());
    evaluate(*window, "1");
    QTest::mouseClick(window->findChild<QToolButton*>("Toolbar1_Neu"), Qt::LeftButton);
    window.reset();
    const QFileInfo after(path);
    QVERIFY(after.exists() || after.isSymLink());
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.lastModified(), before.lastModified());
    QCOMPARE(fileContent(sound), journalOfOneLine());
    QCOMPARE(m_messages->said, QList<RecordingMessageBoxes::Said>());
}

void TestLastRun::unwritableJournalWarnsOnce() {
    QVERIFY(writeFile(m_home->filePath("state"), "not a folder"));
    std::unique_ptr<Form1> window = startRun("mine");
    QVERIFY(window);
    evaluate(*window, "2+3");
    evaluate(*window, "4");
    QCOMPARE(trimmedLines(window->tapes().List1), (QStringList{"2+3", "4"}));
    QCOMPARE(m_messages->said.size(), 1);
    QCOMPARE(m_messages->said.constFirst().icon, MessageBoxes::Icon::Warning);
    QVERIFY(m_messages->said.constFirst().text.startsWith(
        "Die Zahlenstreifen können nicht für den nächsten Start aufbewahrt werden"));
    QCOMPARE(fileContent(m_home->filePath("state")), "not a folder");
}

ZIFFERON_GUI_TEST_MAIN(TestLastRun)
#include "tst_last_run.moc"
