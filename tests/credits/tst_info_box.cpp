#include "calc/windows1252.h"
#include "credits/frm_info_box.h"
#include "tests/credits/manual_scroll_timer.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>

using namespace std::chrono_literals;

namespace {

const QColor DarkBlue(0, 0, 80);
const QColor Green(0, 160, 0);

// A logo of one colour inside a frame of another.
QImage framedLogo(QSize size, int frame, QColor inside, QColor outside) {
    QImage logo(size, QImage::Format_RGB32);
    logo.fill(outside);
    QPainter(&logo).fillRect(logo.rect().adjusted(frame, frame, -frame, -frame), inside);
    return logo;
}

bool nearly(QColor actual, QColor expected) {
    return qAbs(actual.red() - expected.red()) < 24 &&
           qAbs(actual.green() - expected.green()) < 24 &&
           qAbs(actual.blue() - expected.blue()) < 24;
}

// Rows of the image (pixels) in which some pixel is near white.
QList<int> rowsWithWhite(const QImage& image) {
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (nearly(image.pixelColor(x, y), Qt::white)) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

int infoBoxWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<frmInfoBox*>(widget) != nullptr;
    return count;
}

} // namespace

class TestInfoBox : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window_hasItsControlsInPlace();
    void firstOpening_textStartsJustBelowTheBottomEdge();
    void tick_drawsTheLinesInViewOverTheLogo();
    void scrolling_wrapsAroundOnceTheTextHasLeftAtTheTop();
    void tick_imageIsWhatAFreshDrawingGives_data();
    void tick_imageIsWhatAFreshDrawingGives();
    void click_stopsAndRestartsKeepingThePosition();
    void closeAndReopen_continuesWhereItWas_data();
    void closeAndReopen_continuesWhereItWas();
    void infoTwice_leavesOneWindow();
    void minimise_keepsScrolling();
    void widthFactor_isClamped_data();
    void widthFactor_isClamped();
    void logo_placement_data();
    void logo_placement();
    void logo_missingOrBroken_creditsOnWhite_data();
    void logo_missingOrBroken_creditsOnWhite();
    void emptyCreditsFile_asksForAFile();

private:
    void writeCredits(const QString& text);
    void writeLogo(const QImage& logo);
    CreditsState& state() { return m_host->state(); }
    frmInfoBox* window() { return m_host->window(); }

    std::unique_ptr<QTemporaryDir> m_folder;
    RecordingMessageBoxes m_messages;
    std::unique_ptr<InfoBoxHost> m_host;
    ManualScrollTimer* m_timer = nullptr;
};

void TestInfoBox::writeCredits(const QString& text) {
    QFile file(m_folder->filePath(QStringLiteral("Tiska.dpi")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeWindows1252(text));
}

void TestInfoBox::writeLogo(const QImage& logo) {
    QVERIFY(logo.save(m_folder->filePath(QStringLiteral("1_logo_1.jpg")), "JPEG", 95));
}

void TestInfoBox::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    writeCredits(QStringLiteral("Zifferon\r\n\r\nGraphik und Design: Lena Haberkorn\r\n"
                                "Programmierung: Tobias Wendeler"));
    writeLogo(framedLogo({700, 640}, 0, DarkBlue, DarkBlue)); // covers the whole box
    auto timer = std::make_unique<ManualScrollTimer>();
    m_timer = timer.get();
    m_messages.said.clear();
    m_host = std::make_unique<InfoBoxHost>(m_messages, m_folder->path(), std::move(timer));
}

void TestInfoBox::cleanup() {
    m_host.reset();
    m_folder.reset();
}

void TestInfoBox::window_hasItsControlsInPlace() {
    m_host->Show();
    QCOMPARE(window()->size(), QSize(673, 607));
    const QPoint offCentre = window()->frameGeometry().center() -
                             QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY(offCentre.manhattanLength() <= 2);
    QVERIFY(window()->windowFlags().testFlag(Qt::FramelessWindowHint));
    auto* picture = window()->findChild<CreditsPicture*>("Picture1");
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), QRect(0, -8, 676, 615));
    QCOMPARE(picture->toolTip(), QStringLiteral("Stopp"));
    auto* minimise = picture->findChild<QLabel*>("lblMinimieren");
    auto* close = picture->findChild<QLabel*>("lblSchliessen");
    QVERIFY(minimise && close);
    QCOMPARE(minimise->geometry(), QRect(608, 16, 16, 16));
    QCOMPARE(close->geometry(), QRect(632, 16, 16, 16));
    QCOMPARE(minimise->toolTip(), QStringLiteral("Minimieren"));
    QCOMPARE(close->toolTip(), QStringLiteral("Beenden"));
    QVERIFY(QFontMetrics(minimise->font()).inFont(minimise->text().front()));
    QVERIFY(QFontMetrics(close->font()).inFont(close->text().front()));
}

