#include "main_window/form1.h"
#include "main_window/keypad.h"
#include "main_window/tape_view.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

namespace {

// What the window looked like when the printer took its image.
struct PrintedWindow {
    QStringList hiddenControls;
    QStringList visibleControls;
    QColor backColour;
    bool hadPicture = true;
    int selectedTotal = -2;
    int selectedFormula = -2;
    QImage image;
};

// The window's controls, the keypad's buttons among them.
QList<QWidget*> controlsOf(QWidget& window) {
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<Keypad*>(child))
            controls << child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        else
            controls << child;
    }
    return controls;
}

// Records the job instead of printing it; finish() answers with the given result.
struct RecordingPrinter : TapePrinter {
    QStringList& calls;
    PrintedWindow& printed;
    const Form1& form;
    std::optional<Failure> result;

    RecordingPrinter(QStringList& callLog, PrintedWindow& into, const Form1& window,
                     std::optional<Failure> answer)
        : calls(callLog)
        , printed(into)
        , form(window)
        , result(std::move(answer)) {}

    void printLine(const QString& text) override { calls << "line:" + text; }

    void printWindow(QWidget& window) override {
        calls << "window:" + window.objectName();
        for (QWidget* control : controlsOf(window)) {
            if (control->objectName().isEmpty())
                continue;
            (control->isHidden() ? printed.hiddenControls : printed.visibleControls)
                << control->objectName();
        }
        printed.backColour = form.backColour();
        printed.hadPicture = !form.picture().isNull();
        printed.selectedTotal = SelectedRow(*form.List3);
        printed.selectedFormula = SelectedRow(*form.List1);
        printed.image = window.grab().toImage();
    }

    std::optional<Failure> finish() override {
        calls << "finish";
        return result;
    }
};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

QStringList keypadNames(const Form1& window) {
    QStringList names;
    for (const QPushButton* button : window.keypad().buttonsByName())
        names << button->objectName();
    return names;
}

QStringList printedControlNames() {
    return {"List1", "List2", "List3", "Label2_0", "Label3", "Label4"};
}

QImage layoutImage() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 90));
    return image;
}

// Shows every highlight of a list boldly: the current line's focus frame, also when the focus did
// not come by keyboard, and the line under the mouse.
class HighlightingStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) {
            painter->setPen(Qt::red);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            return;
        }
        if (element == PE_PanelItemViewItem && option->state.testFlag(State_MouseOver))
            painter->fillRect(option->rect, QColor(255, 220, 0));
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

// The pixels of one line of the list as far as it is in view, as the window image shows them.
QImage lineIn(const QImage& windowImage, const QListView& list, int row) {
    const QRect line =
        list.visualRect(list.model()->index(row, 0)).intersected(list.viewport()->rect());
    const QRect inWindow(list.viewport()->mapTo(list.window(), line.topLeft()), line.size());
    const qreal ratio = windowImage.devicePixelRatio();
    return windowImage.copy(QRect((QPointF(inWindow.topLeft()) * ratio).toPoint(),
                                  (QSizeF(inWindow.size()) * ratio).toSize()));
}

int pdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eleven_empty_lines_come_before_the_window_image();
    void only_the_tapes_and_their_headings_are_printed();
    void printing_restores_the_window();
    void printing_deselects_only_the_last_total_data();
    void printing_deselects_only_the_last_total();
    void deselected_last_total_prints_without_any_highlight();
    void layout_that_cannot_be_loaded_keeps_the_picture_data();
    void layout_that_cannot_be_loaded_keeps_the_picture();
    void failed_print_warns_and_restores_the_window_data();
    void failed_print_warns_and_restores_the_window();
    void pdf_page_holds_the_window_image();
    void unwritable_pdf_is_reported();

private:
    void createWindow(std::function<std::unique_ptr<TapePrinter>()> printer);
    void useRecordingPrinter(std::optional<Failure> result = std::nullopt);
    void verifyRestored() const;
    void evaluate(const QString& formula) {
        m_window->Text1->setText(formula);
        m_window->Command1_Click();
    }
    void pressPrint() {
        QTest::mouseClick(m_window->findChild<QToolButton*>("Toolbar1_Drucken"), Qt::LeftButton);
    }
    QString layoutPath() const {
        return QDir::homePath() + QStringLiteral("/Programme/Morvantis/Layout.jpg");
    }

    std::unique_ptr<Form1> m_window;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
    QStringList m_calls;
    PrintedWindow m_printed;
};

void TestPrinting::init() {
    QDir(QDir::homePath()).removeRecursively();
    QDir().mkpath(QDir::homePath());
    m_calls.clear();
    m_printed = {};
    m_messages = std::make_shared<RecordingMessageBoxes>();
    QVERIFY(QDir().mkpath(QFileInfo(layoutPath()).path()));
    QVERIFY(layoutImage().save(layoutPath(), "JPG", 100));
}

void TestPrinting::cleanup() {
    m_window.reset();
}

