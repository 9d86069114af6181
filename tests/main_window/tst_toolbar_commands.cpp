#include "credits/frm_info_box.h"
#include "formats/tape_file.h"
#include "main_window/form1.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

struct RecordingDocument : DocumentTarget {
    QStringList& texts;
    explicit RecordingDocument(QStringList& into)
        : texts(into) {}
    ExportFailure createAndShow() override { return {}; }
    ExportFailure newDocument() override { return {}; }
    // Marks a text that was not written under the wait cursor.
    ExportFailure appendText(const QString& text) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        const bool busy = cursor && cursor->shape() == Qt::WaitCursor;
        texts << (busy ? text : QStringLiteral("(not busy) ") + text);
        return {};
    }
    ExportFailure release() override { return {}; }
};

// Prints nothing and tells of no failure.
struct QuietPrinter : TapePrinter {
    void printLine(const QString&) override {}
    void printWindow(QWidget&) override {}
    std::optional<Failure> finish() override { return std::nullopt; }
};

struct HelpLog : HelpViewer {
    QStringList& log;
    explicit HelpLog(QStringList& into)
        : log(into) {}
    std::optional<Failure> ShowHelp(const QString&) override {
        log << QStringLiteral("help");
        return std::nullopt;
    }
};

// What a command left behind: the platform services it asked for, the tapes, the tape file
// and what it said.
struct Effect {
    QStringList asked;
    QStringList tapes;
    QByteArray tapeFile;
    QList<RecordingMessageBoxes::Said> said;
    bool operator==(const Effect&) const = default;
};

struct FailingSheet : SpreadsheetTarget {
    ExportFailure createAndShow() override { return QStringLiteral("Keine Tabelle."); }
    ExportFailure newWorkbook() override { return {}; }
    ExportFailure setCell(int, int, const QString&) override { return {}; }
    ExportFailure release() override { return {}; }
};

} // namespace

class TestToolbarCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void save_then_open_appends_the_file_to_the_formula_tape();
    void failed_save_warns_and_keeps_the_tapes();
    void open_of_a_missing_file_warns();
    void word_receives_the_tapes();
    void failed_export_warns_and_keeps_the_tapes();
    void info_opens_one_window();
    void shortcut_runs_the_command_of_its_button_data();
    void shortcut_runs_the_command_of_its_button();

private:
    void createWindow();
    // The window's state after the action, in a fresh window with one evaluation on its tapes.
    Effect effectOf(const std::function<void()>& action);
    QToolButton* button(const QString& key) const {
        return m_window->findChild<QToolButton*>("Toolbar1_" + key);
    }
    void press(const QString& key) { QTest::mouseClick(button(key), Qt::LeftButton); }
    void evaluate(const QString& formula) {
        m_window->Text1->setText(formula);
        m_window->Command1_Click();
    }
    // The text of the one message said, which must be a warning.
    QString onlyWarning() const {
        if (m_messages->said.size() != 1 || m_messages->said[0].icon != MessageBoxes::Icon::Warning)
            return QStringLiteral("(not one warning)");
        if (m_messages->shownBusy != 0)
            return QStringLiteral("(shown under the wait cursor)");
        return m_messages->said[0].text;
    }
    QStringList snapshot() const {
        const NumberTape& tapes = m_window->tapes();
        return tapes.List1.lines() + tapes.List2.lines() + tapes.List3.lines();
    }

    std::unique_ptr<Form1> m_window;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
    QStringList m_documentTexts;
    QStringList m_asked;
};

void TestToolbarCommands::init() {
    createWindow();
}

