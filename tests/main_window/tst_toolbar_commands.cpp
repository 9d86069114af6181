#include "credits/frm_info_box.h"
#include "main_window/form1.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "toolbar/tape_file.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>

namespace {

struct RecordingDocument : DocumentTarget {
    QStringList& texts;
    explicit RecordingDocument(QStringList& into)
        : texts(into) {}
    ExportFailure createAndShow() override { return {}; }
    ExportFailure newDocument() override { return {}; }
    ExportFailure appendText(const QString& text) override {
        texts << text;
        return {};
    }
    ExportFailure release() override { return {}; }
};

struct FailingSheet : SpreadsheetTarget {
    ExportFailure createAndShow() override { return QStringLiteral("Keine Tabelle."); }
    ExportFailure newWorkbook() override { return {}; }
    ExportFailure setCell(int, int, const QString&) override { return {}; }
    ExportFailure release() override { return {}; }
};

} // namespace

class TestToolbarCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void save_then_open_appends_the_file_to_the_formula_tape();
    void failed_save_warns_and_keeps_the_tapes();
    void open_of_a_missing_file_warns();
    void word_receives_the_tapes();
    void failed_export_warns_and_keeps_the_tapes();
    void info_opens_one_window();

private:
    void press(const QString& key) {
        QTest::mouseClick(m_window->findChild<QToolButton*>("Toolbar1_" + key), Qt::LeftButton);
    }
    void evaluate(const QString& formula) {
        m_window->Text1->setText(formula);
        m_window->Command1_Click();
    }
    // The text of the one message said, which must be a warning.
    QString onlyWarning() const {
        if (m_messages->said.size() != 1 || m_messages->said[0].icon != MessageBoxes::Icon::Warning)
            return QStringLiteral("(not one warning)");
        return m_messages->said[0].text;
    }
    QStringList snapshot() const {
        const NumberTape& tapes = m_window->tapes();
        return tapes.List1.lines() + tapes.List2.lines() + tapes.List3.lines();
    }

    std::unique_ptr<Form1> m_window;
    std::shared_ptr<RecordingMessageBoxes> m_messages;
    QStringList m_documentTexts;
};

void TestToolbarCommands::init() {
    QDir(QDir::homePath()).removeRecursively();
    QDir().mkpath(QDir::homePath());
    m_documentTexts.clear();
    m_messages = std::make_shared<RecordingMessageBoxes>();
    Form1Services services = Form1Services::Default();
    services.messages = m_messages;
    services.wordTarget = [this] { return std::make_unique<RecordingDocument>(m_documentTexts); };
    services.excelTarget = [] { return std::make_unique<FailingSheet>(); };
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestToolbarCommands::cleanup() {
    m_window.reset();
}

void TestToolbarCommands::save_then_open_appends_the_file_to_the_formula_tape() {
    evaluate("2+3");
    press("Speichern");
    QFile file(TapeFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("Eingabe Zeile Spalte\r\n"));
    press("Oeffnen");
    const NumberTape& tapes = m_window->tapes();
    QCOMPARE(tapes.List1.count(), 3);
    QCOMPARE(tapes.List1.text(1).trimmed(), QStringLiteral("Eingabe Zeile Spalte"));
    QCOMPARE(tapes.List2.count(), 1);
    QCOMPARE(tapes.List3.count(), 1);
}

void TestToolbarCommands::failed_save_warns_and_keeps_the_tapes() {
    evaluate("2+3");
    QDir().mkpath(QDir::homePath() + "/Programme/Morvantis");
    QFile blocker(QDir::homePath() + "/Programme/Morvantis/Zahlen");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList before = snapshot();
    press("Speichern");
    QVERIFY2(onlyWarning().contains("Zahlen.txt"), qPrintable(onlyWarning()));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::open_of_a_missing_file_warns() {
    evaluate("4");
    const QStringList before = snapshot();
    press("Oeffnen");
    QVERIFY2(onlyWarning().contains("Zahlen.txt"), qPrintable(onlyWarning()));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::word_receives_the_tapes() {
    evaluate("2+3");
    press("Word");
    QStringList trimmed;
    for (const QString& text : m_documentTexts)
        trimmed << text.trimmed();
    QCOMPARE(trimmed, (QStringList{"2+3", "", "5,00", "", "5,00", ""}));
    QVERIFY(m_documentTexts.first().endsWith("\r\n"));
}

void TestToolbarCommands::failed_export_warns_and_keeps_the_tapes() {
    evaluate("2+3");
    const QStringList before = snapshot();
    press("Excel");
    QCOMPARE(onlyWarning(), QStringLiteral("Keine Tabelle."));
    QCOMPARE(snapshot(), before);
}

void TestToolbarCommands::info_opens_one_window() {
    press("Info");
    QPointer<frmInfoBox> first = m_window->infoBox().window();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    press("Info");
    QCOMPARE(m_window->infoBox().window(), first.data());
    QVERIFY(m_window->isEnabled());
}

ZIFFERON_GUI_TEST_MAIN(TestToolbarCommands)
#include "tst_toolbar_commands.moc"
