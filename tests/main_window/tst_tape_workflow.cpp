#include "calc/tape_text.h"
#include "correction/form2.h"
#include "formats/tape_file.h"
#include "main_window/form1.h"
#include "main_window/tape_commands.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/tape_lines.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

// The tapes line for line and the hidden fields' texts.
struct TapeState {
    QStringList formulas;
    QStringList results;
    QStringList totals;
    QString resultField;
    QString totalField;
    bool operator==(const TapeState&) const = default;
};

char* toString(const TapeState& state) {
    return QTest::toString(state.formulas.join('|') + " / " + state.results.join('|') + " / " +
                           state.totals.join('|') + " / " + state.resultField + " / " +
                           state.totalField);
}

constexpr auto Ctrl = Qt::ControlModifier;

// Runs the action inside the event loop of the next message box, once it is open.
class RunWhenMessageBoxShows : public QObject {
public:
    explicit RunWhenMessageBoxShows(std::function<void(QWidget&)> action)
        : m_action(std::move(action)) {
        qApp->installEventFilter(this); // before the fixture's filter, which closes the box
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show && m_action) {
            QMetaObject::invokeMethod(
                this, [box, action = std::exchange(m_action, {})] { action(*box); },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void(QWidget&)> m_action;
};
constexpr auto CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

} // namespace

class TestTapeWorkflow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clicked_key_leaves_the_keyboard_in_the_formula_field_data();
    void clicked_key_leaves_the_keyboard_in_the_formula_field();
    void typing_goes_on_after_a_click_on_a_key();
    void tab_reaches_a_key_and_space_clicks_it_data();
    void tab_reaches_a_key_and_space_clicks_it();
    void number_block_types_and_its_enter_evaluates();
    void click_on_correction_button_leaves_the_keyboard_in_its_field();

    void each_tape_change_is_one_step_data();
    void each_tape_change_is_one_step();
    void keys_walk_the_steps_wherever_the_focus_is_data();
    void keys_walk_the_steps_wherever_the_focus_is();
    void field_edits_are_taken_back_before_the_tapes();
    void decimals_field_takes_back_its_own_edits_first();
    void redo_makes_again_what_was_taken_back_last();
    void taking_back_new_tape_gives_back_the_formula_too();
    void changes_that_change_nothing_are_no_steps();
    void steps_are_kept_for_the_latest_hundred_changes();
    void steps_hold_about_twice_the_lines_of_the_tapes();

    void ctrl_c_copies_the_selected_line_of_a_tape_data();
    void ctrl_c_copies_the_selected_line_of_a_tape();
    void ctrl_c_without_a_line_copies_nothing();
    void ctrl_c_in_the_formula_field_copies_its_selection();
    void ctrl_shift_c_copies_the_whole_tape_data();
    void ctrl_shift_c_copies_the_whole_tape();
    void shortcuts_do_nothing_while_a_message_box_is_open();

