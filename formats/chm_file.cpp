#include "formats/chm_file.h"

#include "files/file_access.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <chm_lib.h>

#include <cerrno>
#include <iterator>
#include <map>
#include <optional>
#include <unistd.h>

namespace {

// Codes of the entries of the #SYSTEM object.
constexpr int ContentsFileCode = 0;
constexpr int IndexFileCode = 1;
constexpr int DefaultTopicCode = 2;

// Larger objects are refused rather than read into memory.
constexpr LONGUINT64 MaxObjectSize = 64 * 1024 * 1024;

// The text entries of #SYSTEM by code: a version word, then records of code, length, data.
std::map<int, QString> systemEntries(const QByteArray& system) {
    std::map<int, QString> entries;
    const auto word = [&system](qsizetype at) {
        return static_cast<int>(static_cast<unsigned char>(system[at]) |
                                static_cast<unsigned char>(system[at + 1]) << 8);
    };
    qsizetype at = 4;
    while (at + 4 <= system.size()) {
        const int code = word(at);
        const qsizetype length = word(at + 2);
        at += 4;
        if (at + length > system.size())
            break;
        const QByteArray data = system.mid(at, length);
        entries.emplace(code, QString::fromUtf8(data.left(data.indexOf('\0'))));
        at += length;
    }
    return entries;
}

QString objectPath(const QString& page) {
    return page.startsWith(u'/') ? page : u'/' + page;
}

std::optional<chmUnitInfo> resolved(chmFile* handle, const QString& path) {
    chmUnitInfo unit{};
    const QByteArray name = objectPath(path).toUtf8();
    if (chm_resolve_object(handle, name.constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    return unit;
}

QString pageOf(const QString& local) {
    return local.left(local.indexOf(u'#'));
}

// The named characters a help compiler writes: the markup characters, Latin-1 and the
// typographic characters of Windows-1252.
const QHash<QString, char32_t>& namedCharacters() {
    static const QHash<QString, char32_t> characters = [] {
        QHash<QString, char32_t> table{
            {"quot", 0x22},     {"amp", 0x26},      {"apos", 0x27},     {"lt", 0x3C},
            {"gt", 0x3E},       {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},
            {"scaron", 0x161},  {"Yuml", 0x178},    {"fnof", 0x192},    {"circ", 0x2C6},
            {"tilde", 0x2DC},   {"ensp", 0x2002},   {"emsp", 0x2003},   {"thinsp", 0x2009},
            {"ndash", 0x2013},  {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},
            {"sbquo", 0x201A},  {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},
            {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026},
            {"permil", 0x2030}, {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},
            {"trade", 0x2122}};
        // Latin-1's names name U+00A0 to U+00FF in order.
        static constexpr const char* Latin1[] = {
            "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
            "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
            "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
            "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
            "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
            "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
            "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
            "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
            "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
            "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
            "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
            "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
        static_assert(std::size(Latin1) == 0x60);
        for (char32_t code = 0xA0; const char* entity : Latin1)
            table.insert(QLatin1String(entity), code++);
        return table;
    }();
    return characters;
}

// The character a reference names ("#252", "#xFC", "uuml"), or nothing for an unknown name.
std::optional<QString> referencedCharacter(const QString& reference) {
    if (!reference.startsWith(u'#')) {
        const auto found = namedCharacters().constFind(reference);
        if (found == namedCharacters().constEnd())
            return std::nullopt;
        return QString::fromUcs4(&*found, 1);
    }
    const bool hex = reference.size() > 1 && reference[1].toLower() == u'x';
    const char32_t code = reference.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
    const bool valid = code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    const char32_t shown = valid ? code : char32_t{0xFFFD};
    return QString::fromUcs4(&shown, 1);
}

// An attribute value as the plain text it stands for: its character references decoded, runs of
// white space made one blank. Markup in it stays as it is written, and nothing is loaded.
QString plainText(const QString& value) {
    static const QRegularExpression reference(
        QStringLiteral(R"re(&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[A-Za-z][A-Za-z0-9]{1,7});)re"));
    const QString text = value.simplified();
    QString plain;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
        if (const std::optional<QString> character = referencedCharacter(match.captured(1))) {
            plain += QStringView(text).sliced(copied, match.capturedStart() - copied);
            plain += *character;
            copied = match.capturedEnd();
        }
    }
    plain += QStringView(text).sliced(copied);
    return plain;
}

QString attribute(const QString& tag, const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral(R"re((\w+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"));
    for (const QRegularExpressionMatch& match : pattern.globalMatch(tag)) {
        if (match.captured(1).compare(name, Qt::CaseInsensitive) == 0) {
            const QString value = match.captured(2) + match.captured(3) + match.captured(4);
            return plainText(value);
        }
    }
    return {};
}

bool isSitemapObject(const QString& tag) {
    const QString type = attribute(tag, QStringLiteral("type"));
    return type.compare(u"text/sitemap", Qt::CaseInsensitive) == 0;
}

// Lists nested deeper keep their entries at this depth, so that no file nests them without end.
constexpr std::size_t MaxNesting = 64;

// Builds the nested entries while the sitemap's tags pass by in order. Markup that is not well
// formed still gives entries: an object or list left open ends where the next one begins.
class SitemapBuilder {
public:
    void tag(const QString& name, bool closing, const QString& text) {
        if (name == u"ul")
            closing ? leaveList() : enterList();
        else if (name == u"object")
            closing ? endObject() : beginObject(text);
        else if (name == u"param" && m_inSitemapObject)
            param(text);
    }

    std::vector<ContentsEntry> take() {
        endObject();
        return std::move(m_root);
    }

private:
    std::vector<ContentsEntry>& currentList() { return m_lists.empty() ? m_root : *m_lists.back(); }

    // The first list is the top level; a list opened behind an entry holds its children.
    void enterList() {
        endObject();
        std::vector<ContentsEntry>& list = currentList();
        const bool nests = !m_lists.empty() && !list.empty() && m_lists.size() < MaxNesting;
        m_lists.push_back(nests ? &list.back().children : &list);
    }

    void leaveList() {
        endObject();
        if (!m_lists.empty())
            m_lists.pop_back();
    }

    void beginObject(const QString& text) {
        endObject();
        m_inSitemapObject = isSitemapObject(text);
    }

    void param(const QString& text) {
        const QString name = attribute(text, QStringLiteral("name"));
        if (name.compare(u"Name", Qt::CaseInsensitive) == 0 && m_entry.name.isEmpty())
            m_entry.name = attribute(text, QStringLiteral("value"));
        else if (name.compare(u"Local", Qt::CaseInsensitive) == 0 && m_entry.local.isEmpty())
            m_entry.local = attribute(text, QStringLiteral("value"));
    }

    void endObject() {
        if (m_inSitemapObject && !(m_entry.name.isEmpty() && m_entry.local.isEmpty()))
            currentList().push_back(std::move(m_entry));
        m_entry = {};
        m_inSitemapObject = false;
    }

    std::vector<ContentsEntry> m_root;
    std::vector<std::vector<ContentsEntry>*> m_lists;
    ContentsEntry m_entry;
    bool m_inSitemapObject = false;
};

const ContentsEntry* firstPage(const std::vector<ContentsEntry>& entries) {
    for (const ContentsEntry& entry : entries) {
        if (!entry.local.isEmpty())
            return &entry;
        if (const ContentsEntry* below = firstPage(entry.children))
            return below;
    }
    return nullptr;
}

// chm_enumerate() callback: stops at the first object whose name ends in ".hhk".
int findIndexObject(chmFile*, chmUnitInfo* unit, void* context) {
    const QString path = QString::fromUtf8(unit->path);
    if (!path.endsWith(u".hhk", Qt::CaseInsensitive))
        return CHM_ENUMERATOR_CONTINUE;
    *static_cast<QString*>(context) = path;
    return CHM_ENUMERATOR_SUCCESS;
}

const QString NoHelpFile = QStringLiteral("Sie ist keine gültige kompilierte Hilfedatei.");

QString helpFileWarning(const QString& path, const QString& cause) {
    return QStringLiteral("Die Hilfedatei „%1“ kann nicht angezeigt werden. %2")
        .arg(QDir::toNativeSeparators(path), cause);
}

} // namespace

std::vector<ContentsEntry> ParseSitemap(const QString& html) {
    // A ">" inside a quoted attribute value does not end the tag.
    static const QRegularExpression tagPattern(
        QStringLiteral(R"re(<\s*(/?)\s*(\w+)((?:[^>"']|"[^"]*"|'[^']*')*)>)re"));
    SitemapBuilder builder;
    for (const QRegularExpressionMatch& match : tagPattern.globalMatch(html))
        builder.tag(match.captured(2).toLower(), !match.captured(1).isEmpty(), match.captured(3));
    return builder.take();
}

Failure DamagedHelpFile(const QString& path) {
    return helpFileWarning(path, QStringLiteral("Sie ist beschädigt."));
}

void ChmFile::Closer::operator()(chmFile* handle) const {
    chm_close(handle);
}

ChmFile::ChmFile(chmFile* handle)
    : m_handle(handle) {}

ChmFile::~ChmFile() = default;

std::variant<std::unique_ptr<ChmFile>, Failure> ChmFile::load(const QString& path) {
    // chmlib opens whatever the path names, and a pipe would block it for good.
    if (std::optional<Failure> cause = ReadableRegularFileProblem(path))
        return helpFileWarning(path, cause->reason);
    std::unique_ptr<ChmFile> file = parse(path);
    if (!file)
        return helpFileWarning(path, NoHelpFile);
    if (file->m_defaultTopic.isEmpty() || !file->read(pageOf(file->m_defaultTopic)))
        return helpFileWarning(path, QStringLiteral("Sie enthält keine Startseite."));
    return file;
}

std::unique_ptr<ChmFile> ChmFile::parse(const QString& path) {
    chmFile* handle = chm_open(QFile::encodeName(path).constData());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle));
    file->readSystemFile();
    return file;
}