void TestPrinting::createWindow(std::function<std::unique_ptr<TapePrinter>()> printer) {
    Form1Services services = Form1Services::Default();
    services.printer = std::move(printer);
    services.layoutPicture = layoutPath();
    services.messages = m_messages;
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPrinting::useRecordingPrinter(std::optional<Failure> result) {
    createWindow([this, result] {
        return std::make_unique<RecordingPrinter>(m_calls, m_printed, *m_window, result);
    });
}

void TestPrinting::verifyRestored() const {
    for (QPushButton* button : m_window->keypad().buttonsByName())
        QVERIFY2(!button->isHidden(), qPrintable(button->objectName()));
    for (QWidget* control :
         QList<QWidget*>{m_window->Toolbar1, m_window->Combo1, m_window->Command1,
                         m_window->Label2[1], m_window->Text1})
        QVERIFY2(!control->isHidden(), qPrintable(control->objectName()));
    QVERIFY(m_window->Text2->isHidden());
    QVERIFY(m_window->Text3->isHidden());
    QCOMPARE(m_window->backColour(), m_window->palette().color(QPalette::Button));
}

void TestPrinting::eleven_empty_lines_come_before_the_window_image() {
    useRecordingPrinter();
    pressPrint();
    QStringList expected(11, QStringLiteral("line:\r\n"));
    expected << "window:Form1"
             << "finish";
    QCOMPARE(m_calls, expected);
}

void TestPrinting::only_the_tapes_and_their_headings_are_printed() {
    useRecordingPrinter();
    evaluate("2+3");
    pressPrint();
    const QStringList keypad{"cmd0",    "cmd1",    "cmd2",   "cmd3",   "cmd4",
                             "cmd5",    "cmd6",    "cmd7",   "cmd8",   "cmd9",
                             "cmdAdd",  "cmdBack", "cmdDec", "cmdDiv", "cmdEqual",
                             "cmdExit", "cmdMul",  "cmdNeg", "cmdPer", "cmdSub"};
    QCOMPARE(keypadNames(*m_window), keypad); // the order in which printing hides them
    QStringList hidden{"Toolbar1", "Combo1", "Command1", "Label2_1", "Text1", "Text2", "Text3"};
    hidden << keypad;
    QCOMPARE(sorted(m_printed.hiddenControls), sorted(hidden));
    QCOMPARE(sorted(m_printed.visibleControls), sorted(printedControlNames()));
    QCOMPARE(m_printed.backColour, m_window->palette().color(QPalette::Base));
    QVERIFY(!m_printed.hadPicture);
    QVERIFY(!m_printed.image.isNull());
}

void TestPrinting::printing_restores_the_window() {
    useRecordingPrinter();
    m_window->setBackColour(Qt::darkGreen);
    pressPrint();
    verifyRestored();
    QCOMPARE(m_window->picture().size(), layoutImage().size());
    const QColor centre = m_window->picture().forRatio(1).toImage().pixelColor(20, 15);
    QVERIFY2(qAbs(centre.red() - 200) < 8 && qAbs(centre.blue() - 90) < 8,
             qPrintable(centre.name()));
}

void TestPrinting::layout_that_cannot_be_loaded_keeps_the_picture_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("told");
    QTest::newRow("missing, as for every user: silently") << false << QByteArray() << false;
    QTest::newRow("there but not a picture: told") << true << QByteArray("kein JPEG") << true;
}

void TestPrinting::layout_that_cannot_be_loaded_keeps_the_picture() {
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, told);
    useRecordingPrinter();
    QVERIFY(QFile::remove(layoutPath()));
    if (present) {
        QFile layout(layoutPath());
        QVERIFY(layout.open(QIODevice::WriteOnly));
        layout.write(bytes);
    }
    const QImage builtIn = m_window->picture().forRatio(1).toImage();
    const QImage builtInDouble = m_window->picture().forRatio(2).toImage();
    QCOMPARE(builtInDouble.size(), builtIn.size() * 2);
    pressPrint();
    QVERIFY(m_calls.contains(QStringLiteral("finish")));
    verifyRestored();
    QCOMPARE(m_window->picture().forRatio(1).toImage(), builtIn);
    QCOMPARE(m_window->picture().forRatio(2).toImage(), builtInDouble);
    QCOMPARE(m_messages->said.size(), told ? 1 : 0);
    if (told) {
        const RecordingMessageBoxes::Said& said = m_messages->said.first();
        QCOMPARE(said.icon, MessageBoxes::Icon::Warning);
        QVERIFY2(said.text.contains(QStringLiteral("Layout.jpg")), qPrintable(said.text));
    }
}

void TestPrinting::printing_deselects_only_the_last_total_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("selectedTotal");
    QTest::addColumn<int>("printedTotal");

    QTest::newRow("empty tapes") << 0 << -1 << -1;
    QTest::newRow("last total") << 3 << 2 << -1;
    QTest::newRow("single total") << 1 << 0 << -1;
    QTest::newRow("earlier total stays") << 3 << 1 << 1;
    QTest::newRow("nothing selected") << 3 << -1 << -1;
}

