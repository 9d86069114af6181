#include "correction/form2.h"
#include "credits/frm_start.h"
#include "main_window/form1.h"
#include "main_window/tape_view.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/shown_text.h"
#include "tests/support/tape_lines.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

using Said = RecordingMessageBoxes::Said;
using Icon = MessageBoxes::Icon;

struct HelpRecorder : HelpViewer {
    QStringList shown;
    std::optional<Failure> failure;
    std::optional<Failure> ShowHelp(const QString& helpFile) override {
        shown << helpFile;
        return failure;
    }
};

// The desktop's clipboard, or one that another program holds, so that nothing written stays;
// with a selection of its own, which the offscreen desktop lacks.
class ContestedClipboard : public Clipboard {
public:
    bool heldByOther = false;
    QString selection;
    void setText(const QString& text, Mode mode) override {
        if (!heldByOther)
            m_desktop->setText(text, mode);
    }
    QString text(Mode mode) const override {
        return mode == Mode::Selection ? selection : m_desktop->text(mode);
    }

private:
    std::unique_ptr<Clipboard> m_desktop = CreateDesktopClipboard();
};

} // namespace

Q_DECLARE_METATYPE(RecordingMessageBoxes::Said)

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window_has_fixed_client_area_and_caption();
    void controls_stand_at_their_places_data();
    void controls_stand_at_their_places();
    void captions_and_tooltips_data();
    void captions_and_tooltips();
    void tab_order_runs_field_keypad_then_tapes();
    void working_fields_are_never_visible();
    void decimals_box_starts_at_two();
    void typing_into_decimals_box_selects_no_entry();
    void keys_edit_the_end_of_the_field_data();
    void keys_edit_the_end_of_the_field();
    void escape_anywhere_clears_the_field_data();
    void escape_anywhere_clears_the_field();
    void alt_x_clicks_exit();
    void enter_evaluates_like_the_calculate_button();
    void three_entry_paths_give_identical_tapes();
    void hidden_fields_hold_result_and_total();
    void bad_input_is_evaluated_or_fails_quietly_data();
    void bad_input_is_evaluated_or_fails_quietly();
    void right_click_copies_selected_total_data();
    void right_click_copies_selected_total();
    void cut_off_line_shows_its_whole_text_as_tooltip_data();
    void cut_off_line_shows_its_whole_text_as_tooltip();
    void right_click_without_selection_warns();
    void other_buttons_on_totals_do_nothing_data();
    void other_buttons_on_totals_do_nothing();
    void keys_walk_a_long_tape_data();
    void keys_walk_a_long_tape();
    void formula_line_opens_correction_data();
    void formula_line_opens_correction();
    void selected_line_reopens_closed_correction();
    void toolbar_buttons_in_order();
    void toolbar_new_clears_tapes_and_fields();
    void toolbar_new_on_empty_tapes_changes_nothing();
    void toolbar_end_and_help_dispatch_exactly();
    void help_failure_is_told_and_changes_nothing();
    void paste_into_the_field_data();
    void paste_into_the_field();
    void paste_beyond_bounds_adds_nothing_data();
    void paste_beyond_bounds_adds_nothing();
    void controls_expose_names_to_screen_readers_data();
    void controls_expose_names_to_screen_readers();
    void lists_and_decimal_places_expose_their_content();
    void windows_present_themselves_by_role_and_caption_data();
    void windows_present_themselves_by_role_and_caption();

private:
    void type(const QString& text);
    void clickRow(QListView* view, int row, Qt::MouseButton button = Qt::LeftButton);
    template <typename T> T* control(const QString& name) const {
        return m_window->findChild<T*>(name);
    }

    std::unique_ptr<Form1> m_window;
    std::shared_ptr<HelpRecorder> m_help;
    std::shared_ptr<ContestedClipboard> m_clipboard;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
    int m_ends = 0;
};

void TestForm1::init() {
    m_help = std::make_shared<HelpRecorder>();
    m_clipboard = std::make_shared<ContestedClipboard>();
    m_messages = std::make_shared<RecordingMessageBoxes>();
    m_ends = 0;
    Form1Services services = Form1Services::Default();
    services.help = m_help;
    services.clipboard = m_clipboard;
    services.messages = m_messages;
    services.endProgram = [this] { ++m_ends; };
    services.programFolder = QStringLiteral("/opt/zifferon");
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_window->Text1->setFocus();
}

void TestForm1::cleanup() {
    m_window.reset();
}

void TestForm1::type(const QString& text) {
    QTest::keyClicks(m_window->Text1, text);
}

void TestForm1::clickRow(QListView* view, int row, Qt::MouseButton button) {
    const QRect place = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), button, {}, place.center());
}

void TestForm1::window_has_fixed_client_area_and_caption() {
    QCOMPARE(m_window->size(), QSize(555, 472));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(m_window->windowTitle().startsWith(" Zifferon "));
    QVERIFY(m_window->windowTitle().size() > 12);
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->Toolbar1->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(m_window->Toolbar1->width(), 555);
}

