#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct chmFile;

// One entry of a compiled help file's table of contents, with the entries below it.
struct ContentsEntry {
    QString name;
    QString local; // page inside the file, possibly with an anchor: "tasten.html#prozent"
    std::vector<ContentsEntry> children;
};

// A compiled HTML help file (.chm), read with chmlib.
class ChmFile {
public:
    // The opened file, or nothing when it is missing, is no compiled help file or has no page
    // to open on.
    static std::unique_ptr<ChmFile> open(const QString& path);

    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The stored object at an absolute path inside the file ("/index.html").
    std::optional<QByteArray> read(const QString& objectPath) const;

    // The page the file opens on: its default topic, else the first page of its contents.
    const QString& defaultTopic() const { return m_defaultTopic; }
    const std::vector<ContentsEntry>& contents() const { return m_contents; }

private:
    struct Closer {
        void operator()(chmFile* handle) const;
    };

    explicit ChmFile(chmFile* handle);
    void readSystemFile();

    std::unique_ptr<chmFile, Closer> m_handle;
    QString m_defaultTopic;
    std::vector<ContentsEntry> m_contents;
};

// The entries of a sitemap (.hhc): each <OBJECT type="text/sitemap"> with its "Name" and
// "Local", nested as the <UL> lists nest; an object with neither is left out.
std::vector<ContentsEntry> ParseSitemap(const QString& html);
