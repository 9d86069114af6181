#include "credits/credits_screen.h"
#include "credits/frm_info_box.h"
#include "files/windows1252.h"
#include "manual_scroll_timer.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/hostile_pictures.h"
#include "tests/support/recording_message_boxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPaintEvent>
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

// A logo whose colour changes across it, so that any text pixel out of place shows.
QImage gradientLogo(QSize size) {
    QImage logo(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            logo.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
    }
    return logo;
}

// Credits of the given number of lines, every third one long enough to wrap.
QString manyCredits(int lines) {
    QStringList text;
    for (int line = 0; line < lines; ++line) {
        if (line % 3 == 2)
            text.append(QStringLiteral("Ein herzliches Dankeschön an alle Testerinnen und Tester, "
                                       "die jeden Winkel dieses Programms ausgeleuchtet haben."));
        else
            text.append(line % 3 == 0 ? QStringLiteral("Mitwirkende %1").arg(line) : QString());
    }
    return text.join(QStringLiteral("\r\n"));
}

// The Part's path of the text: top positions after each nominal 10 ms step.
QList<int> nominalPath(int start, int step, int creditsHeight, int scaleHeight, int steps) {
    QList<int> path{start};
    for (int i = 0; i < steps; ++i) {
        const int y = path.back();
        path.append(y > -creditsHeight ? y - step : scaleHeight);
    }
    return path;
}

// The regions in which a widget was repainted.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// A screen as the X server is one: it keeps its own copies of the background and of the text
// rows it is handed, composes the moves it takes from them, and takes what Qt paints as well.
// It shows moves only within its part of the box and leaves the rest to Qt.
class CopyingScreen final : public QObject, public CreditsScreen {
public:
    CopyingScreen(CreditsPicture& box, QRect part)
        : m_part(part)
        , m_box(box) {
        window = box.image();
        box.installEventFilter(this);
    }

    QRegion show(const QImage& background, ScrollingLayer& text, const QRegion& region,
                 qreal) override {
        if (background.cacheKey() != m_backgroundKey) {
            m_background = background.copy();
            m_backgroundKey = background.cacheKey();
        }
        if (m_ring.size() != text.size())
            m_ring = QImage(text.size(), QImage::Format_ARGB32_Premultiplied);
        text.takeDrawnRingRows([&](ScrollingLayer::Rows rows) {
            QPainter copy(&m_ring);
            copy.setCompositionMode(QPainter::CompositionMode_Source);
            copy.drawImage(QPoint(0, rows.first), text.ring(),
                           QRect(0, rows.first, m_ring.width(), rows.past - rows.first));
        });
        const QRegion mine = region & m_part;
        QPainter painter(&window);
        painter.setClipRegion(mine);
        painter.drawImage(0, 0, m_background);
        const int top = text.ringTop();
        painter.drawImage(0, -top, m_ring);
        painter.drawImage(0, m_ring.height() - top, m_ring);
        shown += mine;
        return region - mine;
    }

    QImage window;
    QRegion shown;   // what the screen showed
    QRegion painted; // what Qt painted

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            QPainter painter(&window);
            painter.setClipRegion(region);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, m_box.image());
            painted += region;
        }
        return false;
    }

private:
    QRect m_part;
    CreditsPicture& m_box;
    QImage m_background;
    qint64 m_backgroundKey = 0;
    QImage m_ring;
};

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
    void ticks_takeTheNominalPathAtEachNewPixelRow_data();
    void ticks_takeTheNominalPathAtEachNewPixelRow();
    void scrolledImage_isWhatAFreshDrawingGives_data();
    void scrolledImage_isWhatAFreshDrawingGives();
    void screenOfItsOwn_showsWhatAFreshDrawingGives_data();
    void screenOfItsOwn_showsWhatAFreshDrawingGives();
    void tick_repaintsOnlyTheRowsWhereTextWasOrIs();
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
    void hostileCreditsFile_scrollsWhatItCouldRead_data();
    void hostileCreditsFile_scrollsWhatItCouldRead();

private:
    void writeCredits(const QString& text);
    void writeLogo(const QImage& logo);
    CreditsState& state() { return m_host->state(); }
    // What the screen shows of the credits box, once pending repaints are done.
    QImage onScreen();
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

QImage TestInfoBox::onScreen() {
    QCoreApplication::processEvents();
    const QRect box = window()->Picture1->geometry().intersected(window()->rect());
    return window()
        ->screen()
        ->grabWindow(window()->winId(), box.x(), box.y(), box.width(), box.height())
        .toImage();
}

