#include "calc/script_conversions.h"
#include "script_rows.h"

using namespace script_rows;

class TestScriptEngine : public QObject {
    Q_OBJECT

private slots:
    void precedence_data();
    void precedence();
    void signBeforePower_data();
    void signBeforePower();
    void operatorSpellings_data();
    void operatorSpellings();
    void numberForms_data();
    void numberForms();
    void subtypes_data();
    void subtypes();
    void currencyArithmetic_data();
    void currencyArithmetic();
    void variantRules_data();
    void variantRules();
    void errors_data();
    void errors();
    void resultText_data();
    void resultText();
    void onlyAssignmentRuns_data();
    void onlyAssignmentRuns();
    void freshInstanceForgetsVariables();
    void boundsMakeHugeInputASyntaxError();
    void literalsBeyondDoubleRange();
};

void TestScriptEngine::precedence_data() {
    addResultColumns();
    addRows({
        {"times before plus", "2+3*4", "14"},
        {"parentheses group", "(2+3)*4", "20"},
        {"left to right minus", "10-4-3", "3"},
        {"left to right divide", "64/4/2", "8"},
        {"power left to right", "2^3^2", "64"},
        {"negative exponent", "2^-2", "0,25"},
        {"binary minus before power", "0-2^2", "-4"},
        {"unary minus after operator", "3*-2", "-6"},
        {"unary plus after operator", "3*+2", "6"},
        {"double unary minus", "--3", "3"},
        {"minus after minus", "5--3", "8"},
        {"integer division after multiply", "7*3\\2", "10"},
        {"integer division before mod", "17 Mod 7\\2", "2"},
        {"mod before plus", "1+7 Mod 4", "4"},
        {"plus before concatenation", "1+2 & 3", "33"},
        {"concatenation before comparison", "1 & 2 = \"12\"", "Wahr"},
        {"number below text in comparison", "12 = 1 & 2", "Falsch"},
        {"comparisons left to right", "1 < 2 = True", "Wahr"},
        {"not after comparison", "Not 1 = 2", "Wahr"},
        {"not before and", "Not False And False", "Falsch"},
        {"not as right operand of and", "True And Not False", "Wahr"},
        {"not of not", "Not Not 5", "5"},
        {"comparisons before and", "1 < 2 And 3 > 4", "Falsch"},
        {"mod left to right", "17 Mod 7 Mod 2", "1"},
        {"and before or", "True Or True And False", "Wahr"},
        {"or before xor", "True Xor True Or False", "Falsch"},
        {"xor before eqv", "False Eqv True Xor True", "Wahr"},
        {"eqv before imp", "False Imp True Eqv False", "Wahr"},
        {"keywords in any case", "1 mOD 1 + TRUE", "-1"},
    });
}

void TestScriptEngine::precedence() {
    compareResult();
}

// VBScript signs the operand that follows, also before "^" (VBA would give -4 for -2^2).
void TestScriptEngine::signBeforePower_data() {
    addResultColumns();
    addRows({
        {"minus two squared", "-2^2", "4"},
        {"minus three squared", "-3^2", "9"},
        {"signed power as factor", "2*-3^2", "18"},
        {"signed base and exponent", "-2^-2", "0,25"},
        {"minus three cubed", "-3^3", "-27"},
        {"plus before power", "+2^2", "4"},
        {"double minus before power", "--2^2", "4"},
        {"minus parenthesis squared", "-(1+1)^2", "4"},
        {"negated power needs parentheses", "-(2^2)", "-4"},
    });
}

void TestScriptEngine::signBeforePower() {
    compareResult();
}

void TestScriptEngine::operatorSpellings_data() {
    addResultColumns();
    addRows({
        {"=> is >=", "2 => 2", "Wahr"},
        {"=> is >= (false)", "1=>2", "Falsch"},
        {"=< is <=", "2 =< 2", "Wahr"},
        {"=< is <= (false)", "3=<2", "Falsch"},
        {">< is <>", "2 >< 1", "Wahr"},
        {">< is <> (false)", "2><2", "Falsch"},
        {"spellings chain left to right", "1 =< 2 => True", "Wahr"},
    });
}

void TestScriptEngine::operatorSpellings() {
    compareResult();
}