void TestForm1::controls_stand_at_their_places_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Label2 index 1") << "Label2_1" << QRect(16, 80, 73, 23);
    QTest::newRow("Label2 index 0") << "Label2_0" << QRect(208, 80, 73, 23);
    QTest::newRow("Label3") << "Label3" << QRect(328, 80, 73, 23);
    QTest::newRow("Label4") << "Label4" << QRect(448, 80, 73, 23);
    QTest::newRow("Text1") << "Text1" << QRect(16, 104, 153, 25);
    QTest::newRow("List1") << "List1" << QRect(204, 104, 113, 340);
    QTest::newRow("List2") << "List2" << QRect(322, 104, 113, 340);
    QTest::newRow("List3") << "List3" << QRect(440, 104, 113, 340);
    QTest::newRow("Command1") << "Command1" << QRect(16, 336, 81, 33);
    QTest::newRow("Combo1") << "Combo1" << QRect(112, 336, 51, 21);
    QTest::newRow("Text2") << "Text2" << QRect(88, 424, 49, 25);
    QTest::newRow("Text3") << "Text3" << QRect(16, 422, 57, 25);
    QTest::newRow("cmd1") << "cmd1" << QRect(14, 144, 33, 33);
    QTest::newRow("cmdMul") << "cmdMul" << QRect(126, 144, 33, 33);
    QTest::newRow("cmd0") << "cmd0" << QRect(14, 246, 33, 33);
    QTest::newRow("cmdAdd") << "cmdAdd" << QRect(126, 246, 33, 33);
    QTest::newRow("cmdNeg") << "cmdNeg" << QRect(14, 280, 33, 33);
    QTest::newRow("cmdPer") << "cmdPer" << QRect(48, 280, 33, 33);
    QTest::newRow("cmdBack is wider") << "cmdBack" << QRect(82, 280, 45, 33);
    QTest::newRow("cmdExit") << "cmdExit" << QRect(126, 280, 33, 33);
}

void TestForm1::controls_stand_at_their_places() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QWidget* widget = control<QWidget>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QRect(widget->mapTo(m_window.get(), QPoint()), widget->size()), pixels);
}

void TestForm1::captions_and_tooltips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("cmd7") << "cmd7"
                          << "7"
                          << "";
    QTest::newRow("cmdDec") << "cmdDec"
                            << "."
                            << "";
    QTest::newRow("cmdAdd") << "cmdAdd"
                            << "+"
                            << "Plus";
    QTest::newRow("cmdSub") << "cmdSub"
                            << "-"
                            << "Minus";
    QTest::newRow("cmdMul") << "cmdMul"
                            << "*"
                            << "Multiplikation";
    QTest::newRow("cmdDiv") << "cmdDiv"
                            << "/"
                            << "Geteilt";
    QTest::newRow("cmdEqual trailing blank") << "cmdEqual"
                                             << "="
                                             << "Ist gleich ";
    QTest::newRow("cmdBack") << "cmdBack"
                             << "Back"
                             << "Eingabe um ein Zeichen löschen";
    QTest::newRow("cmdExit") << "cmdExit"
                             << "E&xit"
                             << "Eingabe der Formel kpl. löschen";
    QTest::newRow("cmdNeg") << "cmdNeg"
                            << "+/-"
                            << "Rechnen mit negativ Zahlen";
    QTest::newRow("cmdPer") << "cmdPer"
                            << "%"
                            << "Prozent";
    QTest::newRow("Command1") << "Command1"
                              << ""
                              << "Berechnen der Formel die im Eingabefeld eingegeben wurde.";
    QTest::newRow("Text1") << "Text1"
                           << ""
                           << "Eingabe der Formel.";
    QTest::newRow("List1") << "List1"
                           << ""
                           << "Anzeige der Formel.";
    QTest::newRow("List2") << "List2"
                           << ""
                           << "Anzeige der Berechnung.";
    QTest::newRow("List3") << "List3"
                           << ""
                           << "Anzeige der Gesamtsumme.";
    QTest::newRow("Combo1") << "Combo1"
                            << ""
                            << "Einstellung der Nachkommastellen.";
    QTest::newRow("Label2 index 0") << "Label2_0"
                                    << "Eingabe"
                                    << "";
    QTest::newRow("Label2 index 1") << "Label2_1"
                                    << "Eingabe"
                                    << "";
    QTest::newRow("Label3") << "Label3"
                            << "Zeile"
                            << "";
    QTest::newRow("Label4") << "Label4"
                            << "Summe"
                            << "";
}

void TestForm1::captions_and_tooltips() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QWidget* widget = control<QWidget>(name);
    QVERIFY2(widget, qPrintable(name));
    if (auto* button = qobject_cast<QPushButton*>(widget))
        QCOMPARE(button->text(), caption);
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), caption);
    QCOMPARE(widget->toolTip(), tooltip);
}

