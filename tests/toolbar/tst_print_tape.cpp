#include "calc/tape.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/hostile_pictures.h"
#include "toolbar/print_tape.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/stat.h>

namespace {

enum class Layout { Picture, Missing, NotAPicture, Huge, Pipe };

class NullPrinter : public TapePrinter {
public:
    void printLine(const QString&) override {}
    void printWindow(QWidget&) override {}
    PrintResult finish() override { return {}; }
};

} // namespace

Q_DECLARE_METATYPE(Layout)

// The picture loaded after printing: a broken or hostile "Layout.jpg" keeps the picture shown
// before, and the notice names the cause.
class TestPrintTape : public QObject {
    Q_OBJECT

private slots:
    void layoutPicture_data();
    void layoutPicture();
};

void TestPrintTape::layoutPicture_data() {
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QString>("cause"); // empty: loaded without a notice
    QTest::newRow("a picture") << Layout::Picture << "";
    QTest::newRow("missing") << Layout::Missing << "fehlt.";
    QTest::newRow("not a picture")
        << Layout::NotAPicture << "konnte nicht geladen werden: Die Datei ist kein lesbares Bild.";
    QTest::newRow("20000 x 20000 declared")
        << Layout::Huge
        << "konnte nicht geladen werden: Das Bild ist mit 20.000 × 20.000 Bildpunkten zu groß; "
           "erlaubt sind höchstens 16.777.216 Bildpunkte.";
    QTest::newRow("a pipe")
        << Layout::Pipe
        << "konnte nicht geladen werden: An dieser Stelle liegt keine gewöhnliche Datei.";
}

void TestPrintTape::layoutPicture() {
    QFETCH(Layout, layout);
    QFETCH(QString, cause);
    const QTemporaryDir folder;
    const QString path = folder.filePath("Layout.jpg");
    const QByteArray bytes = layout == Layout::Picture       ? JpegOf({30, 20}, Qt::red)
                             : layout == Layout::NotAPicture ? QByteArray("kein JPEG")
                                                             : JpegDeclaring({20000, 20000});
    if (layout == Layout::Pipe) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (layout != Layout::Missing) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
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
    if (cause.isEmpty()) {
        QCOMPARE(result.notices, QStringList{});
        QCOMPARE(shown.size(), QSize(30, 20));
        return;
    }
    QCOMPARE(result.notices.size(), 1);
    QVERIFY2(result.notices.first().startsWith("Das Bild „" + path + "“ " + cause),
             qPrintable(result.notices.first()));
    QVERIFY2(
        result.notices.first().endsWith(" Das Fenster behält sein bisheriges Hintergrundbild."),
        qPrintable(result.notices.first()));
    QCOMPARE(shown.toImage(), before.toImage());
}

ZIFFERON_GUI_TEST_MAIN(TestPrintTape)
#include "tst_print_tape.moc"
