#include "calc/script_engine.h"

#include "calc/module1.h"
#include "calc/script_functions.h"
#include "calc/script_operations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

using script::BinaryOperator;
using script::Result;

enum class TokenKind { End, Number, String, Name, Symbol, Invalid };

// The names the language keeps for itself, in any case.
enum class Keyword { True, False, Empty, Null, Not, And, Or, Xor, Eqv, Imp, Mod };

std::optional<Keyword> keywordOf(QStringView name) {
    static constexpr std::pair<const char*, Keyword> spellings[] = {
        {"True", Keyword::True}, {"False", Keyword::False}, {"Empty", Keyword::Empty},
        {"Null", Keyword::Null}, {"Not", Keyword::Not},     {"And", Keyword::And},
        {"Or", Keyword::Or},     {"Xor", Keyword::Xor},     {"Eqv", Keyword::Eqv},
        {"Imp", Keyword::Imp},   {"Mod", Keyword::Mod}};
    constexpr qsizetype LongestKeyword = 5; // "Empty"
    if (name.size() > LongestKeyword)
        return std::nullopt;
    for (const auto& [text, keyword] : spellings)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return keyword;
    return std::nullopt;
}

// A symbol of one or two characters as one number, so that tokens compare cheaply.
constexpr quint32 symbolCode(const char* symbol) {
    return static_cast<quint8>(symbol[0]) |
           (symbol[0] ? static_cast<quint32>(static_cast<quint8>(symbol[1])) << 8 : 0u);
}

struct Token {
    TokenKind kind = TokenKind::End;
    quint32 symbol = 0; // symbolCode() of a symbol
    QStringView text;   // the name or symbol; a string literal's text without quotes
    Variant value;      // a literal's value
    std::optional<BinaryOperator> binary; // the operator a symbol or keyword names
    std::optional<Keyword> keyword;       // the keyword a name spells
};

std::optional<BinaryOperator> symbolOperator(quint32 symbol) {
    switch (symbol) {
    case symbolCode("^"):
        return BinaryOperator::Power;
    case symbolCode("*"):
        return BinaryOperator::Multiply;
    case symbolCode("/"):
        return BinaryOperator::Divide;
    case symbolCode("\\"):
        return BinaryOperator::IntegerDivide;
    case symbolCode("+"):
        return BinaryOperator::Add;
    case symbolCode("-"):
        return BinaryOperator::Subtract;
    case symbolCode("&"):
        return BinaryOperator::Concatenate;
    case symbolCode("="):
        return BinaryOperator::Equal;
    case symbolCode("<>"):
    case symbolCode("><"):
        return BinaryOperator::NotEqual;
    case symbolCode("<"):
        return BinaryOperator::Less;
    case symbolCode(">"):
        return BinaryOperator::Greater;
    case symbolCode("<="):
    case symbolCode("=<"):
        return BinaryOperator::LessOrEqual;
    case symbolCode(">="):
    case symbolCode("=>"):
        return BinaryOperator::GreaterOrEqual;
    default:
        return std::nullopt;
    }
}

std::optional<BinaryOperator> keywordOperator(Keyword keyword) {
    switch (keyword) {
    case Keyword::Mod:
        return BinaryOperator::Modulo;
    case Keyword::And:
        return BinaryOperator::And;
    case Keyword::Or:
        return BinaryOperator::Or;
    case Keyword::Xor:
        return BinaryOperator::Xor;
    case Keyword::Eqv:
        return BinaryOperator::Eqv;
    case Keyword::Imp:
        return BinaryOperator::Imp;
    default:
        return std::nullopt;
    }
}

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSymbolCharacter(QChar c) {
    switch (c.unicode()) {
    case u'+':
    case u'-':
    case u'*':
    case u'/':
    case u'\\':
    case u'^':
    case u'&':
    case u'=':
    case u'<':
    case u'>':
    case u'(':
    case u')':
    case u',':
        return true;
    default:
        return false;
    }
}

