#include "tests/support/failure_reason.h"
#include "tests/support/gui_fixture.h"
#include "tests/support/random_bytes.h"
#include "tests/support/recording_opener.h"
#include "tests/support/sitemap_entry.h"
#include "toolbar/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeWidget>

#include <sys/stat.h>

namespace {

const QString Manual = QStringLiteral(ZIFFERON_HELP_FILE);

enum class Unreadable { Missing, Folder, Bytes };

// How the test goes back and forward: with the buttons, or with Alt+Left and Alt+Right while the
// focus is in one part of the window.
enum class Going { Buttons, KeysInPage, KeysInContents, KeysInSearchField };

// The keywords of docs/help/Index.hhk, in its order.
const QStringList ManualKeywords{"Alt+X",         "Back",         "Dezimalkomma",
                                 "Drucken",       "Einfügen",     "Eingabetaste",
                                 "Ende",          "Esc",          "Excel",
                                 "Exit",          "Fehler",       "Funktionen",
                                 "Hilfe",         "Infobox",      "Journal",
                                 "Korrektur",     "Layout.jpg",   "Nachkommastellen",
                                 "Neu",           "Öffnen",       "Operatoren",
                                 "Prozent",       "Speichern",    "Startfenster",
                                 "Summe",         "Tastenkürzel", "Vorzeichen",
                                 "Windows-1252",  "Word",         "Zahlen.txt",
                                 "Zwischenablage"};

QTreeWidget& contentsOf(const HelpWindow& window) {
    return *window.findChild<QTreeWidget*>(QStringLiteral("Contents"));
}

ChmBrowser& browserOf(const HelpWindow& window) {
    return *window.findChild<ChmBrowser*>(QStringLiteral("Browser"));
}

QTabWidget& tabsOf(const HelpWindow& window) {
    return *window.findChild<QTabWidget*>(QStringLiteral("Tabs"));
}

QStringList tabNames(const QTabWidget& tabs) {
    QStringList names;
    for (int i = 0; i < tabs.count(); ++i)
        names << tabs.tabText(i);
    return names;
}

// The keyword list and its search field; null when the window has no index.
QListWidget* indexOf(const HelpWindow& window) {
    return window.findChild<QListWidget*>(QStringLiteral("Index"));
}

QLineEdit* searchFieldOf(const HelpWindow& window) {
    return window.findChild<QLineEdit*>(QStringLiteral("Search"));
}

QToolButton& buttonOf(const HelpWindow& window, const char* name) {
    return *window.findChild<QToolButton*>(QLatin1String(name));
}

QStringList keptKeywords(const QListWidget& list) {
    QStringList names;
    for (int row = 0; row < list.count(); ++row) {
        if (!list.item(row)->isHidden())
            names << list.item(row)->text();
    }
    return names;
}

QStringList allKeywords(const QListWidget& list) {
    QStringList names;
    for (int row = 0; row < list.count(); ++row)
        names << list.item(row)->text();
    return names;
}

// Types the text key by key; QTest::keyClicks() takes ASCII only.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
}

// Clicks a tab as the user would.
void clickTab(QTabWidget& tabs, const QString& name) {
    const int tab = static_cast<int>(tabNames(tabs).indexOf(name));
    QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(tab).center());
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

// The names from the top of the contents down to the item.
QStringList pathOf(const QTreeWidgetItem* item) {
    QStringList path;
    for (; item; item = item->parent())
        path.prepend(item->text(0));
    return path;
}

