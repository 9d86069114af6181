// The built-in functions, one table per kind, with the values VBScript documents.
#include "calc/script_functions.h"
#include "script_rows.h"

using namespace script_rows;

namespace {

// Every built-in function's name, from the engine's own lists.
QStringList functionNames() {
    QStringList names;
    for (const auto kind :
         {script::MathFunctions(), script::TypeFunctions(), script::TextFunctions()})
        for (const script::Function& function : kind)
            names << QString::fromLatin1(function.name.data(),
                                         static_cast<qsizetype>(function.name.size()));
    return names;
}

} // namespace

class TestScriptFunctions : public QObject {
    Q_OBJECT

private slots:
    void maths_data();
    void maths();
    void conversions_data();
    void conversions();
    void inspection_data();
    void inspection();
    void text_data();
    void text();
    void resultSubtypes_data();
    void resultSubtypes();
    void nullArguments_data();
    void nullArguments();
    void invalidArguments_data();
    void invalidArguments();
    void argumentCounts_data();
    void argumentCounts();
    void namesInAnyCase();
    void textLengthIsBounded_data();
    void textLengthIsBounded();
};

void TestScriptFunctions::maths_data() {
    addResultColumns();
    addRows({
        {"Abs", "Abs(-2.5)", "2,5"},
        {"Abs of the smallest Integer", "Abs(-32768)", "32768"},
        {"Abs of a Currency", "Abs(CCur(-1.5))", "1,5"},
        {"Abs of a text", "Abs(\"-3\")", "3"},
        {"Abs of True", "Abs(True)", "1"},
        {"Atn", "Atn(1)*4", "3,14159265358979"},
        {"Cos", "Cos(0)", "1"},
        {"Exp", "Exp(1)", "2,71828182845905"},
        {"Fix truncates", "Fix(-2.7)", "-2"},
        {"Fix of a Currency", "Fix(CCur(-0.99))", "0"},
        {"Int floors", "Int(-2.7)", "-3"},
        {"Int of a Currency", "Int(CCur(-0.99))", "-1"},
        {"Int of True", "Int(True)", "-1"},
        {"Log", "Log(Exp(2))", "2"},
        {"Round half to even", "Round(2.5)", "2"},
        {"Round up half to even", "Round(3.5)", "4"},
        {"Round negative half", "Round(-3.5)", "-4"},
        {"Round with decimals", "Round(1.2345, 2)", "1,23"},
        {"Round of a Currency", "Round(CCur(2.5))", "2"},
        {"Round of a Currency to places", "Round(CCur(1.2345), 3)", "1,234"},
        {"Round keeps True", "Round(True)", "Wahr"},
        {"Sgn", "Sgn(-4)", "-1"},
        {"Sgn of a text", "Sgn(\"-1\")", "-1"},
        {"Sgn of Empty", "Sgn(Empty)", "0"},
        {"Sin", "Sin(0)", "0"},
        {"Sqr", "Sqr(16)", "4"},
        {"Sqr of a Byte", "Sqr(CByte(225))", "15"},
        {"Tan", "Tan(0)", "0"},
        {"Hex", "Hex(255)", "FF"},
        {"Hex of negative Integer", "Hex(-1)", "FFFF"},
        {"Hex of negative Long", "Hex(-32768)", "FFFF8000"},
        {"Hex rounds half to even", "Hex(228.5)", "E4"},
        {"Hex of Empty", "Hex(Empty)", "0"},
        {"Oct", "Oct(8)", "10"},
        {"Oct of negative Integer", "Oct(-1)", "177777"},
        {"nested calls", "Abs(Int(-Sqr(2)))", "2"},
    });
}

void TestScriptFunctions::maths() {
    compareResult();
}

