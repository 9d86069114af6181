#include "correction/form2.h"

#include "calc/keypad.h"
#include "calc/recalculation.h"
#include "resources/fonts.h"
#include "resources/graphical_button.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString Caption = QStringLiteral(" Korrektur © 2026 MS");
constexpr QSize ClientArea(256, 75);
// Qt has no system desktop colour; the classic Windows desktop teal stands in for it.
constexpr QColor DesktopColour(0, 128, 128);
constexpr int EnterKeyAscii = 13;
// The hidden keypad lies where the main window's keypad would, moved right and up.
constexpr int KeypadShiftRight = 1380;
constexpr int KeypadShiftUp = 1560;

} // namespace

Form2::Form2(TapeHost& host, EngineFactory engine, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
    , m_engine(std::move(engine)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(Caption);
    setWindowIcon(QIcon(QStringLiteral(":/images/zifferon.ico")));
    setFont(fonts::WindowDefault());
    QPalette background = palette();
    background.setColor(QPalette::Window, DesktopColour);
    setPalette(background);
    setAutoFillBackground(true);
    resize(ClientArea);
    createFields();
    createKeypad();
    setTabOrder();
}

Form2::~Form2() = default;

void Form2::createFields() {
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(FromTwips(180, 120, 3495, 345));
    Text1->setToolTip(QStringLiteral("Korregieren Sie bitte hier ihre Formel."));
    Text1->setAccessibleName(Text1->toolTip());
    Text1->installEventFilter(this);

    Command1 = new GraphicalButton(QString(), QPixmap(QStringLiteral(":/images/command1.jpg")),
                                   palette().color(QPalette::Button), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(FromTwips(180, 570, 1425, 375));
    Command1->setToolTip(QStringLiteral("Berechnung der Formel nach Bestätigung."));
    Command1->setAccessibleName(Command1->toolTip());
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(FromTwips(0, 1950, 1575, 495));
    Text2->hide();
}

void Form2::createKeypad() {
    buildKeypad(*this, {KeypadShiftRight, KeypadShiftUp, false},
                [this](QChar character) { appendToField(character); });
    for (QPushButton* button : keypadInTabOrder())
        button->hide();
    connect(cmdNeg, &QPushButton::clicked, this, &Form2::cmdNeg_Click);
    connect(cmdPer, &QPushButton::clicked, this, &Form2::cmdPer_Click);
    connect(cmdBack, &QPushButton::clicked, this, &Form2::cmdBack_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Form2::cmdExit_Click);
}

void Form2::setTabOrder() {
    QList<QWidget*> chain{Text1, Command1, Text2};
    for (QPushButton* button : keypadInTabOrder())
        chain << button;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void Form2::appendToField(QChar character) {
    Text1->setText(Text1->text() + character);
}

void Form2::cmdBack_Click() {
    Text1->setText(keypad::WithoutLastCharacter(Text1->text()));
}

void Form2::cmdExit_Click() {
    Text1->clear();
}

void Form2::cmdNeg_Click() {
    Text1->setText(keypad::Negated(Text1->text()));
}

void Form2::cmdPer_Click() {
    Text1->setText(keypad::Percent(Text1->text()));
}

void Form2::Text1_KeyPress(int keyAscii) {
    if (keyAscii == EnterKeyAscii)
        Command1_Click();
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QString typed = key->text();
        Text1_KeyPress(enter ? EnterKeyAscii : typed.isEmpty() ? 0 : typed.at(0).unicode());
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::Command1_Click() {
    const QString formula = FormulaWithDecimalPoint(Text1->text());
    const QString resultText = EvaluateFormula(formula, m_engine);
    Text2->setText(resultText);
    NumberTape& tapes = m_host.tapes();
    CorrectLine(tapes, tapes.List1.selected(), formula, resultText, m_host.lineFormat());
    unload();
    emit recalculated();
}

// The close button unloads the window without touching the tapes.
void Form2::closeEvent(QCloseEvent* event) {
    discardContents();
    event->accept();
}

void Form2::unload() {
    hide();
    discardContents();
}

void Form2::discardContents() {
    Text1->clear();
    Text2->clear();
}
