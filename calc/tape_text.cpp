#include "calc/tape_text.h"

#include <algorithm>
#include <array>

namespace {

bool breaksTheTable(QChar c) {
    return c < u' ' || c == u'\x7f' || c == u'\x85' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

void appendEntry(QString& text, QStringView entry) {
    const qsizetype start = text.size();
    text.append(entry.trimmed());
    std::replace_if(text.begin() + start, text.end(), breaksTheTable, u' ');
}

} // namespace

QString TapeAsText(const NumberTape& tapes) {
    const std::array<const Tape*, 3> lists{&tapes.List1, &tapes.List2, &tapes.List3};
    int rows = 0;
    qsizetype size = 0;
    for (const Tape* list : lists) {
        rows = std::max(rows, list->count());
        for (const QString& line : list->lines())
            size += line.size();
    }
    QString text;
    text.reserve(size + 3 * qsizetype{rows});
    for (int row = 0; row < rows; ++row) {
        appendEntry(text, tapes.List1.text(row));
        text.append(u'\t');
        appendEntry(text, tapes.List2.text(row));
        text.append(u'\t');
        appendEntry(text, tapes.List3.text(row));
        text.append(u'\n');
    }
    return text;
}