void TestScriptEngine::numberForms_data() {
    addResultColumns();
    addRows({
        {"leading point", ".5*2", "1"},
        {"trailing point", "5.*2", "10"},
        {"exponent", "1.5E+20", "1,5E+20"},
        {"lower exponent", "2e3", "2000"},
        {"negative exponent", "1.5E-7", "1,5E-07"},
        {"hexadecimal", "&H1F", "31"},
        {"hexadecimal Integer wraps", "&HFFFF", "-1"},
        {"hexadecimal Long", "&H10000", "65536"},
        {"trailing & reads 32 bits", "&hFFFF&", "65535"},
        {"trailing & on all bits set", "&hFFFFFFFF&", "-1"},
        {"eight hexadecimal digits", "&hFFFFFFFF", "-1"},
        {"trailing & on a small literal", "&h10& + 1", "17"},
        {"octal", "&O17", "15"},
        {"octal Integer wraps", "&O177777", "-1"},
        {"octal with trailing &", "&o177777&", "65535"},
        {"concatenation after a literal", "&H10 & 1", "161"},
        {"blanks and tabs", " 1 +\t2 ", "3"},
        {"fifteen digits", "1/3", "0,333333333333333"},
        {"binary noise hidden", "0.1+0.2", "0,3"},
    });
}

void TestScriptEngine::numberForms() {
    compareResult();
}

void TestScriptEngine::variantRules_data() {
    addResultColumns();
    addRows({
        {"Integer widens to Long", "32767+1", "32768"},
        {"Long widens to Double", "2147483647+1", "2147483648"},
        {"product widens", "65536*65536", "4294967296"},
        {"negating the smallest Integer", "-(-32768)", "32768"},
        {"divide gives Double", "7/2", "3,5"},
        {"integer division truncates", "7\\2", "3"},
        {"integer division rounds operands half to even", "7.5\\2.5", "4"},
        {"mod takes the dividend's sign", "-7 Mod 3", "-1"},
        {"mod of positive dividend", "7 Mod -3", "1"},
        {"comparison true is -1", "(1<2)+0", "-1"},
        {"comparison false is 0", "(1>2)+0", "0"},
        {"bitwise and on numbers", "12 And 10", "8"},
        {"bitwise or on numbers", "12 Or 3", "15"},
        {"bitwise xor on numbers", "12 Xor 10", "6"},
        {"not on numbers", "Not 0", "-1"},
        {"eqv on Booleans", "True Eqv True", "Wahr"},
        {"imp on Booleans", "True Imp False", "Falsch"},
        {"empty counts as zero", "Empty+1", "1"},
        {"unknown name is empty", "y+1", "1"},
        {"empty beside text", "Empty & \"a\"", "a"},
        {"null propagates", "Null+1", ""},
        {"null and false is false", "Null And False", "Falsch"},
        {"null or true is true", "Null Or True", "Wahr"},
        {"null or all bits set is all bits set", "Null Or -1", "-1"},
        {"zero and null is zero", "0 And Null", "0"},
        {"zero imp null is all bits set", "0 Imp Null", "-1"},
        {"null imp all bits set is all bits set", "Null Imp -1", "-1"},
        {"null and some bits is null", "5 And Null", ""},
        {"numeric text in arithmetic", "\"2\"*3", "6"},
        {"text with comma in arithmetic", "\"2,5\"*2", "5"},
        {"texts concatenate with plus", "\"ab\"+\"cd\"", "abcd"},
        {"number text with plus adds", "\"2\"+3", "5"},
        {"concatenation of numbers", "1.5 & 2", "1,52"},
        {"embedded quote", "\"a\"\"b\"", "a\"b"},
        {"text comparison", "\"a\"<\"b\"", "Wahr"},
        {"number below text", "5<\"a\"", "Wahr"},
    });
}

void TestScriptEngine::variantRules() {
    compareResult();
}

