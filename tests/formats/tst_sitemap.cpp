#include "formats/chm_file.h"
#include "tests/support/random_bytes.h"
#include "tests/support/sitemap_entry.h"

#include <QTest>

namespace {

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

} // namespace

class TestSitemap : public QObject {
    Q_OBJECT

private slots:
    void parsedSitemap_data();
    void parsedSitemap();
    void deepNestingIsBounded();
};

void TestSitemap::parsedSitemap_data() {
    QTest::addColumn<QString>("sitemap");
    QTest::addColumn<QStringList>("outline");
    QTest::newRow("one level") << "<UL>" + SitemapEntry("A", "a.html") +
                                      SitemapEntry("B", "b.html") + "</UL>"
                               << QStringList{"A -> a.html", "B -> b.html"};
    QTest::newRow("nested lists hold the children of the entry before them")
        << "<UL>" + SitemapEntry("A", "a.html") + "<UL>" + SitemapEntry("A1", "a.html#1") +
               SitemapEntry("A2", "a2.html") + "<UL>" + SitemapEntry("A2a", "a2.html#x") +
               "</UL></UL>" + SitemapEntry("B", "b.html") + "</UL>"
        << QStringList{"A -> a.html", "  A1 -> a.html#1", "  A2 -> a2.html", "    A2a -> a2.html#x",
                       "B -> b.html"};
    QTest::newRow("entry without a page") << "<UL>" + SitemapEntry("Kapitel") + "<UL>" +
                                                 SitemapEntry("Seite", "s.html") + "</UL></UL>"
                                          << QStringList{"Kapitel -> ", "  Seite -> s.html"};
    QTest::newRow("entities and umlauts")
        << "<UL>" + SitemapEntry("&Uuml;berblick &amp; Men&#252;", "a&amp;b.html") +
               SitemapEntry("Größe") + SitemapEntry("&quot;Öffnen&quot; &lt;Strg&gt;") + "</UL>"
        << QStringList{"Überblick & Menü -> a&b.html", "Größe -> ", "\"Öffnen\" <Strg> -> "};
    QTest::newRow("an index keyword with several topics: the keyword and its first")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Drucken">)"
           R"(<param name="Name" value="Seite 1"><param name="Local" value="a.html">)"
           R"(<param name="Name" value="Seite 2"><param name="Local" value="b.html"></OBJECT>)" +
               SitemapEntry("Excel", "c.html") + "</UL>"
        << QStringList{"Drucken -> a.html", "Excel -> c.html"};
    QTest::newRow("any case, either quotes or none")
        << R"(<ul><li><object TYPE='Text/Sitemap'><PARAM NAME=name VALUE='Eins'>)"
           R"(<Param Name="LOCAL" Value=eins.html></Object></ul>)"
        << QStringList{"Eins -> eins.html"};
    QTest::newRow("a > inside a quoted value")
        << "<UL>" + SitemapEntry("a > b", "ab.html") + "</UL>" << QStringList{"a > b -> ab.html"};
    QTest::newRow("other objects are no entries")
        << R"(<OBJECT type="text/site properties"><param name="Name" value="Stil"></OBJECT>)"
           R"(<UL><LI><OBJECT type="text/html"><param name="Name" value="X"></OBJECT>)" +
               SitemapEntry("A", "a.html") + "</UL>"
        << QStringList{"A -> a.html"};
    QTest::newRow("an object with neither name nor page")
        << R"(<UL><LI><OBJECT type="text/sitemap"></OBJECT>)" + SitemapEntry("A") + "</UL>"
        << QStringList{"A -> "};
    QTest::newRow("objects never closed")
        << R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A">)"
           R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="A1"></UL>)"
           R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="B">)"
        << QStringList{"A -> ", "  A1 -> ", "B -> "};
    QTest::newRow("lists never closed")
        << "<UL>" + SitemapEntry("A") + "<UL>" + SitemapEntry("A1") + "<UL>" + SitemapEntry("A1a")
        << QStringList{"A -> ", "  A1 -> ", "    A1a -> "};
    QTest::newRow("stray list ends")
        << "</UL></UL><UL>" + SitemapEntry("A") + "</UL></UL></UL>" + SitemapEntry("B")
        << QStringList{"A -> ", "B -> "};
    QTest::newRow("a list opened before any entry")
        << "<UL><UL>" + SitemapEntry("A") + "</UL>" + SitemapEntry("B") + "</UL>"
        << QStringList{"A -> ", "B -> "};
    QTest::newRow("cut off inside a tag")
        << "<UL>" + SitemapEntry("A") + R"(<LI><OBJECT type="text/sitemap"><param name="Name" val)"
        << QStringList{"A -> "};
    QTest::newRow("cut off inside a quoted value")
        << "<UL>" + SitemapEntry("A") +
               R"(<LI><OBJECT type="text/sitemap"><param name="Name" value="B)"
        << QStringList{"A -> "};
    QTest::newRow("markup in a name is text, nothing is loaded")
        << "<UL>" + SitemapEntry("<b>fett</b> <link rel=stylesheet href=x.css><img src=bild.png>") +
               "</UL>"
        << QStringList{"<b>fett</b> <link rel=stylesheet href=x.css><img src=bild.png> -> "};
    QTest::newRow("references by number, unknown names, white space")
        << "<UL>" + SitemapEntry("&#x41;&#66;&#0;&#xD800; &bogus; &euro;&nbsp;1\t \n2") + "</UL>"
        << QStringList{"AB\uFFFD\uFFFD &bogus; €\u00A01 2 -> "};
    QTest::newRow("no markup") << QString::fromLatin1(randomBytes(2000).replace('<', '_'))
                               << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestSitemap::parsedSitemap() {
    QFETCH(QString, sitemap);
    QFETCH(QStringList, outline);
    QCOMPARE(outlineOf(sitemap), outline);
}

void TestSitemap::deepNestingIsBounded() {
    constexpr int Levels = 5000;
    QString sitemap;
    for (int level = 0; level < Levels; ++level)
        sitemap += QStringLiteral("<UL>") + SitemapEntry(QString::number(level));
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

QTEST_GUILESS_MAIN(TestSitemap)
#include "tst_sitemap.moc"
