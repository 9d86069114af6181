#include "main_window/form1.h"

#include "calc/column_paste.h"
#include "calc/formula_edit.h"
#include "correction/form2.h"
#include "formats/tape_file.h"
#include "main_window/keypad.h"
#include "main_window/last_run.h"
#include "main_window/tape_commands.h"
#include "main_window/tape_copy.h"
#include "main_window/tape_list_view.h"
#include "main_window/tape_view.h"
#include "widgets/accessibility.h"
#include "widgets/busy_cursor.h"
#include "widgets/formula_editor.h"
#include "widgets/graphical_button.h"
#include "widgets/paste_catcher.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>

#include <algorithm>

namespace {

const QString Caption =
    QStringLiteral(" Zifferon © 2026 Morvantis Software, Telefon 05678 / 555 01 73");
constexpr QSize ClientArea(555, 472);
constexpr QSize ToolButtonSize(54, 52);
const QString HelpFileName = QStringLiteral("Benutzerhandbuch_Zifferal_Version_1.chm");

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Why the formulas of a pasted column are not evaluated; nothing when they are. Each line stands
// for a formula typed into the field, which holds none longer than fieldLength.
std::optional<QString> refusal(const std::optional<QStringList>& formulas, int fieldLength) {
    if (!formulas)
        return QStringLiteral("Es können höchstens %1 Zeilen auf einmal eingefügt werden. Es "
                              "wurde nichts übernommen.")
            .arg(GermanCount(column_paste::MaxLines));
    const auto longest = std::max_element(
        formulas->begin(), formulas->end(),
        [](const QString& one, const QString& other) { return one.size() < other.size(); });
    if (longest != formulas->end() && longest->size() > fieldLength)
        return text("Eine eingefügte Zeile ist länger als %1 Zeichen, so lang kann keine Formel "
                    "sein. Es wurde nichts übernommen.")
            .arg(fieldLength);
    return std::nullopt;
}

} // namespace

struct Form1::ToolbarCommand {
    const char* key;
    const char* caption;
    const char* tooltip;
    const char* picture;  // an entry of ImageList2
    const char* shortcut; // portable text ("Ctrl+N"); empty for none
    void (Form1::*run)();
};

std::span<const Form1::ToolbarCommand> Form1::toolbarCommands() {
    static const std::array<ToolbarCommand, 9> commands = {{
        {"Neu", "Neu", "Löschen der Eingabe und Anzeige.", "imagelist2_2.ico", "Ctrl+N",
         &Form1::newTape},
        {"Oeffnen", "Öffnen", "Öffnen der gespeicherten Daten.", "imagelist2_4.ico", "Ctrl+O",
         &Form1::openTape},
        {"Speichern", "Speichern", "Speichern der Zahlenkollone als Textfile.", "imagelist2_5.ico",
         "Ctrl+S", &Form1::saveTape},
        {"Word", "Word", "Übergabe der Zahlen nach Word.", "imagelist2_1.ico", "",
         &Form1::exportToWord},
        {"Excel", "Excel", "Übergabe der Zahlen nach Excel.", "imagelist2_9.ico", "",
         &Form1::exportToExcel},
        {"Drucken", "Drucken ", "Drucken ", "imagelist2_6.ico", "Ctrl+P", &Form1::printTape},
        {"Hilfe", "Hilfe", "Onlinehilfe aufrufen", "imagelist2_8.ico", "F1", &Form1::showHelp},
        {"Ende", "Ende", "Programmende", "imagelist2_7.ico", "Ctrl+Q", &Form1::endProgram},
        {"Info", "Info", "Info über die Mitwirkende an dieser Software.", "imagelist2_3.gif", "",
         &Form1::showInfo},
    }};
    return commands;
}

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_measurer(fonts::WindowDefault())
    , m_picture(QStringLiteral(":/images/background.jpg"))
    , m_infoBox(*m_services.messages, m_services.programFolder) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);
    ExposeWindow(*this, QAccessible::Window);
    setWindowIcon(Picture(QStringLiteral(":/images/zifferon.ico")).icon());
    setFont(fonts::WindowDefault());
    setFixedSize(ClientArea);
    setBackColour(palette().color(QPalette::Button));
    // The controls that take the focus are created in their tab order.
    createToolbar();
    createLabels();
    createFields();
    createKeypad();
    createCalculation();
    createTapes();
    m_history = new TapeHistory(*this, *Text1, m_tapes);
    m_history->passUndoKeysOn(*Combo1);
    connect(m_history, &TapeHistory::aboutToWalk, this, &Form1::closeCorrectionReachedBy);
    if (m_services.journal) {
        const JournalFields fields{*Text1, *Text2, *Text3};
        OfferLastRun(m_services.journal, *m_history, m_tapes, fields);
        m_journalKeeper =
            KeepTapesIn(*m_services.journal, *m_history, m_tapes, fields, *m_services.messages);
    }
    CopyWholeTapeOnCtrlShiftC(*this, m_tapes, *m_services.clipboard);
    Form_Initialize();
    Text1->setFocus();
}