void TestScriptFunctions::conversions_data() {
    addResultColumns();
    addRows({
        {"CBool of a number", "CBool(2)", "Wahr"},
        {"CBool of a fraction", "CBool(-0.56)", "Wahr"},
        {"CBool of zero", "CBool(0)", "Falsch"},
        {"CBool of Empty", "CBool(Empty)", "Falsch"},
        {"CBool of True text", "CBool(\"true\")", "Wahr"},
        {"CBool of #TRUE#", "CBool(\"#TRUE#\")", "Wahr"},
        {"CBool of #FALSE#", "CBool(\"#FALSE#\")", "Falsch"},
        {"CBool of #false# in any case", "CBool(\"#false#\")", "Falsch"},
        {"CBool of a German word", "CBool(\"Wahr\")", "Wahr"},
        {"CBool of a numeric text", "CBool(\"0\")", "Falsch"},
        {"CByte", "CByte(255)", "255"},
        {"CByte rounds half to even", "CByte(2.5)", "2"},
        {"CByte rounds half up to even", "CByte(3.5)", "4"},
        {"CByte just below the top", "CByte(255.49)", "255"},
        {"CByte of minus a half", "CByte(-0.5)", "0"},
        {"CByte of a text", "CByte(\"7\")", "7"},
        {"CByte of True", "CByte(True)", "255"},
        {"CByte of Empty", "CByte(Empty)", "0"},
        {"CCur keeps four places", "CCur(1.23456)", "1,2346"},
        {"CCur rounds half to even", "CCur(0.00025)", "0,0002"},
        {"CCur rounds half up to even", "CCur(0.00035)", "0,0004"},
        {"CCur of a tiny number", "CCur(0.000149)", "0,0001"},
        {"CCur of a text", "CCur(\"2,5\")", "2,5"},
        {"CCur of True", "CCur(True)", "-1"},
        {"CCur near its top", "CCur(922337203685477)", "922337203685477"},
        {"CCur near its bottom", "CCur(-922337203685477)", "-922337203685477"},
        {"CDbl of a Currency", "CDbl(CCur(0.5))", "0,5"},
        {"CDbl of text", "CDbl(\"1,5\")", "1,5"},
        {"CInt half to even", "CInt(2.5)", "2"},
        {"CInt of negative half", "CInt(-36.5)", "-36"},
        {"CInt at the bottom", "CInt(-32768.5)", "-32768"},
        {"CLng", "CLng(100000.6)", "100001"},
        {"CLng of a text", "CLng(\"-1\")", "-1"},
        {"CSng has seven digits", "CSng(1/3)", "0,3333333"},
        {"CStr", "CStr(2.5)", "2,5"},
        {"CStr of a Byte", "CStr(CByte(7))", "7"},
        {"CStr of True", "CStr(True)", "Wahr"},
    });
}

void TestScriptFunctions::conversions() {
    compareResult();
}

void TestScriptFunctions::inspection_data() {
    addResultColumns();
    addRows({
        {"IsNumeric of a number", "IsNumeric(32768.4)", "Wahr"},
        {"IsNumeric of Empty", "IsNumeric(Empty)", "Wahr"},
        {"IsNumeric of Null", "IsNumeric(Null)", "Falsch"},
        {"IsNumeric of True", "IsNumeric(True)", "Wahr"},
        {"IsNumeric of a numeric text", "IsNumeric(\"44\")", "Wahr"},
        {"IsNumeric of a decimal text", "IsNumeric(\" 1,5 \")", "Wahr"},
        {"IsNumeric of a word", "IsNumeric(\"rwrf\")", "Falsch"},
        {"IsNumeric of an empty text", "IsNumeric(\"\")", "Falsch"},
        {"IsNumeric of a Currency", "IsNumeric(CCur(1))", "Wahr"},
        {"IsEmpty of Empty", "IsEmpty(Empty)", "Wahr"},
        {"IsEmpty of an unassigned name", "IsEmpty(y)", "Wahr"},
        {"IsEmpty of an empty text", "IsEmpty(\"\")", "Falsch"},
        {"IsEmpty of Null", "IsEmpty(Null)", "Falsch"},
        {"IsEmpty of zero", "IsEmpty(0)", "Falsch"},
        {"IsNull of Null", "IsNull(Null)", "Wahr"},
        {"IsNull of a Null sum", "IsNull(Null+1)", "Wahr"},
        {"IsNull of Empty", "IsNull(Empty)", "Falsch"},
        {"TypeName of Empty", "TypeName(Empty)", "Empty"},
        {"TypeName of Null", "TypeName(Null)", "Null"},
        {"TypeName of a Byte", "TypeName(CByte(255))", "Byte"},
        {"TypeName of an Integer", "TypeName(255)", "Integer"},
        {"TypeName of a Long", "TypeName(32768)", "Long"},
        {"TypeName of a Single", "TypeName(CSng(0.5))", "Single"},
        {"TypeName of a Double", "TypeName(-0.5)", "Double"},
        {"TypeName of a Currency", "TypeName(CCur(0.5))", "Currency"},
        {"TypeName of a String", "TypeName(CStr(0.5))", "String"},
        {"TypeName of a Boolean", "TypeName(True)", "Boolean"},
        {"VarType of Empty", "VarType(Empty)", "0"},
        {"VarType of Null", "VarType(Null)", "1"},
        {"VarType of an Integer", "VarType(255)", "2"},
        {"VarType of a Long", "VarType(32768)", "3"},
        {"VarType of a Single", "VarType(CSng(0.5))", "4"},
        {"VarType of a Double", "VarType(-0.5)", "5"},
        {"VarType of a Currency", "VarType(CCur(0.5))", "6"},
        {"VarType of a String", "VarType(\"a\")", "8"},
        {"VarType of a Boolean", "VarType(CBool(0.5))", "11"},
        {"VarType of a Byte", "VarType(CByte(255))", "17"},
    });
}

