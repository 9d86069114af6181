#include "correction/form2.h"
#include "main_window/form1.h"
#include "main_window/tape_view.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/tape_lines.h"
#include "widgets/formula_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int OneDecimal = 0;

// The names of the controls the window shows.
QStringList shownControls(const QWidget& window) {
    QStringList names;
    for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isVisible())
            names << control->objectName();
    }
    return names;
}

// A key of the keypad the window does without, as its editing step.
void press(FormulaEditor& editor, const QString& key) {
    if (key == "Back")
        editor.cmdBack_Click();
    else if (key == "Exit")
        editor.cmdExit_Click();
    else if (key == "+/-")
        editor.cmdNeg_Click();
    else if (key == "%")
        editor.cmdPer_Click();
    else
        editor.append(key.at(0));
}

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void only_field_and_button_are_shown();
    void enlarging_keeps_keypad_hidden();
    void correction_rewrites_the_tapes_data();
    void correction_rewrites_the_tapes();
    void main_window_takes_focus_and_keeps_its_text();
    void changed_decimals_recount_every_total();
    void without_selection_only_totals_are_recomputed();
    void after_new_tape_recalculation_changes_nothing();
    void opened_lines_are_replaced_at_the_same_position_data();
    void opened_lines_are_replaced_at_the_same_position();
    void one_window_follows_the_selected_line();
    void corrected_line_can_be_opened_again();
    void close_button_changes_nothing();
    void walking_a_step_of_the_line_closes_the_window_data();
    void walking_a_step_of_the_line_closes_the_window();
    void keys_edit_the_field_data();
    void keys_edit_the_field();
    void escape_clears_the_field();
    void pasted_line_breaks_become_blanks();

private:
    void evaluate(const QStringList& formulas);
    Form2* open(int row);
    void correct(const QString& formula);

    std::unique_ptr<Form1> m_window;
};

void TestForm2::init() {
    m_window = std::make_unique<Form1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_window->Text1->setFocus();
}

void TestForm2::cleanup() {
    m_window.reset();
}

void TestForm2::evaluate(const QStringList& formulas) {
    for (const QString& formula : formulas)
        QTest::keyClicks(m_window->Text1, formula + u'\r');
}

// Clicks the formula line, which opens the correction window with it.
Form2* TestForm2::open(int row) {
    QListView* view = m_window->List1;
    const QRect place = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place.center());
    return m_window->correctionWindow();
}

// Types over the selected formula and presses Enter.
void TestForm2::correct(const QString& formula) {
    Form2* correction = m_window->correctionWindow();
    QTest::keyClicks(correction->Text1, formula);
    QTest::keyClick(correction->Text1, Qt::Key_Return);
}

void TestForm2::only_field_and_button_are_shown() {
    evaluate({"2+3"});
    Form2* correction = open(0);
    QVERIFY(QTest::qWaitForWindowExposed(correction));

    QCOMPARE(correction->size(), QSize(256, 75));
    QVERIFY(correction->minimumSize() != correction->maximumSize());
    QVERIFY(correction->windowTitle().startsWith(" Korrektur "));
    QCOMPARE(correction->palette().color(QPalette::Window), QColor(0, 128, 128));
    QCOMPARE(correction->Text1->geometry(), QRect(12, 8, 233, 23));
    QCOMPARE(correction->Command1->geometry(), QRect(12, 38, 95, 25));
    QCOMPARE(correction->Text1->toolTip(), "Korregieren Sie bitte hier ihre Formel.");
    QCOMPARE(correction->Command1->toolTip(), "Berechnung der Formel nach Bestätigung.");
    QCOMPARE(correction->Command1->accessibleName(), correction->Command1->toolTip());
    QCOMPARE(correction->Text1->nextInFocusChain(), correction->Command1);
    QCOMPARE(shownControls(*correction), (QStringList{"Text1", "Command1"}));
    QVERIFY(!correction->Text2->isVisible());
}

