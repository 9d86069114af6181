#pragma once

#include "calc/script_conversions.h"

#include <QStringView>

#include <span>
#include <string_view>

// The built-in functions of the script language: those of VBScript that only compute.
namespace script {

// Whether a built-in function has this name (any case).
bool IsFunction(QStringView name);
// The function's value; UnknownFunction for a name that is none, WrongArgumentCount for too few
// or too many arguments.
Result Call(QStringView name, std::span<const Variant> arguments);

using Arguments = std::span<const Variant>;

struct Function {
    std::string_view name; // in lower case
    int minArguments;
    int maxArguments;
    Result (*call)(Arguments);
};

// The functions by kind, each list in any order.
std::span<const Function> MathFunctions();
std::span<const Function> TypeFunctions();
std::span<const Function> TextFunctions();

} // namespace script
