// Any text pasted as a column: the formulas come one per line that is not blank, none holds a
// line break, and an amount gives a plain number.
#include "calc/column_paste.h"
#include "calc/formula_edit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool promise) {
    if (!promise)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QStringList> formulas = column_paste::Formulas(text);
    if (!formulas) {
        check(text.size() > column_paste::MaxLines);
        return 0;
    }
    check(column_paste::IsColumn(text) == (formulas->size() > 1));
    for (const QString& formula : *formulas)
        check(!formula_edit::HasLineBreak(formula));
    return 0;
}