// The subtype each operator gives, as VBScript's Var* arithmetic chooses it.
void TestScriptEngine::subtypes_data() {
    addResultColumns();
    addRows({
        {"small literal", "TypeName(1)", "Integer"},
        {"large literal", "TypeName(32768)", "Long"},
        {"literal beyond Long", "TypeName(2147483648)", "Double"},
        {"literal with point", "TypeName(1.0)", "Double"},
        {"short literal with &", "TypeName(&h10&)", "Integer"},
        {"wide literal with &", "TypeName(&hFFFF&)", "Long"},
        {"Integer sum", "TypeName(1+1)", "Integer"},
        {"Integer sum widens", "TypeName(32767+1)", "Long"},
        {"Long sum widens", "TypeName(2147483647+1)", "Double"},
        {"Booleans add as Integers", "TypeName(True+True)", "Integer"},
        {"Empty plus Empty", "TypeName(Empty+Empty)", "Integer"},
        {"negated Empty", "TypeName(-Empty)", "Integer"},
        {"Not Empty", "TypeName(Not Empty)", "Integer"},
        {"numeric text in a sum", "TypeName(\"2\"+1)", "Double"},
        {"quotient of Integers", "TypeName(1/1)", "Double"},
        {"power of Integers", "TypeName(2^2)", "Double"},
        {"integer division of Integers", "TypeName(7\\2)", "Integer"},
        {"integer division of a Double", "TypeName(7.5\\2)", "Long"},
        {"integer division of a text", "TypeName(\"7\"\\2)", "Long"},
        {"Booleans stay Boolean", "TypeName(True And False)", "Boolean"},
        {"Integer beside Boolean", "TypeName(1 And True)", "Integer"},
        {"bitwise on a Double", "TypeName(1.5 And 1)", "Long"},
        {"Not of a Double", "TypeName(Not 1.5)", "Long"},
        {"comparison", "TypeName(1<2)", "Boolean"},
        {"Byte sum", "TypeName(CByte(1)+CByte(2))", "Byte"},
        {"Byte sum beyond 255", "TypeName(CByte(200)+CByte(100))", "Integer"},
        {"Byte difference below 0", "TypeName(CByte(1)-CByte(2))", "Integer"},
        {"Byte product beyond Integer", "TypeName(CByte(255)*CByte(255))", "Long"},
        {"Byte beside Integer", "TypeName(CByte(2)*2)", "Integer"},
        {"Byte beside Boolean", "TypeName(CByte(2)+True)", "Integer"},
        {"Byte beside Empty", "TypeName(Empty+CByte(1))", "Byte"},
        {"negated Byte", "TypeName(-CByte(1))", "Integer"},
        {"Not of a Byte", "TypeName(Not CByte(1))", "Byte"},
        {"Byte integer division", "TypeName(CByte(7)\\CByte(2))", "Byte"},
        {"Byte Mod", "TypeName(CByte(7) Mod CByte(2))", "Byte"},
        {"Byte And Byte", "TypeName(CByte(12) And CByte(10))", "Byte"},
        {"Byte And Integer", "TypeName(CByte(12) And 10)", "Integer"},
        {"Byte quotient", "TypeName(CByte(1)/CByte(2))", "Double"},
        {"Currency sum with Double", "TypeName(CCur(1)+1.5)", "Currency"},
        {"Currency difference with Single", "TypeName(CCur(1)-CSng(1))", "Currency"},
        {"Currency product with Integer", "TypeName(CCur(1)*2)", "Currency"},
        {"Currency product with Double", "TypeName(CCur(1)*1.5)", "Double"},
        {"Currency product with Single", "TypeName(CCur(1)*CSng(1))", "Double"},
        {"Currency quotient", "TypeName(CCur(2)/CCur(1))", "Double"},
        {"Currency power", "TypeName(CCur(1)^2)", "Double"},
        {"negated Currency", "TypeName(-CCur(1))", "Currency"},
        {"Currency integer division", "TypeName(CCur(7)\\2)", "Long"},
        {"Currency And", "TypeName(CCur(1) And 1)", "Long"},
        {"Not of a Currency", "TypeName(Not CCur(1))", "Long"},
        {"Single beside Integer", "TypeName(CSng(1)+1)", "Single"},
        {"Single beside Long", "TypeName(CSng(1)+CLng(1))", "Double"},
        {"Single beside Double", "TypeName(CSng(1)+1.5)", "Double"},
        {"Single product with Byte", "TypeName(CSng(1)*CByte(2))", "Single"},
        {"Single quotient by Integer", "TypeName(CSng(1)/2)", "Single"},
        {"Single quotient by Long", "TypeName(CSng(1)/CLng(2))", "Double"},
        {"negated Single", "TypeName(-CSng(1))", "Single"},
        {"Single beyond its range", "TypeName(CSng(3E38)*10)", "Double"},
    });
}

