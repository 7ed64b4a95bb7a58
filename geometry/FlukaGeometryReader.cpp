#include "geometry/FlukaGeometryReader.h"

#include "common/NumberScan.h"
#include "common/TextCase.h"
#include "common/Tokens.h"
#include "geometry/FlukaInput.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>

namespace
{
std::string Trim(std::string_view s)
{
    return std::string(TrimBlanks(s));
}

// Fields separated by blanks or commas.
std::vector<std::string> Tokens(std::string_view text)
{
    static constexpr CSeparators Separators(" \t,");
    std::vector<std::string> tokens;
    for (const std::string_view t : SplitTokens(text, Separators))
        tokens.emplace_back(t);
    return tokens;
}

// The fixed-format field of width columns from column at (0-based), without its blanks; empty
// beyond the end of the line.
std::string Column(const std::string& text, size_t at, size_t width)
{
    return at < text.size() ? Trim(text.substr(at, width)) : std::string();
}

std::optional<double> Number(const std::string& text)
{
    double v = 0;
    if (ReadNumberField(text, v, EExponentLetter::EOrD) != EFieldProblem::None) return std::nullopt;
    return v;
}

// A card: its keyword and fields, fixed (10 columns each, blank fields empty) or free.
struct CCard
{
    std::string m_Keyword;
    std::string m_What[6];
    std::string m_Sdum;
};

CCard ReadCard(const std::string& text, bool free)
{
    CCard card;
    if (free)
    {
        const auto t = Tokens(text);
        if (!t.empty()) card.m_Keyword = UpperCase(t[0]);
        for (size_t i = 1; i < t.size() && i <= 6; ++i)
            card.m_What[i - 1] = t[i];
        if (t.size() > 7) card.m_Sdum = t[7];
        return card;
    }
    card.m_Keyword = UpperCase(Column(text, 0, 10));
    for (size_t i = 0; i < 6; ++i)
        card.m_What[i] = Column(text, 10 + 10 * i, 10);
    card.m_Sdum = Column(text, 70, 10);
    return card;
}

bool Is(const CCard& card, const char* keyword)
{
    return card.m_Keyword.rfind(keyword, 0) == 0;
}

// The ROT-DEFI cards by name (and by index): several cards of one name apply in their order.
class CRotations
{
public:
    void Add(const CCard& card, const std::string& where, std::vector<std::string>& errors)
    {
        double what[6] = {0, 0, 0, 0, 0, 0};
        for (int i = 0; i < 6; ++i)
            if (!card.m_What[i].empty())
            {
                const auto v = Number(card.m_What[i]);
                if (!v)
                    return errors.push_back(where + ": ROT-DEFI field \"" + card.m_What[i] +
                                            "\" is not a number");
                what[i] = *v;
            }
        // 100, 200, 300 (and i + 100 j): the axis in the hundreds; above 1000, j + 1000 i.
        const long code = std::lround(std::max(0.0, what[0]));
        const long index = code >= 1000 ? code / 1000 : code % 100;
        const long j = code >= 1000 ? code % 1000 : code / 100;
        if (j < 0 || j > 3)
            return errors.push_back(where + Format(": ROT-DEFI axis %ld is not 1, 2 or 3", j));
        const int axis = j == 1 ? 0 : j == 2 ? 1 : 2;
        const CTransform t =
            CTransform::RotDefi(axis, what[1], what[2], {what[3], what[4], what[5]});
        const std::string name = card.m_Sdum.empty() ? std::to_string(index) : card.m_Sdum;
        auto [it, fresh] = m_ByName.emplace(name, t);
        if (!fresh) it->second = it->second.Then(t);
        if (index > 0 && !card.m_Sdum.empty()) m_Alias[std::to_string(index)] = name;
    }
    const CTransform* Find(const std::string& name) const
    {
        auto it = m_ByName.find(name);
        if (it == m_ByName.end())
            if (auto alias = m_Alias.find(name); alias != m_Alias.end())
                it = m_ByName.find(alias->second);
        return it == m_ByName.end() ? nullptr : &it->second;
    }

private:
    std::map<std::string, CTransform> m_ByName;
    std::map<std::string, std::string> m_Alias;
};

// The reader's pass over the geometry block.
class CBlockReader
{
public:
    CBlockReader(const CFlukaInput& input, const CRotations& rotations, bool names,
                 CGeometry& geometry, std::vector<std::string>& errors)
        : m_Input(input), m_Rotations(rotations), m_Names(names), m_Geometry(geometry),
          m_Errors(errors)
    {
    }