void TestPrinting::printing_deselects_only_the_last_total() {
    QFETCH(int, lines);
    QFETCH(int, selectedTotal);
    QFETCH(int, printedTotal);

    useRecordingPrinter();
    for (int line = 0; line < lines; ++line)
        evaluate(QString::number(line + 1));
    const QListView& totals = *m_window->List3;
    if (selectedTotal >= 0) {
        const QRect row =
            m_window->List3->visualRect(m_window->List3->model()->index(selectedTotal, 0));
        QTest::mouseClick(m_window->List3->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(SelectedRow(totals), selectedTotal);
    }
    if (lines > 0)
        m_window->List1->selectionModel()->select(m_window->List1->model()->index(lines - 1, 0),
                                                  QItemSelectionModel::ClearAndSelect);
    pressPrint();
    QCOMPARE(m_printed.selectedTotal, printedTotal);
    QCOMPARE(SelectedRow(totals), printedTotal);
    QCOMPARE(m_window->List3->selectionModel()->hasSelection(), printedTotal >= 0);
    QCOMPARE(m_printed.selectedFormula, lines - 1);
}

// The user selected the last total (to copy it), so its list has the focus and its current line,
// and the mouse rests on it while Ctrl+P prints. The printed line looks as if it had never been
// selected; the selection of a calculation line still shows.
void TestPrinting::deselected_last_total_prints_without_any_highlight() {
    useRecordingPrinter();
    HighlightingStyle style;
    for (QListView* tape : {m_window->List1, m_window->List2, m_window->List3}) {
        tape->setStyle(&style);
        tape->viewport()->setAttribute(Qt::WA_Hover); // as styles that show hover set it
    }
    for (const char* formula : {"1", "2", "3"})
        evaluate(formula);
    QListView* totals = m_window->List3;
    const QPoint lastTotal = totals->visualRect(totals->model()->index(2, 0)).center();
    QItemSelectionModel& calculations = *m_window->List2->selectionModel();
    calculations.select(m_window->List2->model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
    QTest::mouseClick(totals->viewport(), Qt::LeftButton, {}, lastTotal);
    QTest::mouseMove(totals->viewport(), lastTotal);
    QVERIFY(totals->hasFocus());
    QCOMPARE(totals->currentIndex().row(), 2);

    QTest::keyClick(totals, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(!m_printed.image.isNull());
    QVERIFY(totals->hasFocus());

    calculations.clearSelection();
    m_window->setFocus();
    QTest::mouseMove(m_window.get(), QPoint(5, m_window->height() - 5));
    const QImage unselected = m_window->grab().toImage();
    QCOMPARE(lineIn(m_printed.image, *totals, 2), lineIn(unselected, *totals, 2));
    QVERIFY(lineIn(m_printed.image, *m_window->List2, 1) !=
            lineIn(unselected, *m_window->List2, 1));
    QCOMPARE(lineIn(m_printed.image, *m_window->List2, 2), lineIn(unselected, *m_window->List2, 2));
}

void TestPrinting::failed_print_warns_and_restores_the_window_data() {
    QTest::addColumn<QString>("reason");

    QTest::newRow("no printer") << QStringLiteral("Es ist kein Standarddrucker eingerichtet.");
    QTest::newRow("job refused") << QStringLiteral("Der Drucker hat den Auftrag abgelehnt.");
}

void TestPrinting::failed_print_warns_and_restores_the_window() {
    QFETCH(QString, reason);

    useRecordingPrinter(Failure(reason));
    evaluate("7*6");
    const QStringList tapes = m_window->tapes().List3.lines();
    pressPrint();
    QCOMPARE(m_messages->said,
             (QList<RecordingMessageBoxes::Said>{{MessageBoxes::Icon::Warning, reason}}));
    verifyRestored();
    QVERIFY(!m_window->picture().isNull());
    QCOMPARE(m_window->tapes().List3.lines(), tapes);
}

void TestPrinting::pdf_page_holds_the_window_image() {
    const QString pdf = QDir::homePath() + QStringLiteral("/band.pdf");
    createWindow([pdf] { return CreatePdfPrinter(pdf); });
    evaluate("2+3");
    pressPrint();
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("%PDF-"));
    QCOMPARE(pdfPageCount(content), 1);
    QVERIFY(content.contains("/Subtype /Image"));
}

void TestPrinting::unwritable_pdf_is_reported() {
    const QString pdf = QDir::homePath() + QStringLiteral("/fehlt/band.pdf");
    createWindow([pdf] { return CreatePdfPrinter(pdf); });
    pressPrint();
    QCOMPARE(m_messages->said.size(), 1);
    const QString& said = m_messages->said.first().text;
    QVERIFY2(said.contains(QStringLiteral("band.pdf")), qPrintable(said));
    QVERIFY(said.contains(QStringLiteral("nicht gedruckt")));
    QVERIFY(!m_window->Text1->isHidden());
}

ZIFFERON_GUI_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
