#include "geometry/McnpGeometryReader.h"

#include "common/NumberScan.h"
#include "common/TextCase.h"
#include "common/Tokens.h"
#include "geometry/McnpSurface.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <set>

namespace
{
constexpr int MaxFillDepth = 20;
constexpr size_t MaxRegions = 100000; // universes unfold into at most this many regions
constexpr int MaxNesting = 64;        // parentheses in a cell's geometry
constexpr size_t MaxComplementDepth = 256;

std::vector<std::string> Blanked(const std::string& text)
{
    static constexpr CSeparators Blanks(" ");
    std::vector<std::string> tokens;
    for (const std::string_view t : SplitTokens(text, Blanks))
        tokens.emplace_back(t);
    return tokens;
}

bool Integer(const std::string& text, int& value)
{
    return ReadIntegerField(text, value) == EFieldProblem::None;
}

bool StartsKeyword(const std::string& token)
{
    const size_t at = token[0] == '*' ? 1 : 0;
    return at < token.size() && std::isalpha(static_cast<unsigned char>(token[at]));
}

// One term of a cell's geometry: a surface side, the complement of a cell, or all (And) or any
// (Or) of its children; negated terms hold where their content does not.
struct CTerm
{
    enum class EKind
    {
        Surface,
        Cell,
        And,
        Or
    };
    EKind m_Kind = EKind::And;
    bool m_Negated = false;
    int m_Number = 0; // the surface or cell
    int m_Facet = 0;
    std::vector<CTerm> m_Children;
};

// Parses "-1 2 (3:-4) #5 #(6 -7)": juxtaposition intersects, ":" unites (binding weaker).
class CGeometryParser
{
public:
    explicit CGeometryParser(const std::string& text) { Tokenise(text); }

    std::optional<CTerm> Parse(std::string& error)
    {
        if (!m_Error.empty()) return Fail(error);
        if (m_Tokens.empty())
        {
            error = "it has no geometry";
            return std::nullopt;
        }
        CTerm term = Union();
        if (m_Error.empty() && m_At < m_Tokens.size())
            m_Error = "\"" + m_Tokens[m_At] + "\" has no opening parenthesis";
        if (!m_Error.empty()) return Fail(error);
        return term;
    }

private:
    std::optional<CTerm> Fail(std::string& error)
    {
        error = m_Error;
        return std::nullopt;
    }

    void Tokenise(const std::string& text)
    {
        for (size_t i = 0; i < text.size();)
        {
            const char c = text[i];
            if (c == ' ')
                ++i;
            else if (c == '(' || c == ')' || c == ':' || c == '#')
                m_Tokens.emplace_back(1, c), ++i;
            else if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' ||
                     c == '.')
            {
                size_t end = i + 1;
                while (end < text.size() &&
                       (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
                    ++end;
                m_Tokens.push_back(text.substr(i, end - i));
                i = end;
            }
            else
            {
                m_Error = Format("\"%c\" is not a surface, an operator or a parenthesis", c);
                return;
            }
        }
    }

    const std::string* Peek() const { return m_At < m_Tokens.size() ? &m_Tokens[m_At] : nullptr; }

    static CTerm Group(CTerm::EKind kind, std::vector<CTerm> children)
    {
        if (children.size() == 1) return std::move(children.front());
        CTerm t;
        t.m_Kind = kind;
        t.m_Children = std::move(children);
        return t;
    }

    CTerm Union()
    {
        std::vector<CTerm> any = {Intersection()};
        while (m_Error.empty() && Peek() && *Peek() == ":")
        {
            ++m_At;
            any.push_back(Intersection());
        }
        return Group(CTerm::EKind::Or, std::move(any));
    }

    CTerm Intersection()
    {
        std::vector<CTerm> all;
        while (m_Error.empty() && Peek() && *Peek() != ":" && *Peek() != ")")
            all.push_back(Factor());
        if (all.empty() && m_Error.empty())
            m_Error = Peek() ? "\"" + *Peek() + "\" follows nothing to combine"
                             : "it ends with an operator";
        return Group(CTerm::EKind::And, std::move(all));
    }

    CTerm Parenthesised()
    {
        ++m_At; // "("
        if (++m_Depth > MaxNesting)
        {
            m_Error = Format("the parentheses nest deeper than %d", MaxNesting);
            return {};
        }
        CTerm inner = Union();
        if (m_Error.empty() && !(Peek() && *Peek() == ")")) m_Error = "a parenthesis is not closed";
        ++m_At;
        --m_Depth;
        return inner;
    }

    CTerm Factor()
    {
        const std::string token = *Peek();
        if (token == "(") return Parenthesised();
        if (token == "#")
        {
            ++m_At;
            CTerm t;
            if (Peek() && *Peek() == "(")
                t = Parenthesised();
            else if (!Peek() || !Integer(*Peek(), t.m_Number) || t.m_Number <= 0)
                m_Error = "\"#\" is not followed by a cell number or a parenthesis";
            else
                t.m_Kind = CTerm::EKind::Cell, ++m_At;
            t.m_Negated = !t.m_Negated;
            return t;
        }
        ++m_At;
        return SurfaceSide(token);
    }

    CTerm SurfaceSide(const std::string& token)
    {
        CTerm t;
        t.m_Kind = CTerm::EKind::Surface;
        const bool negative = token[0] == '-';
        const std::string unsigned_ = token[0] == '-' || token[0] == '+' ? token.substr(1) : token;
        const size_t dot = unsigned_.find('.');
        if (!Integer(unsigned_.substr(0, dot), t.m_Number) || t.m_Number <= 0 ||
            (dot != std::string::npos &&
             (!Integer(unsigned_.substr(dot + 1), t.m_Facet) || t.m_Facet <= 0)))
            m_Error = "\"" + token + "\" is not a surface number";
        // The body of a surface is its negative side.
        t.m_Negated = !negative;
        return t;
    }

    std::vector<std::string> m_Tokens;
    size_t m_At = 0;
    int m_Depth = 0;
    std::string m_Error;
};

struct CSurfaceDef
{
    int m_Number = 0;
    int m_Transform = 0;
    std::string m_Type;
    std::vector<double> m_Params;
    const CMcnpCard* m_Card = nullptr;
};

// A transformation given inline "(o1 o2 o3 ...)" or by number "(5)" / "5".
// A cell's TRCL or FILL transformation: a TRn card's number or its own, worked out as read.
struct CTransformRef
{
    bool m_Given = false;
    int m_Number = 0;       // a TRn card (0: inline or none)
    CTransform m_Transform; // inline
};

struct CCellDef
{
    int m_Number = 0;
    int m_Material = 0;
    std::string m_Geometry;
    std::map<std::string, std::vector<std::string>> m_Params; // keyword (lower case): values
    int m_Like = 0;
    const CMcnpCard* m_Card = nullptr;