    // Reads bodies from line `at` to their END; the line after it.
    size_t Bodies(size_t at, size_t end);
    size_t Regions(size_t at, size_t end);
    void Lattices(size_t at, size_t end);

private:
    void Error(size_t line, const std::string& text)
    {
        m_Errors.push_back(m_Input.Lines()[line].Where(m_Input.Path()) + ": " + text);
    }
    const std::string& Text(size_t line) const { return m_Input.Lines()[line].m_Text; }
    bool Directive(size_t line, const std::string& first);
    void AddBody(size_t line, const std::string& type, const std::string& name,
                 const std::vector<double>& params);
    size_t NamedBody(size_t at, size_t end, const std::vector<std::string>& tokens);
    size_t NumberedBody(size_t at, size_t end, const std::string& type);
    void AddRegion(size_t line, const std::string& name, const std::string& expression);

    struct CPlacement
    {
        std::string m_Kind; // "TRANSL", "EXPANS" or "TRANSF"
        CTransform m_Transform;
        std::string m_Directive; // as written, for messages
    };

    const CFlukaInput& m_Input;
    const CRotations& m_Rotations;
    bool m_Names;
    CGeometry& m_Geometry;
    std::vector<std::string>& m_Errors;
    std::vector<CPlacement> m_Placements; // outermost first
    int m_Numbered = 0;
};

bool CBlockReader::Directive(size_t line, const std::string& first)
{
    const std::string word = UpperCase(first);
    if (word.rfind("$START_", 0) == 0)
    {
        const std::string kind = word.substr(7);
        const auto tokens = Tokens(Text(line));
        std::vector<double> v;
        for (size_t i = 1; i < tokens.size(); ++i)
            if (const auto n = Number(tokens[i])) v.push_back(*n);
        CPlacement placement{kind.substr(0, 6), {}, first};
        if (placement.m_Kind == "TRANSL" && v.size() == 3 && tokens.size() == 4)
            placement.m_Transform = CTransform::Translation({v[0], v[1], v[2]});
        else if (placement.m_Kind == "EXPANS" && v.size() == 1 && tokens.size() == 2 && v[0] > 0)
            placement.m_Transform = CTransform::Expansion(v[0]);
        else if (placement.m_Kind == "TRANSF" && tokens.size() == 2)
        {
            const bool inverse = tokens[1][0] == '-';
            const std::string name = inverse ? tokens[1].substr(1) : tokens[1];
            if (const CTransform* t = m_Rotations.Find(name))
                placement.m_Transform = inverse ? t->Inverse() : *t;
            else
                Error(line, "the transformation " + name + " has no ROT-DEFI card");
        }
        else
            Error(line, "the directive \"" + Trim(Text(line)) + "\" cannot be read");
        m_Placements.push_back(placement);
        return true;
    }
    if (word.rfind("$END_", 0) == 0)
    {
        if (m_Placements.empty() || word.substr(5, 6) != m_Placements.back().m_Kind)
            Error(line, first + " closes no open $start_" + LowerCase(word.substr(5)));
        else
            m_Placements.pop_back();
        return true;
    }
    return false;
}

void CBlockReader::AddBody(size_t line, const std::string& type, const std::string& name,
                           const std::vector<double>& params)
{
    std::string problem;
    std::unique_ptr<CBody> body = MakeBody(type, params, problem);
    if (!body) return Error(line, type + " " + name + ": " + problem);
    if (m_Geometry.BodyIndex(name) >= 0)
        return Error(line, "the body " + name + " is defined twice");
    body->m_Name = name;
    CTransform toWorld;
    for (auto it = m_Placements.rbegin(); it != m_Placements.rend(); ++it)
        toWorld = toWorld.Then(it->m_Transform);
    body->Place(toWorld);
    m_Geometry.m_Bodies.push_back(std::move(body));
}

// "RCC name x y z ..." with numbers that may go on over the next lines.
size_t CBlockReader::NamedBody(size_t at, size_t end, const std::vector<std::string>& tokens)
{
    const std::string type = UpperCase(tokens[0]);
    if (tokens.size() < 2) return Error(at, type + " has no name"), at + 1;
    std::vector<std::string> fields(tokens.begin() + 2, tokens.end());
    size_t next = at + 1;
    for (; next < end; ++next)
    {
        const auto more = Tokens(Text(next));
        if (more.empty()) continue;
        if (!Number(more[0])) break;
        fields.insert(fields.end(), more.begin(), more.end());
    }
    std::vector<double> params;
    for (const std::string& f : fields)
        if (const auto v = Number(f))
            params.push_back(*v);
        else
            return Error(at, type + " " + tokens[1] + ": \"" + f + "\" is not a number"), next;
    AddBody(at, type, tokens[1], params);
    return next;
}

// Fixed format: the type in columns 3-5, then six 10-column fields from column 11 on this and
// the following lines whose type columns are blank; a blank field is 0.
size_t CBlockReader::NumberedBody(size_t at, size_t end, const std::string& type)
{
    const size_t count = BodyParameterCount(type);
    std::vector<double> params;
    size_t line = at;
    for (; params.size() < count && line < end; ++line)
    {
        const std::string& text = Text(line);
        if (line > at && !Column(text, 0, 10).empty()) break;
        for (int f = 0; f < 6 && params.size() < count; ++f)
        {
            const std::string field = Column(text, 10 + 10 * static_cast<size_t>(f), 10);
            const auto v = field.empty() ? std::optional<double>(0.0) : Number(field);
            if (!v) return Error(line, type + ": \"" + field + "\" is not a number"), line + 1;
            params.push_back(*v);
        }
    }
    AddBody(at, type, std::to_string(++m_Numbered), params);
    return line;
}

size_t CBlockReader::Bodies(size_t at, size_t end)
{
    while (at < end)
    {
        const auto tokens = Tokens(Text(at));
        if (tokens.empty())
        {
            ++at;
            continue;
        }
        if (UpperCase(tokens[0]) == "END")
        {
            if (!m_Placements.empty())
                Error(at, "the " + m_Placements.back().m_Directive + " directive is never closed");
            return at + 1;
        }
        if (Directive(at, tokens[0]))
        {
            ++at;
            continue;
        }
        const std::string type = m_Names ? UpperCase(tokens[0]) : UpperCase(Column(Text(at), 0, 5));
        if (!IsBodyType(type))
        {
            Error(at, "unknown body type " + (m_Names ? tokens[0] : type));
            ++at;
            continue;
        }
        at = m_Names ? NamedBody(at, end, tokens) : NumberedBody(at, end, type);
    }
    m_Errors.push_back("the bodies have no END before GEOEND");
    return end;
}

// A region expression: zones separated by "|" (or OR), each a run of signed bodies and signed
// parenthesised expressions.
class CExpressionParser
{
public:
    CExpressionParser(const std::string& text, CGeometry& geometry) : m_Geometry(geometry)
    {
        Lex(text);
    }