void TestScriptEngine::subtypes() {
    compareResult();
}

// Currency is exact in ten-thousandths and rounds a half to even.
void TestScriptEngine::currencyArithmetic_data() {
    addResultColumns();
    addRows({
        {"sum without binary noise", "CCur(0.1)+CCur(0.2)", "0,3"},
        {"sum with a Double", "CCur(0.1)+0.2", "0,3"},
        {"Double rounded to four places", "CCur(1)+0.00004", "1"},
        {"product", "CCur(0.1)*CCur(0.1)", "0,01"},
        {"product rounds half to even", "CCur(0.0001)*CCur(0.5)", "0"},
        {"product rounds half up to even", "CCur(0.0003)*CCur(0.5)", "0,0002"},
        {"large sum keeps the last place",
         "CCur(900000000000000)+CCur(0.0001)-CCur(900000000000000)", "0,0001"},
        {"negation", "-CCur(2.5)", "-2,5"},
        {"quotient is a Double", "CCur(1)/3", "0,333333333333333"},
        {"compares exactly", "CCur(0.3)=CCur(0.1)+CCur(0.2)", "Wahr"},
        {"compares with a whole number", "CCur(2)=2", "Wahr"},
        {"Single compares in single precision", "CSng(0.1)=0.1", "Wahr"},
    });
}

void TestScriptEngine::currencyArithmetic() {
    compareResult();
}

void TestScriptEngine::errors_data() {
    addErrorColumns();
    addErrorRows({
        {"dangling operator", "1+", ScriptError::Syntax},
        {"empty formula", "", ScriptError::Syntax},
        {"unbalanced parenthesis", "(1+2", ScriptError::Syntax},
        {"two numbers", "1 2", ScriptError::Syntax},
        {"not as right operand of a comparison", "1 = Not 0", ScriptError::Syntax},
        {"not as right operand of plus", "1 + Not 0", ScriptError::Syntax},
        {"unknown character", "1#2", ScriptError::Syntax},
        {"unterminated text", "\"abc", ScriptError::Syntax},
        {"second statement", "1: y = 2", ScriptError::Syntax},
        {"exponent without digits", "1E+", ScriptError::Syntax},
        {"text beside null in a logical operator", "\"x\" And Null", ScriptError::TypeMismatch},
        {"division by zero", "5/0", ScriptError::DivisionByZero},
        {"integer division by zero", "5\\0", ScriptError::DivisionByZero},
        {"mod by zero", "5 Mod 0", ScriptError::DivisionByZero},
        {"zero by zero", "0/0", ScriptError::Overflow},
        {"double beyond range", "1E308*10", ScriptError::Overflow},
        {"huge power", "10^400", ScriptError::Overflow},
        {"literal beyond range", "1E400", ScriptError::Syntax},
        {"tiny literal is zero", "1E-400/0", ScriptError::Overflow},
        {"integer division beyond 32 bits", "5000000000\\2", ScriptError::Overflow},
        {"CInt beyond range", "CInt(40000)", ScriptError::Overflow},
        {"text in arithmetic", "\"abc\"*2", ScriptError::TypeMismatch},
        {"square root of negative", "Sqr(-1)", ScriptError::InvalidProcedureCall},
        {"log of zero", "Log(0)", ScriptError::InvalidProcedureCall},
        {"root of negative by power", "(-8)^(1/3)", ScriptError::InvalidProcedureCall},
        {"too many arguments", "Abs(1,2)", ScriptError::WrongArgumentCount},
        {"function without its argument", "Sqr", ScriptError::WrongArgumentCount},
        {"empty argument list", "Len()", ScriptError::WrongArgumentCount},
        {"unknown function", "Foo(1)", ScriptError::UnknownFunction},
        {"object creation", "CreateObject(\"WScript.Shell\")", ScriptError::UnknownFunction},
        {"object lookup", "GetObject(\"x\")", ScriptError::UnknownFunction},
        {"code evaluation", "Eval(\"1\")", ScriptError::UnknownFunction},
        {"date", "Date()", ScriptError::UnknownFunction},
        {"time", "Now()", ScriptError::UnknownFunction},
        {"randomness", "Rnd(1)", ScriptError::UnknownFunction},
        {"locale formatting", "FormatNumber(1)", ScriptError::UnknownFunction},
        {"function of two arguments", "Left(\"ab\")", ScriptError::UnknownFunction},
        {"Currency beyond its range", "CCur(922337203685477)+1", ScriptError::Overflow},
        {"Currency below its range", "-CCur(922337203685477)-1", ScriptError::Overflow},
        {"Currency product beyond its range", "CCur(1E14)*100", ScriptError::Overflow},
        {"Double beyond Currency in a sum", "CCur(1)+1E300", ScriptError::Overflow},
        {"text beside Currency", "CCur(1)+\"x\"", ScriptError::TypeMismatch},
        {"Null in a function of numbers", "Sgn(Null)", ScriptError::InvalidUseOfNull},
        {"text longer than the bound", "Space(40000) & Space(30000)",
         ScriptError::OutOfStringSpace},
        {"text sum longer than the bound", "Space(40000) + Space(30000)",
         ScriptError::OutOfStringSpace},
    });
}