    void no_test_runs_without_a_temporary_home();

private:
    void createWindow(std::shared_ptr<MessageBoxes> messages);
    template <typename T> T* control(const QString& name) const {
        return m_window->findChild<T*>(name);
    }
    void evaluate(const QString& formula) {
        QTest::keyClicks(m_window->Text1, formula);
        QTest::keyClick(m_window->Text1, Qt::Key_Return);
    }
    void click(const QString& name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    void clickRow(QListView* view, int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    // The key as the user presses it, to the widget that has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void undo() { press(Qt::Key_Z, Ctrl); }
    static void pressTapeKeys(QWidget* target) {
        QTest::keyClick(target, Qt::Key_Z, Ctrl);
        QTest::keyClick(target, Qt::Key_Z, CtrlShift);
        QTest::keyClick(target, Qt::Key_Y, Ctrl);
        QTest::keyClick(target, Qt::Key_C, CtrlShift);
    }
    static void redo() { press(Qt::Key_Z, CtrlShift); }
    void writeTapeFile(const QByteArray& bytes) const;
    void correctFirstLine(const QString& formula);
    TapeState state() const;

    std::unique_ptr<Form1> m_window;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
};

void TestTapeWorkflow::init() {
    QDir(QDir::homePath()).removeRecursively();
    QDir().mkpath(QDir::homePath());
    m_messages = std::make_shared<RecordingMessageBoxes>();
    createWindow(m_messages);
}

void TestTapeWorkflow::createWindow(std::shared_ptr<MessageBoxes> messages) {
    m_window.reset();
    Form1Services services = Form1Services::Default();
    services.messages = std::move(messages);
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->Text1->setFocus();
}

void TestTapeWorkflow::cleanup() {
    m_window.reset();
}

void TestTapeWorkflow::writeTapeFile(const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(TapeFilePath()).path());
    QFile file(TapeFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestTapeWorkflow::correctFirstLine(const QString& formula) {
    clickRow(m_window->List1, 0);
    Form2* correction = m_window->correctionWindow();
    QVERIFY(correction && correction->isVisible());
    QTest::keyClicks(correction->Text1, formula);
    QTest::keyClick(correction->Text1, Qt::Key_Return);
    QVERIFY(!correction->isVisible());
}

TapeState TestTapeWorkflow::state() const {
    const NumberTape& tapes = m_window->tapes();
    return {tapes.List1.lines(), tapes.List2.lines(), tapes.List3.lines(), m_window->Text2->text(),
            m_window->Text3->text()};
}

// --- The keyboard stays in the formula field

void TestTapeWorkflow::clicked_key_leaves_the_keyboard_in_the_formula_field_data() {
    QTest::addColumn<QString>("key");
    for (const char* key : {"cmd7", "cmdAdd", "cmdDec", "cmdBack", "cmdNeg", "cmdPer", "cmdExit",
                            "cmdEqual", "Command1"})
        QTest::newRow(key) << key;
}

void TestTapeWorkflow::clicked_key_leaves_the_keyboard_in_the_formula_field() {
    QFETCH(QString, key);
    click(key);
    QCOMPARE(QApplication::focusWidget(), m_window->Text1);
}

// Click "7", type "+3", press Enter.
void TestTapeWorkflow::typing_goes_on_after_a_click_on_a_key() {
    click("cmd7");
    QTest::keyClicks(QApplication::focusWidget(), "+3");
    press(Qt::Key_Return);
    QCOMPARE(trimmedLines(m_window->tapes().List1), QStringList{"7+3"});
    QCOMPARE(trimmedLines(m_window->tapes().List2), QStringList{"10,00"});
    QCOMPARE(m_window->Text1->text(), QString());
}

void TestTapeWorkflow::tab_reaches_a_key_and_space_clicks_it_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("a digit") << "cmd1"
                             << "21" << QStringList{};
    QTest::newRow("the calculate button") << "Command1"
                                          << "" << QStringList{"2,00"};
}

void TestTapeWorkflow::tab_reaches_a_key_and_space_clicks_it() {
    QFETCH(QString, key);
    QFETCH(QString, field);
    QFETCH(QStringList, results);
    QTest::keyClicks(m_window->Text1, "2");
    auto* button = control<QPushButton>(key);
    QCOMPARE(button->focusPolicy(), Qt::TabFocus);
    while (QApplication::focusWidget() != button && QApplication::focusWidget() != m_window->List3)
        press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);
    press(Qt::Key_Space);
    QCOMPARE(m_window->Text1->text(), field);
    QCOMPARE(trimmedLines(m_window->tapes().List2), results);
}

void TestTapeWorkflow::number_block_types_and_its_enter_evaluates() {
    const std::vector<Qt::Key> keys{Qt::Key_1,      Qt::Key_Comma,    Qt::Key_5, Qt::Key_Plus,
                                    Qt::Key_2,      Qt::Key_Asterisk, Qt::Key_3, Qt::Key_Minus,
                                    Qt::Key_4,      Qt::Key_Slash,    Qt::Key_8, Qt::Key_Plus,
                                    Qt::Key_Period, Qt::Key_5};
    for (Qt::Key key : keys)
        press(key, Qt::KeypadModifier);
    QCOMPARE(m_window->Text1->text(), QStringLiteral("1,5+2*3-4/8+.5"));
    press(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(trimmedLines(m_window->tapes().List1), QStringList{"1.5+2*3-4/8+.5"});
    QCOMPARE(trimmedLines(m_window->tapes().List2), QStringList{"7,50"});
    QCOMPARE(QApplication::focusWidget(), m_window->Text1);
}

void TestTapeWorkflow::click_on_correction_button_leaves_the_keyboard_in_its_field() {
    evaluate("2+3");
    clickRow(m_window->List1, 0);
    Form2* correction = m_window->correctionWindow();
    QVERIFY(QTest::qWaitForWindowActive(correction));
    QCOMPARE(correction->Command1->focusPolicy(), Qt::TabFocus);
    QTest::mousePress(correction->Command1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), correction->Text1);
    QTest::keyClicks(correction->Text1, "4*2");
    QTest::mouseRelease(correction->Command1, Qt::LeftButton);
    QCOMPARE(trimmedLines(m_window->tapes().List2), QStringList{"8,00"});
}

// --- Undo and redo of the tape changes

void TestTapeWorkflow::each_tape_change_is_one_step_data() {
    QTest::addColumn<QString>("change");
    for (const char* change : {"evaluation", "failed evaluation", "correction", "Neu", "Öffnen"})
        QTest::newRow(change) << change;
}

void TestTapeWorkflow::each_tape_change_is_one_step() {
    QFETCH(QString, change);
    writeTapeFile("Eingabe Zeile Spalte\r\n9+9\r\n");
    evaluate("2+3");
    evaluate("1/3");
    const TapeState before = state();
    if (change == "evaluation")
        evaluate("4*2");
    else if (change == "failed evaluation")
        evaluate("5/0");
    else if (change == "correction")
        correctFirstLine("1,5*4");
    else if (change == "Neu")
        click("Toolbar1_Neu");
    else
        click("Toolbar1_Oeffnen");
    const TapeState after = state();
    QVERIFY(after != before);
    QTRY_VERIFY(m_window->isActiveWindow());
    m_window->Text1->setFocus();

    undo();
    QCOMPARE(state(), before);
    redo();
    QCOMPARE(state(), after);
    undo();
    QCOMPARE(state(), before);
    press(Qt::Key_Y, Ctrl);
    QCOMPARE(state(), after);
    QCOMPARE(m_messages->said, QList<RecordingMessageBoxes::Said>{});
}

void TestTapeWorkflow::keys_walk_the_steps_wherever_the_focus_is_data() {
    QTest::addColumn<QString>("focus");
    for (const char* focus :
         {"Text1", "cmd5", "Command1", "Combo1", "List1", "List3", "Toolbar1_Neu"})
        QTest::newRow(focus) << focus;
}

void TestTapeWorkflow::keys_walk_the_steps_wherever_the_focus_is() {
    QFETCH(QString, focus);
    evaluate("2+3");
    const TapeState one = state();
    evaluate("4");
    const TapeState two = state();
    control<QWidget>(focus)->setFocus();
    undo();
    QCOMPARE(state(), one);
    redo();
    QCOMPARE(state(), two);
    undo();
    press(Qt::Key_Y, Ctrl);
    QCOMPARE(state(), two);
}

void TestTapeWorkflow::field_edits_are_taken_back_before_the_tapes() {
    evaluate("2+3");
    const TapeState evaluated = state();
    click("cmdBack"); // nothing to take away: no edit
    QVERIFY(!m_window->Text1->isUndoAvailable());
    QTest::keyClicks(m_window->Text1, "12");
    press(Qt::Key_Home);
    click("cmdAdd");
    click("cmd4");
    QCOMPARE(m_window->Text1->text(), QStringLiteral("12+4"));
    undo();
    QCOMPARE(m_window->Text1->text(), QStringLiteral("12"));
    QCOMPARE(state(), evaluated);
    undo();
    QCOMPARE(m_window->Text1->text(), QString());
    QCOMPARE(state(), evaluated);
    undo();
    QCOMPARE(state(), TapeState{});
}

// The decimal places' field takes the keys for what was typed into it, then passes them on.
void TestTapeWorkflow::decimals_field_takes_back_its_own_edits_first() {
    evaluate("2+3");
    QLineEdit* decimals = m_window->Combo1->lineEdit();
    decimals->setFocus();
    decimals->selectAll();
    QTest::keyClicks(decimals, "4");
    undo();
    QCOMPARE(decimals->text(), QStringLiteral("2"));
    QCOMPARE(m_window->tapes().List1.count(), 1);
    undo();
    QCOMPARE(m_window->tapes().List1.count(), 0);
    redo();
    QCOMPARE(m_window->tapes().List1.count(), 1);
    redo();
    QCOMPARE(decimals->text(), QStringLiteral("4"));
}

void TestTapeWorkflow::redo_makes_again_what_was_taken_back_last() {
    evaluate("2+3");
    const TapeState evaluated = state();
    click("cmd7");
    undo(); // the "7"
    undo(); // the evaluation
    QCOMPARE(m_window->Text1->text(), QString());
    QCOMPARE(state(), TapeState{});
    redo();
    QCOMPARE(state(), evaluated);
    QCOMPARE(m_window->Text1->text(), QString());
    redo();
    QCOMPARE(m_window->Text1->text(), QStringLiteral("7"));

    // A formula typed after a step was taken back is made again before the step.
    undo(); // the "7"
    undo(); // the evaluation
    click("cmd9");
    undo(); // the "9"
    redo();
    QCOMPARE(m_window->Text1->text(), QStringLiteral("9"));
    QCOMPARE(state(), TapeState{});
    redo();
    QCOMPARE(state(), evaluated);
}

void TestTapeWorkflow::taking_back_new_tape_gives_back_the_formula_too() {
    evaluate("2+3");
    const TapeState evaluated = state();
    QTest::keyClicks(m_window->Text1, "7*");
    press(Qt::Key_N, Ctrl);
    QCOMPARE(m_window->Text1->text(), QString());
    QCOMPARE(state(), TapeState{});
    undo();
    QCOMPARE(state(), evaluated);
    QCOMPARE(m_window->Text1->text(), QStringLiteral("7*"));
    // What the user types after that stays when "Neu" is made again.
    QTest::keyClicks(m_window->Text1, "5");
    redo();
    QCOMPARE(state(), TapeState{});
    QCOMPARE(m_window->Text1->text(), QStringLiteral("7*5"));
}

void TestTapeWorkflow::changes_that_change_nothing_are_no_steps() {
    click("Toolbar1_Neu");
    click("Toolbar1_Oeffnen"); // no tape file
    QCOMPARE(m_messages->said.size(), 1);
    evaluate("2+3");
    const TapeState evaluated = state();
    click("Toolbar1_Oeffnen");
    QCOMPARE(m_window->history().stepCount(), 1);
    undo();
    QCOMPARE(state(), TapeState{});
    // Neither keeps the step taken back from being made again.
    click("Toolbar1_Neu");
    click("Toolbar1_Oeffnen");
    redo();
    QCOMPARE(state(), evaluated);
}

void TestTapeWorkflow::steps_are_kept_for_the_latest_hundred_changes() {
    const int changes = TapeHistory::MaxSteps + 5;
    for (int i = 1; i <= changes; ++i) {
        m_window->Text1->setText(QString::number(i));
        m_window->Command1_Click();
    }
    for (int i = 0; i < changes; ++i)
        undo();
    QCOMPARE(trimmedLines(m_window->tapes().List1), (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(m_window->Text2->text(), QStringLiteral("5"));
    QCOMPARE(m_window->Text3->text(), QStringLiteral("15"));
    for (int i = 0; i < changes; ++i)
        redo();
    QCOMPARE(m_window->tapes().List1.count(), changes);
    QCOMPARE(m_window->tapes().List3.text(changes - 1).trimmed(), QStringLiteral("5565,00"));
}

// Each "Neu" holds the whole tape: the second drops the steps before the "Öffnen" it follows.
void TestTapeWorkflow::steps_hold_about_twice_the_lines_of_the_tapes() {
    const int lines = TapeHistory::MinLinesKept * 6 / 10;
    writeTapeFile("Eingabe Zeile Spalte\r\n" + QByteArray("1\r\n").repeated(lines - 1));
    for (int i = 0; i < 2; ++i) {
        click("Toolbar1_Oeffnen");
        click("Toolbar1_Neu");
    }
    QCOMPARE(m_window->history().stepCount(), 2);
    undo();
    QCOMPARE(m_window->tapes().List1.count(), lines);
    undo();
    undo();
    QCOMPARE(m_window->tapes().List1.count(), 0);
}

// --- Copy

void TestTapeWorkflow::ctrl_c_copies_the_selected_line_of_a_tape_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("copied");
    QTest::newRow("formula") << "List1"
                             << "1.5*2";
    QTest::newRow("result") << "List2"
                            << "3,00";
    QTest::newRow("total") << "List3"
                           << "8,00";
}

void TestTapeWorkflow::ctrl_c_copies_the_selected_line_of_a_tape() {
    QFETCH(QString, list);
    QFETCH(QString, copied);
    evaluate("2+3");
    evaluate("1,5*2");
    auto* view = control<QListView>(list);
    if (view == m_window->List1) {
        // A click on a formula opens the correction; the keyboard selects without it.
        view->setFocus();
        press(Qt::Key_End);
    } else {
        clickRow(view, 1);
    }
    QCOMPARE(QApplication::focusWidget(), view);
    QGuiApplication::clipboard()->setText("vorher");
    press(Qt::Key_C, Ctrl);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(m_messages->said, QList<RecordingMessageBoxes::Said>{});
}

void TestTapeWorkflow::ctrl_c_without_a_line_copies_nothing() {
    evaluate("5/0");
    m_window->List2->setFocus();
    QGuiApplication::clipboard()->setText("vorher");
    press(Qt::Key_C, Ctrl); // no line selected
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
    clickRow(m_window->List2, 0);
    press(Qt::Key_C, Ctrl); // a blank line
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
}

void TestTapeWorkflow::ctrl_c_in_the_formula_field_copies_its_selection() {
    evaluate("2+3");
    QTest::keyClicks(m_window->Text1, "12*34");
    m_window->Text1->setSelection(3, 2);
    press(Qt::Key_C, Ctrl);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("34"));
}

void TestTapeWorkflow::ctrl_shift_c_copies_the_whole_tape_data() {
    QTest::addColumn<QString>("focus");
    for (const char* focus : {"Text1", "cmd5", "Command1", "Combo1", "List1", "List3"})
        QTest::newRow(focus) << focus;
}

void TestTapeWorkflow::ctrl_shift_c_copies_the_whole_tape() {
    QFETCH(QString, focus);
    writeTapeFile("Eingabe Zeile Spalte\r\n");
    evaluate("2+3");
    evaluate("5/0");
    click("Toolbar1_Oeffnen");
    control<QWidget>(focus)->setFocus();
    press(Qt::Key_C, CtrlShift);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("2+3\t5,00\t5,00\n5/0\t\t5,00\nEingabe Zeile Spalte\t\t\n"));
    QCOMPARE(QGuiApplication::clipboard()->text(), TapeAsText(m_window->tapes()));
}