    // The root node; -1 with Problem() set when the text is not an expression.
    int Parse()
    {
        const int root = Union();
        if (m_Problem.empty() && m_At < m_Tokens.size())
            m_Problem = m_Tokens[m_At] == ")" ? "has an unbalanced parenthesis"
                                              : "cannot be read at \"" + m_Tokens[m_At] + "\"";
        return m_Problem.empty() ? root : -1;
    }
    const std::string& Problem() const { return m_Problem; }

private:
    void Lex(const std::string& text)
    {
        std::string name;
        const auto flush = [&]
        {
            if (name.empty()) return;
            m_Tokens.push_back(UpperCase(name) == "OR" ? "|" : name);
            name.clear();
        };
        for (const char c : text)
            if (c == '+' || c == '-' || c == '|' || c == '(' || c == ')')
            {
                // "OR" glued to a sign ("OR+3") is still the operator.
                flush();
                m_Tokens.push_back(std::string(1, c));
            }
            else if (c == ' ' || c == '\t' || c == ',')
                flush();
            else
            {
                if (UpperCase(name) == "OR" && std::isdigit(static_cast<unsigned char>(c))) flush();
                name += c;
            }
        flush();
    }

    bool Peek(const char* token) const { return m_At < m_Tokens.size() && m_Tokens[m_At] == token; }

