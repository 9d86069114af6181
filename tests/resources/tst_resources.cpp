#include "resources/fonts.h"
#include "tests/support/gui_fixture.h"
#include "widgets/message_boxes.h"

#include <QFontDatabase>
#include <QFontInfo>

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void windowsUseLiberationSansWhereInstalled();
    void messageBoxHasTitleIconAndOk_data();
    void messageBoxHasTitleIconAndOk();
};

void TestResources::windowsUseLiberationSansWhereInstalled() {
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        QSKIP("Liberation Sans is not installed");
    for (const QFont& font : {fonts::WindowDefault(), fonts::SansSerif(12, true), fonts::Arial(8)})
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
}

void TestResources::messageBoxHasTitleIconAndOk_data() {
    QTest::addColumn<MessageBoxes::Icon>("icon");
    QTest::addColumn<QMessageBox::Icon>("shown");
    QTest::newRow("warning") << MessageBoxes::Icon::Warning << QMessageBox::Warning;
    QTest::newRow("information") << MessageBoxes::Icon::Information << QMessageBox::Information;
}

void TestResources::messageBoxHasTitleIconAndOk() {
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

ZIFFERON_GUI_TEST_MAIN(TestResources)
#include "tst_resources.moc"