void TestInfoBox::firstOpening_textStartsJustBelowTheBottomEdge() {
    m_host->Show();
    QCOMPARE(state().ScrollY, 9225);
    QVERIFY(m_timer->isActive());
    QCOMPARE(m_timer->period(), 10ms);
    QVERIFY(!state().IsScrolling);

    m_timer->tick();

    QVERIFY(state().IsScrolling);
    QCOMPARE(state().ScrollY, 9225 - 3);
    QCOMPARE(state().CreditsLines.size(), 4);
    QVERIFY(state().CreditsLines[0].trimmed() == QStringLiteral("Zifferon"));
}

void TestInfoBox::tick_drawsTheLinesInViewOverTheLogo() {
    m_host->Show();
    const int lineHeightPixels = qRound(window()->Picture1->lineHeight() / 15);
    state().ScrollY = 3000 + 3; // the first line starts at pixel row 200 after the tick

    m_timer->tick();

    const QList<int> rows = rowsWithWhite(window()->Picture1->image());
    QVERIFY(!rows.isEmpty());
    QVERIFY(rows.front() >= 200);
    QVERIFY(rows.back() < 200 + 4 * lineHeightPixels);
    QVERIFY(nearly(window()->Picture1->image().pixelColor(338, 307 + 80), DarkBlue));
}

void TestInfoBox::scrolling_wrapsAroundOnceTheTextHasLeftAtTheTop() {
    m_host->Show();
    const int height = state().CreditsHeight;
    QVERIFY(height > 0);
    state().ScrollY = -height + 4;

    m_timer->tick();
    QCOMPARE(state().ScrollY, -height + 1);
    m_timer->tick();
    QCOMPARE(state().ScrollY, -height - 2);
    m_timer->tick();
    QCOMPARE(state().ScrollY, 9225);
    m_timer->tick();
    QCOMPARE(state().ScrollY, 9222);
}

void TestInfoBox::tick_imageIsWhatAFreshDrawingGives_data() {
    QTest::addColumn<int>("ticksBefore");
    QTest::addColumn<bool>("restretchLogo");
    QTest::addColumn<int>("ticksAfter");
    QTest::newRow("one tick") << 1 << false << 0;
    QTest::newRow("ticks within one pixel row") << 3 << false << 0;
    QTest::newRow("ticks across pixel rows") << 12 << false << 0;
    QTest::newRow("restart with another background") << 2 << true << 1;
    QTest::newRow("wrap-around") << 0 << false << 1;
}

void TestInfoBox::tick_imageIsWhatAFreshDrawingGives() {
    QFETCH(int, ticksBefore);
    QFETCH(bool, restretchLogo);
    QFETCH(int, ticksAfter);
    writeLogo(framedLogo({200, 150}, 20, Green, DarkBlue));
    m_host->Show();
    state().ScrollY =
        QTest::currentDataTag() == QByteArray("wrap-around") ? -state().CreditsHeight : 2000;
    m_timer->tick(ticksBefore);
    if (restretchLogo) {
        state().StretchLogo = true;
        StartCredits(state(), *window()->Picture1);
    }
    m_timer->tick(ticksAfter);
    CreditsPicture& box = *window()->Picture1;
    const QImage shown = box.image().copy();

    box.Cls();
    box.PrintLines(state().ScrollY, state().CreditsLines);

    QVERIFY(box.image() == shown);
}

void TestInfoBox::click_stopsAndRestartsKeepingThePosition() {
    m_host->Show();
    m_timer->tick(5);
    const int stoppedAt = state().ScrollY;

    QTest::mouseClick(window()->Picture1, Qt::LeftButton, {}, QPoint(300, 300));

    QVERIFY(!state().IsScrolling);
    QVERIFY(!m_timer->isActive());
    QCOMPARE(window()->Picture1->toolTip(), QStringLiteral("Start"));
    QCOMPARE(state().ScrollY, stoppedAt);

    QTest::mouseClick(window()->Picture1, Qt::LeftButton, {}, QPoint(300, 300));

    QVERIFY(m_timer->isActive());
    QCOMPARE(window()->Picture1->toolTip(), QStringLiteral("Stopp"));
    QCOMPARE(state().ScrollY, stoppedAt);
    m_timer->tick();
    QCOMPARE(state().ScrollY, stoppedAt - 3);
}

void TestInfoBox::closeAndReopen_continuesWhereItWas_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("click on the close label") << false;
    QTest::newRow("Esc") << true;
}

void TestInfoBox::closeAndReopen_continuesWhereItWas() {
    QFETCH(bool, byEscape);
    m_host->Show();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    m_timer->tick(7);
    const int closedAt = state().ScrollY;
    QPointer<frmInfoBox> first = window();

    if (byEscape)
        QTest::keyClick(window()->Picture1, Qt::Key_Escape);
    else
        QTest::mouseClick(window()->lblSchliessen, Qt::LeftButton);

    QVERIFY(!m_timer->isActive());
    QVERIFY(!state().IsScrolling);
    QTRY_VERIFY(first.isNull());
    QVERIFY(!m_host->window());

    m_host->Show();

    QVERIFY(window());
    QVERIFY(m_timer->isActive());
    QCOMPARE(state().ScrollY, closedAt);
    m_timer->tick();
    QCOMPARE(state().ScrollY, closedAt - 3);
}

