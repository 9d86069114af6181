#include "tests/support/gui_fixture.h"
#include "toolbar/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeWidget>

namespace {

const QString Manual = QStringLiteral(ZIFFERON_HELP_FILE);

enum class Unreadable { Missing, Folder, Bytes };

QTreeWidget& contentsOf(const HelpWindow& window) {
    return *window.findChild<QTreeWidget*>(QStringLiteral("Contents"));
}

ChmBrowser& browserOf(const HelpWindow& window) {
    return *window.findChild<ChmBrowser*>(QStringLiteral("Browser"));
}

QStringList namesBelow(const QTreeWidgetItem& item) {
    QStringList names;
    for (int i = 0; i < item.childCount(); ++i)
        names << item.child(i)->text(0);
    return names;
}

// The contents entry reached through the names of the path, or null.
QTreeWidgetItem* entryAt(QTreeWidget& tree, const QStringList& path) {
    QTreeWidgetItem* item = tree.invisibleRootItem();
    for (const QString& name : path) {
        const QStringList names = namesBelow(*item);
        if (!names.contains(name))
            return nullptr;
        item = item->child(static_cast<int>(names.indexOf(name)));
    }
    return item;
}

// The first occurrence of the text that is a link, or a null cursor.
QTextCursor linkWithText(const QTextDocument& document, const QString& text) {
    constexpr auto Exactly = QTextDocument::FindCaseSensitively;
    QTextCursor found = document.find(text, 0, Exactly);
    while (!found.isNull() && !found.charFormat().isAnchor())
        found = document.find(text, found, Exactly);
    return found;
}

// Clicks the middle of a link as the user would, scrolling it into view first.
bool clickLink(ChmBrowser& browser, const QString& text) {
    const QTextCursor link = linkWithText(*browser.document(), text);
    if (link.isNull())
        return false;
    QTextCursor middle(browser.document());
    middle.setPosition((link.selectionStart() + link.selectionEnd()) / 2);
    browser.setTextCursor(middle);
    browser.ensureCursorVisible();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, browser.cursorRect(middle).center());
    return true;
}

QStringList pictureNames(const QTextDocument& document) {
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.isImageFormat())
                names << format.toImageFormat().name();
        }
    }
    return names;
}

QList<HelpWindow*> visibleHelpWindows() {
    QList<HelpWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<HelpWindow*>(widget); window && window->isVisible())
            windows << window;
    }
    return windows;
}

QByteArray randomBytes(qsizetype size) {
    QRandomGenerator generator(1252);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

// The real file's headers without the directory and pages behind them.
QByteArray startOfTheManual() {
    QFile file(Manual);
    return file.open(QIODevice::ReadOnly) ? file.read(1024) : QByteArray();
}

// One line per entry, "name -> local", indented by two blanks per level.
void appendOutline(const std::vector<ContentsEntry>& entries, int depth, QStringList& lines) {
    for (const ContentsEntry& entry : entries) {
        lines << QString(2 * depth, u' ') + entry.name + QStringLiteral(" -> ") + entry.local;
        appendOutline(entry.children, depth + 1, lines);
    }
}

QStringList outlineOf(const QString& sitemap) {
    QStringList lines;
    appendOutline(ParseSitemap(sitemap), 0, lines);
    return lines;
}

QString entry(const QString& name, const QString& local = {}) {
    QString text =
        QStringLiteral(R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="%1">)")
            .arg(name);
    if (!local.isEmpty())
        text += QStringLiteral(R"(<param name="Local" value="%1">)").arg(local);
    return text + QStringLiteral("</OBJECT>");
}

} // namespace

Q_DECLARE_METATYPE(Unreadable)

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensNonModalOnTheDefaultTopic();
    void styleSheetComesFromTheFile();
    void contentsComeFromTheFile();
    void clickedEntryShowsItsPage_data();
    void clickedEntryShowsItsPage();
    void followedLinkShowsItsPage_data();
    void followedLinkShowsItsPage();
    void picturesLoadFromTheFile_data();
    void picturesLoadFromTheFile();
    void secondShowHelpRaisesTheSameWindow_data();
    void secondShowHelpRaisesTheSameWindow();
    void unreadableFileWarnsAndOpensNoWindow_data();
    void unreadableFileWarnsAndOpensNoWindow();
    void parsedSitemap_data();
    void parsedSitemap();
    void deepNestingIsBounded();

private:
    // The manual's window, shown and exposed; null when it did not open.
    HelpWindow* openManual();

    std::unique_ptr<ChmHelpViewer> m_viewer;
};