void TestForm2::enlarging_keeps_keypad_hidden() {
    evaluate({"2+3"});
    Form2* correction = open(0);
    correction->resize(800, 600);
    QTRY_COMPARE(correction->size(), QSize(800, 600));
    QCOMPARE(shownControls(*correction), (QStringList{"Text1", "Command1"}));
}

void TestForm2::correction_rewrites_the_tapes_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totals");

    const QStringList changed{"5,00", "6,00", "4,00"};
    const QStringList failed{"5,00", "", "4,00"};
    QTest::newRow("1,5*4 by Enter") << "1,5*4" << false << QStringList{"2+3", "1.5*4", "4"}
                                    << changed << QStringList{"5,00", "11,00", "15,00"};
    QTest::newRow("1,5*4 by Command1") << "1,5*4" << true << QStringList{"2+3", "1.5*4", "4"}
                                       << changed << QStringList{"5,00", "11,00", "15,00"};
    QTest::newRow("5/0 by Enter") << "5/0" << false << QStringList{"2+3", "5/0", "4"} << failed
                                  << QStringList{"5,00", "5,00", "9,00"};
    QTest::newRow("5/0 by Command1") << "5/0" << true << QStringList{"2+3", "5/0", "4"} << failed
                                     << QStringList{"5,00", "5,00", "9,00"};
}

void TestForm2::correction_rewrites_the_tapes() {
    QFETCH(QString, formula);
    QFETCH(bool, byButton);
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, results);
    QFETCH(QStringList, totals);
    evaluate({"2+3", "1.5*2", "4"});
    Form2* correction = open(1);
    QCOMPARE(correction->Text1->text(), "1.5*2");

    QTest::keyClicks(correction->Text1, formula);
    if (byButton)
        QTest::mouseClick(correction->Command1, Qt::LeftButton);
    else
        QTest::keyClick(correction->Text1, Qt::Key_Return);

    NumberTape& tapes = m_window->tapes();
    QCOMPARE(trimmedLines(tapes.List1), formulas);
    QCOMPARE(trimmedLines(tapes.List2), results);
    QCOMPARE(trimmedLines(tapes.List3), totals);
    for (const QString& total : tapes.List3.lines())
        QCOMPARE(total, AlignedForList(m_window->lineFormat(), total.trimmed()));
    QVERIFY(!correction->isVisible());
    QCOMPARE(correction->Text1->text(), QString());
    QCOMPARE(correction->Text2->text(), QString());
    QCOMPARE(SelectedRow(*m_window->List1), -1);
    QCOMPARE(SelectedRow(*m_window->List2), -1);
    QVERIFY(m_window->List1->selectionModel()->selectedRows().isEmpty());
}

void TestForm2::main_window_takes_focus_and_keeps_its_text() {
    evaluate({"2+3"});
    m_window->Text1->setText("7*");
    open(0);
    correct("6");
    QTRY_VERIFY(m_window->Text1->hasFocus());
    QCOMPARE(m_window->Text1->text(), "7*");
    QCOMPARE(m_window->tapes().List1.count(), 1);
}

void TestForm2::changed_decimals_recount_every_total() {
    evaluate({"1/3", "1/3", "2"});
    m_window->Combo1->setCurrentIndex(OneDecimal);
    open(2);
    correct("3");

    NumberTape& tapes = m_window->tapes();
    QCOMPARE(trimmedLines(tapes.List2), (QStringList{"0,33", "0,33", "3,0"}));
    QCOMPARE(trimmedLines(tapes.List3), (QStringList{"0,3", "0,6", "3,6"}));
}

void TestForm2::without_selection_only_totals_are_recomputed() {
    evaluate({"1/3", "2"});
    Form2* correction = open(0);
    m_window->Combo1->setCurrentIndex(OneDecimal);
    QTest::mouseClick(m_window->List1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      m_window->List1->visualRect(m_window->List1->model()->index(0, 0)).center());
    QCOMPARE(SelectedRow(*m_window->List1), -1);

    correct("9");

    NumberTape& tapes = m_window->tapes();
    QCOMPARE(trimmedLines(tapes.List1), (QStringList{"1/3", "2"}));
    QCOMPARE(trimmedLines(tapes.List2), (QStringList{"0,33", "2,00"}));
    QCOMPARE(trimmedLines(tapes.List3), (QStringList{"0,3", "2,3"}));
    QVERIFY(!correction->isVisible());
}