std::optional<quint64> ChmFile::objectAt(const QString& path) const {
    const std::optional<chmUnitInfo> unit = resolved(m_handle.get(), path);
    return unit ? std::optional(unit->start << 1 | (unit->space & 1)) : std::nullopt;
}

std::optional<QByteArray> ChmFile::read(const QString& path) const {
    std::optional<chmUnitInfo> unit = resolved(m_handle.get(), path);
    if (!unit || unit->length > MaxObjectSize)
        return std::nullopt;
    QByteArray data(static_cast<qsizetype>(unit->length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_handle.get(), &*unit, reinterpret_cast<unsigned char*>(data.data()),
                            0, static_cast<LONGINT64>(unit->length));
    if (got != static_cast<LONGINT64>(unit->length))
        return std::nullopt;
    return data;
}

void ChmFile::readSystemFile() {
    std::map<int, QString> entries = systemEntries(read(QStringLiteral("/#SYSTEM")).value_or(""));
    const QString& contentsFile = entries[ContentsFileCode];
    if (const std::optional<QByteArray> sitemap =
            contentsFile.isEmpty() ? std::nullopt : read(contentsFile))
        m_contents = ParseSitemap(QString::fromUtf8(*sitemap));
    if (const std::optional<QByteArray> index = readIndexFile(entries[IndexFileCode]))
        m_index = ParseSitemap(QString::fromUtf8(*index));
    m_defaultTopic = entries[DefaultTopicCode];
    if (m_defaultTopic.isEmpty())
        if (const ContentsEntry* first = firstPage(m_contents))
            m_defaultTopic = first->local;
}

// The index the #SYSTEM file names, else the first stored .hhk object.
std::optional<QByteArray> ChmFile::readIndexFile(const QString& named) const {
    if (!named.isEmpty())
        if (std::optional<QByteArray> index = read(named))
            return index;
    QString found;
    chm_enumerate(m_handle.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, findIndexObject,
                  &found);
    return found.isEmpty() ? std::nullopt : read(found);
}
