#pragma once

#include "files/failure.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

struct chmFile;

// One entry of a compiled help file's table of contents or index, with the entries below it.
struct ContentsEntry {
    QString name;
    QString local; // page inside the file, possibly with an anchor: "tasten.html#prozent"
    std::vector<ContentsEntry> children;
};

// A compiled HTML help file (.chm), read with chmlib.
class ChmFile {
public:
    // The opened file, or why it cannot be shown, naming the file: it is missing, no regular file
    // (a folder, pipe or device is never opened), unreadable, no compiled help file, or has no
    // page to open on. chmlib trusts the file, so a malformed one can crash or hang the caller:
    // only a process of its own loads it (help_viewer/).
    static std::variant<std::unique_ptr<ChmFile>, Failure> load(const QString& path);

    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The stored object at an absolute path inside the file ("/index.html").
    std::optional<QByteArray> read(const QString& objectPath) const;
    // The same number for every path that names one stored object; nothing when none is there.
    std::optional<quint64> objectAt(const QString& objectPath) const;

    // The page the file opens on: its default topic, else the first page of its contents.
    const QString& defaultTopic() const { return m_defaultTopic; }
    const std::vector<ContentsEntry>& contents() const { return m_contents; }
    // The keywords of the file's index (.hhk), nested as there; empty when it has none.
    const std::vector<ContentsEntry>& index() const { return m_index; }

private:
    struct Closer {
        void operator()(chmFile* handle) const;
    };

    explicit ChmFile(chmFile* handle);
    // The file with its system file read, or nothing when chmlib cannot open it.
    static std::unique_ptr<ChmFile> parse(const QString& path);
    void readSystemFile();
    std::optional<QByteArray> readIndexFile(const QString& named) const;

    std::unique_ptr<chmFile, Closer> m_handle;
    QString m_defaultTopic;
    std::vector<ContentsEntry> m_contents;
    std::vector<ContentsEntry> m_index;
};

// Why a help file that crashed or hung the process reading it cannot be shown.
Failure DamagedHelpFile(const QString& path);

// The entries of a sitemap (.hhc, .hhk): each <OBJECT type="text/sitemap"> with its first
// "Name" and first "Local", nested as the <UL> lists nest; an object with neither is left out.
// (An index keyword that names several topics lists a "Name" and "Local" for each after its
// own "Name"; the keyword is shown with its first topic.)
std::vector<ContentsEntry> ParseSitemap(const QString& html);
