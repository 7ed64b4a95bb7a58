#include "volume/expressions/PropTreeExpression.h"

#include "common/TextCase.h"
#include "volume/formats/TextScanner.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace volumira3d
{
namespace
{
bool IsLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsSeparator(char c)
{
    return c == '.' || c == ',';
}

double ApplyFunction(CPropTreeExpression::ESymbol function, double x)
{
    using E = CPropTreeExpression;
    switch (function)
    {
    case E::tSQRT:
        return std::sqrt(x);
    case E::tCOS:
        return std::cos(x);
    case E::tSIN:
        return std::sin(x);
    case E::tEXP:
        return std::exp(x);
    case E::tABS:
        return std::fabs(x);
    case E::tLOG:
        return std::log(x);
    case E::tLOG10:
        return std::log10(x);
    case E::tTAN:
        return std::tan(x);
    case E::tCOSH:
        return std::cosh(x);
    case E::tSINH:
        return std::sinh(x);
    case E::tTANH:
        return std::tanh(x);
    case E::tACOS:
        return std::acos(x);
    case E::tASIN:
        return std::asin(x);
    case E::tATAN:
        return std::atan(x);
    default:
        return 0;
    }
}

bool IsComparison(CPropTreeExpression::ESymbol s)
{
    using E = CPropTreeExpression;
    return s == E::tEQUAL || s == E::tGREATER || s == E::tGREATEREQUAL || s == E::tLESS ||
           s == E::tLESSEQUAL || s == E::tNOTEQUAL;
}

bool Compare(CPropTreeExpression::ESymbol op, double l, double r)
{
    using E = CPropTreeExpression;
    switch (op)
    {
    case E::tEQUAL:
        return l == r;
    case E::tGREATER:
        return l > r;
    case E::tGREATEREQUAL:
        return l >= r;
    case E::tLESS:
        return l < r;
    case E::tLESSEQUAL:
        return l <= r;
    default:
        return l != r;
    }
}
} // namespace

CPropTreeExpression::CPropTreeExpression()
    : m_Keywords{{"SQRT", tSQRT},   {"POW", tPOW},   {"COS", tCOS},   {"SIN", tSIN},
                 {"PI", tPI},       {"EXP", tEXP},   {"ABS", tABS},   {"LOG", tLOG},
                 {"LOG10", tLOG10}, {"TAN", tTAN},   {"COSH", tCOSH}, {"SINH", tSINH},
                 {"TANH", tTANH},   {"ACOS", tACOS}, {"ASIN", tASIN}, {"ATAN", tATAN},
                 {"ATAN2", tATAN2}}
{
}

void CPropTreeExpression::SetVariable(const std::string& name, double value)
{
    m_Variables[UpperCase(name)] = value;
}

double CPropTreeExpression::Evaluate(const std::string& text)
{
    m_Text = text;
    m_Pos = 0;
    m_Depth = 0;
    m_SyntaxError.clear();
    NextChar();
    GetNextSymbol();
    return Logical();
}

void CPropTreeExpression::NextChar()
{
    m_Char = m_Pos < m_Text.size() ? m_Text[m_Pos] : '\0';
    if (m_Pos <= m_Text.size()) ++m_Pos;
}

void CPropTreeExpression::GetNextSymbol()
{
    while (m_Char == ' ' || m_Char == '\n' || m_Char == '\r' || m_Char == '\t')
        NextChar();
    if (m_Char == '\0' && m_Pos > m_Text.size())
        m_NextSymbol = tEND;
    else if (IsLetter(m_Char))
        ReadIdentifier();
    else if (IsDigit(m_Char))
        ReadNumber();
    else
        ReadOperator();
}

// Digits with at most one decimal separator ("." or ","), appended to text with a point.
void CPropTreeExpression::ReadDigits(std::string& text)
{
    bool fraction = false;
    while (IsDigit(m_Char) || (IsSeparator(m_Char) && !fraction))
    {
        fraction = fraction || IsSeparator(m_Char);
        text += IsSeparator(m_Char) ? '.' : m_Char;
        NextChar();
    }
}

// The value is mantissa * 10^exponent; converted in one step where the exponent is whole, so that
// a number prints and reads back to the same double.
void CPropTreeExpression::ReadNumber()
{
    std::string mantissa;
    ReadDigits(mantissa);
    std::string exponent = "0";
    if (m_Char == 'e' || m_Char == 'E')
    {
        NextChar();
        exponent.clear();
        if (m_Char == '+' || m_Char == '-')
        {
            exponent += m_Char;
            NextChar();
        }
        ReadDigits(exponent);
    }
    const double exp = StrtodC(exponent.c_str());
    if (exp == std::floor(exp) && std::fabs(exp) < 10000)
        m_Value = StrtodC((mantissa + "e" + std::to_string(static_cast<int>(exp))).c_str());
    else
        m_Value = StrtodC(mantissa.c_str()) * std::pow(10.0, exp);
    m_NextSymbol = tNUMBER;
}

void CPropTreeExpression::ReadIdentifier()
{
    std::string name;
    while (IsLetter(m_Char) || IsDigit(m_Char) || m_Char == '_')
    {
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(m_Char)));
        NextChar();
    }
    if (auto keyword = m_Keywords.find(name); keyword != m_Keywords.end())
    {
        m_NextSymbol = keyword->second;
        return;
    }
    m_NextSymbol = tVARIABLE;
    if (auto variable = m_Variables.find(name); variable != m_Variables.end())
    {
        m_Value = variable->second;
        return;
    }
    const std::string warning = "WARNING: Unknown variable " + name + " while parsing expression!";
    m_Warnings.push_back(warning);
    m_Log << warning << '\n';
    m_Value = 0;
}