void TestForm2::after_new_tape_recalculation_changes_nothing() {
    evaluate({"2+3", "4"});
    Form2* correction = open(1);
    QTest::mouseClick(m_window->findChild<QToolButton*>("Toolbar1_Neu"), Qt::LeftButton);

    correct("9");

    for (const Tape* tape :
         {&m_window->tapes().List1, &m_window->tapes().List2, &m_window->tapes().List3})
        QCOMPARE(tape->count(), 0);
    QVERIFY(!correction->isVisible());
}

void TestForm2::opened_lines_are_replaced_at_the_same_position_data() {
    QTest::addColumn<QStringList>("openedBefore");
    QTest::addColumn<QStringList>("openedAfter");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QStringList>("totals");

    QTest::newRow("opened line before the evaluations replaces their first result")
        << QStringList{"10"} << QStringList{} << 0 << QStringList{"8", "2+3", "4"}
        << QStringList{"8,00", "4,00"} << QStringList{"8,00", "12,00"};
    QTest::newRow("opened line past the results replaces the formula only")
        << QStringList{} << QStringList{"10"} << 2 << QStringList{"2+3", "4", "8"}
        << QStringList{"5,00", "4,00"} << QStringList{"5,00", "9,00"};
}

void TestForm2::opened_lines_are_replaced_at_the_same_position() {
    QFETCH(QStringList, openedBefore);
    QFETCH(QStringList, openedAfter);
    QFETCH(int, row);
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, results);
    QFETCH(QStringList, totals);
    NumberTape& tapes = m_window->tapes();
    tapes.List1.append(openedBefore);
    evaluate({"2+3", "4"});
    tapes.List1.append(openedAfter);

    QCOMPARE(open(row)->Text1->text(), "10");
    correct("8");

    QCOMPARE(trimmedLines(tapes.List1), formulas);
    QCOMPARE(trimmedLines(tapes.List2), results);
    QCOMPARE(trimmedLines(tapes.List3), totals);
}

void TestForm2::one_window_follows_the_selected_line() {
    evaluate({"2+3", "1.5*2", "4"});
    Form2* first = open(0);
    QTest::keyClicks(first->Text1, "9");
    QCOMPARE(first->Text1->text(), "9");

    Form2* second = open(2);

    QCOMPARE(second, first);
    const auto windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* window) { return qobject_cast<Form2*>(window); }),
             qsizetype{1});
    QCOMPARE(second->Text1->text(), "4");
    QCOMPARE(second->Text1->selectedText(), "4");
    correct("7");
    QCOMPARE(trimmedLines(m_window->tapes().List1), (QStringList{"2+3", "1.5*2", "7"}));
    QCOMPARE(trimmedLines(m_window->tapes().List3), (QStringList{"5,00", "8,00", "15,00"}));
}

void TestForm2::corrected_line_can_be_opened_again() {
    evaluate({"2+3", "4"});
    open(1);
    correct("6");

    Form2* again = open(1);

    QVERIFY(again->isVisible());
    QCOMPARE(again->Text1->text(), "6");
    QCOMPARE(SelectedRow(*m_window->List1), 1);
}

void TestForm2::close_button_changes_nothing() {
    evaluate({"2+3", "4"});
    const QStringList before = m_window->tapes().List1.lines() + m_window->tapes().List2.lines() +
                               m_window->tapes().List3.lines();
    Form2* correction = open(1);
    QTest::keyClicks(correction->Text1, "99");

    QVERIFY(correction->close());

    QVERIFY(!correction->isVisible());
    QCOMPARE(m_window->tapes().List1.lines() + m_window->tapes().List2.lines() +
                 m_window->tapes().List3.lines(),
             before);
}

