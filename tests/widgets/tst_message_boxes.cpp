#include "tests/support/gui_fixture.h"
#include "widgets/message_boxes.h"

class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void messageBoxHasTitleIconAndOk_data();
    void messageBoxHasTitleIconAndOk();
};

void TestMessageBoxes::messageBoxHasTitleIconAndOk_data() {
    QTest::addColumn<MessageBoxes::Icon>("icon");
    QTest::addColumn<QMessageBox::Icon>("shown");
    QTest::newRow("warning") << MessageBoxes::Icon::Warning << QMessageBox::Warning;
    QTest::newRow("information") << MessageBoxes::Icon::Information << QMessageBox::Information;
}

void TestMessageBoxes::messageBoxHasTitleIconAndOk() {
    QFETCH(MessageBoxes::Icon, icon);
    QFETCH(QMessageBox::Icon, shown);
    QtMessageBoxes boxes;
    const gui_test::SeenMessage seen =
        gui_test::closeMessageBoxDuring([&] { boxes.show(icon, QStringLiteral("8,00 kopiert.")); });
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, QStringLiteral("Zifferon"));
    QCOMPARE(seen.text, QStringLiteral("8,00 kopiert."));
    QCOMPARE(seen.icon, shown);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

ZIFFERON_GUI_TEST_MAIN(TestMessageBoxes)
#include "tst_message_boxes.moc"