void TestForm1::tab_order_runs_field_keypad_then_tapes() {
    const QStringList expected{"Text1",  "cmd1",    "cmd2",    "cmd3",     "cmdMul", "cmd4",
                               "cmd5",   "cmd6",    "cmdDiv",  "cmd7",     "cmd8",   "cmd9",
                               "cmdSub", "cmd0",    "cmdDec",  "cmdEqual", "cmdAdd", "cmdNeg",
                               "cmdPer", "cmdBack", "cmdExit", "Command1", "Combo1", "List1",
                               "List2",  "List3"};
    m_window->Text1->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The combo box's editor has the focus on behalf of the box.
        if (focus->parentWidget() == m_window->Combo1)
            focus = m_window->Combo1;
        visited << focus->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestForm1::working_fields_are_never_visible() {
    QVERIFY(!m_window->Text2->isVisible());
    QVERIFY(!m_window->Text3->isVisible());
    type("2+3\r");
    QVERIFY(!m_window->Text2->isVisible());
    QVERIFY(!m_window->Text3->isVisible());
}

void TestForm1::decimals_box_starts_at_two() {
    QCOMPARE(m_window->Combo1->count(), 10);
    QCOMPARE(m_window->Combo1->itemText(0), QStringLiteral("1"));
    QCOMPARE(m_window->Combo1->itemText(9), QStringLiteral("10"));
    QCOMPARE(m_window->Combo1->currentText(), QStringLiteral("2"));
    QCOMPARE(m_window->decimalsIndex(), 1);
    type("1/3\r");
    QVERIFY(m_window->tapes().List2.text(0).endsWith("0,33"));
}

void TestForm1::typing_into_decimals_box_selects_no_entry() {
    QLineEdit* editor = m_window->Combo1->lineEdit();
    editor->selectAll();
    QTest::keyClicks(editor, "4");
    QCOMPARE(m_window->decimalsIndex(), -1);
    QCOMPARE(m_window->Combo1->count(), 10);
    m_window->Text1->setText("1/3");
    m_window->Command1_Click();
    QCOMPARE(m_window->tapes().List2.text(0).trimmed(), QString());
    QCOMPARE(m_window->tapes().List3.text(0).trimmed(), QString());
    QCOMPARE(m_window->tapes().List1.text(0).trimmed(), QStringLiteral("1/3"));

    m_window->Combo1->setCurrentIndex(0);
    QCOMPARE(m_window->decimalsIndex(), 0);
    m_window->Text1->setText("1/3");
    m_window->Command1_Click();
    QCOMPARE(m_window->tapes().List2.text(1).trimmed(), QStringLiteral("0,3"));
}

void TestForm1::keys_edit_the_end_of_the_field_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("digits and plus") << "" << QStringList{"cmd2", "cmdAdd", "cmd3"} << "2+3";
    QTest::newRow("every append key")
        << "" << QStringList{"cmd0", "cmd1", "cmd4",   "cmd5",   "cmd6",   "cmd7",
                             "cmd8", "cmd9", "cmdSub", "cmdMul", "cmdDiv", "cmdDec"}
        << "01456789-*/.";
    QTest::newRow("no checks") << "" << QStringList{"cmd1", "cmdDec", "cmdDec", "cmd5"} << "1..5";
    QTest::newRow("behind typed letters") << "abc" << QStringList{"cmd1"} << "abc1";
    QTest::newRow("back on operator") << "12+" << QStringList{"cmdBack"} << "12";
    QTest::newRow("back on point") << "1." << QStringList{"cmdBack"} << "1";
    QTest::newRow("back on empty") << "" << QStringList{"cmdBack"} << "";
    QTest::newRow("exit empties") << "12+3" << QStringList{"cmdExit"} << "";
    QTest::newRow("sign twice keeps decimals") << "2,5" << QStringList{"cmdNeg"} << "-2,5";
    QTest::newRow("sign back") << "2,5" << QStringList{"cmdNeg", "cmdNeg"} << "2,5";
    QTest::newRow("sign of whole") << "12" << QStringList{"cmdNeg"} << "-12";
    QTest::newRow("sign of negative") << "-7" << QStringList{"cmdNeg"} << "7";
    QTest::newRow("sign on formula unchanged") << "3+4" << QStringList{"cmdNeg"} << "3+4";
    QTest::newRow("sign on empty unchanged") << "" << QStringList{"cmdNeg"} << "";
    QTest::newRow("percent without percent") << "200+15" << QStringList{"cmdPer"} << "200+15";
    QTest::newRow("percent rate") << "200+15%" << QStringList{"cmdPer"} << "200*1.15";
    QTest::newRow("percent each") << "1%*2%" << QStringList{"cmdPer"} << "1/100*2/100";
    QTest::newRow("percent one digit rate") << "200+5%" << QStringList{"cmdPer"} << "200*1.05";
}