    // What the parameters say.
    CTerm m_Term;
    int m_Universe = 0;
    int m_Lattice = 0;
    int m_Fill = 0;
    bool m_FillArray = false; // a lattice's array of universes
    CTransformRef m_FillTransform;
    CTransformRef m_Trcl;
    std::map<std::string, double> m_Importance; // by particle
    bool m_Outside = false;
};

// The cell's "keyword=values" text: keywords begin with a letter (or "*" and a letter).
std::map<std::string, std::vector<std::string>> ParseParams(std::string text)
{
    std::string spaced;
    for (const char c : text)
        if (c == '=')
            spaced += ' ';
        else if (c == '(' || c == ')')
            spaced += std::string(" ") + c + " ";
        else
            spaced += c;
    std::map<std::string, std::vector<std::string>> params;
    std::vector<std::string>* values = nullptr;
    for (const std::string& token : Blanked(spaced))
        if (StartsKeyword(token) && LowerCase(token) != "j")
        {
            // "*TRCL" and "*FILL" (angles in degrees) replace "TRCL" and "FILL": one key each,
            // its values led by "*".
            const std::string key = LowerCase(token);
            values = &params[key[0] == '*' ? key.substr(1) : key];
            values->clear();
            if (key[0] == '*') values->push_back("*");
        }
        else if (values)
            values->push_back(token);
    return params;
}

class CDeckReader
{
public:
    CDeckReader(const CMcnpDeck& deck, const std::string& path,
                const CMcnpGeometryReader::CNumberReader& number, int outerMaterial,
                std::vector<std::string>& errors, std::vector<std::string>& notes)
        : m_Deck(deck), m_Path(path), m_Number(number), m_OuterMaterial(outerMaterial),
          m_Errors(errors), m_Notes(notes)
    {
    }

    bool Read(CGeometry& geometry)
    {
        const size_t before = m_Errors.size();
        for (const CMcnpCard& card : m_Deck.m_Data)
            DataCard(card);
        for (const CMcnpCard& card : m_Deck.m_Surfaces)
            SurfaceCard(card);
        for (const CMcnpCard& card : m_Deck.m_Cells)
            CellCard(card);
        ResolveLikes();
        for (CCellDef& cell : m_Cells)
            if (!cell.m_Like) CellParams(cell); // else its LIKE is refused already
        ApplyImportanceCards();
        if (m_Errors.size() > before) return false;
        for (const CCellDef& cell : m_Cells)
            if (cell.m_Universe != 0) m_Universes[cell.m_Universe].push_back(&cell);
        CGeometry built;
        built.m_RegionPrefix = "cell ";
        for (const CCellDef& cell : m_Cells)
            if (cell.m_Universe == 0 && !cell.m_Outside)
                Emit(built, cell, CTransform(), "", -1, "", {});
            else if (cell.m_Universe == 0)
                OutsideWorld(built, cell);
        if (m_Errors.size() > before) return false;
        if (built.m_Regions.empty())
        {
            m_Errors.push_back("The input has no cell inside the problem.");
            return false;
        }
        built.ComputeBoxes();
        geometry = std::move(built);
        return true;
    }

private:
    // A cell met again in every place its universe fills says its problem once.
    static void Once(std::vector<std::string>& list, const std::string& text)
    {
        if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
    }
    void Error(const CMcnpCard& card, const std::string& text)
    {
        Once(m_Errors, card.Where(m_Path) + ": " + text);
    }
    void Note(const CMcnpCard& card, const std::string& text)
    {
        Once(m_Notes, card.Where(m_Path) + ": " + text);
    }

