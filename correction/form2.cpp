#include "correction/form2.h"

#include "calc/keypad.h"
#include "calc/recalculation.h"
#include "resources/fonts.h"
#include "resources/graphical_button.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

#include <map>

namespace {

const QString Caption = QStringLiteral(" Korrektur © 2026 MS");
constexpr QSize ClientArea(256, 75);
// Qt has no system desktop colour; the classic Windows desktop teal stands in for it.
constexpr QColor DesktopColour(0, 128, 128);
constexpr int EnterKeyAscii = 13;
// The hidden keypad lies where the main window's keypad would, moved right and up.
constexpr int KeypadShiftRight = 1380;
constexpr int KeypadShiftUp = 1560;

QPixmap faceFor(keypad::Face face) {
    switch (face) {
    case keypad::Face::A:
        return QPixmap(QStringLiteral(":/images/face_a.jpg"));
    case keypad::Face::B:
        return QPixmap(QStringLiteral(":/images/face_b.jpg"));
    case keypad::Face::C:
        return QPixmap(QStringLiteral(":/images/face_c.jpg"));
    }
    return {};
}

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
    const std::map<QString, QPushButton* Form2::*> members = {
        {"cmd0", &Form2::cmd0},         {"cmd1", &Form2::cmd1},      {"cmd2", &Form2::cmd2},
        {"cmd3", &Form2::cmd3},         {"cmd4", &Form2::cmd4},      {"cmd5", &Form2::cmd5},
        {"cmd6", &Form2::cmd6},         {"cmd7", &Form2::cmd7},      {"cmd8", &Form2::cmd8},
        {"cmd9", &Form2::cmd9},         {"cmdAdd", &Form2::cmdAdd},  {"cmdSub", &Form2::cmdSub},
        {"cmdMul", &Form2::cmdMul},     {"cmdDiv", &Form2::cmdDiv},  {"cmdDec", &Form2::cmdDec},
        {"cmdEqual", &Form2::cmdEqual}, {"cmdNeg", &Form2::cmdNeg},  {"cmdPer", &Form2::cmdPer},
        {"cmdBack", &Form2::cmdBack},   {"cmdExit", &Form2::cmdExit}};
    for (const keypad::Key& key : keypad::Keys) {
        auto* button = new GraphicalButton(QString::fromUtf8(key.caption), faceFor(key.face),
                                           QColor(key.backColour), this);
        button->setObjectName(QLatin1String(key.name));
        button->setGeometry(FromTwips(key.left + KeypadShiftRight, key.top - KeypadShiftUp,
                                      key.width, keypad::KeySize));
        button->setFont(fonts::SansSerif(key.width == keypad::KeySize ? 12 : 9.75, true));
        button->setFocusPolicy(Qt::StrongFocus);
        button->hide();
        this->*members.at(QLatin1String(key.name)) = button;
        if (key.character != 0) {
            const QChar character = QLatin1Char(key.character);
            connect(button, &QPushButton::clicked, this,
                    [this, character] { appendToField(character); });
        }
    }
    connect(cmdNeg, &QPushButton::clicked, this, &Form2::cmdNeg_Click);
    connect(cmdPer, &QPushButton::clicked, this, &Form2::cmdPer_Click);
    connect(cmdBack, &QPushButton::clicked, this, &Form2::cmdBack_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Form2::cmdExit_Click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdExit, &QPushButton::click);
}

QList<QPushButton*> Form2::keypadButtons() const {
    QList<QPushButton*> buttons;
    for (const keypad::Key& key : keypad::Keys)
        buttons << findChild<QPushButton*>(QLatin1String(key.name));
    return buttons;
}

void Form2::setTabOrder() {
    QList<QWidget*> chain{Text1, Command1, Text2};
    for (QPushButton* button : keypadButtons())
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