Form1::~Form1() {
    // Hiding the window while it is destroyed moves the focus, and a control that loses it may
    // still signal (the decimal box commits its typed text): none of that reaches this window.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

LineFormat Form1::lineFormat() const {
    return {m_measurer, m_decimalsIndex, List1->width() * TwipsPerPixel};
}

int Form1::selectedFormula() const {
    return SelectedRow(*List1);
}

void Form1::changeTapes(const std::function<TapeChange()>& change) {
    m_history->record(change, {Text2, Text3});
}

void Form1::setBackColour(const QColor& colour) {
    m_backColour = colour;
    update();
}

void Form1::setPicture(const Picture& picture) {
    m_picture = picture;
    update();
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColour);
    painter.drawPixmap(0, 0, m_picture.forRatio(devicePixelRatioF()));
}

void Form1::Form_Initialize() {
    for (int places = 1; places <= 10; ++places)
        Combo1->addItem(QString::number(places));
    Combo1->setCurrentIndex(1);
}

// The commands are actions of the window, so that their shortcuts work wherever the focus is;
// the toolbar shows them as buttons with the picture above the caption.
void Form1::createToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setGeometry(0, 0, ClientArea.width(), ToolButtonSize.height() + 4);
    for (const ToolbarCommand& entry : toolbarCommands()) {
        auto* action =
            new QAction(Picture(QStringLiteral(":/images/") + QLatin1String(entry.picture)).icon(),
                        text(entry.caption), this);
        action->setData(QString::fromLatin1(entry.key));
        action->setIconText(text(entry.caption));
        action->setToolTip(text(entry.tooltip));
        action->setShortcut(
            QKeySequence::fromString(QLatin1String(entry.shortcut), QKeySequence::PortableText));
        connect(action, &QAction::triggered, this,
                [this, action] { Toolbar1_ButtonClick(*action); });
        addAction(action);
        Toolbar1->addAction(action);
        QWidget* button = Toolbar1->widgetForAction(action);
        button->setObjectName(QStringLiteral("Toolbar1_") + QLatin1String(entry.key));
        button->setAccessibleName(text(entry.caption).trimmed());
        button->setFixedSize(ToolButtonSize);
        button->setFocusPolicy(Qt::TabFocus);
    }
}

void Form1::createLabels() {
    const auto label = [this](const char* caption, const char* name, const QRect& place) {
        auto* created = Placed(new QLabel(QLatin1String(caption), this), name, place);
        created->setFont(fonts::SansSerif(12, true));
        created->setAttribute(Qt::WA_TranslucentBackground);
        return created;
    };
    Label2[1] = label("Eingabe", "Label2_1", FromTwips(240, 1200, 1095, 345));
    Label2[0] = label("Eingabe", "Label2_0", FromTwips(3120, 1200, 1095, 345));
    Label3 = label("Zeile", "Label3", FromTwips(4920, 1200, 1095, 345));
    Label4 = label("Summe", "Label4", FromTwips(6720, 1200, 1095, 345));
}