    // The numbers of fields, after the shorthand; "j" entries become NaN (not given).
    bool Numbers(const CMcnpCard& card, std::vector<std::string> fields, const std::string& what,
                 std::vector<double>& out)
    {
        std::string problem;
        if (!ExpandShorthand(fields, problem))
        {
            Error(card, what + ": " + problem);
            return false;
        }
        out.clear();
        for (const std::string& f : fields)
        {
            double v = std::nan("");
            if (LowerCase(f) != "j" && !m_Number(f, v))
            {
                Error(card, what + ": \"" + f + "\" is not a number");
                return false;
            }
            out.push_back(v);
        }
        return true;
    }

    void DataCard(const CMcnpCard& card)
    {
        std::vector<std::string> fields = Blanked(card.m_Text);
        const std::string name = LowerCase(fields.front());
        fields.erase(fields.begin());
        int n = 0;
        const bool degrees = name[0] == '*';
        const std::string bare = degrees ? name.substr(1) : name;
        if (bare.size() > 2 && bare.compare(0, 2, "tr") == 0 && Integer(bare.substr(2), n))
        {
            if (m_Transforms.count(n))
                return Error(card, Format("transformation %d is defined twice", n));
            std::vector<double> values;
            if (!Numbers(card, fields, Format("transformation %d", n), values)) return;
            if (auto t = MakeTransform(card, values, degrees, Format("transformation %d", n)))
                m_Transforms[n] = *t;
        }
        else if (!degrees && bare.size() > 1 && bare[0] == 'm' && Integer(bare.substr(1), n))
            m_MaterialCards.insert(n);
        else if (name == "mode" && !fields.empty())
            m_Particle = LowerCase(fields.front());
        else if (name.compare(0, 4, "imp:") == 0)
            m_ImportanceCards.push_back(&card);
        else if (name == "u" || name == "fill" || name == "*fill" || name == "trcl" ||
                 name == "*trcl" || name == "lat")
            Note(card, "the " + UpperCase(name) +
                           " data card is not read: cells take it from their own cards");
        else if (name == "read")
            Note(card, "the READ card is not followed: what its file holds is not read");
        else if (bare.compare(0, 5, "embed") == 0)
            Note(card, "the " + UpperCase(bare) +
                           " card (an unstructured mesh) is not read: its cells are not drawn");
    }

    // TRn entries: o1 o2 o3, then the rotation B1..B9 (cosines, or angles in degrees), then m.
    std::optional<CTransform> MakeTransform(const CMcnpCard& card, std::vector<double> v,
                                            bool degrees, const std::string& what)
    {
        if (v.size() > 13 || v.size() < 3 || std::isnan(v[0]) || std::isnan(v[1]) ||
            std::isnan(v[2]))
        {
            Error(card, what + Format(" has %zu entries: it takes a displacement of three and "
                                      "up to nine rotation entries and m",
                                      v.size()));
            return std::nullopt;
        }
        v.resize(13, std::nan(""));
        const double m = std::isnan(v[12]) ? 1 : v[12];
        if (m != 1 && m != -1)
        {
            Error(card, what + Format(": m is %g, not 1 or -1", m));
            return std::nullopt;
        }
        // The rows B1-B3, B4-B6, B7-B9 are x', y', z' in the main frame.
        CVector axis[3];
        bool given[3];
        int count = 0;
        for (int r = 0; r < 3; ++r)
        {
            int entries = 0;
            for (int c = 0; c < 3; ++c)
            {
                double b = v[static_cast<size_t>(3 + 3 * r + c)];
                if (std::isnan(b)) continue;
                ++entries;
                if (degrees) b = std::cos(b * std::numbers::pi / 180);
                (&axis[r].x)[c] = b;
            }
            if (entries != 0 && entries != 3)
            {
                Error(card, what + ": give its rotation as whole rows (x', y', z')");
                return std::nullopt;
            }
            given[r] = entries == 3;
            count += given[r];
        }
        if (!Orthonormal(axis, given, count))
        {
            Error(card, what + ": its rotation rows are not independent");
            return std::nullopt;
        }
        const double rows[3][3] = {{axis[0].x, axis[1].x, axis[2].x},
                                   {axis[0].y, axis[1].y, axis[2].y},
                                   {axis[0].z, axis[1].z, axis[2].z}};
        const CVector o(v[0], v[1], v[2]);
        if (m > 0) return CTransform::Affine(rows, o);
        // o is the main origin in the auxiliary frame: main = M (aux - o).
        return CTransform::Translation(o * -1).Then(CTransform::Affine(rows, CVector()));
    }

