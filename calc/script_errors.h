#pragma once

// Why a script statement or expression failed; VBScript's error number in brackets.
enum class ScriptError {
    None,
    Syntax,               // (1002) the text is not a statement or expression, or exceeds the bounds
    InvalidProcedureCall, // (5) an argument outside its function's domain: Sqr(-1), Asc("")
    Overflow,             // (6) a result beyond the range of its type, also 0/0
    DivisionByZero,       // (11) "/", "\" or Mod by zero
    TypeMismatch,         // (13) a text that is not a number used as one
    OutOfStringSpace,     // (14) a text longer than script::MaxTextLength
    InvalidUseOfNull,     // (94) Null where a function needs a value: Sgn(Null), CInt(Null)
    WrongArgumentCount,   // (450) a built-in function called with too few or too many arguments
    UnknownFunction,      // (13) a call of a name that is not a built-in function
};
