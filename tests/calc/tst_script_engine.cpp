#include "calc/script_engine.h"

#include <QTest>

namespace {

// The result text of "xergebnis =" followed by the formula.
QString evaluate(const QString& formula) {
    return EvaluateFormula(formula);
}

ScriptError errorOf(const QString& formula) {
    ScriptEngine engine;
    engine.ExecuteStatement(QStringLiteral("x =") + formula);
    return engine.lastError();
}

void addRows(std::initializer_list<std::tuple<const char*, QString, QString>> rows) {
    for (const auto& [name, formula, expected] : rows)
        QTest::newRow(name) << formula << expected;
}

} // namespace

Q_DECLARE_METATYPE(ScriptError)

class TestScriptEngine : public QObject {
    Q_OBJECT

private slots:
    void precedence_data();
    void precedence();
    void numberForms_data();
    void numberForms();
    void variantRules_data();
    void variantRules();
    void functions_data();
    void functions();
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

#define RESULT_COLUMNS()                                                                           \
    QTest::addColumn<QString>("formula");                                                          \
    QTest::addColumn<QString>("expected")

void TestScriptEngine::precedence_data() {
    RESULT_COLUMNS();
    addRows({
        {"times before plus", "2+3*4", "14"},
        {"parentheses group", "(2+3)*4", "20"},
        {"left to right minus", "10-4-3", "3"},
        {"left to right divide", "64/4/2", "8"},
        {"power left to right", "2^3^2", "64"},
        {"power before unary minus", "-2^2", "-4"},
        {"negative exponent", "2^-2", "0,25"},
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
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(evaluate(formula), expected);
}

void TestScriptEngine::numberForms_data() {
    RESULT_COLUMNS();
    addRows({
        {"leading point", ".5*2", "1"},
        {"trailing point", "5.*2", "10"},
        {"exponent", "1.5E+20", "1,5E+20"},
        {"lower exponent", "2e3", "2000"},
        {"negative exponent", "1.5E-7", "1,5E-07"},
        {"hexadecimal", "&H1F", "31"},
        {"hexadecimal Integer wraps", "&HFFFF", "-1"},
        {"hexadecimal Long", "&H10000", "65536"},
        {"octal", "&O17", "15"},
        {"blanks and tabs", " 1 +\t2 ", "3"},
        {"fifteen digits", "1/3", "0,333333333333333"},
        {"binary noise hidden", "0.1+0.2", "0,3"},
    });
}

void TestScriptEngine::numberForms() {
    precedence();
}

void TestScriptEngine::variantRules_data() {
    RESULT_COLUMNS();
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
    precedence();
}

void TestScriptEngine::functions_data() {
    RESULT_COLUMNS();
    addRows({
        {"Abs", "Abs(-2.5)", "2,5"},
        {"Atn", "Atn(1)*4", "3,14159265358979"},
        {"Cos", "Cos(0)", "1"},
        {"Exp", "Exp(1)", "2,71828182845905"},
        {"Fix truncates", "Fix(-2.7)", "-2"},
        {"Int floors", "Int(-2.7)", "-3"},
        {"Log", "Log(Exp(2))", "2"},
        {"Round half to even", "Round(2.5)", "2"},
        {"Round up half to even", "Round(3.5)", "4"},
        {"Round with decimals", "Round(1.2345, 2)", "1,23"},
        {"Sgn", "Sgn(-4)", "-1"},
        {"Sin", "Sin(0)", "0"},
        {"Sqr", "Sqr(16)", "4"},
        {"Tan", "Tan(0)", "0"},
        {"CBool", "CBool(2)", "Wahr"},
        {"CDbl of text", "CDbl(\"1,5\")", "1,5"},
        {"CInt half to even", "CInt(2.5)", "2"},
        {"CLng", "CLng(100000.6)", "100001"},
        {"CSng has seven digits", "CSng(1/3)", "0,3333333"},
        {"CStr", "CStr(2.5)", "2,5"},
        {"Hex", "Hex(255)", "FF"},
        {"Hex of negative Integer", "Hex(-1)", "FFFF"},
        {"Oct", "Oct(8)", "10"},
        {"function names in any case", "sqr(9)+ABS(-1)", "4"},
        {"nested calls", "Abs(Int(-Sqr(2)))", "2"},
    });
}

void TestScriptEngine::functions() {
    precedence();
}

void TestScriptEngine::errors_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<ScriptError>("error");
    const std::initializer_list<std::tuple<const char*, const char*, ScriptError>> rows{
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
        {"wrong argument count", "Abs(1,2)", ScriptError::InvalidProcedureCall},
        {"unknown function", "Foo(1)", ScriptError::UnknownFunction},
        {"object creation", "CreateObject(\"WScript.Shell\")", ScriptError::UnknownFunction},
    };
    for (const auto& [name, formula, error] : rows)
        QTest::newRow(name) << QString::fromUtf8(formula) << error;
}

void TestScriptEngine::errors() {
    QFETCH(QString, formula);
    QFETCH(ScriptError, error);
    QCOMPARE(errorOf(formula), error);
    QCOMPARE(evaluate(formula), QString());
}

void TestScriptEngine::resultText_data() {
    RESULT_COLUMNS();
    addRows({
        {"number", "2+3", "5"},
        {"true", "2>1", "Wahr"},
        {"false", "2<1", "Falsch"},
        {"text", "\"Summe\"", "Summe"},
        {"empty", "Empty", ""},
        {"null", "Null", ""},
        {"large number", "10^20", "1E+20"},
    });
}

void TestScriptEngine::resultText() {
    precedence();
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