void TestForm2::walking_a_step_of_the_line_closes_the_window_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("correctedBefore"); // and taken back, to be made again
    QTest::addColumn<Qt::KeyboardModifiers>("walk");
    QTest::addColumn<bool>("closes");
    const Qt::KeyboardModifiers undo = Qt::ControlModifier;
    const Qt::KeyboardModifiers redo = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("undo takes the line back") << 1 << "" << undo << true;
    QTest::newRow("undo takes a later line back") << 0 << "" << undo << false;
    QTest::newRow("redo corrects the line again") << 1 << "6" << redo << true;
    QTest::newRow("redo corrects another line again") << 0 << "6" << redo << false;
}

void TestForm2::walking_a_step_of_the_line_closes_the_window() {
    QFETCH(int, row);
    QFETCH(QString, correctedBefore);
    QFETCH(Qt::KeyboardModifiers, walk);
    QFETCH(bool, closes);
    evaluate({"2+3", "4"});
    if (!correctedBefore.isEmpty()) {
        open(1);
        correct(correctedBefore);
        QTest::keyClick(m_window->Text1, Qt::Key_Z, Qt::ControlModifier);
    }
    Form2* correction = open(row);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    QTest::keyClick(m_window->Text1, Qt::Key_Z, walk);

    QCOMPARE(correction->isVisible(), !closes);
    QCOMPARE(SelectedRow(*m_window->List1), closes ? -1 : row);
}

void TestForm2::keys_edit_the_field_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digit appended") << "7"
                                    << "1+"
                                    << "1+7";
    QTest::newRow("point appended") << "."
                                    << "1"
                                    << "1.";
    QTest::newRow("sign keeps decimals") << "+/-"
                                         << "2,5"
                                         << "-2,5";
    QTest::newRow("sign of a negative number") << "+/-"
                                               << "-7"
                                               << "7";
    QTest::newRow("sign leaves a formula") << "+/-"
                                           << "3+4"
                                           << "3+4";
    QTest::newRow("percent divides by hundred") << "%"
                                                << "15"
                                                << "0,15";
    QTest::newRow("percent does not rewrite") << "%"
                                              << "200+15%"
                                              << "200+15%";
    QTest::newRow("back drops the last character") << "Back"
                                                   << "12+"
                                                   << "12";
    QTest::newRow("back on empty field") << "Back"
                                         << ""
                                         << "";
    QTest::newRow("exit empties the field") << "Exit"
                                            << "12+3"
                                            << "";
}

void TestForm2::keys_edit_the_field() {
    QFETCH(QString, key);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    evaluate({"2+3"});
    Form2* correction = open(0);
    correction->Text1->setText(field);
    correction->Text1->setCursorPosition(0);

    press(correction->editor(), key);

    QCOMPARE(correction->Text1->text(), expected);
    QVERIFY(correction->isVisible());
    QCOMPARE(trimmedLines(m_window->tapes().List1), QStringList{"2+3"});
}

void TestForm2::escape_clears_the_field() {
    evaluate({"2+3"});
    m_window->Text1->setText("7");
    Form2* correction = open(0);
    QVERIFY(QTest::qWaitForWindowActive(correction));

    QTest::keyClick(correction->Text1, Qt::Key_Escape);

    QCOMPARE(correction->Text1->text(), QString());
    QVERIFY(correction->isVisible());
    QCOMPARE(m_window->Text1->text(), "7");
}

void TestForm2::pasted_line_breaks_become_blanks() {
    evaluate({"2+3"});
    Form2* correction = open(0);
    QGuiApplication::clipboard()->setText("4\r\n+5\u2029");

    QTest::keyClick(correction->Text1, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(correction->Text1->text(), "4 +5 ");
    QVERIFY(correction->isVisible());
    QCOMPARE(trimmedLines(m_window->tapes().List1), QStringList{"2+3"});
}

ZIFFERON_GUI_TEST_MAIN(TestForm2)
#include "tst_form2.moc"