    // Completes the rows given (none, one or two, the third made right-handed) and makes them
    // orthonormal, as the code does to small errors in the cosines.
    static bool Orthonormal(CVector (&axis)[3], const bool (&given)[3], int count)
    {
        if (count == 0)
        {
            axis[0] = {1, 0, 0}, axis[1] = {0, 1, 0}, axis[2] = {0, 0, 1};
            return true;
        }
        int first = given[0] ? 0 : given[1] ? 1 : 2;
        if (axis[first].Length() == 0) return false;
        axis[first] = axis[first] / axis[first].Length();
        const int second = (first + 1) % 3, third = (first + 2) % 3;
        if (count == 1 || !given[second])
        {
            if (count >= 2 && given[third])
            {
                // The first and third given: the second is third x first.
                CVector t = axis[third] - axis[first] * CVector::Dot(axis[third], axis[first]);
                if (t.Length() < 1e-9) return false;
                axis[third] = t / t.Length();
                axis[second] = CVector::Cross(axis[third], axis[first]);
                return true;
            }
            const CVector other =
                std::abs(axis[first].x) < 0.9 ? CVector(1, 0, 0) : CVector(0, 1, 0);
            axis[second] = CVector::Cross(axis[first], other);
            axis[second] = axis[second] / axis[second].Length();
        }
        else
        {
            CVector s = axis[second] - axis[first] * CVector::Dot(axis[second], axis[first]);
            if (s.Length() < 1e-9) return false;
            axis[second] = s / s.Length();
        }
        const CVector made = CVector::Cross(axis[first], axis[second]);
        // Nine entries may make a left-handed frame: keep its hand.
        axis[third] = count == 3 && CVector::Dot(made, axis[third]) < 0 ? made * -1 : made;
        return true;
    }

    void SurfaceCard(const CMcnpCard& card)
    {
        std::vector<std::string> fields = Blanked(card.m_Text);
        CSurfaceDef s;
        s.m_Card = &card;
        std::string number = fields[0];
        if (number[0] == '*' || number[0] == '+') number.erase(0, 1);
        if (!Integer(number, s.m_Number) || s.m_Number <= 0)
            return Error(card, "\"" + fields[0] + "\" is not a surface number");
        size_t at = 1;
        if (at < fields.size() && Integer(fields[at], s.m_Transform)) ++at;
        if (at >= fields.size()) return Error(card, Format("surface %d has no type", s.m_Number));
        s.m_Type = UpperCase(fields[at++]);
        const std::string what = Format("surface %d", s.m_Number);
        if (!IsSurfaceType(s.m_Type))
            return Error(card, what + ": " + s.m_Type + " is not a surface type read here");
        if (m_Surfaces.count(s.m_Number)) return Error(card, what + " is defined twice");
        if (!Numbers(card, {fields.begin() + static_cast<long>(at), fields.end()}, what,
                     s.m_Params))
            return;
        if (s.m_Transform < 0)
        {
            Note(card, what + Format(" is periodic with surface %d: drawn as a plain surface",
                                     -s.m_Transform));
            s.m_Transform = 0;
        }
        if (s.m_Transform > 0 && !m_Transforms.count(s.m_Transform))
            return Error(card, what + Format(" uses transformation %d, which is not defined",
                                             s.m_Transform));
        std::string problem;
        if (!MakeSurface(s.m_Type, s.m_Params, 0, CTransform(), problem))
            return Error(card, what + " (" + s.m_Type + "): " + problem);
        m_Surfaces[s.m_Number] = s;
    }