// While a message box is open, no tape step is walked and nothing is copied, whether the keys
// go to the box or straight to the main window's fields.
void TestTapeWorkflow::shortcuts_do_nothing_while_a_message_box_is_open() {
    createWindow(std::make_shared<QtMessageBoxes>());
    evaluate("2+3");
    evaluate("4");
    undo();
    const TapeState before = state();
    QGuiApplication::clipboard()->setText("vorher");
    int pressedIn = 0;
    RunWhenMessageBoxShows pressKeys([&](QWidget& box) {
        for (QWidget* target : {box.focusWidget(), static_cast<QWidget*>(m_window->Text1),
                                static_cast<QWidget*>(m_window->List3)}) {
            pressTapeKeys(target);
            ++pressedIn;
        }
    });
    const gui_test::SeenMessage seen = gui_test::closeMessageBoxDuring([this] {
        const QRect line = m_window->List3->visualRect(m_window->tapes().List3.index(0));
        QTest::mouseClick(m_window->List3->viewport(), Qt::RightButton, {}, line.center());
    });
    QVERIFY(seen.shown);
    QCOMPARE(pressedIn, 3);
    QCOMPARE(state(), before);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
}

// These tests empty their home, which holds the XDG folders: none runs without a temporary one.
void TestTapeWorkflow::no_test_runs_without_a_temporary_home() {
    for (const char* xdg : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        QVERIFY2(qEnvironmentVariable(xdg).startsWith(QDir::homePath() + u'/'), xdg);
    const QTemporaryDir here;
    QVERIFY(here.isValid());
    QVERIFY(writeFile(here.filePath("Eigenes.txt"), "meins"));
    QProcess test;
    test.setWorkingDirectory(here.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", here.filePath("Eigenes.txt")); // no user can make a folder in it
    test.setProcessEnvironment(environment);

    test.start(QCoreApplication::applicationFilePath(), {"typing_goes_on_after_a_click_on_a_key"});

    QVERIFY(test.waitForFinished(60000));
    QVERIFY(test.exitStatus() == QProcess::NormalExit && test.exitCode() != 0);
    QCOMPARE(fileContent(here.filePath("Eigenes.txt")), "meins");
}

ZIFFERON_GUI_TEST_MAIN(TestTapeWorkflow)
#include "tst_tape_workflow.moc"