void TestForm1::keys_edit_the_end_of_the_field() {
    QFETCH(QString, start);
    QFETCH(QStringList, keys);
    QFETCH(QString, expected);
    m_window->Text1->setText(start);
    m_window->Text1->setCursorPosition(0);
    for (const QString& key : keys) {
        auto* button = control<QPushButton>(key);
        QVERIFY2(button, qPrintable(key));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(m_window->Text1->text(), expected);
    QCOMPARE(m_window->tapes().List1.count(), 0);
}

void TestForm1::escape_anywhere_clears_the_field_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("formula field") << "Text1";
    QTest::newRow("keypad") << "cmd5";
    QTest::newRow("calculate button") << "Command1";
    QTest::newRow("formula tape") << "List1";
    QTest::newRow("total tape") << "List3";
}

void TestForm1::escape_anywhere_clears_the_field() {
    QFETCH(QString, focus);
    m_window->Text1->setText("12+3");
    QWidget* widget = control<QWidget>(focus);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Escape);
    QCOMPARE(m_window->Text1->text(), QString());
}

void TestForm1::alt_x_clicks_exit() {
    m_window->Text1->setText("12+3");
    QSignalSpy clicks(control<QPushButton>("cmdExit"), &QPushButton::clicked);
    QTest::keyClick(m_window->Text1, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(clicks.count(), 1); // an access key clicks with the button's animation
    QCOMPARE(m_window->Text1->text(), QString());
}

void TestForm1::enter_evaluates_like_the_calculate_button() {
    type("3+4");
    QTest::keyClick(m_window->Text1, Qt::Key_Return);
    QCOMPARE(trimmedLines(m_window->tapes().List2), QStringList{"7,00"});
    QCOMPARE(m_window->Text1->text(), QString());
    QTest::keyClicks(m_window->Text1, "1");
    QTest::keyClick(m_window->Text1, Qt::Key_Enter);
    QCOMPARE(trimmedLines(m_window->tapes().List3), (QStringList{"7,00", "8,00"}));
    QVERIFY(m_window->Text1->hasFocus());
}

void TestForm1::three_entry_paths_give_identical_tapes() {
    const QStringList inputs{"2+3", "1,5*2", "5/0", ""};
    std::vector<std::function<void()>> paths{
        [this] { QTest::mouseClick(control<QPushButton>("cmdEqual"), Qt::LeftButton); },
        [this] { QTest::mouseClick(m_window->Command1, Qt::LeftButton); },
        [this] { QTest::keyClick(m_window->Text1, Qt::Key_Return); }};
    std::vector<QStringList> outcomes;
    for (const auto& evaluate : paths) {
        QTest::mouseClick(control<QToolButton>("Toolbar1_Neu"), Qt::LeftButton);
        for (const QString& input : inputs) {
            m_window->Text1->setText(input);
            evaluate();
            QCOMPARE(m_window->Text1->text(), QString());
        }
        const NumberTape& tapes = m_window->tapes();
        outcomes.push_back(tapes.List1.lines() + tapes.List2.lines() + tapes.List3.lines());
    }
    QCOMPARE(outcomes[1], outcomes[0]);
    QCOMPARE(outcomes[2], outcomes[0]);
    QCOMPARE(trimmedLines(m_window->tapes().List3), (QStringList{"5,00", "8,00", "8,00", "8,00"}));
}

void TestForm1::hidden_fields_hold_result_and_total() {
    type("1\r");
    type("1/3\r");
    QCOMPARE(m_window->Text2->text(), QStringLiteral("0,333333333333333"));
    QCOMPARE(m_window->Text3->text(), QStringLiteral("1,33"));
}

void TestForm1::bad_input_is_evaluated_or_fails_quietly_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("result");
    QTest::newRow("letters") << "abc"
                             << "";
    QTest::newRow("symbols") << "§$%&"
                             << "";
    QTest::newRow("non-Latin") << "١+٢ 中文"
                               << "";
    QTest::newRow("very long") << QString(20000, u'1') << "";
    QTest::newRow("deep nesting") << QString(5000, u'(') + "1" + QString(5000, u')') << "";
    QTest::newRow("comparison") << "2>1"
                                << "Wahr";
}

void TestForm1::bad_input_is_evaluated_or_fails_quietly() {
    QFETCH(QString, input);
    QFETCH(QString, result);
    m_window->Text1->setText(input);
    QTest::keyClick(m_window->Text1, Qt::Key_Return);
    QCOMPARE(m_window->tapes().List2.text(0).trimmed(), result);
    QCOMPARE(m_window->tapes().List3.text(0).trimmed(), QStringLiteral("0,00"));
    QCOMPARE(m_window->tapes().List1.count(), 1);
}