void TestInfoBox::infoTwice_leavesOneWindow() {
    m_host->Show();
    frmInfoBox* first = window();
    m_host->Show();
    QCOMPARE(window(), first);
    QCOMPARE(infoBoxWindows(), 1);
}

void TestInfoBox::minimise_keepsScrolling() {
    m_host->Show();
    m_timer->tick();

    QTest::mouseClick(window()->lblMinimieren, Qt::LeftButton);

    QTRY_VERIFY(window()->isMinimized());
    QVERIFY(m_timer->isActive());
    QVERIFY(state().IsScrolling);
    QCOMPARE(window()->Picture1->toolTip(), QStringLiteral("Stopp"));
}

void TestInfoBox::widthFactor_isClamped_data() {
    QTest::addColumn<float>("factor");
    QTest::addColumn<int>("expected");
    QTest::newRow("0.5 gives 0.6 of the box") << 0.5f << 6084;
    QTest::newRow("0.9 as the info box sets it") << 0.9f << 9126;
    QTest::newRow("1.2 gives the whole box") << 1.2f << 10140;
}

void TestInfoBox::widthFactor_isClamped() {
    QFETCH(float, factor);
    QFETCH(int, expected);
    m_host->Show();
    StopCredits(state());
    state().WidthFactor = factor;

    StartCredits(state(), *window()->Picture1);

    QCOMPARE(state().TextAreaWidth, expected);
}

void TestInfoBox::logo_placement_data() {
    QTest::addColumn<QSize>("logoSize");
    QTest::addColumn<int>("frame");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    // The box is 676 x 615 pixels.
    QTest::newRow("small logo centred: middle")
        << QSize(200, 100) << 0 << false << QPoint(338, 307) << Green;
    QTest::newRow("small logo centred: corner is white")
        << QSize(200, 100) << 0 << false << QPoint(5, 5) << QColor(Qt::white);
    QTest::newRow("small logo centred: just left of it")
        << QSize(200, 100) << 0 << false << QPoint(234, 307) << QColor(Qt::white);
    QTest::newRow("small logo stretched: corner")
        << QSize(200, 100) << 0 << true << QPoint(5, 5) << Green;
    // Centred, 62 columns and 42 rows of the larger logo lie outside the box on each side.
    QTest::newRow("larger logo centred: top left edge cut off")
        << QSize(800, 700) << 40 << false << QPoint(1, 1) << Green;
    QTest::newRow("larger logo centred: bottom right edge cut off")
        << QSize(800, 700) << 40 << false << QPoint(674, 613) << Green;
    QTest::newRow("larger logo stretched keeps its frame")
        << QSize(800, 700) << 40 << true << QPoint(1, 1) << QColor(Qt::red);
}

void TestInfoBox::logo_placement() {
    QFETCH(QSize, logoSize);
    QFETCH(int, frame);
    QFETCH(bool, stretch);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    writeLogo(framedLogo(logoSize, frame, Green, Qt::red));
    m_host->Show();
    StopCredits(state());
    state().StretchLogo = stretch;

    StartCredits(state(), *window()->Picture1);

    QCOMPARE(state().LogoWidth, logoSize.width() * 15);
    QCOMPARE(state().LogoHeight, logoSize.height() * 15);
    const QColor seen = window()->Picture1->picture().pixelColor(probe);
    QVERIFY2(nearly(seen, expected), qPrintable(seen.name()));
}

void TestInfoBox::logo_missingOrBroken_creditsOnWhite_data() {
    QTest::addColumn<QByteArray>("logoBytes");
    QTest::addColumn<bool>("present");
    QTest::newRow("missing logo") << QByteArray() << false;
    QTest::newRow("broken logo") << QByteArray("kein JPEG") << true;
}

void TestInfoBox::logo_missingOrBroken_creditsOnWhite() {
    QFETCH(QByteArray, logoBytes);
    QFETCH(bool, present);
    QFile logo(m_folder->filePath(QStringLiteral("1_logo_1.jpg")));
    QVERIFY(logo.remove());
    if (present) {
        QVERIFY(logo.open(QIODevice::WriteOnly));
        logo.write(logoBytes);
        logo.close();
    }

    m_host->Show();
    m_timer->tick();

    QVERIFY(state().LogoPicture.isNull());
    QCOMPARE(window()->Picture1->image().pixelColor(338, 307), QColor(Qt::white));
    QVERIFY(m_timer->isActive());
    QCOMPARE(state().CreditsLines.size(), 4);
}

void TestInfoBox::emptyCreditsFile_asksForAFile() {
    m_host->Show();
    StopCredits(state());
    state().CreditsFile.clear();

    window()->Picture1_Click();

    const QList<RecordingMessageBoxes::Said> said{
        {MessageBoxes::Icon::Information, QStringLiteral("Zuerst Textdatei auswählen.")}};
    QCOMPARE(m_messages.said, said);
    QVERIFY(!m_timer->isActive());
}

ZIFFERON_GUI_TEST_MAIN(TestInfoBox)
#include "tst_info_box.moc"