    void CellCard(const CMcnpCard& card)
    {
        std::vector<std::string> fields = Blanked(card.m_Text);
        if (LowerCase(fields[0]) == "read")
            return Note(card, "the READ card is not followed: what its file holds is not read");
        CCellDef cell;
        cell.m_Card = &card;
        if (!Integer(fields[0], cell.m_Number) || cell.m_Number <= 0)
            return Error(card, "\"" + fields[0] + "\" is not a cell number");
        const std::string what = Format("cell %d", cell.m_Number);
        if (m_CellIndex.count(cell.m_Number)) return Error(card, what + " is defined twice");
        size_t at = 1;
        if (fields.size() > 3 && LowerCase(fields[1]) == "like")
        {
            if (!Integer(fields[2], cell.m_Like) || LowerCase(fields[3]) != "but")
                return Error(card, what + ": LIKE takes a cell number and BUT");
            at = 4;
        }
        else
        {
            double material = 0;
            if (fields.size() < 2 || !m_Number(fields[1], material) ||
                material != std::floor(material) || std::abs(material) > 1e9)
                return Error(card, what + " has no material number");
            cell.m_Material = static_cast<int>(material);
            at = 2;
            // A density follows every material but void (and the outer region of PHITS).
            if (cell.m_Material != 0 && !(m_OuterMaterial && cell.m_Material == m_OuterMaterial))
            {
                double density = 0;
                if (at >= fields.size() || !m_Number(fields[at], density))
                    return Error(card, what + " has no density after its material");
                ++at;
            }
            std::string geometry;
            for (; at < fields.size() && !StartsKeyword(fields[at]); ++at)
                geometry += fields[at] + " ";
            cell.m_Geometry = geometry;
        }
        std::string params;
        for (; at < fields.size(); ++at)
            params += fields[at] + " ";
        cell.m_Params = ParseParams(params);
        m_CellIndex[cell.m_Number] = m_Cells.size();
        m_Cells.push_back(std::move(cell));
    }

    void ResolveLikes()
    {
        for (CCellDef& cell : m_Cells)
        {
            std::set<int> seen = {cell.m_Number};
            const CCellDef* from = &cell;
            while (from->m_Like)
            {
                const auto found = m_CellIndex.find(from->m_Like);
                if (found == m_CellIndex.end())
                    return Error(*cell.m_Card,
                                 Format("cell %d is LIKE cell %d, which is not defined",
                                        cell.m_Number, from->m_Like));
                if (!seen.insert(from->m_Like).second)
                    return Error(*cell.m_Card,
                                 Format("cell %d is LIKE a cell that is LIKE it", cell.m_Number));
                from = &m_Cells[found->second];
            }
            if (from == &cell) continue;
            // The template's parameters, then this card's.
            std::map<std::string, std::vector<std::string>> params = from->m_Params;
            for (auto& [key, values] : cell.m_Params)
                params[key] = values;
            cell.m_Material = from->m_Material;
            cell.m_Geometry = from->m_Geometry;
            cell.m_Params = std::move(params);
            cell.m_Like = 0;
            if (const auto mat = cell.m_Params.find("mat"); mat != cell.m_Params.end())
                if (mat->second.empty() || !Integer(mat->second[0], cell.m_Material))
                    Error(*cell.m_Card,
                          Format("cell %d: MAT takes a material number", cell.m_Number));
        }
    }

    // "(5)", "5" or "(o1 o2 o3 ...)" from values[from] on; a number must name a TRn card.
    void TransformRef(const CCellDef& cell, const std::vector<std::string>& values, size_t from,
                      bool degrees, CTransformRef& ref, const std::string& key)
    {
        ref = CTransformRef();
        if (from >= values.size()) return;
        if (values[from] != "(")
        {
            ref.m_Given = Integer(values[from], ref.m_Number);
            if (!ref.m_Given)
                return Error(*cell.m_Card, Format("cell %d: %s takes a transformation",
                                                  cell.m_Number, key.c_str()));
        }
        else
        {
            size_t end = from + 1;
            while (end < values.size() && values[end] != ")")
                ++end;
            if (end == values.size())
                return Error(*cell.m_Card, Format("cell %d: the parenthesis after %s is not closed",
                                                  cell.m_Number, key.c_str()));
            std::vector<std::string> inside(values.begin() + static_cast<long>(from + 1),
                                            values.begin() + static_cast<long>(end));
            ref.m_Given = true;
            if (inside.size() != 1 || !Integer(inside[0], ref.m_Number))
                return Inline(cell, inside, degrees, ref);
        }
        if (ref.m_Number != 0 && !m_Transforms.count(ref.m_Number))
            Error(*cell.m_Card, Format("cell %d: %s uses transformation %d, which is not defined",
                                       cell.m_Number, key.c_str(), ref.m_Number));
    }

    void Inline(const CCellDef& cell, const std::vector<std::string>& fields, bool degrees,
                CTransformRef& ref)
    {
        std::vector<double> values;
        if (!Numbers(*cell.m_Card, fields, Format("cell %d", cell.m_Number), values)) return;
        if (auto t = MakeTransform(*cell.m_Card, values, degrees,
                                   Format("cell %d: its transformation", cell.m_Number)))
            ref.m_Transform = *t;
    }