void CPropTreeExpression::ReadOperator()
{
    const char c = m_Char;
    NextChar();
    switch (c)
    {
    case '+':
        m_NextSymbol = tPLUS;
        return;
    case '-':
        m_NextSymbol = tMINUS;
        return;
    case '/':
        m_NextSymbol = tDIVIDE;
        return;
    case '(':
        m_NextSymbol = tLPAREN;
        return;
    case ')':
        m_NextSymbol = tRPAREN;
        return;
    case ',':
        m_NextSymbol = tCOMMA;
        return;
    case ';':
        m_NextSymbol = tSEMICOLON;
        return;
    case '%':
        m_NextSymbol = tPERCENT;
        return;
    case '{':
        m_NextSymbol = tLBRACKET;
        return;
    case '}':
        m_NextSymbol = tRBRACKET;
        return;
    case '=':
        m_NextSymbol = tEQUAL;
        return;
    case '&':
        m_NextSymbol = tAND;
        return;
    case '|':
        m_NextSymbol = tOR;
        return;
    case '^':
        m_NextSymbol = tPOW;
        return;
    case '*':
        m_NextSymbol = m_Char == '*' ? (NextChar(), tPOW) : tMULTIPLY;
        return;
    case '>':
        m_NextSymbol = m_Char == '=' ? (NextChar(), tGREATEREQUAL) : tGREATER;
        return;
    case '<':
        if (m_Char == '=' || m_Char == '>')
        {
            m_NextSymbol = m_Char == '=' ? tLESSEQUAL : tNOTEQUAL;
            NextChar();
        }
        else
            m_NextSymbol = tLESS;
        return;
    default:
        m_NextSymbol = tINVALID;
        return;
    }
}

void CPropTreeExpression::Expect(ESymbol symbol, const char* condition)
{
    if (m_NextSymbol != symbol && m_SyntaxError.empty())
    {
        m_SyntaxError = condition;
        m_Log << "Syntax error: " << condition << '\n';
    }
    GetNextSymbol();
}

bool CPropTreeExpression::Enter()
{
    if (++m_Depth <= MaxDepth) return true;
    if (m_SyntaxError.empty()) m_SyntaxError = "nesting deeper than " + std::to_string(MaxDepth);
    // Nothing more of this text is read.
    m_Pos = m_Text.size() + 1;
    m_Char = '\0';
    m_NextSymbol = tEND;
    --m_Depth;
    return false;
}

