#pragma once

// Why a script statement or expression failed.
enum class ScriptError {
    None,
    Syntax,               // the text is not a statement or expression, or exceeds the bounds
    DivisionByZero,       // "/", "\" or Mod by zero
    Overflow,             // a result beyond the range of its type, also 0/0
    TypeMismatch,         // a text that is not a number used in arithmetic
    InvalidProcedureCall, // a function argument outside its domain: Sqr(-1), Log(0)
    UnknownFunction,      // a call of a name that is not a built-in function
};