void TestHelpWindow::init() {
    m_viewer = std::make_unique<ChmHelpViewer>();
}

void TestHelpWindow::cleanup() {
    m_viewer.reset();
}

HelpWindow* TestHelpWindow::openManual() {
    m_viewer->ShowHelp(Manual);
    HelpWindow* window = m_viewer->window();
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

void TestHelpWindow::opensNonModalOnTheDefaultTopic() {
    HelpWindow* window = openManual();
    QVERIFY(window);
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    const ChmBrowser& browser = browserOf(*window);
    QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/index.html")));
    QVERIFY(browser.toPlainText().contains(u"Zifferon – der Rechner mit Zahlenstreifen"));
}

void TestHelpWindow::styleSheetComesFromTheFile() {
    HelpWindow* window = openManual();
    QVERIFY(window);
    const QTextCursor heading = browserOf(*window).document()->find(QStringLiteral("der Rechner"));
    QVERIFY(!heading.isNull());
    QCOMPARE(heading.charFormat().foreground().color(), QColor(0x1c, 0x4a, 0x7a));
}

void TestHelpWindow::contentsComeFromTheFile() {
    HelpWindow* window = openManual();
    QVERIFY(window);
    QTreeWidget& contents = contentsOf(*window);
    QCOMPARE(
        namesBelow(*contents.invisibleRootItem()),
        (QStringList{"Überblick", "Formeln eingeben", "Der Zahlenstreifen",
                     "Eine Zeile korrigieren", "Die Symbolleiste", "Die Streifendatei",
                     "Drucken und Übergabe", "Die Formelsprache", "Startfenster und Infobox"}));
    QTreeWidgetItem* input = entryAt(contents, {"Formeln eingeben"});
    QVERIFY(input);
    QCOMPARE(namesBelow(*input), (QStringList{"Die Tasten", "Die Taste „+/-“", "Die Taste „%“"}));
}

void TestHelpWindow::clickedEntryShowsItsPage_data() {
    QTest::addColumn<QStringList>("entry");
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QString>("text");
    QTest::newRow("chapter") << QStringList{"Die Symbolleiste"} << QUrl("chm:/symbolleiste.html")
                             << "Oben im Hauptfenster stehen neun Schaltflächen";
    QTest::newRow("last chapter") << QStringList{"Startfenster und Infobox"}
                                  << QUrl("chm:/start_info.html")
                                  << "Beim Start zeigt Zifferon 20 Sekunden lang ein Startfenster";
    QTest::newRow("section: its anchor")
        << QStringList{"Formeln eingeben", "Die Taste „%“"} << QUrl("chm:/eingabe.html#prozent")
        << "Die Taste „%“ schreibt selbst kein Prozentzeichen";
    QTest::newRow("section at the end of its page")
        << QStringList{"Die Formelsprache", "Beispiele"} << QUrl("chm:/formeln.html#beispiele")
        << "Mit zwei Nachkommastellen:";
}

void TestHelpWindow::clickedEntryShowsItsPage() {
    QFETCH(QStringList, entry);
    QFETCH(QUrl, page);
    QFETCH(QString, text);
    HelpWindow* window = openManual();
    QVERIFY(window);
    QTreeWidget& contents = contentsOf(*window);
    QTreeWidgetItem* item = entryAt(contents, entry);
    QVERIFY(item);
    contents.scrollToItem(item);
    QTest::mouseClick(contents.viewport(), Qt::LeftButton, {},
                      contents.visualItemRect(item).center());
    const ChmBrowser& browser = browserOf(*window);
    QCOMPARE(browser.source(), page);
    QVERIFY2(browser.toPlainText().contains(text), qPrintable(browser.toPlainText().left(200)));
    if (page.hasFragment())
        QVERIFY2(browser.verticalScrollBar()->value() > 0,
                 "the page is not scrolled to its anchor");
}

void TestHelpWindow::followedLinkShowsItsPage_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QString>("text");
    QTest::newRow("overview to a chapter")
        << "index.html"
        << "Die Befehle der Symbolleiste" << QUrl("chm:/symbolleiste.html")
        << "Oben im Hauptfenster stehen neun Schaltflächen";
    QTest::newRow("to a section of another page")
        << "symbolleiste.html"
        << "Öffnen" << QUrl("chm:/streifendatei.html#oeffnen") << "hängt jede Zeile der Datei";
    QTest::newRow("within the page") << "eingabe.html"
                                     << "unten" << QUrl("chm:/eingabe.html#vorzeichen")
                                     << "Steht im Eingabefeld genau eine Zahl";
    QTest::newRow("from a section to the next page")
        << "streifen.html#kopieren"
        << "Eine Zeile korrigieren" << QUrl("chm:/korrektur.html")
        << "Eine Formel, die schon auf dem Streifen steht";
}

