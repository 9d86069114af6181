#include "credits/frm_start.h"
#include "resources/fonts.h"
#include "tests/support/gui_fixture.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

using namespace std::chrono_literals;

namespace {

constexpr auto ShortInterval = 1000ms;

// Stands in for the main window: records the hand-over.
struct MainWindowStandIn {
    QWidget window;
    int shown = 0;
    bool splashVisibleWhenShown = false;
    QPointer<frmStart> splash;

    std::function<void()> callback() {
        return [this] {
            ++shown;
            splashVisibleWhenShown = splash && splash->isVisible();
            window.show();
        };
    }
};

QStringList roleLabels() {
    return {QStringLiteral("Graphik und Design:"), QStringLiteral("Programmierung:"),
            QStringLiteral("Qualitätssicherung und Softwaretest:"),
            QStringLiteral("Handbuch und Onlinehilfe:"),
            QStringLiteral("Korrekturlesen des Handbuches und Hilfe:")};
}

} // namespace

class TestFrmStart : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void program_waitsTwentySeconds();
    void handOver_showsMainWindowFirstThenDeletesSplash();
    void input_changesNothingBeforeTheHandOver();
    void controls_data();
    void controls();
    void texts_fixedOnes();
    void creditLines_namesStandInOneColumn();
};

void TestFrmStart::cleanup() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmStart*>(widget))
            delete widget;
    }
}

void TestFrmStart::program_waitsTwentySeconds() {
    frmStart* splash = new frmStart([] {});
    QCOMPARE(splash->Timer1->interval(), 20000);
    QVERIFY(splash->Timer1->isSingleShot());
    QVERIFY(splash->Timer1->isActive());
    // A coarse timer may fire up to a second early.
    QCOMPARE(splash->Timer1->timerType(), Qt::PreciseTimer);
}

void TestFrmStart::handOver_showsMainWindowFirstThenDeletesSplash() {
    MainWindowStandIn main;
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
    main.splash = new frmStart(main.callback(), ShortInterval);
    main.splash->show();

    QTest::qWait(200);
    QCOMPARE(main.shown, 0);

    QTRY_COMPARE(main.shown, 1);
    QVERIFY(main.splashVisibleWhenShown);
    QTRY_VERIFY(main.splash.isNull());
    QVERIFY(main.window.isVisible());
    QCOMPARE(lastWindowClosed.count(), 0);
    QTest::qWait(100);
    QCOMPARE(main.shown, 1);
}

void TestFrmStart::input_changesNothingBeforeTheHandOver() {
    MainWindowStandIn main;
    main.splash = new frmStart(main.callback(), ShortInterval);
    main.splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.splash));

    QTest::mouseClick(main.splash, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseDClick(main.splash, Qt::LeftButton, {}, QPoint(300, 400));
    QTest::mouseClick(main.splash->Label1[0], Qt::LeftButton);
    QTest::keyClick(main.splash, Qt::Key_Escape);
    QTest::keyClick(main.splash, Qt::Key_Return);
    QTest::keyClick(main.splash, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(main.splash, Qt::Key_Space);
    const bool closed = main.splash->close();

    QVERIFY(!closed);
    QVERIFY(main.splash->isVisible());
    QCOMPARE(main.shown, 0);
    QTRY_COMPARE(main.shown, 1);
    QTRY_VERIFY(main.splash.isNull());
}

void TestFrmStart::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<int>("fontPixels");
    // Places in pixels of the twip positions (15 twips a pixel).
    const int arial = fonts::Arial(8.25).pixelSize();
    const int normal = fonts::WindowDefault().pixelSize();
    QTest::newRow("lblCopyright") << "lblCopyright" << QRect(160, 272, 129, 17) << arial;
    QTest::newRow("lblCompany_0") << "lblCompany_0" << QRect(160, 296, 105, 17) << arial;
    QTest::newRow("lblCompany_1") << "lblCompany_1" << QRect(392, 272, 145, 17) << arial;
    QTest::newRow("lblCompany_2") << "lblCompany_2" << QRect(160, 320, 105, 17) << arial;
    QTest::newRow("lblCompany_3") << "lblCompany_3" << QRect(160, 344, 105, 17) << arial;
    QTest::newRow("lblCompany_4") << "lblCompany_4" << QRect(392, 296, 121, 17) << arial;
    QTest::newRow("lblCompany_5") << "lblCompany_5" << QRect(392, 320, 145, 17) << arial;
    QTest::newRow("lblCompany_6") << "lblCompany_6" << QRect(392, 344, 145, 17) << arial;
    QTest::newRow("Label1_0") << "Label1_0" << QRect(152, 384, 473, 25)
                              << fonts::SansSerif(12).pixelSize();
    QTest::newRow("Label1_1") << "Label1_1" << QRect(152, 416, 489, 17) << normal;
    QTest::newRow("Label1_2") << "Label1_2" << QRect(152, 432, 425, 17) << normal;
    QTest::newRow("Label1_3") << "Label1_3" << QRect(152, 448, 425, 17) << normal;
    QTest::newRow("Label1_4") << "Label1_4" << QRect(152, 464, 305, 17) << normal;
    QTest::newRow("Label1_5") << "Label1_5" << QRect(152, 480, 433, 17) << normal;
    QTest::newRow("Label2") << "Label2" << QRect(152, 512, 457, 41) << normal;
    QTest::newRow("Label3") << "Label3" << QRect(152, 568, 433, 33) << normal;
}

