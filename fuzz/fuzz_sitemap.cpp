// Any text as a help file's contents: each entry comes from an object of its own, has a name or a
// page, and lists nest no deeper than the parser's bound.
#include "formats/chm_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Lists nested deeper keep their entries at this depth.
constexpr int MaxDepth = 64;

// The number of entries, or -1 when one has neither name nor page or they nest too deep.
qsizetype checkedCount(const std::vector<ContentsEntry>& entries, int depth) {
    if (entries.empty())
        return 0;
    if (depth > MaxDepth)
        return -1;
    qsizetype count = 0;
    for (const ContentsEntry& entry : entries) {
        const qsizetype below = checkedCount(entry.children, depth + 1);
        if (below < 0 || (entry.name.isEmpty() && entry.local.isEmpty()))
            return -1;
        count += 1 + below;
    }
    return count;
}

void parse(const QString& html) {
    const qsizetype count = checkedCount(ParseSitemap(html), 1);
    if (count < 0 || count > html.count(QStringLiteral("object"), Qt::CaseInsensitive))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* text = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    parse(QString::fromUtf8(text, length));
    parse(QString::fromLatin1(text, length));
    return 0;
}