void TestForm1::right_click_copies_selected_total_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<bool>("heldByOther");
    QTest::addColumn<Said>("said");
    QTest::addColumn<QString>("clipboard");
    const QString copied = QStringLiteral(" wurde in die Zwischenablage kopiert.");
    QTest::newRow("a total that fits its list")
        << "2+3" << false << Said{Icon::Information, "8,00" + copied} << "8,00";
    const QString wide = QStringLiteral("100000000000000000000,00");
    QTest::newRow("a total cut off at the list's edge")
        << "1e20" << false << Said{Icon::Information, wide + copied} << wide;
    QTest::newRow("a clipboard that another program holds")
        << "2+3" << true
        << Said{Icon::Warning, "Die Zwischenablage ist von einem anderen Programm belegt; 8,00 "
                               "wurde nicht kopiert."}
        << "vorher";
}

void TestForm1::right_click_copies_selected_total() {
    QFETCH(QString, formula);
    QFETCH(bool, heldByOther);
    QFETCH(Said, said);
    QFETCH(QString, clipboard);
    type(formula + "\r");
    type("3\r");
    QGuiApplication::clipboard()->setText("vorher");
    m_clipboard->heldByOther = heldByOther;
    clickRow(m_window->List3, 1);
    QCOMPARE(SelectedRow(*m_window->List3), 1);
    clickRow(m_window->List3, 0, Qt::RightButton);
    QCOMPARE(m_messages->said, QList<Said>{said});
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(SelectedRow(*m_window->List3), 1);
}

void TestForm1::cut_off_line_shows_its_whole_text_as_tooltip_data() {
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("listWidth"); // 0: as placed
    QTest::addColumn<QString>("tooltip");
    const QString formulaTip = "Anzeige der Formel.";
    const QString totalTip = "Anzeige der Gesamtsumme.";
    const QString wide = "100000000000000000000,00";
    QTest::newRow("a total that fits") << QStringList{"2+3"} << "List3" << 0 << 0 << totalTip;
    QTest::newRow("a total wider than its list")
        << QStringList{"1e20"} << "List3" << 0 << 0 << wide;
    QTest::newRow("a result wider than its list")
        << QStringList{"1e20"} << "List2" << 0 << 0 << wide;
    QTest::newRow("the formula of a wide result fits")
        << QStringList{"1e20"} << "List1" << 0 << 0 << formulaTip;
    QTest::newRow("a formula wider than its list")
        << QStringList{"1234567+2345678+3456789+4567890"} << "List1" << 0 << 0
        << "1234567+2345678+3456789+4567890";
    const QStringList growing{"12345678901234", "1e17"};
    QTest::newRow("a total that fits, above one that grew too wide")
        << growing << "List3" << 0 << 0 << totalTip;
    QTest::newRow("a total that grew too wide")
        << growing << "List3" << 1 << 0 << "100012345678901000,00";
    QTest::newRow("the same total in a wider list")
        << QStringList{"1e20"} << "List3" << 0 << 400 << totalTip;
    QTest::newRow("below the last line") << QStringList{"1e20"} << "List3" << 3 << 0 << totalTip;
}

// Over a line the list cuts off, the row's tooltip is the whole line; elsewhere the list's own.
void TestForm1::cut_off_line_shows_its_whole_text_as_tooltip() {
    QFETCH(QStringList, formulas);
    QFETCH(QString, list);
    QFETCH(int, row);
    QFETCH(int, listWidth);
    QFETCH(QString, tooltip);
    for (const QString& formula : formulas)
        type(formula + "\r");
    auto* view = control<QListView>(list);
    if (listWidth > 0)
        view->resize(listWidth, view->height());
    const QRect first = view->visualRect(view->model()->index(0, 0));
    const QPoint at = first.center() + QPoint(0, row * first.height());
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(ShownText(QToolTip::text()), tooltip);
}

void TestForm1::right_click_without_selection_warns() {
    type("2+3\r");
    QGuiApplication::clipboard()->setText("vorher");
    clickRow(m_window->List3, 0, Qt::RightButton);
    QCOMPARE(m_messages->said,
             (QList<Said>{{Icon::Warning, "Bitte wählen Sie einen Eintrag zum kopieren aus!"}}));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
    QCOMPARE(SelectedRow(*m_window->List3), -1);
}

void TestForm1::other_buttons_on_totals_do_nothing_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("selected");
    QTest::newRow("left selects") << Qt::LeftButton << 0;
    QTest::newRow("middle does nothing") << Qt::MiddleButton << -1;
}

void TestForm1::other_buttons_on_totals_do_nothing() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, selected);
    type("2+3\r");
    QGuiApplication::clipboard()->setText("vorher");
    clickRow(m_window->List3, 0, button);
    QCOMPARE(m_messages->said, QList<Said>{});
    QCOMPARE(SelectedRow(*m_window->List3), selected);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
}

void TestForm1::keys_walk_a_long_tape_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("selected");
    QTest::newRow("down") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 3;
    QTest::newRow("up stops at the first") << QList<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Up} << 0;
    QTest::newRow("end") << QList<int>{Qt::Key_End} << 9999;
    QTest::newRow("end, then page up") << QList<int>{Qt::Key_End, Qt::Key_PageUp} << -1;
    QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << -2;
    QTest::newRow("end, then home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
}

