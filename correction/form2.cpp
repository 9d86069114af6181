#include "correction/form2.h"

#include "calc/formula_edit.h"
#include "resources/fonts.h"
#include "resources/picture.h"
#include "widgets/accessibility.h"
#include "widgets/formula_editor.h"
#include "widgets/graphical_button.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QShortcut>

namespace {

const QString Caption = QStringLiteral(" Korrektur © 2026 MS");
constexpr QSize ClientArea(256, 75);
// Qt has no system desktop colour; the classic Windows desktop teal stands in for it.
constexpr QColor DesktopColour(0, 128, 128);

} // namespace

Form2::Form2(TapeHost& host, EngineFactory engine, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
    , m_engine(std::move(engine)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(Caption);
    ExposeWindow(*this, QAccessible::Dialog);
    setWindowIcon(Picture(QStringLiteral(":/images/zifferon.ico")).icon());
    setFont(fonts::WindowDefault());
    QPalette background = palette();
    background.setColor(QPalette::Window, DesktopColour);
    setPalette(background);
    setAutoFillBackground(true);
    resize(ClientArea);
    createFields();
    m_editor = new FormulaEditor(*Text1, formula_edit::Percent, [this] { Command1_Click(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_editor, &FormulaEditor::cmdExit_Click);
}

Form2::~Form2() = default;

void Form2::createFields() {
    Text1 = Placed(new QLineEdit(this), "Text1", FromTwips(180, 120, 3495, 345),
                   QStringLiteral("Korregieren Sie bitte hier ihre Formel."));
    Command1 = CreateCommand1(*this, FromTwips(180, 570, 1425, 375),
                              QStringLiteral("Berechnung der Formel nach Bestätigung."));
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    Text2 = Placed(new QLineEdit(this), "Text2", FromTwips(0, 1950, 1575, 495));
    Text2->hide();
}

void Form2::Command1_Click() {
    const QString formula = FormulaWithDecimalPoint(Text1->text());
    const QString resultText = EvaluateFormula(formula, m_engine);
    Text2->setText(resultText);
    m_host.changeTapes([&] {
        return CorrectLineAsChange(m_host.tapes(), m_host.selectedFormula(), formula, resultText,
                                   m_host.lineFormat());
    });
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