void TestScriptFunctions::inspection() {
    compareResult();
}

void TestScriptFunctions::text_data() {
    addResultColumns();
    addRows({
        {"Len", "Len(\"abc\")", "3"},
        {"Len of an empty text", "Len(\"\")", "0"},
        {"Len of a number", "Len(123)", "3"},
        {"Len of a decimal", "Len(1.5)", "3"},
        {"Len of Empty", "Len(Empty)", "0"},
        {"LCase", "LCase(\"123aBC?\")", "123abc?"},
        {"LCase of umlauts", "LCase(\"ÄÖÜ\")", "äöü"},
        {"UCase", "UCase(\"123aBC?\")", "123ABC?"},
        {"UCase of a number", "UCase(1.5)", "1,5"},
        {"UCase of Empty", "UCase(Empty)", ""},
        {"Trim", "Trim(\"   test    \")", "test"},
        {"LTrim", "LTrim(\"   test    \")", "test    "},
        {"RTrim", "RTrim(\"   test    \")", "   test"},
        {"Trim keeps tabs", "Trim(Chr(9) & \"a \")", "\ta"},
        {"Trim of a number", "Trim(123)", "123"},
        {"Space", "Space(3)", "   "},
        {"Space of zero", "Space(0)", ""},
        {"Space rounds half to even", "Space(4.5)", "    "},
        {"Space rounds half up to even", "Space(5.5)", "      "},
        {"Space of a text", "Space(\"2\")", "  "},
        {"Space of Empty", "Space(Empty)", ""},
        {"Space of False", "Space(False)", ""},
        {"StrReverse", "StrReverse(\"test\")", "tset"},
        {"StrReverse of a number", "StrReverse(123)", "321"},
        {"StrReverse of an empty text", "StrReverse(\"\")", ""},
        {"Chr", "Chr(120)", "x"},
        {"Chr rounds half to even", "Chr(120.5)", "x"},
        {"Chr rounds half up to even", "Chr(119.5)", "x"},
        {"Chr of a text", "Chr(\"120\")", "x"},
        {"Chr of code 0", "Chr(0)", QString(QChar(0))},
        {"Chr of the euro sign", "Chr(128)", "€"},
        {"Chr of Latin-1", "Chr(228)", "ä"},
        {"ChrW", "ChrW(8364)", "€"},
        {"ChrW of minus one", "ChrW(-1)", QString(QChar(0xFFFF))},
        {"Asc", "Asc(\"T\")", "84"},
        {"Asc of the first character", "Asc(\"test\")", "116"},
        {"Asc of a number", "Asc(3)", "51"},
        {"Asc of blanks", "Asc(\"   \")", "32"},
        {"Asc of code 0", "Asc(Chr(0))", "0"},
        {"Asc of the euro sign", "Asc(\"€\")", "128"},
        {"Asc of a character outside the code page", "Asc(ChrW(1234))", "63"},
        {"AscW", "AscW(\"€\")", "8364"},
        {"AscW of a high unit is negative", "AscW(ChrW(65535))", "-1"},
        {"Chr and Asc round trip", "Asc(Chr(150))", "150"},
    });
}

void TestScriptFunctions::text() {
    compareResult();
}

