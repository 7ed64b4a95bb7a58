#include "geometry/PhitsInput.h"

#include "common/NumberScan.h"
#include "common/TextCase.h"
#include "common/Tokens.h"
#include "geometry/McnpGeometryReader.h"
#include "platform/UiServices.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

namespace
{
constexpr int MaxIncludeDepth = 10;
constexpr int MaxExpressionDepth = 200;

// A recursive-descent evaluator of Fortran-style arithmetic: + - * / ** (or ^), parentheses,
// numbers, constants cN, pi and functions.
class CEvaluator
{
public:
    CEvaluator(const std::string& text, const std::map<int, double>& constants)
        : m_Text(LowerCase(text)), m_Constants(constants)
    {
    }

    bool Evaluate(double& value, std::string& error)
    {
        value = Sum();
        Blanks();
        if (m_Error.empty() && m_At < m_Text.size())
            m_Error = "\"" + m_Text.substr(m_At) + "\" is not part of an expression";
        if (m_Error.empty() && !std::isfinite(value)) m_Error = "it is not a finite number";
        error = m_Error.empty() ? "" : "\"" + m_Text + "\": " + m_Error;
        return m_Error.empty();
    }

private:
    void Blanks()
    {
        while (m_At < m_Text.size() && m_Text[m_At] == ' ')
            ++m_At;
    }
    bool Take(const char* token)
    {
        Blanks();
        const size_t n = std::char_traits<char>::length(token);
        if (m_Text.compare(m_At, n, token) != 0) return false;
        m_At += n;
        return true;
    }

    double Sum()
    {
        double v = Product();
        while (m_Error.empty())
            if (Take("+"))
                v += Product();
            else if (Take("-"))
                v -= Product();
            else
                break;
        return v;
    }

    double Product()
    {
        double v = Unary();
        while (m_Error.empty())
        {
            Blanks();
            if (m_Text.compare(m_At, 2, "**") == 0) break; // a power, taken below
            if (Take("*"))
                v *= Unary();
            else if (Take("/"))
                v /= Unary();
            else
                break;
        }
        return v;
    }

    // -2**2 is -(2**2), as in Fortran. Every nesting passes here: its depth is bounded.
    double Unary()
    {
        if (++m_Depth > MaxExpressionDepth) return Fail("it nests too deep");
        struct CLeave
        {
            int& m_Depth;
            ~CLeave() { --m_Depth; }
        } leave{m_Depth};
        if (Take("-")) return -Unary();
        if (Take("+")) return Unary();
        const double base = Primary();
        if (m_Error.empty() && (Take("**") || Take("^"))) return std::pow(base, Unary());
        return base;
    }

    double Primary()
    {
        Blanks();
        if (m_At >= m_Text.size()) return Fail("it ends where a number is expected");
        if (Take("("))
        {
            const double v = Sum();
            if (m_Error.empty() && !Take(")")) return Fail("a parenthesis is not closed");
            return v;
        }
        const char c = m_Text[m_At];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.')
        {
            const CNumberSpan span =
                ScanNumber(std::string_view(m_Text).substr(m_At), EExponentLetter::EOrD);
            double v = 0;
            if (!span.Found() || ReadNumberField(m_Text.substr(m_At, span.m_End), v,
                                                 EExponentLetter::EOrD) != EFieldProblem::None)
                return Fail("\"" + m_Text.substr(m_At) + "\" is not a number");
            m_At += span.m_End;
            return v;
        }
        size_t end = m_At;
        while (end < m_Text.size() && std::isalnum(static_cast<unsigned char>(m_Text[end])))
            ++end;
        const std::string name = m_Text.substr(m_At, end - m_At);
        if (name.empty()) return Fail(Format("\"%c\" is not part of an expression", c));
        m_At = end;
        return Named(name);
    }