    void CellParams(CCellDef& cell)
    {
        const std::string what = Format("cell %d", cell.m_Number);
        std::string problem;
        if (auto term = CGeometryParser(cell.m_Geometry).Parse(problem))
            cell.m_Term = std::move(*term);
        else
            return Error(*cell.m_Card, what + ": " + problem);
        CheckTerm(cell, cell.m_Term);
        for (const auto& [key, given] : cell.m_Params)
        {
            const bool degrees = !given.empty() && given[0] == "*";
            const std::vector<std::string> values(given.begin() + degrees, given.end());
            if (key == "u" && (values.size() != 1 || !Integer(values[0], cell.m_Universe)))
                Error(*cell.m_Card, what + ": U takes a universe number");
            else if (key == "lat" && (values.size() != 1 || !Integer(values[0], cell.m_Lattice)))
                Error(*cell.m_Card, what + ": LAT takes 1 or 2");
            else if (key == "fill" && !values.empty())
            {
                cell.m_FillArray = values[0].find(':') != std::string::npos;
                if (cell.m_FillArray) continue;
                if (!Integer(values[0], cell.m_Fill))
                    Error(*cell.m_Card, what + ": FILL takes a universe number");
                TransformRef(cell, values, 1, degrees, cell.m_FillTransform, "FILL");
            }
            else if (key == "trcl")
                TransformRef(cell, values, 0, degrees, cell.m_Trcl, "TRCL");
            else if (key.compare(0, 4, "imp:") == 0 && !values.empty())
                for (const std::string& particle : Particles(key))
                    if (double v = 0; m_Number(values[0], v)) cell.m_Importance[particle] = v;
        }
        if (m_OuterMaterial && cell.m_Material == m_OuterMaterial) cell.m_Outside = true;
        if (cell.m_Material > 0 && !m_MaterialCards.empty() &&
            !m_MaterialCards.count(cell.m_Material))
            Note(*cell.m_Card,
                 what + Format(": material %d has no material card", cell.m_Material));
    }

    static std::vector<std::string> Particles(const std::string& key)
    {
        std::vector<std::string> out;
        static constexpr CSeparators Commas(",");
        const std::string list = key.substr(4); // "imp:n,p": the views point into it
        for (const std::string_view p : SplitTokens(list, Commas))
            out.emplace_back(p);
        return out;
    }

    void CheckTerm(const CCellDef& cell, const CTerm& term)
    {
        if (term.m_Kind == CTerm::EKind::Surface)
        {
            const auto s = m_Surfaces.find(term.m_Number);
            if (s == m_Surfaces.end())
                return Error(*cell.m_Card, Format("cell %d uses surface %d, which is not defined",
                                                  cell.m_Number, term.m_Number));
            const int facets = FacetCount(s->second.m_Type, s->second.m_Params.size());
            if (term.m_Facet > facets)
                Error(*cell.m_Card,
                      facets
                          ? Format("cell %d uses facet %d.%d, but %s has %d facets", cell.m_Number,
                                   term.m_Number, term.m_Facet, s->second.m_Type.c_str(), facets)
                          : Format("cell %d uses facet %d.%d, but surface %d (%s) has none",
                                   cell.m_Number, term.m_Number, term.m_Facet, term.m_Number,
                                   s->second.m_Type.c_str()));
        }
        else if (term.m_Kind == CTerm::EKind::Cell && !m_CellIndex.count(term.m_Number))
            Error(*cell.m_Card, Format("cell %d uses the complement #%d of a cell that is not "
                                       "defined",
                                       cell.m_Number, term.m_Number));
        for (const CTerm& child : term.m_Children)
            CheckTerm(cell, child);
    }

    // Importance data cards: one entry per cell in the order of the cell cards.
    void ApplyImportanceCards()
    {
        for (const CMcnpCard* card : m_ImportanceCards)
        {
            std::vector<std::string> fields = Blanked(card->m_Text);
            const std::string key = LowerCase(fields.front());
            fields.erase(fields.begin());
            std::vector<double> values;
            if (!Numbers(*card, fields, UpperCase(key), values)) continue;
            if (values.size() != m_Cells.size())
                Note(*card, Format("%s has %zu entries for %zu cells", UpperCase(key).c_str(),
                                   values.size(), m_Cells.size()));
            for (size_t i = 0; i < std::min(values.size(), m_Cells.size()); ++i)
                for (const std::string& particle : Particles(key))
                    if (!std::isnan(values[i]) && !m_Cells[i].m_Importance.count(particle))
                        m_Cells[i].m_Importance[particle] = values[i];
        }
        const std::string primary = m_Particle.empty() ? "n" : m_Particle;
        for (CCellDef& cell : m_Cells)
        {
            if (cell.m_Importance.empty()) continue;
            const auto found = cell.m_Importance.find(primary);
            bool zero = true;
            for (const auto& [particle, value] : cell.m_Importance)
                zero = zero && value == 0;
            cell.m_Outside =
                cell.m_Outside || (found != cell.m_Importance.end() ? found->second == 0 : zero);
        }
    }

    // Where a cell's transformation moves it (a refused one has failed the read already).
    CTransform Resolve(const CTransformRef& ref) const
    {
        return ref.m_Number != 0 ? m_Transforms.at(ref.m_Number) : ref.m_Transform;
    }