// Row 1 of the results is clicked; the row the keys reach is selected, in view and under its
// place. A page keeps one row of the page before: -1 is a page above the last row, -2 one below
// row 1.
void TestForm1::keys_walk_a_long_tape() {
    QFETCH(QList<int>, keys);
    QFETCH(int, selected);
    m_window->tapes().List2.append(QStringList(10'000, "  1,00"));
    QListView& view = *m_window->List2;
    clickRow(&view, 1);
    for (const int key : keys)
        QTest::keyClick(&view, Qt::Key(key));
    const int page =
        view.viewport()->height() / view.visualRect(view.model()->index(0, 0)).height();
    const int row = selected >= 0 ? selected : selected == -1 ? 9999 - page + 1 : page;
    QCOMPARE(SelectedRow(view), row);
    const QRect place = view.visualRect(view.model()->index(row, 0));
    QVERIFY(view.viewport()->rect().contains(place));
    QCOMPARE(view.indexAt(place.center()).row(), row);
}

void TestForm1::formula_line_opens_correction_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("field");
    QTest::newRow("formula without its blanks") << "1.5*2"
                                                << "1.5*2";
    QTest::newRow("blank line gives empty field") << ""
                                                  << "";
}

void TestForm1::formula_line_opens_correction() {
    QFETCH(QString, formula);
    QFETCH(QString, field);
    m_window->Text1->setText(formula);
    m_window->Command1_Click();
    clickRow(m_window->List1, 0);
    Form2* correction = m_window->correctionWindow();
    QVERIFY(correction);
    QVERIFY(correction->isVisible());
    QCOMPARE(correction->Text1->text(), field);
    QCOMPARE(correction->Text1->selectedText(), field);
    QVERIFY(m_window->isEnabled());
}

void TestForm1::selected_line_reopens_closed_correction() {
    m_window->Text1->setText("2+3");
    m_window->Command1_Click();
    clickRow(m_window->List1, 0);
    Form2* correction = m_window->correctionWindow();
    QVERIFY(correction);
    correction->Text1->setText("9");
    correction->close();
    QVERIFY(!correction->isVisible());
    clickRow(m_window->List1, 0);
    QVERIFY(correction->isVisible());
    QCOMPARE(m_window->correctionWindow(), correction);
    QCOMPARE(correction->Text1->text(), QStringLiteral("2+3"));
}

void TestForm1::toolbar_buttons_in_order() {
    struct Expected {
        const char* key;
        const char* caption;
        const char* tooltip;
    };
    const std::vector<Expected> expected{
        {"Neu", "Neu", "Löschen der Eingabe und Anzeige."},
        {"Oeffnen", "Öffnen", "Öffnen der gespeicherten Daten."},
        {"Speichern", "Speichern", "Speichern der Zahlenkollone als Textfile."},
        {"Word", "Word", "Übergabe der Zahlen nach Word."},
        {"Excel", "Excel", "Übergabe der Zahlen nach Excel."},
        {"Drucken", "Drucken ", "Drucken "},
        {"Hilfe", "Hilfe", "Onlinehilfe aufrufen"},
        {"Ende", "Ende", "Programmende"},
        {"Info", "Info", "Info über die Mitwirkende an dieser Software."}};
    QList<QToolButton*> buttons =
        m_window->Toolbar1->findChildren<QToolButton*>(QRegularExpression("^Toolbar1_"));
    std::sort(buttons.begin(), buttons.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QCOMPARE(buttons.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(buttons[i]->defaultAction()->data().toString(),
                 QString::fromUtf8(expected[i].key));
        QCOMPARE(buttons[i]->text(), QString::fromUtf8(expected[i].caption));
        QCOMPARE(buttons[i]->toolTip(), QString::fromUtf8(expected[i].tooltip));
        QVERIFY(!buttons[i]->icon().isNull());
    }
}

void TestForm1::toolbar_new_clears_tapes_and_fields() {
    type("2+3\r");
    type("4\r");
    m_window->Combo1->setCurrentIndex(2);
    type("7");
    QTest::mouseClick(control<QToolButton>("Toolbar1_Neu"), Qt::LeftButton);
    for (const Tape* tape :
         {&m_window->tapes().List1, &m_window->tapes().List2, &m_window->tapes().List3})
        QCOMPARE(tape->count(), 0);
    QCOMPARE(m_window->Text1->text(), QString());
    QCOMPARE(m_window->Text2->text(), QString());
    QCOMPARE(m_window->Text3->text(), QString());
    QCOMPARE(m_window->decimalsIndex(), 2);
    type("6\r");
    QCOMPARE(m_window->tapes().List3.text(0).trimmed(), QStringLiteral("6,000"));
}

void TestForm1::toolbar_new_on_empty_tapes_changes_nothing() {
    QTest::mouseClick(control<QToolButton>("Toolbar1_Neu"), Qt::LeftButton);
    QCOMPARE(m_window->tapes().List1.count(), 0);
    QCOMPARE(m_window->Combo1->currentText(), QStringLiteral("2"));
}

void TestForm1::toolbar_end_and_help_dispatch_exactly() {
    QAction probe;
    const std::vector<std::pair<QString, std::pair<int, int>>> cases{
        {"Ende", {1, 0}},   {"Hilfe", {0, 1}},    {"ende", {0, 0}},     {"Ende ", {0, 0}},
        {"Öffnen", {0, 0}}, {"Drucken ", {0, 0}}, {"Unbekannt", {0, 0}}};
    type("2+3\r");
    for (const auto& [key, counts] : cases) {
        m_ends = 0;
        m_help->shown.clear();
        probe.setData(key);
        m_window->Toolbar1_ButtonClick(probe);
        QCOMPARE(m_ends, counts.first);
        QCOMPARE(m_help->shown.size(), counts.second);
        QCOMPARE(m_window->tapes().List1.count(), 1);
    }
    QTest::mouseClick(control<QToolButton>("Toolbar1_Hilfe"), Qt::LeftButton);
    QCOMPARE(m_help->shown, QStringList{"/opt/zifferon/Benutzerhandbuch_Zifferal_Version_1.chm"});
}

void TestForm1::help_failure_is_told_and_changes_nothing() {
    type("2+3\r");
    const QStringList before = m_window->tapes().List1.lines() + m_window->tapes().List3.lines();
    m_help->failure = QStringLiteral("Die Hilfedatei fehlt.");
    QTest::mouseClick(control<QToolButton>("Toolbar1_Hilfe"), Qt::LeftButton);
    QCOMPARE(m_messages->said, (QList<Said>{{Icon::Warning, "Die Hilfedatei fehlt."}}));
    QCOMPARE(m_window->tapes().List1.lines() + m_window->tapes().List3.lines(), before);
    QVERIFY(m_window->isEnabled());
}

void TestForm1::paste_into_the_field_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<QStringList>("totals");
    QTest::newRow("CR LF is one blank") << "2\r\n"
                                        << "Ctrl+V"
                                        << "1+2 " << QStringList{} << QStringList{};
    QTest::newRow("CR") << "2\r"
                        << "Ctrl+V"
                        << "1+2 " << QStringList{} << QStringList{};
    QTest::newRow("only blank lines") << "\n \r\n"
                                      << "Ctrl+V"
                                      << "1+   " << QStringList{} << QStringList{};
    QTest::newRow("line and paragraph separators") << "2\u2028\u2029"
                                                   << "Ctrl+V"
                                                   << "1+2  " << QStringList{} << QStringList{};
    QTest::newRow("vertical tab and form feed") << "\v\f3"
                                                << "Ctrl+V"
                                                << "1+  3" << QStringList{} << QStringList{};
    const QStringList formulas{"1+2", "1234.56", "-12.00", "2*3"};
    const QStringList totals{"3,00", "1237,56", "1225,56", "1231,56"};
    const QString column = QString::fromUtf8("2\r\n1.234,56 €\n\n12,00-\n2*3\n");
    for (const char* way : {"Ctrl+V", "Shift+Insert", "menu", "drop", "middle button"})
        QTest::newRow(way) << column << way << "" << formulas << totals;
}

// With "1+" in the field; Ctrl+Z takes a whole column back and gives the field its text.
void TestForm1::paste_into_the_field() {
    QFETCH(QString, pasted);
    QFETCH(QString, way);
    QFETCH(QString, field);
    QFETCH(QStringList, formulas);
    QFETCH(QStringList, totals);
    QLineEdit& text1 = *m_window->Text1;
    text1.setText("1+");
    QGuiApplication::clipboard()->setText(pasted);
    m_clipboard->selection = pasted;
    if (way == "Ctrl+V") {
        QTest::keyClick(&text1, Qt::Key_V, Qt::ControlModifier);
    } else if (way == "Shift+Insert") {
        QTest::keyClick(&text1, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (way == "middle button") {
        text1.end(false);
        QTest::mouseClick(&text1, Qt::MiddleButton, {}, text1.rect().bottomRight());
    } else if (way == "menu") {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, {}, text1.mapToGlobal(QPoint()));
        QApplication::sendEvent(&text1, &menuEvent);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->findChild<QAction*>("edit-paste")->trigger();
        QApplication::activePopupWidget()->close();
    } else {
        QMimeData data;
        data.setText(pasted);
        const QPoint end = text1.rect().bottomRight();
        QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&text1, &enter);
        QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&text1, &drop);
    }
    QCOMPARE(text1.text(), field);
    QCOMPARE(trimmedLines(m_window->tapes().List1), formulas);
    QCOMPARE(trimmedLines(m_window->tapes().List3), totals);
    if (formulas.isEmpty())
        return;
    QTest::keyClick(&text1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text1.text(), "1+");
    QCOMPARE(m_window->tapes().List1.count() + m_window->tapes().List3.count(), 0);
}