    double Named(const std::string& name)
    {
        if (name == "pi") return std::numbers::pi;
        int n = 0;
        if (name[0] == 'c' && ReadIntegerField(name.substr(1), n) == EFieldProblem::None)
        {
            const auto found = m_Constants.find(n);
            return found != m_Constants.end() ? found->second
                                              : Fail("the constant " + name + " is not set");
        }
        static const std::map<std::string, std::function<double(double)>> one = {
            {"sin", [](double x) { return std::sin(x); }},
            {"cos", [](double x) { return std::cos(x); }},
            {"tan", [](double x) { return std::tan(x); }},
            {"asin", [](double x) { return std::asin(x); }},
            {"acos", [](double x) { return std::acos(x); }},
            {"atan", [](double x) { return std::atan(x); }},
            {"sinh", [](double x) { return std::sinh(x); }},
            {"cosh", [](double x) { return std::cosh(x); }},
            {"tanh", [](double x) { return std::tanh(x); }},
            {"sqrt", [](double x) { return std::sqrt(x); }},
            {"exp", [](double x) { return std::exp(x); }},
            {"log", [](double x) { return std::log(x); }},
            {"log10", [](double x) { return std::log10(x); }},
            {"abs", [](double x) { return std::abs(x); }},
            {"int", [](double x) { return std::trunc(x); }},
            {"nint", [](double x) { return std::round(x); }},
            {"float", [](double x) { return x; }},
        };
        static const std::map<std::string, std::function<double(double, double)>> two = {
            {"atan2", [](double y, double x) { return std::atan2(y, x); }},
            {"max", [](double a, double b) { return std::max(a, b); }},
            {"min", [](double a, double b) { return std::min(a, b); }},
            {"mod", [](double a, double b) { return std::fmod(a, b); }},
        };
        const auto f1 = one.find(name);
        const auto f2 = two.find(name);
        if (f1 == one.end() && f2 == two.end())
            return Fail(name + " is not a constant or a function");
        if (!Take("(")) return Fail(name + " is not followed by \"(\"");
        const double a = Sum();
        double b = 0;
        if (f2 != two.end() && m_Error.empty() && !Take(","))
            return Fail(name + " takes two arguments");
        if (f2 != two.end()) b = Sum();
        if (m_Error.empty() && !Take(")")) return Fail("a parenthesis is not closed");
        return f1 != one.end() ? f1->second(a) : f2->second(a, b);
    }

    double Fail(const std::string& text)
    {
        if (m_Error.empty()) m_Error = text;
        return 0;
    }

    std::string m_Text;
    const std::map<int, double>& m_Constants;
    size_t m_At = 0;
    int m_Depth = 0;
    std::string m_Error;
};

std::string Trim(std::string_view s)
{
    return std::string(TrimBlanks(s));
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (const char c : s)
        if (c != ' ' && c != '\t') out += c;
    return out;
}

// A section header: at most four blanks, then "[name]"; the name lower case without blanks.
bool SectionHeader(const std::string& text, std::string& name, bool& off)
{
    size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at > 4 || at >= text.size() || text[at] != '[') return false;
    const size_t close = text.find(']', at);
    if (close == std::string::npos) return false;
    name = LowerCase(WithoutBlanks(text.substr(at + 1, close - at - 1)));
    const std::string rest = LowerCase(Trim(text.substr(close + 1)));
    off = rest.compare(0, 3, "off") == 0;
    return true;
}

// The text before a comment; in [Cell] a "#" before a cell number or "(" is a complement.
std::string WithoutComment(const std::string& text, bool cell)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '$' || c == '!' || c == '%') return text.substr(0, i);
        if (c == '#')
        {
            size_t next = i + 1;
            while (next < text.size() && text[next] == ' ')
                ++next;
            const bool complement =
                cell && next < text.size() &&
                (std::isdigit(static_cast<unsigned char>(text[next])) || text[next] == '(');
            if (!complement) return text.substr(0, i);
        }
    }
    return text;
}

bool Starts(const std::string& lower, const char* prefix)
{
    return lower.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}
} // namespace

bool EvaluateExpression(const std::string& text, const std::map<int, double>& constants,
                        double& value, std::string& error)
{
    return CEvaluator(text, constants).Evaluate(value, error);
}

bool CPhitsInput::Number(const std::string& field, double& value) const
{
    std::string error;
    return ReadMcnpNumber(field, value) || EvaluateExpression(field, m_Constants, value, error);
}

bool CPhitsInput::Read(const std::string& path)
{
    *this = CPhitsInput();
    m_Path = path;
    std::vector<CInputLine> lines;
    std::string error;
    if (!ReadInputLines(path, lines, error))
    {
        m_Errors.push_back(error);
        return false;
    }
    Lines(lines, 1, 0, 0);
    m_Deck.m_Cells = JoinMcnpCards(m_CellLines);
    m_Deck.m_Surfaces = JoinMcnpCards(m_SurfaceLines);
    const std::vector<CMcnpCard> transforms = JoinMcnpCards(m_TransformLines);
    m_Deck.m_Data.insert(m_Deck.m_Data.begin(), transforms.begin(), transforms.end());
    return m_Errors.empty();
}

// Lines first..last (last 0: to the end) of a file's.
void CPhitsInput::Lines(const std::vector<CInputLine>& lines, int first, int last, int depth)
{
    if (lines.empty()) return;
    const std::string folder = std::filesystem::path(lines.front().m_File).parent_path().string();
    for (const CInputLine& line : lines)
    {
        if (m_Ended) return;
        if (line.m_Line >= first && (last == 0 || line.m_Line <= last)) Line(line, folder, depth);
    }
}