void TestHelpWindow::followedLinkShowsItsPage() {
    QFETCH(QString, start);
    QFETCH(QString, link);
    QFETCH(QUrl, page);
    QFETCH(QString, text);
    HelpWindow* window = openManual();
    QVERIFY(window);
    window->showTopic(start);
    ChmBrowser& browser = browserOf(*window);
    QVERIFY2(clickLink(browser, link), "no such link on the page");
    QCOMPARE(browser.source(), page);
    QVERIFY2(browser.toPlainText().contains(text), qPrintable(browser.toPlainText().left(200)));
}

void TestHelpWindow::picturesLoadFromTheFile_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("inFile");
    QTest::newRow("tape on the overview") << "index.html"
                                          << "bilder/streifen.png" << true;
    QTest::newRow("keypad on the input page") << "eingabe.html"
                                              << "bilder/tasten.png" << true;
    QTest::newRow("a picture the file lacks") << "index.html"
                                              << "bilder/fehlt.png" << false;
}

void TestHelpWindow::picturesLoadFromTheFile() {
    QFETCH(QString, page);
    QFETCH(QString, picture);
    QFETCH(bool, inFile);
    HelpWindow* window = openManual();
    QVERIFY(window);
    window->showTopic(page);
    ChmBrowser& browser = browserOf(*window);
    if (inFile)
        QVERIFY(pictureNames(*browser.document()).contains(picture));
    const QVariant loaded = browser.loadResource(QTextDocument::ImageResource, QUrl(picture));
    QCOMPARE(!QImage::fromData(loaded.toByteArray()).isNull(), inFile);
}

void TestHelpWindow::secondShowHelpRaisesTheSameWindow_data() {
    QTest::addColumn<bool>("closedBefore");
    QTest::newRow("open behind another window") << false;
    QTest::newRow("closed by the user") << true;
}

void TestHelpWindow::secondShowHelpRaisesTheSameWindow() {
    QFETCH(bool, closedBefore);
    HelpWindow* window = openManual();
    QVERIFY(window);
    window->showTopic(QStringLiteral("formeln.html"));
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    if (closedBefore)
        window->close();
    m_viewer->ShowHelp(Manual);
    QCOMPARE(m_viewer->window(), window);
    QCOMPARE(visibleHelpWindows(), QList<HelpWindow*>{window});
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

void TestHelpWindow::unreadableFileWarnsAndOpensNoWindow_data() {
    QTest::addColumn<Unreadable>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing") << Unreadable::Missing << QByteArray();
    QTest::newRow("a folder") << Unreadable::Folder << QByteArray();
    QTest::newRow("empty") << Unreadable::Bytes << QByteArray();
    QTest::newRow("garbage") << Unreadable::Bytes << randomBytes(8192);
    QTest::newRow("garbage behind the signature")
        << Unreadable::Bytes << QByteArray("ITSF\x03\0\0\0", 8) + randomBytes(8192);
    const QByteArray start = startOfTheManual();
    QCOMPARE(start.size(), 1024);
    QTest::newRow("the manual cut short") << Unreadable::Bytes << start;
}

void TestHelpWindow::unreadableFileWarnsAndOpensNoWindow() {
    QFETCH(Unreadable, kind);
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Benutzerhandbuch.chm"));
    if (kind == Unreadable::Folder)
        QVERIFY(QDir().mkdir(path));
    QFile file(path);
    if (kind == Unreadable::Bytes)
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const gui_test::SeenMessage seen =
        gui_test::closeMessageBoxDuring([this, &path] { m_viewer->ShowHelp(path); });
    QVERIFY(seen.shown);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.title, QStringLiteral("Zifferon"));
    QVERIFY2(seen.text.contains(QDir::toNativeSeparators(path)), qPrintable(seen.text));
    QVERIFY2(seen.text.contains(u"Hilfedatei"), qPrintable(seen.text));
    QVERIFY(!m_viewer->window());
    QVERIFY(visibleHelpWindows().isEmpty());
}

