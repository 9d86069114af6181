// The conversion and inspection functions: CBool, CByte, CCur, CDbl, CInt, CLng, CSng, CStr,
// IsEmpty, IsNull, IsNumeric, TypeName, VarType.
#include "calc/module1.h"
#include "calc/script_functions.h"

namespace script {
namespace {

using Type = Variant::Type;

template <Type Target> Result converted(Arguments args) {
    return Converted(args[0], Target);
}

Result toText(Arguments args) {
    if (args[0].isNull())
        return ScriptError::InvalidUseOfNull;
    return Variant::string(ResultText(args[0]));
}

Result isEmpty(Arguments args) {
    return Variant::boolean(args[0].type() == Type::Empty);
}

Result isNull(Arguments args) {
    return Variant::boolean(args[0].isNull());
}

// Empty, Booleans and numbers are numeric, Null is not; a text when it reads as a number.
Result isNumeric(Arguments args) {
    switch (args[0].type()) {
    case Type::Null:
        return Variant::boolean(false);
    case Type::String:
        return Variant::boolean(TextToNumber(args[0].stringValue()).has_value());
    default:
        return Variant::boolean(true);
    }
}

const char* nameOf(Type type) {
    switch (type) {
    case Type::Empty:
        return "Empty";
    case Type::Null:
        return "Null";
    case Type::Integer:
        return "Integer";
    case Type::Long:
        return "Long";
    case Type::Single:
        return "Single";
    case Type::Double:
        return "Double";
    case Type::Currency:
        return "Currency";
    case Type::String:
        return "String";
    case Type::Boolean:
        return "Boolean";
    case Type::Byte:
        return "Byte";
    }
    return "";
}

Result typeName(Arguments args) {
    return Variant::string(QString::fromLatin1(nameOf(args[0].type())));
}

// The subtype's number: the Type enumerators carry VBScript's numbers.
Result varType(Arguments args) {
    return Variant::integer(static_cast<qint16>(args[0].type()));
}

constexpr Function Functions[] = {
    {"cbool", 1, 1, converted<Type::Boolean>},
    {"cbyte", 1, 1, converted<Type::Byte>},
    {"ccur", 1, 1, converted<Type::Currency>},
    {"cdbl", 1, 1, converted<Type::Double>},
    {"cint", 1, 1, converted<Type::Integer>},
    {"clng", 1, 1, converted<Type::Long>},
    {"csng", 1, 1, converted<Type::Single>},
    {"cstr", 1, 1, toText},
    {"isempty", 1, 1, isEmpty},
    {"isnull", 1, 1, isNull},
    {"isnumeric", 1, 1, isNumeric},
    {"typename", 1, 1, typeName},
    {"vartype", 1, 1, varType},
};

} // namespace

std::span<const Function> TypeFunctions() {
    return Functions;
}

} // namespace script
