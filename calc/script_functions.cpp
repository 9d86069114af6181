#include "calc/script_functions.h"

#include <algorithm>
#include <array>
#include <vector>

namespace script {
namespace {

// Longest name a lookup considers.
constexpr qsizetype NameBufferSize = 16;

char16_t lowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Every built-in function, sorted by name for a binary search, and what lets most other names
// fail before it: the longest name and the set of first letters.
struct FunctionTable {
    std::vector<Function> functions;
    qsizetype longestName = 0;
    quint32 initials = 0; // bit n for the letter 'a' + n

    FunctionTable() {
        for (const auto kind : {MathFunctions(), TypeFunctions(), TextFunctions()})
            functions.insert(functions.end(), kind.begin(), kind.end());
        std::sort(functions.begin(), functions.end(),
                  [](const Function& a, const Function& b) { return a.name < b.name; });
        for (const Function& function : functions) {
            longestName = std::max(longestName, static_cast<qsizetype>(function.name.size()));
            initials |= 1u << (function.name.front() - 'a');
        }
        Q_ASSERT(longestName <= NameBufferSize);
    }

    bool mayHold(QStringView name) const {
        if (name.isEmpty() || name.size() > longestName)
            return false;
        const char16_t initial = lowerAscii(name.front().unicode());
        return initial >= u'a' && initial <= u'z' && (initials >> (initial - u'a') & 1u);
    }
};

const FunctionTable& table() {
    static const FunctionTable instance;
    return instance;
}

const Function* find(QStringView name) {
    const FunctionTable& all = table();
    if (!all.mayHold(name))
        return nullptr;
    // Names are ASCII; any other character matches no function.
    std::array<char, NameBufferSize> lower{};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = lowerAscii(name[i].unicode());
        if (c > 0x7F)
            return nullptr;
        lower[static_cast<size_t>(i)] = static_cast<char>(c);
    }
    const std::string_view key(lower.data(), static_cast<size_t>(name.size()));
    const auto found = std::lower_bound(
        all.functions.begin(), all.functions.end(), key,
        [](const Function& function, std::string_view wanted) { return function.name < wanted; });
    return found != all.functions.end() && found->name == key ? &*found : nullptr;
}

} // namespace

bool IsFunction(QStringView name) {
    return find(name) != nullptr;
}

Result Call(QStringView name, std::span<const Variant> arguments) {
    const Function* function = find(name);
    if (!function)
        return ScriptError::UnknownFunction;
    const auto count = static_cast<int>(arguments.size());
    if (count < function->minArguments || count > function->maxArguments)
        return ScriptError::WrongArgumentCount;
    return function->call(arguments);
}

} // namespace script
