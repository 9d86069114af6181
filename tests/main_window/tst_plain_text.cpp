// Text from outside the program (typed, computed, read from a file, named by a path) is shown as
// the characters it holds wherever the main window and its helpers show it.
#include "correction/form2.h"
#include "files/windows1252.h"
#include "formats/tape_file.h"
#include "main_window/form1.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/shown_text.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>
#include <QToolTip>

namespace {

enum class Shown { FormulaTooltip, ResultTooltip, OpenedLineTooltip, CorrectionField, MessageBox };

// Enough to make any line too wide for its list.
const QString Tail = QStringLiteral("1234567890123456789012345678901234567890");

} // namespace

Q_DECLARE_METATYPE(Shown)

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void outsideTextIsShownAsItStands_data();
    void outsideTextIsShownAsItStands();

private:
    void createWindow(std::shared_ptr<MessageBoxes> messages, const QString& tapeFile);
    void press(const QString& key) {
        QTest::mouseClick(m_window->findChild<QToolButton*>("Toolbar1_" + key), Qt::LeftButton);
    }
    void evaluate(const QString& formula) {
        QTest::keyClicks(m_window->Text1, formula);
        QTest::keyClick(m_window->Text1, Qt::Key_Return);
    }
    // What the tooltip of the list's first line shows.
    QString tooltipOfFirstLine(QListView& view);
    // What the window shows of the text in the place.
    QString shownIn(Shown place, const QString& text);

    std::unique_ptr<Form1> m_window;
};

void TestPlainText::cleanup() {
    m_window.reset();
    QToolTip::hideText();
}

void TestPlainText::createWindow(std::shared_ptr<MessageBoxes> messages, const QString& tapeFile) {
    Form1Services services = Form1Services::Default();
    services.messages = std::move(messages);
    services.tapeFile = tapeFile;
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_window->Text1->setFocus();
}

QString TestPlainText::tooltipOfFirstLine(QListView& view) {
    const QPoint at = view.visualRect(view.model()->index(0, 0)).center();
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(an earlier tooltip stays)");
    QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &help);
    if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }))
        return QStringLiteral("(no tooltip)");
    return ShownText(QToolTip::text());
}

QString TestPlainText::shownIn(Shown place, const QString& text) {
    switch (place) {
    case Shown::FormulaTooltip:
        evaluate(text);
        return tooltipOfFirstLine(*m_window->List1);
    case Shown::ResultTooltip:
        evaluate('"' + QString(text).replace('"', "\"\"") + '"');
        return tooltipOfFirstLine(*m_window->List2);
    case Shown::OpenedLineTooltip:
        if (!QDir().mkpath(QFileInfo(TapeFilePath()).absolutePath()) ||
            !writeFile(TapeFilePath(), EncodeWindows1252(text) + "\r\n"))
            return QStringLiteral("(no tape file)");
        press("Oeffnen");
        return tooltipOfFirstLine(*m_window->List1);
    case Shown::CorrectionField: {
        evaluate(text);
        const QRect line = m_window->List1->visualRect(m_window->List1->model()->index(0, 0));
        QTest::mouseClick(m_window->List1->viewport(), Qt::LeftButton, {}, line.center());
        Form2* correction = m_window->correctionWindow();
        return correction ? correction->Text1->text() : QStringLiteral("(no correction window)");
    }
    case Shown::MessageBox: {
        const gui_test::SeenMessage seen =
            gui_test::closeMessageBoxDuring([this] { press("Oeffnen"); });
        return ShownText(seen.text, seen.textFormat);
    }
    }
    return {};
}

void TestPlainText::outsideTextIsShownAsItStands_data() {
    QTest::addColumn<Shown>("place");
    QTest::addColumn<QString>("text");
    const std::pair<const char*, Shown> places[] = {
        {"tooltip of a typed formula", Shown::FormulaTooltip},
        {"tooltip of a text result", Shown::ResultTooltip},
        {"tooltip of an opened line", Shown::OpenedLineTooltip},
        {"correction field", Shown::CorrectionField},
        {"message naming the tape file", Shown::MessageBox},
    };
    const std::pair<const char*, QString> markups[] = {
        {"bold", QStringLiteral("<b>x</b>")},
        {"picture of a device", QStringLiteral("<img src=\"file:///dev/zero\">")},
    };
    for (const auto& [where, place] : places) {
        for (const auto& [what, markup] : markups)
            QTest::addRow("%s, %s", where, what) << place << markup + Tail;
    }
}

void TestPlainText::outsideTextIsShownAsItStands() {
    QFETCH(Shown, place);
    QFETCH(QString, text);
    // The message names the tape file, whose path holds the text.
    const QString tapeFile = QDir::homePath() + '/' + text + "/Zahlen.txt";
    if (place == Shown::MessageBox)
        createWindow(std::make_shared<QtMessageBoxes>(), tapeFile);
    else
        createWindow(std::make_shared<RecordingMessageBoxes>(), TapeFilePath());

    const QString shown = shownIn(place, text);

    QVERIFY2(shown.contains(place == Shown::MessageBox ? tapeFile : text), qPrintable(shown));
}

ZIFFERON_GUI_TEST_MAIN(TestPlainText)
#include "tst_plain_text.moc"
