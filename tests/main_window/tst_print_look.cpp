#include "main_window/form1.h"
#include "main_window/print_look.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/hostile_pictures.h"
#include "tests/support/recording_message_boxes.h"

#include <QTemporaryDir>

// The picture shown after printing: a missing "Layout.jpg" keeps the picture shown before
// silently, a broken or hostile one keeps it too and the notice names the cause.
class TestPrintLook : public QObject {
    Q_OBJECT

private slots:
    void layoutPicture_data();
    void layoutPicture();
};

void TestPrintLook::layoutPicture_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause"); // empty: no notice
    QTest::newRow("a picture") << Place::File << JpegOf({30, 20}, Qt::red) << "";
    QTest::newRow("missing") << Place::Missing << QByteArray() << "";
    QTest::newRow("not a picture") << Place::File << QByteArray("kein JPEG")
                                   << "konnte nicht geladen werden: Die Datei ist kein Bild im "
                                      "Format JPEG, GIF, PNG oder ICO.";
    QTest::newRow("20000 x 20000 declared")
        << Place::File << JpegDeclaring({20000, 20000})
        << "konnte nicht geladen werden: Das Bild ist mit 20.000 × 20.000 Bildpunkten zu groß; "
           "erlaubt sind höchstens 16.777.216 Bildpunkte.";
    QTest::newRow("a pipe")
        << Place::Pipe << QByteArray()
        << "konnte nicht geladen werden: An dieser Stelle liegt keine gewöhnliche Datei.";
}

void TestPrintLook::layoutPicture() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Layout.jpg");
    QVERIFY(makePlace(place, path, bytes));
    Form1Services services = Form1Services::Default();
    services.messages = std::make_shared<RecordingMessageBoxes>();
    Form1 window(std::move(services));
    QPixmap before(10, 10);
    before.fill(Qt::green);
    window.setPicture(Picture(before));

    std::optional<Failure> notice;
    {
        const PrintLook look(window, path);
        notice = look.layoutFailure();
    }

    const bool loaded = place == Place::File && cause.isEmpty();
    QCOMPARE(window.picture().forRatio(1).toImage(),
             loaded ? QImage::fromData(bytes) : before.toImage());
    if (cause.isEmpty()) {
        QVERIFY(!notice);
        return;
    }
    QVERIFY(notice);
    QVERIFY2(notice->reason.startsWith("Das Bild „" + path + "“ " + cause),
             qPrintable(notice->reason));
    QVERIFY2(notice->reason.endsWith(" Das Fenster behält sein bisheriges Hintergrundbild."),
             qPrintable(notice->reason));
}

ZIFFERON_GUI_TEST_MAIN(TestPrintLook)
#include "tst_print_look.moc"
