// Every key of the formula field on any text: the first byte chooses the keys pressed one after
// another, the rest is the text. No key may fail, and each leaves what it promises.
#include "calc/formula_edit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using Key = QString (*)(const QString&);

constexpr Key Keys[] = {formula_edit::WithoutLastCharacter, formula_edit::Negated,
                        formula_edit::ResolvePercent, formula_edit::Percent,
                        formula_edit::LineBreaksAsBlanks};
constexpr int KeyCount = sizeof Keys / sizeof Keys[0];

void check(bool promise) {
    if (!promise)
        std::abort();
}

void checkKey(Key key, const QString& before, const QString& after) {
    if (key == formula_edit::WithoutLastCharacter)
        check(after == before.left(before.size() - 1));
    else if (key == formula_edit::ResolvePercent)
        check(!after.contains(u'%'));
    else if (key == formula_edit::LineBreaksAsBlanks)
        check(!formula_edit::HasLineBreak(after) && after.size() <= before.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    unsigned choice = data[0];
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                     static_cast<qsizetype>(size - 1));
    // Every key once on the text itself, then the chosen ones in a row.
    for (const Key key : Keys)
        checkKey(key, text, key(text));
    for (int press = 0; press < 4; ++press, choice /= KeyCount) {
        const Key key = Keys[choice % KeyCount];
        QString after = key(text);
        checkKey(key, text, after);
        text = std::move(after);
    }
    return 0;
}