// The subtype of each function's result.
void TestScriptFunctions::resultSubtypes_data() {
    addResultColumns();
    addRows({
        {"Abs of a Byte", "TypeName(Abs(CByte(1)))", "Byte"},
        {"Abs of True", "TypeName(Abs(True))", "Integer"},
        {"Abs of the smallest Integer", "TypeName(Abs(-32768))", "Long"},
        {"Abs of a text", "TypeName(Abs(\"-1\"))", "Double"},
        {"Abs of a Currency", "TypeName(Abs(CCur(-1)))", "Currency"},
        {"Abs of a Single", "TypeName(Abs(CSng(-0.5)))", "Single"},
        {"Fix of a Single", "TypeName(Fix(CSng(1.5)))", "Single"},
        {"Fix of a Currency", "TypeName(Fix(CCur(-0.99)))", "Currency"},
        {"Int of Empty", "TypeName(Int(Empty))", "Integer"},
        {"Int of a Double", "TypeName(Int(1.99))", "Double"},
        {"Round of an Integer", "TypeName(Round(3))", "Integer"},
        {"Round of a Double", "TypeName(Round(3.3))", "Double"},
        {"Round of a text", "TypeName(Round(\"2\"))", "Double"},
        {"Round of True", "TypeName(Round(True))", "Boolean"},
        {"Sgn", "TypeName(Sgn(-32769))", "Integer"},
        {"Sqr", "TypeName(Sqr(CByte(4)))", "Double"},
        {"Cos of a Currency", "TypeName(Cos(CCur(1)))", "Double"},
        {"Hex", "TypeName(Hex(1))", "String"},
        {"Len", "TypeName(Len(\"abc\"))", "Long"},
        {"Asc", "TypeName(Asc(\"a\"))", "Integer"},
        {"AscW", "TypeName(AscW(\"a\"))", "Integer"},
        {"Chr", "TypeName(Chr(65))", "String"},
        {"VarType", "TypeName(VarType(1))", "Integer"},
        {"IsNull", "TypeName(IsNull(1))", "Boolean"},
        {"CDbl of a Currency", "TypeName(CDbl(CCur(0)))", "Double"},
        {"CInt of a Currency", "TypeName(CInt(CCur(0)))", "Integer"},
        {"CLng of Empty", "TypeName(CLng(Empty))", "Long"},
    });
}

void TestScriptFunctions::resultSubtypes() {
    compareResult();
}

// Null passes through some functions and is an invalid use in all others.
void TestScriptFunctions::nullArguments_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<ScriptError>("error");
    for (const char* passing : {"Abs", "Fix", "Int", "Round", "Hex", "Oct", "Len", "LCase", "UCase",
                                "Trim", "LTrim", "RTrim"})
        QTest::newRow(passing) << QString::fromLatin1(passing) << ScriptError::None;
    for (const char* failing :
         {"Atn",   "Cos",        "Exp",  "Log",  "Sgn",  "Sin",  "Sqr",  "Tan",
          "CBool", "CByte",      "CCur", "CDbl", "CInt", "CLng", "CSng", "CStr",
          "Space", "StrReverse", "Chr",  "ChrW", "Asc",  "AscW"})
        QTest::newRow(failing) << QString::fromLatin1(failing) << ScriptError::InvalidUseOfNull;
}

void TestScriptFunctions::nullArguments() {
    QFETCH(QString, function);
    QFETCH(ScriptError, error);
    const QString call = function + QStringLiteral("(Null)");
    QCOMPARE(errorOf(call), error);
    if (error == ScriptError::None)
        QCOMPARE(evaluate(QStringLiteral("IsNull(%1)").arg(call)), QStringLiteral("Wahr"));
}

