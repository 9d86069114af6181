// The windows draw each picture in the version for their screen: the picture itself where a
// point is one pixel, its "@2x" version where it is two (run once as it is, once with
// QT_SCALE_FACTOR=2). Either way the drawn pixels are the file's own, never a scaled copy.

#include "credits/frm_info_box.h"
#include "credits/frm_start.h"
#include "main_window/form1.h"
#include "resources/picture_file.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/recording_message_boxes.h"
#include "widgets/graphical_button.h"

#include <QAction>
#include <QApplication>
#include <QImageReader>
#include <QToolBar>
#include <QToolButton>

namespace {

// The file for a device with this many pixels per point.
QImage fileFor(const QString& path, qreal ratio) {
    QImage image = QImageReader(ratio > 1 ? DoubleSizePath(path) : path).read();
    image.setDevicePixelRatio(1);
    return image;
}

// The part of a picture, in points, as pixels of an image with the ratio.
QImage part(const QImage& image, const QRect& points, qreal ratio) {
    const QRect pixels((QPointF(points.topLeft()) * ratio).toPoint(),
                       (QSizeF(points.size()) * ratio).toSize());
    return image.copy(pixels).convertToFormat(QImage::Format_RGB32);
}

QImage shown(QWidget& widget) {
    QImage image = widget.grab().toImage();
    image.setDevicePixelRatio(1);
    return image;
}

} // namespace

class TestPicturesAtRatio : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void screen_has_the_ratio_of_the_run();
    void windows_show_the_pixels_of_their_version_data();
    void windows_show_the_pixels_of_their_version();
    void info_box_logo_has_the_pixels_of_its_version();
    void key_faces_and_icons_take_their_version_data();
    void key_faces_and_icons_take_their_version();

private:
    qreal ratio() const { return m_window->devicePixelRatioF(); }

    std::unique_ptr<Form1> m_window;
};

void TestPicturesAtRatio::init() {
    Form1Services services = Form1Services::Default();
    services.messages = std::make_shared<RecordingMessageBoxes>();
    m_window = std::make_unique<Form1>(std::move(services));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPicturesAtRatio::cleanup() {
    m_window.reset();
}

void TestPicturesAtRatio::screen_has_the_ratio_of_the_run() {
    const qreal expected = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(ratio(), expected);
}

void TestPicturesAtRatio::windows_show_the_pixels_of_their_version_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("inWindow");   // points of the window that show only the picture
    QTest::addColumn<QPoint>("pictureAt"); // where the picture's top left corner stands
    QTest::newRow("main window background, its name in the corner")
        << "Form1"
        << ":/images/background.jpg" << QRect(10, 380, 180, 60) << QPoint(0, 0);
    // Command1 is 81 x 33 points; its picture of 104 x 27 stands centred, its edges cut off.
    QTest::newRow("calculate button")
        << "Command1"
        << ":/images/command1.jpg" << QRect(3, 5, 75, 23) << QPoint(-11, 3);
    QTest::newRow("splash window title")
        << "frmStart"
        << ":/images/title.jpg" << QRect(0, 0, 675, 240) << QPoint(0, 0);
}

void TestPicturesAtRatio::windows_show_the_pixels_of_their_version() {
    QFETCH(QString, window);
    QFETCH(QString, picture);
    QFETCH(QRect, inWindow);
    QFETCH(QPoint, pictureAt);
    std::unique_ptr<frmStart> splash;
    QWidget* widget = m_window->findChild<QWidget*>(window);
    if (window == QStringLiteral("Form1"))
        widget = m_window.get();
    if (window == QStringLiteral("frmStart")) {
        splash = std::make_unique<frmStart>([] {});
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
        widget = splash.get();
    }
    QVERIFY(widget);
    const QImage file = fileFor(picture, ratio());
    QCOMPARE(file.size(), QImage(picture).size() * ratio());
    QCOMPARE(part(shown(*widget), inWindow, ratio()),
             part(file, inWindow.translated(-pictureAt), ratio()));
}

// The logo, read from the program's folder, stands centred in the info box: on a screen of two
// pixels to the point on whole pixels, so that the "@2x" file's pixels show as they are; on an
// ordinary screen half a pixel off the grid, as the box's size gives it.
void TestPicturesAtRatio::info_box_logo_has_the_pixels_of_its_version() {
    RecordingMessageBoxes messages;
    InfoBoxHost host(messages, QStringLiteral(ZIFFERON_FILES_DIR));
    host.Show();
    QVERIFY(QTest::qWaitForWindowExposed(host.window()));
    QImage shown = host.window()->Picture1->picture().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    const QImage file = fileFor(QStringLiteral(ZIFFERON_FILES_DIR "/1_logo_1.jpg"), ratio())
                            .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), QSize(660, 600) * ratio());
    const QImage logo = shown.copy(QRect((QPointF(8, 7.5) * ratio()).toPoint(), file.size()));
    if (ratio() > 1) {
        QCOMPARE(logo, file);
        return;
    }
    double difference = 0;
    for (int y = 0; y < file.height(); ++y)
        for (int x = 0; x < file.width(); ++x)
            difference += qAbs(qGray(logo.pixel(x, y)) - qGray(file.pixel(x, y)));
    QVERIFY(difference / (file.width() * file.height()) < 4);
}

void TestPicturesAtRatio::key_faces_and_icons_take_their_version_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("picture");
    QTest::newRow("face A") << "cmd7"
                            << ":/images/face_a.jpg";
    QTest::newRow("face B") << "cmdAdd"
                            << ":/images/face_b.jpg";
    QTest::newRow("face C") << "cmdBack"
                            << ":/images/face_c.jpg";
    QTest::newRow("toolbar icon") << "Toolbar1_Drucken"
                                  << ":/images/imagelist2_6.ico";
    QTest::newRow("toolbar picture with transparency") << "Toolbar1_Info"
                                                       << ":/images/imagelist2_3.gif";
    QTest::newRow("window icon") << "Form1"
                                 << ":/images/zifferon.ico";
}

// A key face is tinted by its key's colour, an icon drawn by the style: what they take is the
// version for the screen, pixel for pixel.
void TestPicturesAtRatio::key_faces_and_icons_take_their_version() {
    QFETCH(QString, control);
    QFETCH(QString, picture);
    QImage taken;
    QSize points;
    if (auto* key = m_window->findChild<GraphicalButton*>(control)) {
        const QPixmap& version = key->picture().forRatio(ratio());
        taken = version.toImage();
        points = version.deviceIndependentSize().toSize();
    } else {
        auto* button = m_window->findChild<QToolButton*>(control);
        const QIcon icon = button ? button->icon() : m_window->windowIcon();
        points = QSize(32, 32);
        taken = icon.pixmap(points, ratio()).toImage();
    }
    taken.setDevicePixelRatio(1);
    QCOMPARE(points, QImage(picture).size());
    QCOMPARE(taken.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             fileFor(picture, ratio()).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

ZIFFERON_GUI_TEST_MAIN(TestPicturesAtRatio)
#include "tst_pictures_at_ratio.moc"