    // Adds the cell as a region, or, when it is filled, the cells of its universe clipped by it.
    void Emit(CGeometry& g, const CCellDef& cell, const CTransform& context, const std::string& key,
              int clip, const std::string& suffix, std::vector<int> universes)
    {
        if (m_TooMany) return;
        CTransform placed;
        int node = CellNode(g, cell, context, key, placed);
        if (node < 0) return;
        const std::string cellKey = PlacementKey(key, cell, cell.m_Trcl);
        if (clip >= 0) node = AndNode(g, {clip, node});
        const std::string name = std::to_string(cell.m_Number) + suffix;
        if (cell.m_Fill && !cell.m_Lattice)
        {
            const auto contents = m_Universes.find(cell.m_Fill);
            if (contents == m_Universes.end())
                return Error(*cell.m_Card, Format("cell %d: FILL=%d names universe %d, which no "
                                                  "cell is in",
                                                  cell.m_Number, cell.m_Fill, cell.m_Fill));
            if (std::find(universes.begin(), universes.end(), cell.m_Fill) != universes.end() ||
                universes.size() >= MaxFillDepth)
                return Error(*cell.m_Card, Format("cell %d: universe %d fills itself",
                                                  cell.m_Number, cell.m_Fill));
            const CTransform fill = Resolve(cell.m_FillTransform);
            const std::string contentKey = cell.m_FillTransform.m_Given
                                               ? cellKey + "/fill" + std::to_string(cell.m_Number)
                                               : cellKey;
            universes.push_back(cell.m_Fill);
            for (const CCellDef* inner : contents->second)
                if (!inner->m_Outside)
                    Emit(g, *inner, fill.Then(placed), contentKey, node, "<" + name, universes);
            return;
        }
        if (cell.m_Lattice)
            Note(*cell.m_Card,
                 Format("cell %d is a lattice (LAT=%d): its elements are not read, it "
                        "is shown as its container",
                        cell.m_Number, cell.m_Lattice));
        if (g.m_Regions.size() >= MaxRegions)
        {
            if (!m_TooMany)
                Error(*cell.m_Card,
                      Format("the universes unfold into more than %zu cells", MaxRegions));
            m_TooMany = true;
            return;
        }
        CRegion region;
        region.m_Name = name;
        region.m_Root = node;
        region.m_Lattice = cell.m_Lattice != 0;
        region.m_Line = cell.m_Card->m_Line;
        region.m_Material = g.MaterialIndex(
            cell.m_Material == 0 ? CGeometry::VoidCell : "m" + std::to_string(cell.m_Material));
        g.m_Regions.push_back(region);
    }

    // The node of a cell's geometry, moved by its TRCL within the frame context (key names it);
    // placed: where its surfaces end up. -1 when its geometry cannot be built.
    int CellNode(CGeometry& g, const CCellDef& cell, const CTransform& context,
                 const std::string& key, CTransform& placed)
    {
        placed = Resolve(cell.m_Trcl).Then(context);
        std::set<int> open;
        return Instantiate(g, cell.m_Term, placed, PlacementKey(key, cell, cell.m_Trcl), context,
                           key, open);
    }

    void OutsideWorld(CGeometry& g, const CCellDef& cell)
    {
        CTransform placed;
        if (const int node = CellNode(g, cell, CTransform(), "", placed); node >= 0)
            g.m_Outside.push_back(node);
    }

    // Bodies are shared by the cells placed alike: the key names the placement.
    static std::string PlacementKey(const std::string& key, const CCellDef& cell,
                                    const CTransformRef& ref)
    {
        return ref.m_Given ? key + "/" + std::to_string(cell.m_Number) : key;
    }

    static int AndNode(CGeometry& g, std::vector<int> children)
    {
        CExprNode node;
        node.m_Kind = CExprNode::EKind::And;
        node.m_Children = std::move(children);
        g.m_Nodes.push_back(node);
        return static_cast<int>(g.m_Nodes.size()) - 1;
    }

