#include "calc/script_functions.h"

#include <algorithm>
#include <array>
#include <vector>

namespace script {
namespace {

// Longest name a lookup considers.
constexpr qsizetype NameBufferSize = 16;

// Every built-in function, sorted by name for a binary search.
struct FunctionTable {
    std::vector<Function> functions;
    qsizetype longestName = 0;

    FunctionTable() {
        for (const auto kind : {MathFunctions(), TypeFunctions(), TextFunctions()})
            functions.insert(functions.end(), kind.begin(), kind.end());
        std::sort(functions.begin(), functions.end(),
                  [](const Function& a, const Function& b) { return a.name < b.name; });
        for (const Function& function : functions)
            longestName = std::max(longestName, static_cast<qsizetype>(function.name.size()));
        Q_ASSERT(longestName <= NameBufferSize);
    }
};

const FunctionTable& table() {
    static const FunctionTable instance;
    return instance;
}

const Function* find(QStringView name) {
    const FunctionTable& all = table();
    if (name.size() > all.longestName)
        return nullptr;
    // Names are ASCII; any other character matches no function.
    std::array<char, NameBufferSize> lower{};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c > 0x7F)
            return nullptr;
        lower[static_cast<size_t>(i)] =
            static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
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