// Whether a decimal literal ("digits[.digits][e[sign]digits]") that no double holds lies below
// the smallest one rather than above the largest: the sign of its decimal magnitude decides.
bool tooSmallForDouble(std::string_view literal) {
    const size_t e = std::min(literal.find('e'), literal.size());
    const std::string_view mantissa = literal.substr(0, e);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_not_of("0.");
    const double position = first < point ? double(point - first) : -double(first - point);
    double exponent = 0;
    if (e < literal.size()) {
        const std::string_view text = literal.substr(e + 1 + (literal[e + 1] == '+'));
        long long whole = 0;
        if (std::from_chars(text.data(), text.data() + text.size(), whole).ec == std::errc())
            exponent = double(whole);
        else
            exponent = text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return position + exponent < 0;
}

// Splits the source into tokens one at a time.
class Lexer {
public:
    explicit Lexer(QStringView source)
        : m_source(source) {
        advance();
    }

    const Token& current() const { return m_token; }
    void advance();

private:
    QChar at(qsizetype position) const {
        return position < m_source.size() ? m_source[position] : QChar();
    }
    qsizetype skipDigits(qsizetype position) const;
    void lexNumber();
    void lexRadix(int base);
    void lexString();
    void lexName();
    void lexSymbol();

    QStringView m_source;
    qsizetype m_position = 0;
    Token m_token;
};

void Lexer::advance() {
    while (at(m_position) == u' ' || at(m_position) == u'\t')
        ++m_position;
    m_token = Token();
    if (m_position >= m_source.size())
        return;
    const QChar c = at(m_position);
    if (IsAsciiDigit(c) || (c == u'.' && IsAsciiDigit(at(m_position + 1))))
        lexNumber();
    else if (c == u'&' && (at(m_position + 1) == u'H' || at(m_position + 1) == u'h'))
        lexRadix(16);
    else if (c == u'&' && (at(m_position + 1) == u'O' || at(m_position + 1) == u'o'))
        lexRadix(8);
    else if (c == u'"')
        lexString();
    else if (isLetter(c))
        lexName();
    else
        lexSymbol();
}

qsizetype Lexer::skipDigits(qsizetype position) const {
    while (IsAsciiDigit(at(position)))
        ++position;
    return position;
}

void Lexer::lexNumber() {
    const qsizetype start = m_position;
    m_position = skipDigits(m_position);
    bool whole = true;
    if (at(m_position) == u'.') {
        whole = false;
        m_position = skipDigits(m_position + 1);
    }
    if (at(m_position) == u'E' || at(m_position) == u'e') {
        qsizetype next = m_position + 1;
        if (at(next) == u'+' || at(next) == u'-')
            ++next;
        if (!IsAsciiDigit(at(next))) {
            m_token.kind = TokenKind::Invalid;
            return;
        }
        whole = false;
        m_position = skipDigits(next);
    }
    // Digits, point, sign and a lower-case "e": ASCII throughout.
    const QStringView literal = m_source.mid(start, m_position - start);
    std::string digits(static_cast<size_t>(literal.size()), '\0');
    std::transform(literal.begin(), literal.end(), digits.begin(),
                   [](QChar c) { return static_cast<char>(c.unicode() | (c == u'E' ? 0x20 : 0)); });
    double value = 0;
    const auto error = std::from_chars(digits.data(), digits.data() + digits.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large is not a number literal.
        if (!tooSmallForDouble(digits)) {
            m_token.kind = TokenKind::Invalid;
            return;
        }
        value = 0;
    }
    m_token.kind = TokenKind::Number;
    m_token.value = script::WholeOrDouble(value, whole);
}

void Lexer::lexRadix(int base) {
    m_position += 2;
    quint64 value = 0;
    int digits = 0;
    for (;; ++m_position, ++digits) {
        const QChar c = at(m_position).toLower();
        const int digit = IsAsciiDigit(c)                          ? c.unicode() - u'0'
                          : (base == 16 && c >= u'a' && c <= u'f') ? c.unicode() - u'a' + 10
                                                                   : -1;
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<quint64>(base) + static_cast<quint64>(digit);
        if (value > 0xFFFFFFFFu) {
            m_token.kind = TokenKind::Invalid;
            return;
        }
    }
    // A trailing "&" reads all 32 bits: &HFFFF is the Integer -1, &HFFFF& the Long 65535.
    const bool longLiteral = at(m_position) == u'&';
    if (longLiteral)
        ++m_position;
    if (digits == 0) {
        m_token.kind = TokenKind::Invalid;
        return;
    }
    const qint32 bits = !longLiteral && value <= 0xFFFF
                            ? qint32{static_cast<qint16>(static_cast<quint16>(value))}
                            : static_cast<qint32>(static_cast<quint32>(value));
    m_token.kind = TokenKind::Number;
    m_token.value = script::WholeOrDouble(bits, true);
}

void Lexer::lexString() {
    QString text;
    for (++m_position; m_position < m_source.size(); ++m_position) {
        if (m_source[m_position] == u'"') {
            if (at(m_position + 1) != u'"') {
                ++m_position;
                m_token.kind = TokenKind::String;
                m_token.value = Variant::string(std::move(text));
                return;
            }
            ++m_position;
        }
        text += m_source[m_position];
    }
    m_token.kind = TokenKind::Invalid; // unterminated
}

void Lexer::lexName() {
    const qsizetype start = m_position;
    while (isLetter(at(m_position)) || IsAsciiDigit(at(m_position)) || at(m_position) == u'_')
        ++m_position;
    m_token.kind = TokenKind::Name;
    m_token.text = m_source.mid(start, m_position - start);
    m_token.keyword = keywordOf(m_token.text);
    if (m_token.keyword)
        m_token.binary = keywordOperator(*m_token.keyword);
}

// "<>", "<=", ">=" and their other spellings "><", "=<", "=>".
bool isTwoCharacterSymbol(QChar first, QChar second) {
    const auto comparing = [](QChar c) { return c == u'<' || c == u'>' || c == u'='; };
    return comparing(first) && comparing(second) && first != second;
}

void Lexer::lexSymbol() {
    const QChar c = at(m_position);
    const QChar next = at(m_position + 1);
    const qsizetype length = isTwoCharacterSymbol(c, next) ? 2 : 1;
    m_token.kind = length == 2 || isSymbolCharacter(c) ? TokenKind::Symbol : TokenKind::Invalid;
    m_token.text = m_source.mid(m_position, length);
    m_token.symbol = static_cast<quint32>(c.unicode()) |
                     (length == 2 ? static_cast<quint32>(next.unicode()) << 8 : 0u);
    if (m_token.kind == TokenKind::Symbol)
        m_token.binary = symbolOperator(m_token.symbol);
    m_position += length;
}

// The binary operators from the loosest to the tightest binding; "Not" binds between "And"
// and the comparisons, "^" tighter than all of them and the signs tighter still.
enum Level {
    ImpLevel,
    EqvLevel,
    XorLevel,
    OrLevel,
    AndLevel,
    NotLevel,
    ComparisonLevel,
    ConcatenationLevel,
    AdditiveLevel,
    ModuloLevel,
    IntegerDivisionLevel,
    MultiplicativeLevel
};

std::optional<int> levelOf(BinaryOperator op) {
    switch (op) {
    case BinaryOperator::Imp:
        return ImpLevel;
    case BinaryOperator::Eqv:
        return EqvLevel;
    case BinaryOperator::Xor:
        return XorLevel;
    case BinaryOperator::Or:
        return OrLevel;
    case BinaryOperator::And:
        return AndLevel;
    case BinaryOperator::Equal:
    case BinaryOperator::NotEqual:
    case BinaryOperator::Less:
    case BinaryOperator::Greater:
    case BinaryOperator::LessOrEqual:
    case BinaryOperator::GreaterOrEqual:
        return ComparisonLevel;
    case BinaryOperator::Concatenate:
        return ConcatenationLevel;
    case BinaryOperator::Add:
    case BinaryOperator::Subtract:
        return AdditiveLevel;
    case BinaryOperator::Modulo:
        return ModuloLevel;
    case BinaryOperator::IntegerDivide:
        return IntegerDivisionLevel;
    case BinaryOperator::Multiply:
    case BinaryOperator::Divide:
        return MultiplicativeLevel;
    case BinaryOperator::Power:
        break;
    }
    return std::nullopt;
}

// Evaluates while it parses: each rule returns the value of what it read.
class Parser {
public:
    Parser(QStringView source, const ScriptEngine::Variables& variables)
        : m_lexer(source)
        , m_variables(variables) {}

    // "name = expression"; the name as written.
    std::optional<std::pair<QString, Variant>> assignment();
    std::optional<Variant> expression();
    ScriptError error() const { return m_error; }

private:
    Variant binary(int lowestLevel);
    Variant notOperand();
    Variant power();
    Variant signedOperand();
    Variant primary();
    Variant keywordValue(Keyword keyword);
    Variant call(QStringView name);

    bool failed() const { return m_error != ScriptError::None; }
    Variant fail(ScriptError error) {
        if (!failed())
            m_error = error;
        return {};
    }
    Variant take(Result result) {
        return result.ok() ? std::move(result.value) : fail(result.error);
    }
    bool atSymbol(const char* symbol) const {
        const Token& token = m_lexer.current();
        return token.kind == TokenKind::Symbol && token.symbol == symbolCode(symbol);
    }
    bool atKeyword(Keyword keyword) const { return m_lexer.current().keyword == keyword; }
    bool enter() {
        if (++m_depth > ScriptEngine::MaxDepth)
            fail(ScriptError::Syntax);
        return !failed();
    }
    void leave() { --m_depth; }
    bool atEnd() const { return m_lexer.current().kind == TokenKind::End; }

    Lexer m_lexer;
    const ScriptEngine::Variables& m_variables;
    ScriptError m_error = ScriptError::None;
    int m_depth = 0;
};

std::optional<std::pair<QString, Variant>> Parser::assignment() {
    const Token name = m_lexer.current();
    if (name.kind != TokenKind::Name || name.keyword || script::IsFunction(name.text)) {
        fail(ScriptError::Syntax);
        return std::nullopt;
    }
    m_lexer.advance();
    if (!atSymbol("=")) {
        fail(ScriptError::Syntax);
        return std::nullopt;
    }
    m_lexer.advance();
    std::optional<Variant> value = expression();
    if (!value)
        return std::nullopt;
    return std::pair{name.text.toString(), std::move(*value)};
}

std::optional<Variant> Parser::expression() {
    Variant value = binary(ImpLevel);
    if (!failed() && !atEnd())
        fail(ScriptError::Syntax);
    if (failed())
        return std::nullopt;
    return value;
}

// Precedence climbing over the levels from lowestLevel on, every operator left-associative.
Variant Parser::binary(int lowestLevel) {
    Variant left = lowestLevel <= NotLevel ? notOperand() : power();
    while (!failed()) {
        const std::optional<BinaryOperator> op = m_lexer.current().binary;
        const std::optional<int> level = op ? levelOf(*op) : std::nullopt;
        if (!level || *level < lowestLevel)
            break;
        m_lexer.advance();
        const Variant right = binary(*level + 1);
        if (failed())
            break;
        left = take(script::Apply(*op, left, right));
    }
    return left;
}

// A comparison or looser-bound operand, possibly behind any number of "Not".
Variant Parser::notOperand() {
    if (!atKeyword(Keyword::Not))
        return binary(ComparisonLevel);
    m_lexer.advance();
    if (!enter())
        return {};
    const Variant operand = notOperand();
    leave();
    return failed() ? Variant() : take(script::Not(operand));
}

// An operand behind any number of signs. As in VBScript (not VBA) a sign binds tighter than "^":
// -2^2 is (-2)^2.
Variant Parser::signedOperand() {
    const bool minus = atSymbol("-");
    if (!minus && !atSymbol("+"))
        return primary();
    m_lexer.advance();
    if (!enter())
        return {};
    const Variant value = signedOperand();
    leave();
    if (failed())
        return {};
    return minus ? take(script::Negate(value)) : value;
}

Variant Parser::power() {
    Variant base = signedOperand();
    while (!failed() && atSymbol("^")) {
        m_lexer.advance();
        const Variant exponent = signedOperand();
        if (failed())
            break;
        base = take(script::Apply(BinaryOperator::Power, base, exponent));
    }
    return base;
}

Variant Parser::primary() {
    const Token token = m_lexer.current();
    switch (token.kind) {
    case TokenKind::Number:
    case TokenKind::String:
        m_lexer.advance();
        return token.value;
    case TokenKind::Name:
        break;
    case TokenKind::Symbol:
        if (atSymbol("(")) {
            m_lexer.advance();
            if (!enter())
                return {};
            Variant inner = binary(ImpLevel);
            leave();
            if (!failed() && !atSymbol(")"))
                return fail(ScriptError::Syntax);
            m_lexer.advance();
            return inner;
        }
        return fail(ScriptError::Syntax);
    default:
        return fail(ScriptError::Syntax);
    }
    m_lexer.advance();
    if (token.keyword)
        return keywordValue(*token.keyword);
    if (atSymbol("("))
        return call(token.text);
    if (script::IsFunction(token.text))
        return take(script::Call(token.text, {}));
    const auto variable = std::find_if(m_variables.begin(), m_variables.end(), [&](const auto& v) {
        return token.text.compare(v.first, Qt::CaseInsensitive) == 0;
    });
    return variable == m_variables.end() ? Variant() : variable->second;
}

// The value a keyword stands for; an operator's keyword stands for none.
Variant Parser::keywordValue(Keyword keyword) {
    switch (keyword) {
    case Keyword::True:
        return Variant::boolean(true);
    case Keyword::False:
        return Variant::boolean(false);
    case Keyword::Empty:
        return Variant();
    case Keyword::Null:
        return Variant::null();
    default:
        return fail(ScriptError::Syntax);
    }
}

Variant Parser::call(QStringView name) {
    m_lexer.advance(); // "("
    if (!enter())
        return {};
    std::vector<Variant> arguments;
    if (!atSymbol(")")) {
        do {
            if (!arguments.empty())
                m_lexer.advance(); // ","
            arguments.push_back(binary(ImpLevel));
        } while (!failed() && atSymbol(","));
    }
    leave();
    if (failed())
        return {};
    if (!atSymbol(")"))
        return fail(ScriptError::Syntax);
    m_lexer.advance();
    return take(script::Call(name, arguments));
}

} // namespace

void ScriptEngine::setLanguage(const QString&) {
    // VBScript is the only language this engine speaks.
}

bool ScriptEngine::ExecuteStatement(const QString& statement) {
    if (statement.size() > MaxLength) {
        m_lastError = ScriptError::Syntax;
        return false;
    }
    Parser parser(statement, m_variables);
    std::optional<std::pair<QString, Variant>> assigned = parser.assignment();
    m_lastError = parser.error();
    if (assigned)
        assign(std::move(assigned->first), std::move(assigned->second));
    return assigned.has_value();
}

std::optional<Variant> ScriptEngine::Eval(const QString& expression) {
    if (expression.size() > MaxLength) {
        m_lastError = ScriptError::Syntax;
        return std::nullopt;
    }
    Parser parser(expression, m_variables);
    std::optional<Variant> value = parser.expression();
    m_lastError = parser.error();
    return value;
}

void ScriptEngine::assign(QString name, Variant value) {
    for (auto& [existing, stored] : m_variables) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            stored = std::move(value);
            return;
        }
    }
    m_variables.emplace_back(std::move(name), std::move(value));
}

std::unique_ptr<ExpressionEngine> CreateScriptControl() {
    return std::make_unique<ScriptEngine>();
}