void TestScriptFunctions::invalidArguments_data() {
    addErrorColumns();
    addErrorRows({
        {"square root of negative", "Sqr(-1)", ScriptError::InvalidProcedureCall},
        {"square root of True", "Sqr(True)", ScriptError::InvalidProcedureCall},
        {"log of zero", "Log(0)", ScriptError::InvalidProcedureCall},
        {"exponential beyond range", "Exp(1000)", ScriptError::Overflow},
        {"text in a function of numbers", "Sin(\"abc\")", ScriptError::TypeMismatch},
        {"Round to negative places", "Round(1.5, -1)", ScriptError::InvalidProcedureCall},
        {"Hex beyond Long", "Hex(2147483647.5)", ScriptError::Overflow},
        {"Hex of a word", "Hex(\"test\")", ScriptError::TypeMismatch},
        {"CInt beyond range", "CInt(32767.5)", ScriptError::Overflow},
        {"CInt below range", "CInt(-32768.51)", ScriptError::Overflow},
        {"CByte above range", "CByte(255.5)", ScriptError::Overflow},
        {"CByte below range", "CByte(\"-1\")", ScriptError::Overflow},
        {"CByte of a True text", "CByte(\"TRUE\")", ScriptError::TypeMismatch},
        {"CCur beyond range", "CCur(1E15)", ScriptError::Overflow},
        {"CCur of #TRUE#", "CCur(\"#TRUE#\")", ScriptError::TypeMismatch},
        {"CCur of an empty text", "CCur(\"\")", ScriptError::TypeMismatch},
        {"CSng beyond range", "CSng(1E39)", ScriptError::Overflow},
        {"CDbl of a True text", "CDbl(\"TRUE\")", ScriptError::TypeMismatch},
        {"CBool of an empty text", "CBool(\"\")", ScriptError::TypeMismatch},
        {"CBool of a word", "CBool(\"ja\")", ScriptError::TypeMismatch},
        {"Chr above the code page", "Chr(256)", ScriptError::InvalidProcedureCall},
        {"Chr below zero", "Chr(-1)", ScriptError::InvalidProcedureCall},
        {"Chr of True", "Chr(True)", ScriptError::InvalidProcedureCall},
        {"Chr beyond Long", "Chr(1E10)", ScriptError::Overflow},
        {"ChrW above 16 bits", "ChrW(65536)", ScriptError::InvalidProcedureCall},
        {"ChrW below Integer", "ChrW(-32769)", ScriptError::InvalidProcedureCall},
        {"Asc of an empty text", "Asc(\"\")", ScriptError::InvalidProcedureCall},
        {"Asc of Empty", "Asc(Empty)", ScriptError::InvalidProcedureCall},
        {"AscW of an empty text", "AscW(\"\")", ScriptError::InvalidProcedureCall},
        {"Space of minus one", "Space(-1)", ScriptError::InvalidProcedureCall},
        {"Space of a negative text", "Space(\"-1\")", ScriptError::InvalidProcedureCall},
        {"Space of a word", "Space(\"x\")", ScriptError::TypeMismatch},
    });
}

void TestScriptFunctions::invalidArguments() {
    compareError();
}

// Every function takes one argument (Round one or two): none or one more is an error.
void TestScriptFunctions::argumentCounts_data() {
    QTest::addColumn<QString>("function");
    const QStringList names = functionNames();
    QVERIFY(names.size() >= 39);
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestScriptFunctions::argumentCounts() {
    QFETCH(QString, function);
    const int most = function == QStringLiteral("round") ? 2 : 1;
    QCOMPARE(errorOf(function + QStringLiteral("()")), ScriptError::WrongArgumentCount);
    QCOMPARE(errorOf(function + QStringLiteral("(1") + QStringLiteral(",1").repeated(most) + ")"),
             ScriptError::WrongArgumentCount);
    QVERIFY(errorOf(function + QStringLiteral("(1)")) != ScriptError::WrongArgumentCount);
}

void TestScriptFunctions::namesInAnyCase() {
    QCOMPARE(evaluate("sqr(9)+ABS(-1)+sTrReVeRsE(12)"), QStringLiteral("25"));
    QCOMPARE(evaluate("TYPENAME(ccur(1))"), QStringLiteral("Currency"));
    // A name that only starts like a function is an unassigned variable.
    QCOMPARE(evaluate("Length + 1"), QStringLiteral("1"));
    QCOMPARE(errorOf("Spaces(1)"), ScriptError::UnknownFunction);
}

// No formula can make the engine build a text longer than its bound; the rows that pass reach it.
void TestScriptFunctions::textLengthIsBounded_data() {
    addErrorColumns();
    addErrorRows({
        {"at the bound", "Space(65536)", ScriptError::None},
        {"one beyond the bound", "Space(65537)", ScriptError::OutOfStringSpace},
        {"a billion blanks", "Space(1E9)", ScriptError::OutOfStringSpace},
        {"beyond Long", "Space(2^31)", ScriptError::Overflow},
        {"largest Long", "Space(2147483647)", ScriptError::OutOfStringSpace},
        {"concatenated to the bound", "Space(65535) & 1", ScriptError::None},
        {"concatenated beyond the bound", "Space(65536) & 1", ScriptError::OutOfStringSpace},
        {"added beyond the bound", "Space(65536) + \"x\"", ScriptError::OutOfStringSpace},
        {"doubled again and again", "Space(40000) & Space(40000) & Space(40000)",
         ScriptError::OutOfStringSpace},
    });
}

void TestScriptFunctions::textLengthIsBounded() {
    QFETCH(QString, formula);
    QFETCH(ScriptError, error);
    QCOMPARE(errorOf(formula), error);
    if (error == ScriptError::None)
        QCOMPARE(evaluate(QStringLiteral("Len(%1)").arg(formula)),
                 QString::number(script::MaxTextLength));
}

QTEST_GUILESS_MAIN(TestScriptFunctions)
#include "tst_script_functions.moc"