void TestScriptEngine::errors() {
    compareError();
}

void TestScriptEngine::resultText_data() {
    addResultColumns();
    addRows({
        {"number", "2+3", "5"},
        {"true", "2>1", "Wahr"},
        {"false", "2<1", "Falsch"},
        {"text", "\"Summe\"", "Summe"},
        {"empty", "Empty", ""},
        {"null", "Null", ""},
        {"large number", "10^20", "1E+20"},
        {"Byte as a number", "CByte(7)", "7"},
        {"Currency as a number", "CCur(2.5)", "2,5"},
        {"Currency with four places", "CCur(1/3)", "0,3333"},
        {"Single with seven digits", "CSng(1/3)", "0,3333333"},
        {"Single without binary noise", "CSng(0.1)", "0,1"},
    });
}

void TestScriptEngine::resultText() {
    compareResult();
}

void TestScriptEngine::onlyAssignmentRuns_data() {
    QTest::addColumn<QString>("statement");
    QTest::newRow("no assignment") << "1+2";
    QTest::newRow("keyword as name") << "Not = 1";
    QTest::newRow("function as name") << "Sqr = 1";
    QTest::newRow("call statement") << "MsgBox(\"x\")";
    QTest::newRow("execute") << "Execute \"x=1\"";
    QTest::newRow("two assignments") << "a = 1 b = 2";
}

void TestScriptEngine::onlyAssignmentRuns() {
    QFETCH(QString, statement);
    ScriptEngine engine;
    QVERIFY(!engine.ExecuteStatement(statement));
    QCOMPARE(engine.lastError(), ScriptError::Syntax);
}

void TestScriptEngine::freshInstanceForgetsVariables() {
    ScriptEngine engine;
    QVERIFY(engine.ExecuteStatement("Wert = 6*7"));
    QCOMPARE(ResultText(*engine.Eval("wert")), QStringLiteral("42"));
    QCOMPARE(ResultText(*engine.Eval("WERT+1")), QStringLiteral("43"));
    QCOMPARE(evaluate("wert"), QString());
}

void TestScriptEngine::boundsMakeHugeInputASyntaxError() {
    const QString deep =
        QString(ScriptEngine::MaxDepth + 1, u'(') + "1" + QString(ScriptEngine::MaxDepth + 1, u')');
    QCOMPARE(errorOf(deep), ScriptError::Syntax);
    const QString shallow = QString(50, u'(') + "1" + QString(50, u')');
    QCOMPARE(evaluate(shallow), QStringLiteral("1"));
    QCOMPARE(errorOf(QString(ScriptEngine::MaxLength, u'1')), ScriptError::Syntax);
    QCOMPARE(errorOf(QString(100000, u'-') + "1"), ScriptError::Syntax);
    QCOMPARE(evaluate(QString(3, u'\0')), QString());
}

void TestScriptEngine::literalsBeyondDoubleRange() {
    const QString zeros(400, u'0');
    QCOMPARE(evaluate("0." + zeros + "1"), QStringLiteral("0"));
    QCOMPARE(evaluate("1" + zeros + "E-800"), QStringLiteral("0"));
    QCOMPARE(evaluate("1" + zeros + "E-5"), QString());
    QCOMPARE(errorOf("1" + zeros + "E-5"), ScriptError::Syntax);
    QCOMPARE(errorOf("1" + zeros), ScriptError::Syntax);
}

QTEST_GUILESS_MAIN(TestScriptEngine)
#include "tst_script_engine.moc"