void TestHelpWindow::parsedSitemap_data() {
    QTest::addColumn<QString>("sitemap");
    QTest::addColumn<QStringList>("outline");
    QTest::newRow("one level") << "<UL>" + entry("A", "a.html") + entry("B", "b.html") + "</UL>"
                               << QStringList{"A -> a.html", "B -> b.html"};
    QTest::newRow("nested lists hold the children of the entry before them")
        << "<UL>" + entry("A", "a.html") + "<UL>" + entry("A1", "a.html#1") +
               entry("A2", "a2.html") + "<UL>" + entry("A2a", "a2.html#x") + "</UL></UL>" +
               entry("B", "b.html") + "</UL>"
        << QStringList{"A -> a.html", "  A1 -> a.html#1", "  A2 -> a2.html", "    A2a -> a2.html#x",
                       "B -> b.html"};
    QTest::newRow("entry without a page")
        << "<UL>" + entry("Kapitel") + "<UL>" + entry("Seite", "s.html") + "</UL></UL>"
        << QStringList{"Kapitel -> ", "  Seite -> s.html"};
    QTest::newRow("entities and umlauts")
        << "<UL>" + entry("&Uuml;berblick &amp; Men&#252;", "a&amp;b.html") + entry("Größe") +
               entry("&quot;Öffnen&quot; &lt;Strg&gt;") + "</UL>"
        << QStringList{"Überblick & Menü -> a&b.html", "Größe -> ", "\"Öffnen\" <Strg> -> "};
    QTest::newRow("any case, either quotes or none")
        << R"(<ul><li><object TYPE='Text/Sitemap'><PARAM NAME=name VALUE='Eins'>)"
           R"(<Param Name="LOCAL" Value=eins.html></Object></ul>)"
        << QStringList{"Eins -> eins.html"};
    QTest::newRow("a > inside a quoted value")
        << "<UL>" + entry("a > b", "ab.html") + "</UL>" << QStringList{"a > b -> ab.html"};
    QTest::newRow("other objects are no entries")
        << R"(<OBJECT type="text/site properties"><param name="Name" value="Stil"></OBJECT>)"
           R"(<UL><LI><OBJECT type="text/html"><param name="Name" value="X"></OBJECT>)" +
               entry("A", "a.html") + "</UL>"
        << QStringList{"A -> a.html"};
    QTest::newRow("an object with neither name nor page")
        << R"(<UL><LI><OBJECT type="text/sitemap"></OBJECT>)" + entry("A") + "</UL>"
        << QStringList{"A -> "};
    QTest::newRow("objects never closed")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A">)"
           R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A1"></UL>)"
           R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="B">)"
        << QStringList{"A -> ", "  A1 -> ", "B -> "};
    QTest::newRow("lists never closed")
        << "<UL>" + entry("A") + "<UL>" + entry("A1") + "<UL>" + entry("A1a")
        << QStringList{"A -> ", "  A1 -> ", "    A1a -> "};
    QTest::newRow("stray list ends")
        << "</UL></UL><UL>" + entry("A") + "</UL></UL></UL>" + entry("B")
        << QStringList{"A -> ", "B -> "};
    QTest::newRow("a list opened before any entry")
        << "<UL><UL>" + entry("A") + "</UL>" + entry("B") + "</UL>"
        << QStringList{"A -> ", "B -> "};
    QTest::newRow("cut off inside a tag")
        << "<UL>" + entry("A") + R"(<LI><OBJECT type="text/sitemap"><param name="Name" val)"
        << QStringList{"A -> "};
    QTest::newRow("cut off inside a quoted value")
        << "<UL>" + entry("A") + R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="B)"
        << QStringList{"A -> "};
    QTest::newRow("no markup") << QString::fromLatin1(randomBytes(2000).replace('<', '_'))
                               << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestHelpWindow::parsedSitemap() {
    QFETCH(QString, sitemap);
    QFETCH(QStringList, outline);
    QCOMPARE(outlineOf(sitemap), outline);
}

void TestHelpWindow::deepNestingIsBounded() {
    constexpr int Levels = 5000;
    QString sitemap;
    for (int level = 0; level < Levels; ++level)
        sitemap += QStringLiteral("<UL>") + entry(QString::number(level));
    const std::vector<ContentsEntry> entries = ParseSitemap(sitemap);
    int depth = 0;
    qsizetype count = 0;
    for (const std::vector<ContentsEntry>* level = &entries; !level->empty();
         level = &level->back().children) {
        ++depth;
        count += static_cast<qsizetype>(level->size());
    }
    QCOMPARE(count, qsizetype{Levels});
    QVERIFY2(depth <= 100, qPrintable(QString::number(depth)));
}

ZIFFERON_GUI_TEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