    // The term's nodes with its surfaces placed by `placed`; a complement #n places cell n by its
    // own TRCL in the frame the cell itself stands in (parent).
    int Instantiate(CGeometry& g, const CTerm& term, const CTransform& placed,
                    const std::string& key, const CTransform& parent, const std::string& parentKey,
                    std::set<int>& open)
    {
        CExprNode node;
        node.m_Negated = term.m_Negated;
        switch (term.m_Kind)
        {
        case CTerm::EKind::Surface:
            node.m_Kind = CExprNode::EKind::Body;
            node.m_Body = BodyFor(g, term.m_Number, term.m_Facet, placed, key);
            if (node.m_Body < 0) return -1;
            break;
        case CTerm::EKind::Cell:
        {
            const CCellDef& other = m_Cells[m_CellIndex.at(term.m_Number)];
            // One node for each complement in one placement: complements of complements would
            // otherwise copy their expressions without end.
            const std::string cacheKey = parentKey + "#" + std::to_string(other.m_Number);
            if (const auto found = m_Complements.find(cacheKey); found != m_Complements.end())
            {
                node.m_Kind = CExprNode::EKind::And;
                node.m_Children = {found->second};
                break;
            }
            if (!open.insert(other.m_Number).second)
            {
                Error(*other.m_Card,
                      Format("cell %d is inside its own complement", other.m_Number));
                return -1;
            }
            if (open.size() > MaxComplementDepth)
            {
                Error(*other.m_Card, Format("cell %d: complements nest deeper than %zu",
                                            other.m_Number, MaxComplementDepth));
                return -1;
            }
            const int inner =
                Instantiate(g, other.m_Term, Resolve(other.m_Trcl).Then(parent),
                            PlacementKey(parentKey, other, other.m_Trcl), parent, parentKey, open);
            open.erase(other.m_Number);
            if (inner < 0) return -1;
            m_Complements[cacheKey] = inner;
            // A complement of the cell's whole expression.
            node.m_Kind = CExprNode::EKind::And;
            node.m_Children = {inner};
            break;
        }
        case CTerm::EKind::And:
        case CTerm::EKind::Or:
            node.m_Kind =
                term.m_Kind == CTerm::EKind::And ? CExprNode::EKind::And : CExprNode::EKind::Or;
            for (const CTerm& child : term.m_Children)
            {
                const int c = Instantiate(g, child, placed, key, parent, parentKey, open);
                if (c < 0) return -1;
                node.m_Children.push_back(c);
            }
            break;
        }
        g.m_Nodes.push_back(node);
        return static_cast<int>(g.m_Nodes.size()) - 1;
    }

    // The body of a surface side in one placement, made once.
    int BodyFor(CGeometry& g, int number, int facet, const CTransform& placed,
                const std::string& key)
    {
        const std::string cacheKey =
            key + "|" + std::to_string(number) + "." + std::to_string(facet);
        if (const auto found = m_Bodies.find(cacheKey); found != m_Bodies.end())
            return found->second;
        const CSurfaceDef& s = m_Surfaces.at(number);
        const CTransform own = s.m_Transform ? m_Transforms.at(s.m_Transform) : CTransform();
        std::string problem;
        std::unique_ptr<CBody> body =
            MakeSurface(s.m_Type, s.m_Params, facet, own.Then(placed), problem);
        if (!body)
        {
            Error(*s.m_Card, Format("surface %d: ", number) + problem);
            return -1;
        }
        body->m_Name = facet ? Format("%d.%d", number, facet) : std::to_string(number);
        g.m_Bodies.push_back(std::move(body));
        const int index = static_cast<int>(g.m_Bodies.size()) - 1;
        m_Bodies[cacheKey] = index;
        return index;
    }

    const CMcnpDeck& m_Deck;
    const std::string& m_Path;
    const CMcnpGeometryReader::CNumberReader& m_Number;
    int m_OuterMaterial;
    std::vector<std::string>& m_Errors;
    std::vector<std::string>& m_Notes;

    std::map<int, CTransform> m_Transforms;
    std::set<int> m_MaterialCards;
    std::string m_Particle;
    std::vector<const CMcnpCard*> m_ImportanceCards;
    std::map<int, CSurfaceDef> m_Surfaces;
    std::vector<CCellDef> m_Cells;
    std::map<int, size_t> m_CellIndex;
    std::map<int, std::vector<const CCellDef*>> m_Universes; // the cells of each, in card order
    std::map<std::string, int> m_Bodies;
    std::map<std::string, int> m_Complements; // the node of #n, by placement and cell
    bool m_TooMany = false;
};

} // namespace

bool ReadMcnpNumber(const std::string& field, double& value)
{
    return ReadNumberField(field, value) == EFieldProblem::None;
}

bool CMcnpGeometryReader::Read(const std::string& path, CGeometry& geometry)
{
    m_Errors.clear();
    m_Notes.clear();
    std::vector<CInputLine> lines;
    std::string error;
    if (!ReadInputLines(path, lines, error))
    {
        m_Errors.push_back(error);
        return false;
    }
    return ReadDeck(SplitMcnpDeck(lines), path, geometry, ReadMcnpNumber, 0);
}

bool CMcnpGeometryReader::ReadDeck(const CMcnpDeck& deck, const std::string& path,
                                   CGeometry& geometry, const CNumberReader& number,
                                   int outerMaterial)
{
    if (deck.m_Cells.empty())
    {
        m_Errors.push_back("The input " + path + " has no cell cards.");
        return false;
    }
    return CDeckReader(deck, path, number, outerMaterial, m_Errors, m_Notes).Read(geometry);
}
