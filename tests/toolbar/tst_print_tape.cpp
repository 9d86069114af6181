#include "calc/tape.h"
#include "tests/support/file_places.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/hostile_pictures.h"
#include "toolbar/print_tape.h"

#include <QTemporaryDir>
#include <QWidget>

namespace {

class NullPrinter : public TapePrinter {
public:
    void printLine(const QString&) override {}
    void printWindow(QWidget&) override {}
    PrintResult finish() override { return {}; }
};

} // namespace

// The picture loaded after printing: a missing "Layout.jpg" keeps the picture shown before
// silently, a broken or hostile one keeps it too and the notice names the cause.
class TestPrintTape : public QObject {
    Q_OBJECT

private slots:
    void layoutPicture_data();
    void layoutPicture();
};

void TestPrintTape::layoutPicture_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cause"); // empty: no notice
    QTest::newRow("a picture") << Place::File << JpegOf({30, 20}, Qt::red) << "";
    QTest::newRow("missing") << Place::Missing << QByteArray() << "";
    QTest::newRow("not a picture")
        << Place::File << QByteArray("kein JPEG")
        << "konnte nicht geladen werden: Die Datei ist kein lesbares Bild.";
    QTest::newRow("20000 x 20000 declared")
        << Place::File << JpegDeclaring({20000, 20000})
        << "konnte nicht geladen werden: Das Bild ist mit 20.000 × 20.000 Bildpunkten zu groß; "
           "erlaubt sind höchstens 16.777.216 Bildpunkte.";
    QTest::newRow("a pipe")
        << Place::Pipe << QByteArray()
        << "konnte nicht geladen werden: An dieser Stelle liegt keine gewöhnliche Datei.";
}

void TestPrintTape::layoutPicture() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cause);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Layout.jpg");
    QVERIFY(makePlace(place, path, bytes));
    QWidget window;
    Tape totals;
    QPixmap before(10, 10);
    before.fill(Qt::green);
    QPixmap shown;
    const PrintableWindow printable{window,
                                    {},
                                    {},
                                    totals,
                                    [](const QColor&) {},
                                    [&shown](const QPixmap& picture) {
            shown = picture; },
                                    before};
    NullPrinter printer;

    const PrintResult result = PrintTape(printable, printer, path);

    QVERIFY(result.printed);
    const bool loaded = place == Place::File && cause.isEmpty();
    QCOMPARE(shown.toImage(), loaded ? QImage::fromData(bytes) : before.toImage());
    if (cause.isEmpty()) {
        QCOMPARE(result.notices, QStringList{});
        return;
    }
    QCOMPARE(result.notices.size(), 1);
    QVERIFY2(result.notices.first().startsWith("Das Bild „" + path + "“ " + cause),
             qPrintable(result.notices.first()));
    QVERIFY2(
        result.notices.first().endsWith(" Das Fenster behält sein bisheriges Hintergrundbild."),
        qPrintable(result.notices.first()));
}

ZIFFERON_GUI_TEST_MAIN(TestPrintTape)
#include "tst_print_tape.moc"
