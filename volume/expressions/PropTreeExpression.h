// Evaluates the formulas that every numeric field marked with an asterisk accepts, such as
// "(5.3 * 3600 / 24) - 500": arithmetic, power, functions, comparisons and logical operators.
// Evaluation always yields a value. A construct that does not parse (a missing parenthesis or
// comma) is noted in SyntaxError() and skipped over; an unknown name adds a warning and counts 0.
#pragma once
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace volumira3d
{
class CPropTreeExpression
{
public:
    enum ESymbol
    {
        tEND,
        tPLUS,
        tMINUS,
        tMULTIPLY,
        tDIVIDE,
        tLPAREN,
        tRPAREN,
        tCOMMA,
        tSEMICOLON,
        tPERCENT,
        tLBRACKET,
        tRBRACKET,
        tEQUAL,
        tGREATER,
        tGREATEREQUAL,
        tLESS,
        tLESSEQUAL,
        tNOTEQUAL,
        tAND,
        tOR,
        tPOW,
        tNUMBER,
        tVARIABLE,
        tSQRT,
        tCOS,
        tSIN,
        tPI,
        tEXP,
        tABS,
        tLOG,
        tLOG10,
        tTAN,
        tCOSH,
        tSINH,
        tTANH,
        tACOS,
        tASIN,
        tATAN,
        tATAN2,
        tINVALID,
    };

    // Deeper nesting of parentheses, braces or powers is refused as a syntax error, so that no
    // text can exhaust the stack.
    static constexpr int MaxDepth = 200;

    CPropTreeExpression();

    // Reads the first token and evaluates one logical expression.
    double Evaluate(const std::string& text);

    void SetVariable(const std::string& name, double value);
    const std::vector<std::string>& Warnings() const { return m_Warnings; }
    bool HasSyntaxError() const { return !m_SyntaxError.empty(); }
    // The condition that failed first, as "m_NextSymbol == tRPAREN".
    const std::string& SyntaxError() const { return m_SyntaxError; }
    std::string Log() const { return m_Log.str(); }

private:
    void NextChar();
    void GetNextSymbol();
    void ReadNumber();
    void ReadDigits(std::string& text);
    void ReadIdentifier();
    void ReadOperator();

    double Logical();
    double Comparison();
    double Expression();
    double Term();
    double Factor();
    double NumberFactor();
    double FunctionFactor(ESymbol function);
    void Expect(ESymbol symbol, const char* condition);
    bool Enter();
    void Leave() { --m_Depth; }

    std::string m_Text;
    size_t m_Pos = 0;
    char m_Char = '\0';
    ESymbol m_NextSymbol = tEND;
    double m_Value = 0;
    std::map<std::string, ESymbol> m_Keywords;
    std::map<std::string, double> m_Variables;
    std::vector<std::string> m_Warnings;
    std::ostringstream m_Log;
    std::string m_SyntaxError;
    int m_Depth = 0;
};

// A fresh evaluator for one text.
double EvaluateExpression(const std::string& text, std::string* syntaxError = nullptr,
                          std::vector<std::string>* warnings = nullptr);
} // namespace volumira3d
