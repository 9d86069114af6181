// Any bytes as the help file: it is refused with a German reason or opens on a page, and every
// entry of its contents and index can be read without a crash or a hang.
#include "formats/chm_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString writtenFile(const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Hilfe.chm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        std::abort();
    return path;
}

void readPages(const ChmFile& file, const std::vector<ContentsEntry>& entries) {
    for (const ContentsEntry& entry : entries) {
        if (!entry.local.isEmpty())
            file.read(entry.local.left(entry.local.indexOf(u'#')));
        readPages(file, entry.children);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = writtenFile(data, size);
    const std::variant<std::unique_ptr<ChmFile>, Failure> loaded = ChmFile::load(path);
    if (const auto* failure = std::get_if<Failure>(&loaded)) {
        if (!failure->reason.startsWith(QStringLiteral("Die Hilfedatei „")))
            std::abort();
        return 0;
    }
    const ChmFile& file = *std::get<std::unique_ptr<ChmFile>>(loaded);
    if (file.defaultTopic().isEmpty())
        std::abort();
    readPages(file, file.contents());
    readPages(file, file.index());
    return 0;
}