void CPhitsInput::Line(const CInputLine& line, const std::string& folder, int depth)
{
    std::string name;
    bool off = false;
    if (SectionHeader(line.m_Text, name, off))
    {
        m_Section = name, m_Off = off;
        m_Ended = name == "end";
        return;
    }
    if (m_Off) return;
    const bool cell = m_Section == "cell";
    const std::string text = WithoutComment(line.m_Text, cell);
    const std::string lower = LowerCase(Trim(text));
    if (Starts(lower, "set:")) return Set(line, Trim(text).substr(4));
    if (Starts(lower, "infl:")) return Include(line, Trim(Trim(text).substr(5)), folder, depth);
    const CInputLine kept{text, line.m_File, line.m_Line};
    if (cell)
        m_CellLines.push_back(kept);
    else if (m_Section == "surface")
        m_SurfaceLines.push_back(kept);
    else if (m_Section == "transform")
        m_TransformLines.push_back(kept);
    else if (m_Section == "title" && m_Deck.m_Title.empty())
        m_Deck.m_Title = Trim(text);
    else if (m_Section == "material")
    {
        // "MAT[5]" or "M5" starts a material.
        int n = 0;
        const std::string flat = WithoutBlanks(lower);
        const bool bracketed = Starts(flat, "mat[");
        if (!bracketed && !(flat.size() > 1 && flat[0] == 'm')) return;
        const std::string number =
            bracketed ? flat.substr(4, flat.find(']') - 4) : lower.substr(1, lower.find(' ') - 1);
        if (ReadIntegerField(number, n) == EFieldProblem::None)
            m_Deck.m_Data.push_back({Format("m%d", n), line.m_File, line.m_Line});
    }
}

// infl:{file}[n1-n2], the braces and the range optional; a file that cannot be read is a note.
void CPhitsInput::Include(const CInputLine& line, std::string spec, const std::string& folder,
                          int depth)
{
    int first = 1, last = 0;
    if (const size_t bracket = spec.find('['); bracket != std::string::npos)
    {
        const std::string range = spec.substr(bracket + 1, spec.find(']') - bracket - 1);
        const size_t dash = range.find('-');
        ReadIntegerField(Trim(range.substr(0, dash)), first);
        if (dash != std::string::npos) ReadIntegerField(Trim(range.substr(dash + 1)), last);
        spec = spec.substr(0, bracket);
    }
    if (spec.size() >= 2 && spec.front() == '{') spec = spec.substr(1, spec.find('}') - 1);
    spec = Trim(spec);
    std::filesystem::path file(spec);
    if (file.is_relative()) file = std::filesystem::path(folder) / file;
    std::vector<CInputLine> included;
    std::string problem;
    if (depth >= MaxIncludeDepth)
        m_Errors.push_back(line.Where(m_Path) + ": the includes nest too deep");
    else if (!ReadInputLines(file.string(), included, problem))
        m_Notes.push_back(line.Where(m_Path) + ": the included file " + spec +
                          " cannot be read: skipped");
    else
        Lines(included, first, last, depth + 1);
}

// "c1[2.5] c2[c1*2]": each constant's value, which may use those before it.
void CPhitsInput::Set(const CInputLine& line, const std::string& text)
{
    size_t at = 0;
    while (true)
    {
        const size_t open = text.find('[', at);
        if (open == std::string::npos) break;
        const size_t close = text.find(']', open);
        const std::string name = LowerCase(Trim(text.substr(at, open - at)));
        int n = 0;
        if (close == std::string::npos || name.size() < 2 || name[0] != 'c' ||
            ReadIntegerField(name.substr(1), n) != EFieldProblem::None || n < 1 || n > 99)
        {
            m_Errors.push_back(line.Where(m_Path) + ": \"" + Trim(text) +
                               "\" does not set a constant c1 to c99");
            return;
        }
        double value = 0;
        std::string error;
        if (!EvaluateExpression(text.substr(open + 1, close - open - 1), m_Constants, value, error))
        {
            m_Errors.push_back(line.Where(m_Path) + ": " + name + ": " + error);
            return;
        }
        m_Constants[n] = value;
        at = close + 1;
        while (at < text.size() && (text[at] == ' ' || text[at] == ','))
            ++at;
    }
}

bool LooksLikePhitsInput(const std::string& text)
{
    std::vector<CInputLine> lines;
    CLineReader reader(text);
    InputLines(reader, "", lines);
    for (const CInputLine& line : lines)
    {
        std::string name;
        bool off = false;
        if (SectionHeader(line.m_Text, name, off) && (name == "cell" || name == "surface"))
            return true;
    }
    return false;
}

bool ReadPhitsGeometry(const std::string& path, CGeometry& geometry,
                       std::vector<std::string>& errors, std::vector<std::string>& notes)
{
    CPhitsInput input;
    const bool read = input.Read(path);
    notes = input.Notes();
    if (!read)
    {
        errors = input.Errors();
        return false;
    }
    CMcnpGeometryReader reader;
    for (const std::string& note : notes)
        reader.AddNote(note);
    const bool ok = reader.ReadDeck(
        input.Deck(), path, geometry,
        [&input](const std::string& field, double& value) { return input.Number(field, value); },
        -1);
    errors = reader.Errors();
    notes = reader.Notes();
    return ok;
}