void TestInfoBox::ticks_takeTheNominalPathAtEachNewPixelRow_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("belowTheTop"); // start counts from where the text has left the box
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("maxTicksPerSecond");
    // 3 twips per 10 ms is 20 pixels a second at 96 dpi: a tick per pixel row, and the first.
    QTest::newRow("first opening") << 9225 << false << 3 << 21;
    QTest::newRow("in the middle of the box") << 2001 << false << 3 << 21;
    QTest::newRow("through the wrap-around") << 40 << true << 3 << 22;
    QTest::newRow("steps of 7 twips") << 3000 << false << 7 << 48;
    QTest::newRow("steps wider than a pixel") << 3000 << false << 20 << 100;
    QTest::newRow("no movement") << 3000 << false << 0 << 2;
}

void TestInfoBox::ticks_takeTheNominalPathAtEachNewPixelRow() {
    QFETCH(int, start);
    QFETCH(bool, belowTheTop);
    QFETCH(int, step);
    QFETCH(int, maxTicksPerSecond);
    m_host->Show();
    CreditsPicture& box = *window()->Picture1;
    StopCredits(state());
    state().ScrollStep = step;
    state().ScrollY = belowTheTop ? start - state().CreditsHeight : start;
    StartCredits(state(), box);
    constexpr int Steps = 200;
    const QList<int> path =
        nominalPath(state().ScrollY, step, state().CreditsHeight, box.ScaleHeight(), Steps);
    const auto row = [&box](int y) {
        return static_cast<int>(std::floor(y * box.devicePixelRatioF() / 15));
    };
    const auto started = m_timer->now();

    int ticks = 0;
    int previous = 0;
    for (m_timer->tick(); m_timer->now() - started <= Steps * 10ms; m_timer->tick(), ++ticks) {
        const auto elapsed = m_timer->now() - started;
        QCOMPARE(elapsed % 10ms, 0ms);
        const int steps = static_cast<int>(elapsed / 10ms);
        QCOMPARE(state().ScrollY, path[steps]);
        if (ticks == 0) {
            QCOMPARE(steps, 1);
        } else {
            const bool moved = row(path[steps]) != row(path[previous]);
            QVERIFY2(moved || steps - previous == 100, "a tick that moved nothing, within 1 s");
            for (int between = previous + 1; between < steps; ++between)
                QVERIFY2(row(path[between]) == row(path[previous]), "a pixel row left out");
        }
        previous = steps;
    }
    // Device pixels are smaller on a screen scaled up: as many more ticks, at most one a step.
    const double perSecond = std::min(maxTicksPerSecond * box.devicePixelRatioF(), 100.0);
    QVERIFY(ticks <= perSecond * Steps / 100);
}

void TestInfoBox::scrolledImage_isWhatAFreshDrawingGives_data() {
    QTest::addColumn<int>("creditLines");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("restartWithStretchedLogo");
    QTest::newRow("one pixel row") << 4 << 4000 << 2 << false;
    QTest::newRow("entering from below") << 30 << 9225 << 40 << false;
    QTest::newRow("leaving at the top") << 30 << 300 << 60 << false;
    QTest::newRow("credits taller than the box") << 120 << 1500 << 90 << false;
    QTest::newRow("restart with another background") << 30 << 2000 << 15 << true;
    QTest::newRow("through the wrap-around") << 4 << -900 << 45 << false;
}

void TestInfoBox::scrolledImage_isWhatAFreshDrawingGives() {
    QFETCH(int, creditLines);
    QFETCH(int, start);
    QFETCH(int, ticks);
    QFETCH(bool, restartWithStretchedLogo);
    writeCredits(manyCredits(creditLines));
    writeLogo(gradientLogo({700, 640})); // covers the whole box
    m_host->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    CreditsPicture& box = *window()->Picture1;
    state().ScrollY = start;
    const auto tickAndRepaint = [this](int times) {
        for (int i = 0; i < times; ++i) {
            m_timer->tick();
            QCoreApplication::processEvents();
        }
    };
    tickAndRepaint(ticks);
    if (restartWithStretchedLogo) {
        StopCredits(state());
        state().StretchLogo = true;
        StartCredits(state(), box);
        tickAndRepaint(ticks);
    }
    const QImage image = box.image();
    const QImage screen = onScreen();
    QCOMPARE(image.size(), (QSizeF(box.size()) * box.devicePixelRatioF()).toSize());

    box.Cls();
    box.PrintLines(state().ScrollY, state().CreditsLines);

    QVERIFY(image == box.image());
    QVERIFY(screen == onScreen());
}

void TestInfoBox::screenOfItsOwn_showsWhatAFreshDrawingGives_data() {
    QTest::addColumn<int>("creditLines");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QRect>("screenPart");
    QTest::addColumn<bool>("qtPaintsInPart"); // a full reprint goes through Qt
    const QRect all(0, 0, 1000, 1000);
    const QRect leftHalf(0, 0, 330, 1000);
    QTest::newRow("one pixel row") << 4 << 4000 << 2 << all << false;
    QTest::newRow("entering from below") << 30 << 9225 << 40 << all << false;
    QTest::newRow("credits taller than the box") << 120 << 1500 << 90 << all << false;
    QTest::newRow("through the wrap-around") << 4 << -900 << 45 << all << true;
    QTest::newRow("screen shows the left half") << 30 << 3000 << 60 << leftHalf << false;
}