void TestFrmStart::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(int, fontPixels);
    frmStart splash([] {});
    auto* label = splash.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->pos(), place.topLeft());
    QCOMPARE(label->height(), place.height());
    QVERIFY(label->width() >= place.width());
    if (label->wordWrap()) {
        QCOMPARE(label->width(), place.width());
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(), "text is cut off");
    } else
        QVERIFY2(label->sizeHint().width() <= label->width(), "text is cut off");
    QCOMPARE(label->font().pixelSize(), fontPixels);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(!label->autoFillBackground());
    QVERIFY(!label->text().isEmpty());
}

void TestFrmStart::texts_fixedOnes() {
    frmStart splash([] {});
    QCOMPARE(splash.size(), QSize(675, 610));
    const QPoint offCentre = splash.frameGeometry().center() -
                             QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 2);
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.lblCompany[0]->text(), QStringLiteral("Morvantis"));
    QCOMPARE(
        splash.Label1[0]->text(),
        QStringLiteral("Speziellen Dank für die Hilfe und Erstellung dieser Software gilt für:"));
    for (const char* name : {"Line1_2", "Line1_0"}) {
        auto* rule = splash.findChild<QFrame*>(name);
        QVERIFY(rule);
        QCOMPARE(rule->palette().color(QPalette::Window), QColor(255, 0, 0));
        QVERIFY(rule->autoFillBackground());
    }
    QCOMPARE(splash.findChild<QFrame*>("Line1_2")->geometry(), QRect(0, 248, 673, 1));
    QCOMPARE(splash.findChild<QFrame*>("Line1_0")->geometry(), QRect(0, 376, 681, 1));
}

void TestFrmStart::creditLines_namesStandInOneColumn() {
    frmStart splash([] {});
    const QFontMetricsF metrics(fonts::WindowDefault());
    QList<qreal> nameStarts;
    for (int index = 1; index <= 5; ++index) {
        const QString text = splash.Label1[index]->text();
        const QString role = roleLabels()[index - 1];
        QVERIFY2(text.startsWith(role + ' '), qPrintable(text));
        qsizetype nameStart = role.size();
        while (text[nameStart] == ' ')
            ++nameStart;
        QVERIFY(nameStart < text.size());
        nameStarts.append(metrics.horizontalAdvance(text.left(nameStart)));
    }
    const auto [least, most] = std::minmax_element(nameStarts.cbegin(), nameStarts.cend());
    QVERIFY(*most - *least < metrics.horizontalAdvance(' '));
}

ZIFFERON_GUI_TEST_MAIN(TestFrmStart)
#include "tst_frm_start.moc"
