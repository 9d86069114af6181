#pragma once

// The main calculator window. A formula travels from key to tape like this: the keypad buttons
// (Keypad) and the keyboard edit the text of Text1 through the window's FormulaEditor, with the
// rules of calc/formula_edit.h; "=", Command1 or Enter run the evaluation (calc/evaluation.h),
// which hands the formula to a fresh script engine (calc/expression_engine.h) and appends the
// formula, the formatted result and the running total to the three tapes List1, List2 and List3
// (calc/tape.h); text of several lines pasted into Text1 is evaluated line by line in one
// step (pasteColumn). The tapes are models owned by this window; the correction window works on
// them through TapeHost, and every change of them is a step of the window's TapeHistory that Ctrl+Z
// takes back. The toolbar's commands are actions of the window, dispatched by their keys in
// Toolbar1_ButtonClick, which hand the tapes to the functions of toolbar/; for printing the
// window takes its print look (main_window/print_look.h) and hands itself to PrintTape. Every
// message to the user goes through the MessageBoxes of the window's services.

#include "correction/tape_host.h"
#include "credits/frm_info_box.h"
#include "main_window/form1_services.h"
#include "main_window/keypad_layout.h"
#include "resources/fonts.h"
#include "resources/picture.h"

#include <QWidget>

#include <array>
#include <memory>
#include <span>

class FormulaEditor;
class Keypad;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QToolBar;
class Form2;
class TapeHistory;

class Form1 : public QWidget, public TapeHost {
    Q_OBJECT

public:
    explicit Form1(Form1Services services = Form1Services::Default(), QWidget* parent = nullptr);
    ~Form1() override;

    NumberTape& tapes() override { return m_tapes; }
    LineFormat lineFormat() const override;
    int selectedFormula() const override;
    void changeTapes(const std::function<TapeChange()>& change) override;
    // The selected entry of Combo1; -1 while its text is typed over.
    DecimalsIndex decimalsIndex() const { return m_decimalsIndex; }

    void setBackColour(const QColor& colour);
    void setPicture(const Picture& picture);
    QColor backColour() const { return m_backColour; }
    const Picture& picture() const { return m_picture; }

    // Controls under their designer names.
    QToolBar* Toolbar1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QListView* List1 = nullptr;
    QListView* List2 = nullptr;
    QListView* List3 = nullptr;
    QPushButton* Command1 = nullptr;
    QComboBox* Combo1 = nullptr;

    const Keypad& keypad() const { return *m_keypad; }
    // The correction window, once a formula line was selected.
    Form2* correctionWindow() const { return m_form2.get(); }
    InfoBoxHost& infoBox() { return m_infoBox; }
    const TapeHistory& history() const { return *m_history; }

public slots:
    void cmdEqual_Click();
    void Command1_Click();
    // Runs the command of the button's key ("Neu", "Oeffnen", ...); other keys do nothing.
    void Toolbar1_ButtonClick(const QAction& button);
    void List1_Click();
    void List3_MouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ToolbarCommand;
    // The toolbar's buttons, left to right, each with the member function it runs.
    static std::span<const ToolbarCommand> toolbarCommands();

    void Form_Initialize();
    void createLabels();
    void createFields();
    void createKeypad();
    void createCalculation();
    void createTapes();
    void createToolbar();
    QListView* createTape(const char* name, Tape& model, const QRect& place, const char* tip,
                          QLabel& label);
    void keypadPressed(const keypad::Key& key);
    void closeCorrectionReachedBy(const TapeChange& change);
    // Text of several lines pasted into Text1: each line onto the tapes.
    void pasteColumn(const QString& fieldWithPaste);

    void endProgram();
    void newTape();
    void openTape();
    void saveTape();
    void exportToWord();
    void exportToExcel();
    void printTape();
    void runPrintJob();
    // Prints the window in its print look; why it did not print, then why the layout picture
    // could not be loaded.
    QStringList printInPrintLook(TapePrinter& printer);
    void showHelp();
    void showInfo();
    void warnOnFailure(const std::optional<Failure>& failure);

    Form1Services m_services;
    NumberTape m_tapes;
    FontMeasurer m_measurer;
    DecimalsIndex m_decimalsIndex = -1;
    QColor m_backColour;
    Picture m_picture;
    Keypad* m_keypad = nullptr;
    FormulaEditor* m_editor = nullptr;
    TapeHistory* m_history = nullptr;
    std::unique_ptr<Form2> m_form2;
    // Records the changes of the tapes in the journal; ends before the tapes and their history.
    std::unique_ptr<QObject> m_journalKeeper;
    InfoBoxHost m_infoBox;
};