// What is wrong with the contents' current entry: it is not the one at the path (none for an
// empty path), not the only one selected, or not wholly in view. Empty when nothing is.
QString currentEntryProblem(QTreeWidget& tree, const QStringList& path) {
    QTreeWidgetItem* current = tree.currentItem();
    if (pathOf(current) != path)
        return QStringLiteral("the current entry is „%1“").arg(pathOf(current).join(u'/'));
    const QList<QTreeWidgetItem*> selected = tree.selectedItems();
    if (!current)
        return selected.isEmpty() ? QString() : QStringLiteral("an entry is selected");
    if (selected != QList{current})
        return QStringLiteral("the current entry is not the only one selected");
    if (!tree.viewport()->rect().contains(tree.visualItemRect(current)))
        return QStringLiteral("the current entry is out of view");
    return {};
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

// The real file's headers without the directory and pages behind them.
QByteArray startOfTheManual() {
    QFile file(Manual);
    return file.open(QIODevice::ReadOnly) ? file.read(1024) : QByteArray();
}

// A small help file compiled with chmcmd: page "a.html" (the contents' only entry "A") links to
// "b.html", which no entry names. The index file, when given, is stored as "Stich.hhk" and named
// in the project's options only when asked to.
struct TinyManual {
    QString indexFile; // the text of Stich.hhk; none when null
    bool indexNamed = true;
    QString pageA = QStringLiteral(R"(<a href="b.html">Zur Seite B</a>)"); // the text of page A
    QStringList pictures = {}; // files of the folder stored beside the pages
};

QString sitemapOf(const QString& items) {
    return QStringLiteral("<HTML><BODY><UL>") + items + QStringLiteral("</UL></BODY></HTML>");
}

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The path of the compiled file in the folder, or empty when chmcmd failed.
QString compile(const TinyManual& manual, const QTemporaryDir& folder) {
    const QString page = QStringLiteral(
        R"(<html><head><meta charset="utf-8"><title>%1</title></head><body><h1>Seite %1</h1>)"
        R"(<p>%2</p></body></html>)");
    QString project = QStringLiteral("[OPTIONS]\nCompiled file=klein.chm\n"
                                     "Contents file=Inhalt.hhc\nDefault topic=a.html\n");
    QString files = QStringLiteral("\n[FILES]\na.html\nb.html\n") + manual.pictures.join(u'\n');
    if (!manual.indexFile.isNull()) {
        if (manual.indexNamed)
            project += QStringLiteral("Index file=Stich.hhk\n");
        files += QStringLiteral("Stich.hhk\n");
        if (!writeFile(folder.filePath(QStringLiteral("Stich.hhk")), manual.indexFile))
            return {};
    }
    if (!writeFile(folder.filePath(QStringLiteral("a.html")), page.arg("A", manual.pageA)) ||
        !writeFile(folder.filePath(QStringLiteral("b.html")), page.arg("B", "Ohne Eintrag")) ||
        !writeFile(folder.filePath(QStringLiteral("Inhalt.hhc")),
                   sitemapOf(SitemapEntry("A", "a.html"))) ||
        !writeFile(folder.filePath(QStringLiteral("klein.hhp")), project + files))
        return {};
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(folder.path());
    chmcmd.start(QStandardPaths::findExecutable(QStringLiteral("chmcmd")),
                 {QStringLiteral("--no-html-scan"), QStringLiteral("klein.hhp")});
    const QString compiled = folder.filePath(QStringLiteral("klein.chm"));
    if (!chmcmd.waitForFinished(30000) || chmcmd.exitStatus() != QProcess::NormalExit ||
        chmcmd.exitCode() != 0 || !QFile::exists(compiled))
        return {};
    return compiled;
}

} // namespace

Q_DECLARE_METATYPE(Unreadable)
Q_DECLARE_METATYPE(Going)
Q_DECLARE_METATYPE(TinyManual)

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
    void largePicturesAreDecodedOnceAndBounded();
    void secondShowHelpRaisesTheSameWindow_data();
    void secondShowHelpRaisesTheSameWindow();
    void unreadableFileIsReportedAndOpensNoWindow_data();
    void unreadableFileIsReportedAndOpensNoWindow();
    void contentsFollowTheLinkFollowed_data();
    void contentsFollowTheLinkFollowed();
    void pageWithoutEntryHasNoCurrentEntry();
    void backAndForward_data();
    void backAndForward();
    void indexListsTheKeywordsOfTheFile();
    void typedTextFiltersTheIndex_data();
    void typedTextFiltersTheIndex();
    void chosenKeywordShowsItsPage_data();
    void chosenKeywordShowsItsPage();
    void indexTabOnlyWithKeywords_data();
    void indexTabOnlyWithKeywords();
    void nothingIsReadFromOutsideTheFile();