    int Add(CExprNode node)
    {
        m_Geometry.m_Nodes.push_back(std::move(node));
        return static_cast<int>(m_Geometry.m_Nodes.size()) - 1;
    }

    int Union()
    {
        CExprNode node;
        node.m_Kind = CExprNode::EKind::Or;
        if (Peek("|")) ++m_At;
        for (;;)
        {
            const int zone = Zone();
            if (zone < 0) return -1;
            node.m_Children.push_back(zone);
            if (!Peek("|")) break;
            ++m_At;
        }
        return node.m_Children.size() == 1 ? node.m_Children[0] : Add(node);
    }

    int Zone()
    {
        CExprNode node;
        node.m_Kind = CExprNode::EKind::And;
        while (m_At < m_Tokens.size() && !Peek("|") && !Peek(")"))
        {
            const int term = Term();
            if (term < 0) return -1;
            node.m_Children.push_back(term);
        }
        if (node.m_Children.empty())
            return m_Problem = m_At < m_Tokens.size() || !m_Tokens.empty() ? "has an empty zone"
                                                                           : "is empty",
                   -1;
        return node.m_Children.size() == 1 ? node.m_Children[0] : Add(node);
    }

    int Term()
    {
        bool negated = false, signed_ = false;
        if (Peek("+") || Peek("-")) negated = m_Tokens[m_At++] == "-", signed_ = true;
        if (Peek("("))
        {
            ++m_At;
            if (++m_Depth > MaxDepth)
                return m_Problem = Format("nests parentheses deeper than %d", MaxDepth), -1;
            const int inner = Union();
            --m_Depth;
            if (inner < 0) return -1;
            if (!Peek(")")) return m_Problem = "has an unbalanced parenthesis", -1;
            ++m_At;
            if (!negated) return inner;
            CExprNode node;
            node.m_Kind = CExprNode::EKind::And;
            node.m_Negated = true;
            node.m_Children.push_back(inner);
            return Add(node);
        }
        if (m_At >= m_Tokens.size() || !signed_)
            return m_Problem = m_At < m_Tokens.size()
                                   ? "has the body " + m_Tokens[m_At] + " without a + or - sign"
                                   : "ends with a sign",
                   -1;
        const std::string& name = m_Tokens[m_At++];
        const int body = m_Geometry.BodyIndex(name);
        if (body < 0) return m_Problem = "names the undefined body " + name, -1;
        CExprNode node;
        node.m_Kind = CExprNode::EKind::Body;
        node.m_Body = body;
        node.m_Negated = negated;
        return Add(node);
    }

    // Classification recurses once per level.
    static constexpr int MaxDepth = 64;