double CPropTreeExpression::Logical()
{
    if (!Enter()) return 0;
    double value = 0;
    if (m_NextSymbol == tLBRACKET)
    {
        GetNextSymbol();
        value = Logical();
        Expect(tRBRACKET, "m_NextSymbol == tRBRACKET");
    }
    else
        value = Comparison();
    while (m_NextSymbol == tAND || m_NextSymbol == tOR)
    {
        const ESymbol op = m_NextSymbol;
        GetNextSymbol();
        const double right = Logical();
        value = op == tAND ? (value > 0.5 && right > 0.5) : (value > 0.5 || right > 0.5);
    }
    Leave();
    return value;
}

double CPropTreeExpression::Comparison()
{
    const double left = Expression();
    if (!IsComparison(m_NextSymbol)) return left;
    const ESymbol op = m_NextSymbol;
    GetNextSymbol();
    return Compare(op, left, Expression()) ? 1 : 0;
}

double CPropTreeExpression::Expression()
{
    double value = Term();
    while (m_NextSymbol == tPLUS || m_NextSymbol == tMINUS)
    {
        const ESymbol op = m_NextSymbol;
        GetNextSymbol();
        const double right = Term();
        value = op == tPLUS ? value + right : value - right;
    }
    return value;
}

double CPropTreeExpression::Term()
{
    double value = Factor();
    while (m_NextSymbol == tMULTIPLY || m_NextSymbol == tDIVIDE)
    {
        const ESymbol op = m_NextSymbol;
        GetNextSymbol();
        const double right = Factor();
        value = op == tMULTIPLY ? value * right : value / right;
    }
    return value;
}

double CPropTreeExpression::Factor()
{
    switch (m_NextSymbol)
    {
    case tNUMBER:
        return NumberFactor();
    case tVARIABLE:
    {
        const double value = m_Value;
        GetNextSymbol();
        return value;
    }
    case tPI:
        GetNextSymbol();
        return 4 * std::atan(1.0);
    case tLPAREN:
    {
        if (!Enter()) return 0;
        GetNextSymbol();
        const double value = Expression();
        Expect(tRPAREN, "m_NextSymbol == tRPAREN");
        Leave();
        return value;
    }
    case tSQRT:
    case tCOS:
    case tSIN:
    case tEXP:
    case tABS:
    case tLOG:
    case tLOG10:
    case tTAN:
    case tCOSH:
    case tSINH:
    case tTANH:
    case tACOS:
    case tASIN:
    case tATAN:
    case tATAN2:
        return FunctionFactor(m_NextSymbol);
    default:
        return 0; // the token stays for the caller: a leading minus reads as 0 - x
    }
}

// The exponent of a power is a whole expression, and one more token is consumed after it.
double CPropTreeExpression::NumberFactor()
{
    const double base = m_Value;
    GetNextSymbol();
    if (m_NextSymbol != tPOW) return base;
    if (!Enter()) return 0;
    GetNextSymbol();
    const double exponent = Expression();
    GetNextSymbol();
    Leave();
    return std::pow(base, exponent);
}

double CPropTreeExpression::FunctionFactor(ESymbol function)
{
    if (!Enter()) return 0;
    GetNextSymbol();
    Expect(tLPAREN, "m_NextSymbol == tLPAREN");
    const double x = Expression();
    double value = 0;
    if (function == tATAN2)
    {
        Expect(tCOMMA, "m_NextSymbol == tCOMMA");
        value = std::atan2(x, Expression());
    }
    else
        value = ApplyFunction(function, x);
    Expect(tRPAREN, "m_NextSymbol == tRPAREN");
    Leave();
    return value;
}

double EvaluateExpression(const std::string& text, std::string* syntaxError,
                          std::vector<std::string>* warnings)
{
    CPropTreeExpression expression;
    const double value = expression.Evaluate(text);
    if (syntaxError) *syntaxError = expression.SyntaxError();
    if (warnings) *warnings = expression.Warnings();
    return value;
}
} // namespace volumira3d
