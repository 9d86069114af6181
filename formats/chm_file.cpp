#include "formats/chm_file.h"

#include "files/file_access.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QThread>

#include <chm_lib.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <sys/wait.h>
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

QString pageOf(const QString& local) {
    return local.left(local.indexOf(u'#'));
}

QString attribute(const QString& tag, const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral(R"re((\w+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"));
    for (const QRegularExpressionMatch& match : pattern.globalMatch(tag)) {
        if (match.captured(1).compare(name, Qt::CaseInsensitive) == 0) {
            const QString value = match.captured(2) + match.captured(3) + match.captured(4);
            return QTextDocumentFragment::fromHtml(value).toPlainText();
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

// chm_enumerate() callback: reads the object as the help window would.
int readObject(chmFile* handle, chmUnitInfo* unit, void*) {
    if (unit->length > 0 && unit->length <= MaxObjectSize) {
        QByteArray data(static_cast<qsizetype>(unit->length), Qt::Uninitialized);
        chm_retrieve_object(handle, unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                            static_cast<LONGINT64>(unit->length));
    }
    return CHM_ENUMERATOR_CONTINUE;
}

// A fault ends the process at once, without the crash reports of handlers installed before.
void dieQuietlyOnFaults() {
    for (const int fault : {SIGFPE, SIGSEGV, SIGBUS, SIGILL, SIGABRT, SIGTRAP})
        std::signal(fault, SIG_DFL);
}

// Whether the child ends of itself, without a signal, before the deadline; it is killed after.
bool exitedCleanly(pid_t child) {
    constexpr qint64 DeadlineMs = 3000;
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0 && errno != EINTR)
            return false;
        if (clock.elapsed() > DeadlineMs) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        QThread::usleep(500);
    }
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
    if (!readsSafely(path))
        return helpFileWarning(path, QStringLiteral("Sie ist beschädigt."));
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

// chmlib trusts the file: a malformed one can make it divide by zero, read out of bounds or loop
// for good. So a child process first reads the whole file the way the help window may, and only
// a file that it read to the end in time is opened here.
bool ChmFile::readsSafely(const QString& path) {
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        dieQuietlyOnFaults();
        if (const std::unique_ptr<ChmFile> file = parse(path))
            chm_enumerate(file->m_handle.get(), CHM_ENUMERATE_ALL, readObject, nullptr);
        ::_exit(0);
    }
    return exitedCleanly(child);
}

std::optional<QByteArray> ChmFile::read(const QString& path) const {
    chmUnitInfo unit{};
    const QByteArray name = objectPath(path).toUtf8();
    if (chm_resolve_object(m_handle.get(), name.constData(), &unit) != CHM_RESOLVE_SUCCESS ||
        unit.length > MaxObjectSize)
        return std::nullopt;
    QByteArray data(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_handle.get(), &unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                            static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
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