    CGeometry& m_Geometry;
    std::vector<std::string> m_Tokens;
    size_t m_At = 0;
    int m_Depth = 0;
    std::string m_Problem;
};

bool IsInteger(const std::string& text)
{
    const auto v = Number(text);
    return v && *v == std::floor(*v) && text.find_first_of(".eE") == std::string::npos;
}

void CBlockReader::AddRegion(size_t line, const std::string& name, const std::string& expression)
{
    if (m_Geometry.RegionIndex(name) >= 0)
        return Error(line, "the region " + name + " is defined twice");
    CExpressionParser parser(expression, m_Geometry);
    const int root = parser.Parse();
    if (root < 0) return Error(line, "the region " + name + " " + parser.Problem());
    CRegion region;
    region.m_Name = name;
    region.m_Root = root;
    region.m_Line = m_Input.Lines()[line].m_Line;
    m_Geometry.m_Regions.push_back(region);
}

// Name-based: "NAME NAZ expression", continued on lines that start with a sign, a parenthesis or
// "|". Numbered: the name in columns 3-5 (blank on continuation lines), NAZ in 6-10, the
// expression after.
size_t CBlockReader::Regions(size_t at, size_t end)
{
    std::string name, expression;
    size_t start = at;
    const auto flush = [&]
    {
        if (!name.empty()) AddRegion(start, name, expression);
        name.clear();
        expression.clear();
    };
    for (; at < end; ++at)
    {
        const std::string& text = Text(at);
        const auto tokens = Tokens(text);
        if (tokens.empty()) continue;
        if (UpperCase(tokens[0]) == "END")
        {
            flush();
            return at + 1;
        }
        const char first = tokens[0][0];
        const bool continues =
            m_Names ? (first == '+' || first == '-' || first == '|' || first == '(' || first == ')')
                    : Column(text, 0, 5).empty();
        if (continues)
        {
            if (name.empty()) Error(at, "a region expression goes on before any region starts");
            expression += " " + (m_Names ? text : text.substr(std::min<size_t>(text.size(), 10)));
            continue;
        }
        flush();
        start = at;
        if (m_Names)
        {
            if (tokens.size() < 2 || !IsInteger(tokens[1]))
            {
                Error(at, "\"" + Trim(text) + "\" is not a region (NAME NAZ expression)");
                continue;
            }
            name = tokens[0];
            expression = text.substr(text.find(tokens[1], text.find(tokens[0]) + tokens[0].size()) +
                                     tokens[1].size());
        }
        else
        {
            name = Column(text, 0, 5);
            expression = text.substr(std::min<size_t>(text.size(), 10));
        }
    }
    flush();
    m_Errors.push_back("the regions have no END before GEOEND");
    return end;
}

void CBlockReader::Lattices(size_t at, size_t end)
{
    for (; at < end; ++at)
    {
        const CCard card = ReadCard(Text(at), m_Names || Text(at).find(',') != std::string::npos);
        if (!Is(card, "LATTICE")) continue;
        const int first = m_Geometry.RegionIndex(card.m_What[0]);
        const int last = card.m_What[1].empty() ? first : m_Geometry.RegionIndex(card.m_What[1]);
        if (first < 0 || last < 0)
        {
            Error(at, "LATTICE names an undefined region");
            continue;
        }
        for (int r = first; r <= last; ++r)
            m_Geometry.m_Regions[static_cast<size_t>(r)].m_Lattice = true;
    }
}

// FLUKA's predefined materials by number, then those the MATERIAL cards add (WHAT(4) their
// number, the next free one when it is blank; SDUM their name).
class CMaterials
{
public:
    CMaterials()
        : m_ByNumber{"BLCKHOLE", "VACUUM",   "HYDROGEN", "HELIUM",   "BERYLLIU",
                     "CARBON",   "NITROGEN", "OXYGEN",   "MAGNESIU", "ALUMINUM",
                     "IRON",     "COPPER",   "SILVER",   "SILICON",  "GOLD",
                     "MERCURY",  "LEAD",     "TANTALUM", "SODIUM",   "ARGON",
                     "CALCIUM",  "TIN",      "TUNGSTEN", "TITANIUM", "NICKEL"}
    {
    }
    void Add(const CCard& card)
    {
        if (card.m_Sdum.empty()) return;
        const auto v = Number(card.m_What[3]);
        const size_t number = v && *v >= 1 && *v == std::floor(*v) && *v < 1e6
                                  ? static_cast<size_t>(*v)
                                  : m_ByNumber.size() + 1;
        if (number > m_ByNumber.size()) m_ByNumber.resize(number);
        m_ByNumber[number - 1] = card.m_Sdum;
    }
    std::string Name(const std::string& field) const
    {
        const auto v = Number(field);
        if (!v) return field;
        if (*v >= 1 && *v == std::floor(*v) && *v <= double(m_ByNumber.size()) &&
            !m_ByNumber[static_cast<size_t>(*v) - 1].empty())
            return m_ByNumber[static_cast<size_t>(*v) - 1];
        return Format("material %g", *v);
    }

private:
    std::vector<std::string> m_ByNumber;
};

int RegionOf(const CGeometry& geometry, const std::string& field)
{
    const int byName = geometry.RegionIndex(field);
    if (byName >= 0) return byName;
    const auto v = Number(field);
    if (!v || *v != std::floor(*v) || *v < 1 || *v > double(geometry.m_Regions.size())) return -1;
    return static_cast<int>(*v) - 1;
}
} // namespace