void Form1::createFields() {
    Text1 = Placed(new QLineEdit(this), "Text1", FromTwips(240, 1560, 2295, 375),
                   QStringLiteral("Eingabe der Formel."));
    NameByLabel(*Label2[1], *Text1);
    Text2 = Placed(new QLineEdit(this), "Text2", FromTwips(1320, 6360, 735, 375));
    Text3 = Placed(new QLineEdit(this), "Text3", FromTwips(240, 6330, 855, 375));
    Text2->hide();
    Text3->hide();
}

void Form1::createCalculation() {
    Command1 = CreateCommand1(*this, FromTwips(240, 5040, 1215, 495),
                              text("Berechnen der Formel die im Eingabefeld eingegeben wurde."));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    Combo1 = Placed(new QComboBox(this), "Combo1", FromTwips(1680, 5040, 765, 315),
                    QStringLiteral("Einstellung der Nachkommastellen."));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    NameComboBox(*Combo1, QStringLiteral("Nachkommastellen"));
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_decimalsIndex = index; });
    connect(Combo1, &QComboBox::activated, this, [this](int index) { m_decimalsIndex = index; });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { m_decimalsIndex = -1; });
}

QListView* Form1::createTape(const char* name, Tape& model, const QRect& place, const char* tip,
                             QLabel& label) {
    QListView* view = Placed(new TapeListView(this), name, place, QLatin1String(tip));
    NameByLabel(label, *view);
    BindTapeView(*view, model);
    CopySelectedLineOnCtrlC(*view, *m_services.clipboard);
    return view;
}

void Form1::createTapes() {
    List1 = createTape("List1", m_tapes.List1, FromTwips(3060, 1560, 1695, 5100),
                       "Anzeige der Formel.", *Label2[0]);
    List2 = createTape("List2", m_tapes.List2, FromTwips(4830, 1560, 1695, 5100),
                       "Anzeige der Berechnung.", *Label3);
    List3 = createTape("List3", m_tapes.List3, FromTwips(6600, 1560, 1695, 5100),
                       "Anzeige der Gesamtsumme.", *Label4);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (selectedFormula() >= 0)
            List1_Click();
    });
    // A click on the line already selected reopens a correction window the user closed.
    connect(List1, &QListView::clicked, this, [this](const QModelIndex& index) {
        const bool correcting = m_form2 && m_form2->isVisible();
        if (!correcting && index.row() == selectedFormula())
            List1_Click();
    });
    List3->viewport()->installEventFilter(this);
}

void Form1::createKeypad() {
    m_editor =
        new FormulaEditor(*Text1, formula_edit::ResolvePercent, [this] { Command1_Click(); });
    new PasteCatcher(*Text1, *m_services.clipboard,
                     [this](const QString& pasted, const QString& fieldWithPaste) {
                         if (!column_paste::IsColumn(pasted))
                             return false;
                         pasteColumn(fieldWithPaste);
                         return true;
                     });
    m_keypad = new Keypad(*this);
    connect(m_keypad, &Keypad::pressed, this, &Form1::keypadPressed);
}

void Form1::keypadPressed(const keypad::Key& key) {
    switch (key.command) {
    case keypad::Command::Append:
        return m_editor->append(QLatin1Char(key.character));
    case keypad::Command::Back:
        return m_editor->cmdBack_Click();
    case keypad::Command::Exit:
        return m_editor->cmdExit_Click();
    case keypad::Command::Negate:
        return m_editor->cmdNeg_Click();
    case keypad::Command::Percent:
        return m_editor->cmdPer_Click();
    case keypad::Command::Equal:
        return cmdEqual_Click();
    }
}

void Form1::cmdEqual_Click() {
    Command1_Click();
}

void Form1::Command1_Click() {
    changeTapes([this] {
        const TapeEnds ends(m_tapes);
        const EvaluationOutcome outcome =
            EvaluateOntoTapes(m_tapes, Text1->text(), lineFormat(), m_services.engine);
        Text2->setText(outcome.resultText);
        Text3->setText(outcome.totalText);
        return AppendedSince(m_tapes, ends);
    });
    // The formula is on the tape: the field's own undo starts afresh with the next one.
    Text1->setText(QString());
}