private:
    // The manual's window, shown and exposed; null when it did not open.
    HelpWindow* openManual() { return openHelp(Manual); }
    HelpWindow* openHelp(const QString& helpFile);
    // The manual's window, active and so small that its contents need scrolling.
    HelpWindow* openSmallActiveManual();

    std::shared_ptr<RecordingOpener> m_webOpener;
    std::unique_ptr<HelpWindowHost> m_viewer;
};

void TestHelpWindow::init() {
    m_webOpener = std::make_shared<RecordingOpener>();
    m_viewer = std::make_unique<HelpWindowHost>(m_webOpener);
}

void TestHelpWindow::cleanup() {
    m_viewer.reset();
}

HelpWindow* TestHelpWindow::openHelp(const QString& helpFile) {
    if (m_viewer->ShowHelp(helpFile))
        return nullptr;
    HelpWindow* window = m_viewer->window();
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

HelpWindow* TestHelpWindow::openSmallActiveManual() {
    HelpWindow* window = openManual();
    if (!window)
        return nullptr;
    window->resize(640, 280);
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    QTreeWidget& contents = contentsOf(*window);
    const auto needsScrolling = [&contents] { return contents.verticalScrollBar()->maximum() > 0; };
    return QTest::qWaitFor(needsScrolling) ? window : nullptr;
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
    QCOMPARE(currentEntryProblem(contentsOf(*window), QStringList{"Überblick"}), QString());
    QCOMPARE(tabNames(tabsOf(*window)), (QStringList{"Inhalt", "Index"}));
    QCOMPARE(tabsOf(*window).currentWidget(), &contentsOf(*window));
    QCOMPARE(buttonOf(*window, "Back").text(), QStringLiteral("Zurück"));
    QCOMPARE(buttonOf(*window, "Forward").text(), QStringLiteral("Vor"));
    QVERIFY(!buttonOf(*window, "Back").isEnabled());
    QVERIFY(!buttonOf(*window, "Forward").isEnabled());
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
    QCOMPARE(namesBelow(*input), (QStringList{"Die Tasten", "Die Taste „+/-“", "Die Taste „%“",
                                              "Eine Spalte einfügen"}));
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
    const QImage loaded =
        browser.loadResource(QTextDocument::ImageResource, QUrl(picture)).value<QImage>();
    QCOMPARE(!loaded.isNull(), inFile);
    // Other addresses of the same picture give the picture decoded once.
    for (const QString& alias : QStringList{"./" + picture + "?2", "../" + picture})
        QCOMPARE(browser.loadResource(QTextDocument::ImageResource, QUrl(alias))
                     .value<QImage>()
                     .cacheKey(),
                 loaded.cacheKey());
}

// A page that names a large picture under many addresses decodes it once; a second one beyond
// what the decoded pictures of a page may take stays out.
void TestHelpWindow::largePicturesAreDecodedOnceAndBounded() {
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
        QSKIP("chmcmd is not installed; the tiny help file cannot be compiled");
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QImage large(3000, 3000, QImage::Format_RGB32);
    large.fill(Qt::blue);
    QVERIFY(large.save(folder.filePath("gross.png")) && large.save(folder.filePath("riesig.png")));
    TinyManual manual;
    manual.pictures = QStringList{"gross.png", "riesig.png"};
    manual.pageA = QStringLiteral("<img src=\"gross.png\"><img src=\"riesig.png\">");
    for (int copy = 0; copy < 40; ++copy)
        manual.pageA += QStringLiteral("<img src=\"gross.png?%1\">").arg(copy);
    const QString file = compile(manual, folder);
    QVERIFY2(!file.isEmpty(), "chmcmd did not compile the tiny help file");
    HelpWindow* window = openHelp(file);
    QVERIFY(window);
    ChmBrowser& page = browserOf(*window);
    const auto pictureAt = [&page](const QString& address) {
        return page.loadResource(QTextDocument::ImageResource, QUrl(address)).value<QImage>();
    };
    const QImage first = pictureAt(QStringLiteral("gross.png"));
    QCOMPARE(first.size(), QSize(3000, 3000));
    for (int copy = 0; copy < 40; ++copy)
        QCOMPARE(pictureAt(QStringLiteral("gross.png?%1").arg(copy)).cacheKey(), first.cacheKey());
    QVERIFY(pictureAt(QStringLiteral("riesig.png")).isNull());
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
    QCOMPARE(m_viewer->ShowHelp(Manual), std::nullopt);
    QCOMPARE(m_viewer->window(), window);
    QCOMPARE(visibleHelpWindows(), QList<HelpWindow*>{window});
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

void TestHelpWindow::unreadableFileIsReportedAndOpensNoWindow_data() {
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

void TestHelpWindow::unreadableFileIsReportedAndOpensNoWindow() {
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
    const std::optional<QString> failure = ReasonOf(m_viewer->ShowHelp(path));
    QVERIFY(failure);
    QVERIFY2(failure->contains(QDir::toNativeSeparators(path)), qPrintable(*failure));
    QVERIFY2(failure->contains(u"Hilfedatei"), qPrintable(*failure));
    QVERIFY(!m_viewer->window());
    QVERIFY(visibleHelpWindows().isEmpty());
}

void TestHelpWindow::contentsFollowTheLinkFollowed_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("entry");
    QTest::newRow("to a chapter") << "index.html"
                                  << "Die Befehle der Symbolleiste"
                                  << QStringList{"Die Symbolleiste"};
    QTest::newRow("to a section of another page: its entry, not the page's")
        << "symbolleiste.html"
        << "Öffnen" << QStringList{"Die Streifendatei", "Öffnen"};
    QTest::newRow("within the page")
        << "eingabe.html"
        << "unten" << QStringList{"Formeln eingeben", "Die Taste „+/-“"};
    QTest::newRow("from a section to a page without anchor")
        << "streifen.html#kopieren"
        << "Eine Zeile korrigieren" << QStringList{"Eine Zeile korrigieren"};
    QTest::newRow("to an anchor without entry: the entry of its page")
        << "symbolleiste.html"
        << "Die Infobox" << QStringList{"Startfenster und Infobox"};
    QTest::newRow("down to the last entry, scrolled into view")
        << "formeln.html"
        << "Startfenster und Infobox" << QStringList{"Startfenster und Infobox"};
    QTest::newRow("up to the first entry, scrolled into view")
        << "start_info.html"
        << "Überblick" << QStringList{"Überblick"};
}

void TestHelpWindow::contentsFollowTheLinkFollowed() {
    QFETCH(QString, start);
    QFETCH(QString, link);
    QFETCH(QStringList, entry);
    HelpWindow* window = openSmallActiveManual();
    QVERIFY(window);
    QTreeWidget& contents = contentsOf(*window);
    // The entry the link leads to is out of view before, where scrolling matters.
    window->showTopic(start);
    QVERIFY(contents.currentItem());
    QVERIFY2(clickLink(browserOf(*window), link), "no such link on the page");
    QCOMPARE(currentEntryProblem(contents, entry), QString());
}

void TestHelpWindow::pageWithoutEntryHasNoCurrentEntry() {
    QTemporaryDir folder;
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
        QSKIP("chmcmd is not installed; the tiny help file cannot be compiled");
    const QString file = compile(TinyManual{}, folder);
    QVERIFY2(!file.isEmpty(), "chmcmd did not compile the tiny help file");
    HelpWindow* window = openHelp(file);
    QVERIFY(window);
    QTreeWidget& contents = contentsOf(*window);
    QCOMPARE(currentEntryProblem(contents, QStringList{"A"}), QString());
    QVERIFY(clickLink(browserOf(*window), QStringLiteral("Zur Seite B")));
    QCOMPARE(browserOf(*window).source(), QUrl(QStringLiteral("chm:/b.html")));
    QCOMPARE(currentEntryProblem(contents, QStringList{}), QString());
    QTest::mouseClick(&buttonOf(*window, "Back"), Qt::LeftButton);
    QCOMPARE(browserOf(*window).source(), QUrl(QStringLiteral("chm:/a.html")));
    QCOMPARE(currentEntryProblem(contents, QStringList{"A"}), QString());
}

void TestHelpWindow::backAndForward_data() {
    QTest::addColumn<Going>("going");
    QTest::newRow("buttons") << Going::Buttons;
    QTest::newRow("Alt+Left, Alt+Right in the page") << Going::KeysInPage;
    QTest::newRow("Alt+Left, Alt+Right in the contents") << Going::KeysInContents;
    QTest::newRow("Alt+Left, Alt+Right in the search field") << Going::KeysInSearchField;
}

void TestHelpWindow::backAndForward() {
    QFETCH(Going, going);
    HelpWindow* window = openSmallActiveManual();
    QVERIFY(window);
    ChmBrowser& browser = browserOf(*window);
    QTreeWidget& contents = contentsOf(*window);
    QToolButton& back = buttonOf(*window, "Back");
    QToolButton& forward = buttonOf(*window, "Forward");
    QWidget* focus = &browser;
    if (going == Going::KeysInContents)
        focus = &contents;
    if (going == Going::KeysInSearchField) {
        clickTab(tabsOf(*window), QStringLiteral("Index"));
        focus = searchFieldOf(*window);
        QVERIFY(focus);
    }
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    const auto go = [&](bool backward) {
        if (going == Going::Buttons)
            QTest::mouseClick(backward ? &back : &forward, Qt::LeftButton);
        else
            QTest::keySequence(focus, backward ? QKeySequence::Back : QKeySequence::Forward);
    };
    // What differs from the expected state; empty when nothing does.
    const auto shows = [&](const char* page, const QStringList& entry, bool canGoBack,
                           bool canGoForward) {
        if (browser.source() != QUrl(QLatin1String(page)))
            return QStringLiteral("shows %1").arg(browser.source().toString());
        if (const QString problem = currentEntryProblem(contents, entry); !problem.isEmpty())
            return problem;
        if (back.isEnabled() != canGoBack || forward.isEnabled() != canGoForward)
            return QStringLiteral("Zurück %1, Vor %2")
                .arg(back.isEnabled())
                .arg(forward.isEnabled());
        return QString();
    };

    // Nothing to go to: the page stays.
    QCOMPARE(shows("chm:/index.html", {"Überblick"}, false, false), QString());
    go(true);
    go(false);
    QCOMPARE(shows("chm:/index.html", {"Überblick"}, false, false), QString());

    QVERIFY(clickLink(browser, QStringLiteral("Die Befehle der Symbolleiste")));
    QCOMPARE(shows("chm:/symbolleiste.html", {"Die Symbolleiste"}, true, false), QString());
    QVERIFY(clickLink(browser, QStringLiteral("Öffnen")));
    focus->setFocus(); // the click on the link took it
    const QStringList opening{"Die Streifendatei", "Öffnen"};
    QCOMPARE(shows("chm:/streifendatei.html#oeffnen", opening, true, false), QString());

    go(true);
    QCOMPARE(shows("chm:/symbolleiste.html", {"Die Symbolleiste"}, true, true), QString());
    go(true);
    QCOMPARE(shows("chm:/index.html", {"Überblick"}, false, true), QString());
    go(false);
    QCOMPARE(shows("chm:/symbolleiste.html", {"Die Symbolleiste"}, true, true), QString());
    go(false);
    QCOMPARE(shows("chm:/streifendatei.html#oeffnen", opening, true, false), QString());
    QVERIFY2(browser.verticalScrollBar()->value() > 0, "the page is not at its anchor again");

    // A new page after going back ends the way forward.
    go(true);
    QVERIFY(clickLink(browser, QStringLiteral("Word")));
    const QStringList word{"Drucken und Übergabe", "Word"};
    QCOMPARE(shows("chm:/drucken_export.html#word", word, true, false), QString());
}

void TestHelpWindow::indexListsTheKeywordsOfTheFile() {
    HelpWindow* window = openManual();
    QVERIFY(window);
    QListWidget* index = indexOf(*window);
    QVERIFY(index);
    QCOMPARE(allKeywords(*index), ManualKeywords);
    QCOMPARE(keptKeywords(*index), ManualKeywords);
    QLineEdit* search = searchFieldOf(*window);
    QVERIFY(search);
    QCOMPARE(search->placeholderText(), QStringLiteral("Suchbegriff"));
    clickTab(tabsOf(*window), QStringLiteral("Index"));
    QVERIFY(index->isVisible());
    QVERIFY(search->isVisible());
    QVERIFY(!contentsOf(*window).isVisible());
}

void TestHelpWindow::typedTextFiltersTheIndex_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QStringList>("entry");
    QTest::newRow("a beginning") << "dr" << 0 << QStringList{"Drucken"}
                                 << QUrl("chm:/drucken_export.html#drucken")
                                 << QStringList{"Drucken und Übergabe", "Drucken"};
    QTest::newRow("any case") << "EX" << 0 << QStringList{"Excel", "Exit"}
                              << QUrl("chm:/drucken_export.html#excel")
                              << QStringList{"Drucken und Übergabe", "Excel"};
    QTest::newRow("an umlaut") << "öFF" << 0 << QStringList{"Öffnen"}
                               << QUrl("chm:/streifendatei.html#oeffnen")
                               << QStringList{"Die Streifendatei", "Öffnen"};
    const QStringList withEn{"Drucken",          "Einfügen",     "Ende",       "Funktionen",
                             "Nachkommastellen", "Öffnen",       "Operatoren", "Prozent",
                             "Startfenster",     "Tastenkürzel", "Vorzeichen", "Zahlen.txt",
                             "Zwischenablage"};
    QTest::newRow("inside: the first keyword beginning with it is chosen")
        << "en" << 0 << withEn << QUrl("chm:/symbolleiste.html") << QStringList{"Die Symbolleiste"};
    QTest::newRow("the down key chooses the next kept keyword")
        << "en" << 1 << withEn << QUrl("chm:/formeln.html#funktionen")
        << QStringList{"Die Formelsprache", "Funktionen"};
    QTest::newRow("only inside: the first is chosen")
        << "ste" << 0
        << QStringList{"Eingabetaste", "Nachkommastellen", "Startfenster", "Tastenkürzel"}
        << QUrl("chm:/eingabe.html") << QStringList{"Formeln eingeben"};
    QTest::newRow("nothing kept: Enter keeps the page")
        << "xyz" << 0 << QStringList{} << QUrl("chm:/index.html") << QStringList{"Überblick"};
}

void TestHelpWindow::typedTextFiltersTheIndex() {
    QFETCH(QString, typed);
    QFETCH(int, downs);
    QFETCH(QStringList, kept);
    QFETCH(QUrl, page);
    QFETCH(QStringList, entry);
    HelpWindow* window = openSmallActiveManual();
    QVERIFY(window);
    clickTab(tabsOf(*window), QStringLiteral("Index"));
    QLineEdit* search = searchFieldOf(*window);
    QVERIFY(search);
    QTRY_VERIFY(search->hasFocus());
    typeText(search, typed);
    QCOMPARE(search->text(), typed);
    QListWidget& index = *indexOf(*window);
    QCOMPARE(keptKeywords(index), kept);
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(search, Qt::Key_Down);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(browserOf(*window).source(), page);
    if (page.hasFragment())
        QVERIFY2(browserOf(*window).verticalScrollBar()->value() > 0, "not at the anchor");
    QVERIFY(search->hasFocus());
    clickTab(tabsOf(*window), QStringLiteral("Inhalt"));
    QCOMPARE(currentEntryProblem(contentsOf(*window), entry), QString());

    // Emptied, the field keeps every keyword again.
    clickTab(tabsOf(*window), QStringLiteral("Index"));
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(keptKeywords(index), ManualKeywords);
}

void TestHelpWindow::chosenKeywordShowsItsPage_data() {
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<QUrl>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entry");
    QTest::newRow("click") << "Prozent" << true << QUrl("chm:/eingabe.html#prozent")
                           << "Die Taste „%“ schreibt selbst kein Prozentzeichen"
                           << QStringList{"Formeln eingeben", "Die Taste „%“"};
    QTest::newRow("click on the last, scrolled to")
        << "Zwischenablage" << true << QUrl("chm:/streifen.html#kopieren") << "Summe kopieren"
        << QStringList{"Der Zahlenstreifen", "Eine Summe kopieren"};
    QTest::newRow("click: an anchor without contents entry")
        << "Hilfe" << true << QUrl("chm:/symbolleiste.html#hilfefenster") << "Das Hilfefenster"
        << QStringList{"Die Symbolleiste"};
    QTest::newRow("Enter in the list")
        << "Startfenster" << false << QUrl("chm:/start_info.html#start")
        << "Beim Start zeigt Zifferon" << QStringList{"Startfenster und Infobox"};
}

void TestHelpWindow::chosenKeywordShowsItsPage() {
    QFETCH(QString, keyword);
    QFETCH(bool, byClick);
    QFETCH(QUrl, page);
    QFETCH(QString, text);
    QFETCH(QStringList, entry);
    HelpWindow* window = openSmallActiveManual();
    QVERIFY(window);
    clickTab(tabsOf(*window), QStringLiteral("Index"));
    QListWidget& index = *indexOf(*window);
    const QList<QListWidgetItem*> found = index.findItems(keyword, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QListWidgetItem* item = found.front();
    index.scrollToItem(item);
    if (byClick) {
        QTest::mouseClick(index.viewport(), Qt::LeftButton, {},
                          index.visualItemRect(item).center());
    } else {
        index.setFocus();
        index.setCurrentItem(item);
        QTest::keyClick(&index, Qt::Key_Return);
    }
    const ChmBrowser& browser = browserOf(*window);
    QCOMPARE(browser.source(), page);
    QVERIFY2(browser.toPlainText().contains(text), qPrintable(browser.toPlainText().left(200)));
    QCOMPARE(tabsOf(*window).currentWidget()->findChild<QListWidget*>(), &index);
    clickTab(tabsOf(*window), QStringLiteral("Inhalt"));
    QCOMPARE(currentEntryProblem(contentsOf(*window), entry), QString());
}

void TestHelpWindow::indexTabOnlyWithKeywords_data() {
    QTest::addColumn<TinyManual>("manual");
    QTest::addColumn<QStringList>("keywords");
    QTest::newRow("no index") << TinyManual{} << QStringList{};
    QTest::newRow("an index without keywords") << TinyManual{sitemapOf({}), true} << QStringList{};
    QTest::newRow("an index stored but not named in the options, with a keyword below another")
        << TinyManual{QStringLiteral("<HTML><BODY><UL>") + SitemapEntry("Bee", "b.html") + "<UL>" +
                          SitemapEntry("Honig", "a.html") + "</UL></UL></BODY></HTML>",
                      false}
        << QStringList{"Bee", "Bee, Honig"};
    const QString longName(300, u'a');
    const QString cut = longName.left(199) + u'…';
    QTest::newRow("long names, cut")
        << TinyManual{sitemapOf(SitemapEntry(longName, "b.html") + "<UL>" +
                                SitemapEntry("Honig", "a.html")),
                      true}
        << QStringList{cut, cut};
}

void TestHelpWindow::indexTabOnlyWithKeywords() {
    QFETCH(TinyManual, manual);
    QFETCH(QStringList, keywords);
    QTemporaryDir folder;
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
        QSKIP("chmcmd is not installed; the tiny help file cannot be compiled");
    const QString file = compile(manual, folder);
    QVERIFY2(!file.isEmpty(), "chmcmd did not compile the tiny help file");
    HelpWindow* window = openHelp(file);
    QVERIFY(window);
    QTabWidget& tabs = tabsOf(*window);
    QListWidget* index = indexOf(*window);
    if (keywords.isEmpty()) {
        QCOMPARE(tabNames(tabs), QStringList{"Inhalt"});
        QVERIFY(!index);
        QVERIFY(!searchFieldOf(*window));
        return;
    }
    QCOMPARE(tabNames(tabs), (QStringList{"Inhalt", "Index"}));
    QVERIFY(index);
    QCOMPARE(allKeywords(*index), keywords);
    clickTab(tabs, QStringLiteral("Index"));
    index->scrollToItem(index->item(1));
    QTest::mouseClick(index->viewport(), Qt::LeftButton, {},
                      index->visualItemRect(index->item(1)).center());
    QCOMPARE(browserOf(*window).source(), QUrl(QStringLiteral("chm:/a.html")));
    QTest::mouseClick(index->viewport(), Qt::LeftButton, {},
                      index->visualItemRect(index->item(0)).center());
    QCOMPARE(browserOf(*window).source(), QUrl(QStringLiteral("chm:/b.html")));
}

// A page that names a device, a picture on the disk and a pipe as its pictures and links: none of
// them is read, the window stays on the page, and only the web link leaves for the browser.
void TestHelpWindow::nothingIsReadFromOutsideTheFile() {
    if (QStandardPaths::findExecutable(QStringLiteral("chmcmd")).isEmpty())
        QSKIP("chmcmd is not installed; the tiny help file cannot be compiled");
    QTemporaryDir folder;
    const QString picture = folder.filePath("bild.png");
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QVERIFY(dot.save(picture));
    const QString pipe = folder.filePath("roehre");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString pictureUrl = QUrl::fromLocalFile(picture).toString();
    TinyManual manual;
    manual.pageA = QStringLiteral("<img src=\"file:///dev/zero\"><img src=\"%1\">"
                                  "<a href=\"%1\">Bild</a> <a href=\"%2\">Röhre</a> "
                                  "<a href=\"ftp://example.org/a\">Fremd</a> "
                                  "<a href=\"https://example.org/zifferon\">Netz</a>")
                       .arg(pictureUrl, QUrl::fromLocalFile(pipe).toString());
    const QString file = compile(manual, folder);
    QVERIFY2(!file.isEmpty(), "chmcmd did not compile the tiny help file");
    HelpWindow* window = openHelp(file);
    QVERIFY(window);
    ChmBrowser& page = browserOf(*window);
    const QString text = page.toPlainText();

    const QVariant shown = page.document()->resource(QTextDocument::ImageResource, pictureUrl);
    QVERIFY(QImage::fromData(shown.toByteArray()).isNull());
    QVERIFY(shown.value<QImage>().isNull() && shown.value<QPixmap>().isNull());
    for (const char* link : {"Bild", "Röhre", "Fremd", "Netz"})
        QVERIFY2(clickLink(page, QString::fromUtf8(link)), link);

    QCOMPARE(page.source(), QUrl("chm:/a.html"));
    QCOMPARE(page.toPlainText(), text);
    QVERIFY(!buttonOf(*window, "Back").isEnabled());
    QCOMPARE(m_webOpener->opened, QStringList{"https://example.org/zifferon"});
}

ZIFFERON_GUI_TEST_MAIN(TestHelpWindow)
#include "tst_help_window.moc"