bool LooksLikeFlukaInput(const std::string& text)
{
    for (size_t at = 0; (at = text.find("GEOBEGIN", at)) != std::string::npos; ++at)
        if (at == 0 || text[at - 1] == '\n') return true;
    return false;
}

bool CFlukaGeometryReader::Read(const std::string& path, CGeometry& geometry)
{
    m_Errors.clear();
    m_Notes.clear();
    CFlukaInput input;
    if (!input.Read(path))
    {
        m_Errors.push_back("The file " + path + " cannot be read.");
        return false;
    }
    m_Errors = input.Errors();
    const auto& lines = input.Lines();
    bool free = false;
    size_t begin = lines.size(), end = lines.size();
    CRotations rotations;
    CMaterials materials;
    // Kept as read, in the format (fixed or free) that held where they stand.
    std::vector<std::pair<size_t, CCard>> assignments;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const bool inBlock = i > begin && i < end;
        const CCard card =
            ReadCard(lines[i].m_Text, free || lines[i].m_Text.find(',') != std::string::npos);
        if (inBlock && !Is(card, "GEOEND")) continue;
        if (Is(card, "FREE")) free = true;
        if (Is(card, "FIXED")) free = false;
        if (Is(card, "GEOBEGIN") && begin == lines.size()) begin = i;
        if (Is(card, "GEOEND") && begin < lines.size() && end == lines.size()) end = i;
        if (Is(card, "ROT-DEFI")) rotations.Add(card, lines[i].Where(path), m_Errors);
        if (Is(card, "ASSIGNMA")) assignments.emplace_back(i, card);
        if (Is(card, "MATERIAL")) materials.Add(card);
    }
    if (begin == lines.size())
    {
        m_Errors = {"The file " + path + " is not a FLUKA input: it has no GEOBEGIN card."};
        return false;
    }
    if (end == lines.size()) m_Errors.push_back("the geometry has no GEOEND card");
    const bool names = UpperCase(lines[begin].m_Text).find("COMBNAME") != std::string::npos;
    CGeometry read;
    CBlockReader block(input, rotations, names, read, m_Errors);
    // The line after GEOBEGIN is the geometry's title.
    size_t at = block.Bodies(std::min(begin + 2, end), end);
    at = block.Regions(at, end);
    block.Lattices(at, end);
    for (const auto& [i, card] : assignments)
    {
        const std::string& lastField = card.m_What[2].empty() ? card.m_What[1] : card.m_What[2];
        const int first = RegionOf(read, card.m_What[1]), last = RegionOf(read, lastField);
        const auto step =
            card.m_What[3].empty() ? std::optional<double>(1) : Number(card.m_What[3]);
        if (first < 0 || last < 0)
        {
            m_Errors.push_back(lines[i].Where(path) + ": ASSIGNMA names the undefined region " +
                               (first < 0 ? card.m_What[1] : lastField));
            continue;
        }
        if (!step || *step < 1 || *step != std::floor(*step))
        {
            m_Errors.push_back(lines[i].Where(path) + ": the ASSIGNMA step \"" + card.m_What[3] +
                               "\" is not a positive whole number");
            continue;
        }
        const int material = read.MaterialIndex(materials.Name(card.m_What[0]));
        for (int r = first; r <= last; r += static_cast<int>(*step))
            read.m_Regions[static_cast<size_t>(r)].m_Material = material;
    }
    if (!m_Errors.empty()) return false;
    read.ComputeBoxes();
    std::string lattices, unassigned;
    for (const CRegion& r : read.m_Regions)
    {
        if (r.m_Lattice) lattices += (lattices.empty() ? "" : ", ") + r.m_Name;
        if (r.m_Material < 0) unassigned += (unassigned.empty() ? "" : ", ") + r.m_Name;
    }
    if (!lattices.empty())
        m_Notes.push_back("Lattice regions are shown as their containers, their contents are not "
                          "shown: " +
                          lattices);
    if (!unassigned.empty()) m_Notes.push_back("Regions without a material: " + unassigned);
    geometry = std::move(read);
    return true;
}