void TestForm1::paste_beyond_bounds_adds_nothing_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("told");
    QTest::newRow("more than a million lines")
        << QString("1\n").repeated(1'000'001) << "höchstens 1.000.000 Zeilen";
    QTest::newRow("a line longer than the field holds") << "1\n" + QString(32'768, '2') + "\n3"
                                                        << "länger als 32767 Zeichen";
}

void TestForm1::paste_beyond_bounds_adds_nothing() {
    QFETCH(QString, pasted);
    QFETCH(QString, told);
    m_window->Text1->setText("1+");
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(m_window->Text1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_messages->said.size(), 1);
    QVERIFY(m_messages->said.first().text.contains(told));
    QCOMPARE(m_window->Text1->text(), "1+");
    QCOMPARE(m_window->tapes().List1.count(), 0);
}

void TestForm1::controls_expose_names_to_screen_readers_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::newRow("formula field by its label")
        << "Text1" << int(QAccessible::EditableText) << "Eingabe"
        << "Eingabe der Formel.";
    QTest::newRow("formula tape by its label") << "List1" << int(QAccessible::List) << "Eingabe"
                                               << "Anzeige der Formel.";
    QTest::newRow("calculation tape by its label") << "List2" << int(QAccessible::List) << "Zeile"
                                                   << "Anzeige der Berechnung.";
    QTest::newRow("total tape by its label") << "List3" << int(QAccessible::List) << "Summe"
                                             << "Anzeige der Gesamtsumme.";
    QTest::newRow("decimal places, not its value")
        << "Combo1" << int(QAccessible::ComboBox) << "Nachkommastellen"
        << "Einstellung der Nachkommastellen.";
    QTest::newRow("calculate button by its tooltip")
        << "Command1" << int(QAccessible::Button)
        << "Berechnen der Formel die im Eingabefeld eingegeben wurde."
        << "Berechnen der Formel die im Eingabefeld eingegeben wurde.";
    QTest::newRow("digit key by its caption") << "cmd7" << int(QAccessible::Button) << "7"
                                              << "";
    QTest::newRow("exit key without its access key mark")
        << "cmdExit" << int(QAccessible::Button) << "Exit"
        << "Eingabe der Formel kpl. löschen";
    QTest::newRow("toolbar button by its caption")
        << "Toolbar1_Drucken" << int(QAccessible::Button) << "Drucken"
        << "Drucken ";
}