// Every line is evaluated as if typed, in one step that gives the field its text back when taken
// back.
void Form1::pasteColumn(const QString& fieldWithPaste) {
    const std::optional<QStringList> formulas = column_paste::Formulas(fieldWithPaste);
    if (const std::optional<QString> refused = refusal(formulas, Text1->maxLength())) {
        m_services.messages->warning(*refused);
        return;
    }
    const auto evaluateAll = [this, &formulas] {
        const TapeEnds ends(m_tapes);
        const EvaluationOutcome outcome = WhileBusy([&] {
            return EvaluateAllOntoTapes(m_tapes, *formulas, lineFormat(), m_services.engine);
        });
        Text1->setText(QString());
        Text2->setText(outcome.resultText);
        Text3->setText(outcome.totalText);
        return AppendedSince(m_tapes, ends);
    };
    m_history->record(evaluateAll, {Text1, Text2, Text3});
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == List3->viewport() && press) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            List3_MouseDown(button);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::List1_Click() {
    if (!m_form2) {
        m_form2 = std::make_unique<Form2>(*this, m_services.engine);
        connect(m_form2.get(), &Form2::recalculated, this, [this] {
            activateWindow();
            Text1->setFocus();
        });
    }
    const QString formula = m_tapes.List1.text(selectedFormula()).trimmed();
    m_form2->Text1->setText(formula);
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();
    m_form2->Text1->setSelection(0, static_cast<int>(formula.size()));
}

// Taking back or making again a change of the line being corrected ends the correction.
void Form1::closeCorrectionReachedBy(const TapeChange& change) {
    if (m_form2 && m_form2->isVisible() && change.reaches(m_tapes.List1, selectedFormula()))
        m_form2->close();
}

void Form1::List3_MouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton)
        return;
    const QString entry = ToDecimalComma(SelectedEntry(*List3));
    if (entry.trimmed().isEmpty()) {
        m_services.messages->warning(text("Bitte wählen Sie einen Eintrag zum kopieren aus!"));
        return;
    }
    m_services.clipboard->setText(entry);
    if (m_services.clipboard->text() != entry) {
        m_services.messages->warning(
            text("Die Zwischenablage ist von einem anderen Programm belegt; ") + entry +
            text(" wurde nicht kopiert."));
        return;
    }
    m_services.messages->information(entry + text(" wurde in die Zwischenablage kopiert."));
}

void Form1::Toolbar1_ButtonClick(const QAction& button) {
    const QString key = button.data().toString();
    for (const ToolbarCommand& command : toolbarCommands()) {
        if (key == QLatin1String(command.key))
            return (this->*command.run)();
    }
}

// Taking "Neu" back gives the formula field its text back too.
void Form1::newTape() {
    const auto emptyAll = [this] {
        TapeChange emptied = EmptyTapes(m_tapes);
        Text1->setText(QString());
        Text2->clear();
        Text3->clear();
        return emptied;
    };
    m_history->record(emptyAll, {Text1, Text2, Text3});
}

void Form1::endProgram() {
    m_services.endProgram();
}

void Form1::showHelp() {
    warnOnFailure(m_services.help->ShowHelp(m_services.programFolder + u'/' + HelpFileName));
}

void Form1::openTape() {
    changeTapes([this] {
        const TapeEnds ends(m_tapes);
        warnOnFailure(
            WhileBusy([this] { return OpenTapeFile(m_tapes, lineFormat(), m_services.tapeFile); }));
        return AppendedSince(m_tapes, ends);
    });
}

void Form1::saveTape() {
    warnOnFailure(WhileBusy([this] { return SaveTapeFile(m_tapes, m_services.tapeFile); }));
}

void Form1::exportToWord() {
    if (const std::unique_ptr<DocumentTarget> target = m_services.wordTarget())
        warnOnFailure(WhileBusy([&] { return ExportToWord(m_tapes, *target); }));
}

void Form1::exportToExcel() {
    if (const std::unique_ptr<SpreadsheetTarget> target = m_services.excelTarget())
        warnOnFailure(WhileBusy([&] { return ExportToExcel(m_tapes, *target); }));
}

void Form1::showInfo() {
    m_infoBox.Show();
}

void Form1::warnOnFailure(const std::optional<Failure>& failure) {
    if (failure)
        m_services.messages->warning(failure->reason);
}