void TestInfoBox::screenOfItsOwn_showsWhatAFreshDrawingGives() {
    QFETCH(int, creditLines);
    QFETCH(int, start);
    QFETCH(int, ticks);
    QFETCH(QRect, screenPart);
    QFETCH(bool, qtPaintsInPart);
    writeCredits(manyCredits(creditLines));
    writeLogo(gradientLogo({700, 640}));
    m_host->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    CreditsPicture& box = *window()->Picture1;
    state().ScrollY = start;
    m_timer->tick();
    QCoreApplication::processEvents();
    auto owned = std::make_unique<CopyingScreen>(box, screenPart);
    CopyingScreen& screen = *owned;
    box.setScreen(std::move(owned));

    for (int i = 0; i < ticks; ++i) {
        m_timer->tick();
        QCoreApplication::processEvents();
    }
    box.Cls();
    box.PrintLines(state().ScrollY, state().CreditsLines);

    QVERIFY(!screen.shown.isEmpty());
    QCOMPARE(screen.painted.intersects(screenPart), qtPaintsInPart);
    QCOMPARE(screen.painted.isEmpty(), screenPart.contains(box.rect()) && !qtPaintsInPart);
    QVERIFY(screen.window == box.image());
}

void TestInfoBox::tick_repaintsOnlyTheRowsWhereTextWasOrIs() {
    writeCredits(QStringLiteral("Zifferon\r\n\r\n\r\nProgrammierung: Tobias Wendeler"));
    m_host->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    CreditsPicture& box = *window()->Picture1;
    state().ScrollY = 3000 + 3; // the first line at pixel row 200 after the first tick
    m_timer->tick();
    QCoreApplication::processEvents();
    PaintSpy boxPaints(&box);
    PaintSpy windowPaints(window());

    m_timer->tick();
    QCoreApplication::processEvents();

    QVERIFY(!boxPaints.painted.isEmpty());
    QVERIFY(windowPaints.painted.isEmpty());
    const QRect bounds = boxPaints.painted.boundingRect();
    QVERIFY(bounds.top() >= 199);
    QVERIFY(bounds.bottom() < 200 + qCeil(state().CreditsHeight / 15.0));
    QVERIFY(bounds.width() < box.width() / 2);
    // The two blank lines between the text lines are not repainted.
    const int lineHeight = qCeil(box.lineHeight() / 15);
    QVERIFY(!boxPaints.painted.intersects(QRect(0, 200 + lineHeight + 2, box.width(), lineHeight)));
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
    QTest::newRow("20000 x 20000 declared") << JpegDeclaring({20000, 20000}) << true;
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

void TestInfoBox::hostileCreditsFile_scrollsWhatItCouldRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<qsizetype>("lines");
    QByteArray everyByte(256, Qt::Uninitialized);
    for (int byte = 0; byte < 256; ++byte)
        everyByte[byte] = static_cast<char>(byte);
    QTest::newRow("missing: the path is shown") << QByteArray() << false << qsizetype{1};
    QTest::newRow("binary") << everyByte.repeated(8) << false << qsizetype{-1};
    QTest::newRow("10 MB of short lines")
        << QByteArray("Dank\r\n").repeated(1'700'000) << false << MaxCreditLines;
    QTest::newRow("pipe: the path is shown") << QByteArray() << true << qsizetype{1};
}

// State: a credits file that is missing, binary, huge or a pipe. Action: "Info". Expected: the
// box opens and scrolls what it could read, never more lines than the bound.
void TestInfoBox::hostileCreditsFile_scrollsWhatItCouldRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, pipe);
    QFETCH(qsizetype, lines);
    const QString credits = m_folder->filePath(QStringLiteral("Tiska.dpi"));
    QVERIFY(QFile::remove(credits));
    if (pipe || !bytes.isEmpty())
        QVERIFY(makePlace(pipe ? Place::Pipe : Place::File, credits, bytes));

    m_host->Show();
    m_timer->tick();

    QVERIFY(window()->isVisible());
    QVERIFY(m_timer->isActive());
    if (lines > 0)
        QCOMPARE(state().CreditsLines.size(), lines);
    QVERIFY(!state().CreditsLines.isEmpty() && state().CreditsLines.size() <= MaxCreditLines);
    QVERIFY(state().IsScrolling);
}

ZIFFERON_GUI_TEST_MAIN(TestInfoBox)
#include "tst_info_box.moc"
