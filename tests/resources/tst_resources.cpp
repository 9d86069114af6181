#include "resources/fonts.h"
#include "tests/support/gui_fixture.h"

#include <QFontDatabase>
#include <QFontInfo>

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void windowsUseLiberationSansWhereInstalled();
};

void TestResources::windowsUseLiberationSansWhereInstalled() {
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        QSKIP("Liberation Sans is not installed");
    for (const QFont& font : {fonts::WindowDefault(), fonts::SansSerif(12, true), fonts::Arial(8)})
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
}

ZIFFERON_GUI_TEST_MAIN(TestResources)
#include "tst_resources.moc"