void TestToolbarCommands::createWindow() {
    m_window.reset();
    QDir(QDir::homePath()).removeRecursively();
    QDir().mkpath(QDir::homePath());
    m_documentTexts.clear();
    m_asked.clear();
    m_messages = std::make_shared<RecordingMessageBoxes>();
    Form1Services services = Form1Services::Default();
    services.messages = m_messages;
    services.wordTarget = [this] { return std::make_unique<RecordingDocument>(m_documentTexts); };
    services.excelTarget = [] { return std::make_unique<FailingSheet>(); };
    services.endProgram = [this] { m_asked << QStringLiteral("end"); };
    services.help = std::make_shared<HelpLog>(m_asked);
    services.printer = [this] {
        m_asked << QStringLiteral("printer");
        return std::make_unique<QuietPrinter>();
    };
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

Effect TestToolbarCommands::effectOf(const std::function<void()>& action) {
    createWindow();
    evaluate("2+3");
    action();
    QFile file(TapeFilePath());
    return {m_asked, snapshot(), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
            m_messages->said};
}

void TestToolbarCommands::cleanup() {
    m_window.reset();
}

void TestToolbarCommands::save_then_open_appends_the_file_to_the_formula_tape() {
    evaluate("2+3");
    press("Speichern");
    QFile file(TapeFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("Eingabe Zeile Spalte\r\n"));
    press("Oeffnen");
    const NumberTape& tapes = m_window->tapes();
    QCOMPARE(tapes.List1.count(), 3);
    QCOMPARE(tapes.List1.text(1).trimmed(), QStringLiteral("Eingabe Zeile Spalte"));
    QCOMPARE(tapes.List2.count(), 1);
    QCOMPARE(tapes.List3.count(), 1);
}

void TestToolbarCommands::failed_save_warns_and_keeps_the_tapes() {
    evaluate("2+3");
    QDir().mkpath(QDir::homePath() + "/Programme/Morvantis");
    QFile blocker(QDir::homePath() + "/Programme/Morvantis/Zahlen");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList before = snapshot();
    press("Speichern");
    QVERIFY2(onlyWarning().contains("Zahlen.txt"), qPrintable(onlyWarning()));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::open_of_a_missing_file_warns() {
    evaluate("4");
    const QStringList before = snapshot();
    press("Oeffnen");
    QVERIFY2(onlyWarning().contains("Zahlen.txt"), qPrintable(onlyWarning()));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::word_receives_the_tapes() {
    evaluate("2+3");
    press("Word");
    QStringList trimmed;
    for (const QString& text : m_documentTexts)
        trimmed << text.trimmed();
    QCOMPARE(trimmed, (QStringList{"2+3", "", "5,00", "", "5,00", ""}));
    QVERIFY(m_documentTexts.first().endsWith("\r\n"));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestToolbarCommands::failed_export_warns_and_keeps_the_tapes() {
    evaluate("2+3");
    const QStringList before = snapshot();
    press("Excel");
    QCOMPARE(onlyWarning(), QStringLiteral("Keine Tabelle."));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::info_opens_one_window() {
    press("Info");
    QPointer<frmInfoBox> first = m_window->infoBox().window();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    press("Info");
    QCOMPARE(m_window->infoBox().window(), first.data());
    QVERIFY(m_window->isEnabled());
}

void TestToolbarCommands::shortcut_runs_the_command_of_its_button_data() {
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("focus");
    const std::vector<std::pair<QKeySequence, const char*>> shortcuts{
        {QKeySequence(Qt::CTRL | Qt::Key_N), "Neu"},
        {QKeySequence(Qt::CTRL | Qt::Key_O), "Oeffnen"},
        {QKeySequence(Qt::CTRL | Qt::Key_S), "Speichern"},
        {QKeySequence(Qt::CTRL | Qt::Key_P), "Drucken"},
        {QKeySequence(Qt::Key_F1), "Hilfe"},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), "Ende"}};
    for (const char* focus : {"Text1", "List3", "cmd5", "Combo1"}) {
        for (const auto& [shortcut, key] : shortcuts) {
            const QString name = shortcut.toString() + " in " + focus;
            QTest::newRow(qPrintable(name)) << shortcut << key << focus;
        }
    }
}

// The shortcut triggers the button's own action, and so runs the command of the button's key
// wherever the focus is in the window: it leaves what a click on the button leaves.
void TestToolbarCommands::shortcut_runs_the_command_of_its_button() {
    QFETCH(QKeySequence, shortcut);
    QFETCH(QString, key);
    QFETCH(QString, focus);
    const Effect untouched = effectOf([] {});
    const Effect clicked = effectOf([&] { press(key); });
    QVERIFY2(clicked != untouched, "the command leaves a trace");

    QStringList triggered;
    const Effect pressed = effectOf([&] {
        for (QToolButton* other : m_window->Toolbar1->findChildren<QToolButton*>()) {
            if (other->defaultAction())
                connect(other->defaultAction(), &QAction::triggered, this,
                        [&triggered, other] { triggered << other->objectName(); });
        }
        QWidget* widget = m_window->findChild<QWidget*>(focus);
        widget->setFocus();
        QVERIFY(widget->hasFocus());
        QTest::keySequence(widget, shortcut);
    });
    QCOMPARE(triggered, QStringList{"Toolbar1_" + key});
    QCOMPARE(pressed.asked, clicked.asked);
    QCOMPARE(pressed.tapes, clicked.tapes);
    QCOMPARE(pressed.tapeFile, clicked.tapeFile);
    QCOMPARE(pressed.said, clicked.said);
}

ZIFFERON_GUI_TEST_MAIN(TestToolbarCommands)
#include "tst_toolbar_commands.moc"