void TestForm1::controls_expose_names_to_screen_readers() {
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QWidget* widget = this->control<QWidget>(control);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(face);
    QCOMPARE(int(face->role()), role);
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(face->text(QAccessible::Description), description);
    QVERIFY(widget->focusPolicy() & Qt::TabFocus);
}

void TestForm1::lists_and_decimal_places_expose_their_content() {
    type("2+3\r");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(m_window->List2);
    QVERIFY(list->childCount() >= 1);
    QCOMPARE(list->child(0)->text(QAccessible::Name).trimmed(), QStringLiteral("5,00"));
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(m_window->Combo1);
    QCOMPARE(combo->text(QAccessible::Value), QStringLiteral("2"));
    m_window->Combo1->setCurrentIndex(4);
    QCOMPARE(combo->text(QAccessible::Value), QStringLiteral("5"));
    QVERIFY(combo->actionInterface());
    QVERIFY(combo->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    QCOMPARE(combo->childCount(), 1);
    QCOMPARE(combo->child(0)->role(), QAccessible::EditableText);
}

void TestForm1::windows_present_themselves_by_role_and_caption_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("main window: a frame named by its caption")
        << "Form1" << int(QAccessible::Window)
        << " Zifferon © 2026 Morvantis Software, Telefon 05678 / 555 01 73";
    QTest::newRow("correction window: a dialog named by its caption")
        << "Form2" << int(QAccessible::Dialog) << " Korrektur © 2026 MS";
    QTest::newRow("info box without caption")
        << "frmInfoBox" << int(QAccessible::Dialog) << "Zifferon – Info";
    QTest::newRow("splash window without caption")
        << "frmStart" << int(QAccessible::Window) << "Zifferon – Startfenster";
}

void TestForm1::windows_present_themselves_by_role_and_caption() {
    QFETCH(QString, window);
    QFETCH(int, role);
    QFETCH(QString, name);
    type("2+3\r");
    clickRow(m_window->List1, 0);
    QTest::mouseClick(control<QToolButton>("Toolbar1_Info"), Qt::LeftButton);
    const auto splash = std::make_unique<frmStart>([] {});
    QWidget* shown = nullptr;
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (topLevel->objectName() == window)
            shown = topLevel;
    }
    QVERIFY(shown);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(shown);
    QCOMPARE(int(face->role()), role);
    QCOMPARE(face->text(QAccessible::Name), name);
    QVERIFY(face->childCount() > 0);
}

ZIFFERON_GUI_TEST_MAIN(TestForm1)
#include "tst_form1.moc"
