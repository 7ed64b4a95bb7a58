#include "volume/formats/MeshtalReader.h"

#include "common/FileSystem.h"
#include "common/LineReader.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>

namespace volumira3d
{
namespace
{
constexpr std::string_view TallyStart = "Mesh Tally Number";
constexpr int MaxColumns = 16;

// By hand: a find_first_not_of over a set of blanks searches the set once per character.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool ParseNumber(std::string_view token, double& value)
{
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && end == token.data() + token.size() && std::isfinite(value);
}

// Calls take(token) for each blank-separated token of the text; false as soon as take does.
template <class Take> bool ForEachToken(std::string_view text, Take&& take)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;)
    {
        while (p < end && IsBlank(*p))
            ++p;
        if (p == end) return true;
        const char* start = p;
        while (p < end && !IsBlank(*p))
            ++p;
        if (!take(std::string_view(start, static_cast<size_t>(p - start)))) return false;
    }
}

// Splits at blanks; false when there are more than MaxColumns tokens.
bool Split(std::string_view line, std::array<std::string_view, MaxColumns>& tokens, int& count)
{
    count = 0;
    return ForEachToken(line,
                        [&](std::string_view token)
                        {
                            if (count == MaxColumns) return false;
                            tokens[count++] = token;
                            return true;
                        });
}

// The numbers of a line after its colon (or after its start when it has none).
bool ParseList(std::string_view text, std::vector<double>& values)
{
    values.clear();
    return ForEachToken(text,
                        [&](std::string_view token)
                        {
                            double v = 0;
                            if (!ParseNumber(token, v)) return false;
                            values.push_back(v);
                            return true;
                        });
}

// Three numbers after a phrase of the cylinder line ("origin at", "axis in", "VEC direction").
bool ParseTriple(std::string_view line, std::string_view phrase, double (&out)[3])
{
    const size_t at = line.find(phrase);
    if (at == std::string_view::npos) return false;
    std::array<std::string_view, MaxColumns> tokens;
    int count = 0;
    Split(line.substr(at + phrase.size(), 60), tokens, count);
    if (count < 3) return false;
    for (int i = 0; i < 3; ++i)
        if (!ParseNumber(tokens[i], out[i])) return false;
    return true;
}

bool Increasing(const std::vector<double>& bounds)
{
    for (size_t i = 1; i < bounds.size(); ++i)
        if (!(bounds[i] > bounds[i - 1])) return false;
    return true;
}

// Theta counts from VEC's part across the axis, which must not vanish.
bool VecLeavesTheAxis(const CMeshtalTally& tally)
{
    const double* a = tally.m_Axis;
    const double* v = tally.m_Vec;
    const double cross[3] = {a[1] * v[2] - a[2] * v[1], a[2] * v[0] - a[0] * v[2],
                             a[0] * v[1] - a[1] * v[0]};
    const double across = std::hypot(cross[0], cross[1], cross[2]);
    return across > 1e-6 * std::hypot(a[0], a[1], a[2]) * std::hypot(v[0], v[1], v[2]);
}

// The bin whose upper boundary the row prints (to the few digits of the print).
int MatchUpper(const std::vector<double>& bounds, double value)
{
    for (size_t i = 1; i < bounds.size(); ++i)
    {
        const double b = bounds[i];
        if (std::abs(value - b) <= 5e-3 * std::max(std::abs(value), std::abs(b)))
            return static_cast<int>(i) - 1;
    }
    return -1;
}

// The bin holding a printed bin centre; -1 outside.
int BinOf(const std::vector<double>& bounds, double centre)
{
    const auto it = std::upper_bound(bounds.begin(), bounds.end(), centre);
    if (it == bounds.begin() || it == bounds.end()) return -1;
    return static_cast<int>(it - bounds.begin()) - 1;
}

std::string RangeLabel(const std::vector<double>& bounds, int bin, bool total, const char* unit)
{
    if (total && bin == static_cast<int>(std::max<size_t>(bounds.size(), 2)) - 1) return "Total";
    if (bounds.size() < 2) return "all";
    return Format("%g - %g %s", bounds[bin], bounds[bin + 1], unit);
}

// The energy or time bin a row names: "Total" or the bin's upper boundary. Rows of one bin come
// together, so the last token's bin is kept.
class CBinMatcher
{
public:
    CBinMatcher(const std::vector<double>& bounds, bool total, int bins)
        : m_Bounds(bounds), m_Total(total), m_Bins(bins)
    {
    }
    int Bin(std::string_view token)
    {
        if (token == m_LastToken) return m_LastBin;
        double v = 0;
        m_LastToken = token;
        if (token == "Total")
            m_LastBin = m_Total ? m_Bins : -1;
        else if (!ParseNumber(token, v))
            m_LastBin = -1;
        else
            m_LastBin = m_Bounds.size() < 2 ? 0 : MatchUpper(m_Bounds, v);
        return m_LastBin;
    }

private:
    const std::vector<double>& m_Bounds;
    bool m_Total;
    int m_Bins;
    std::string m_LastToken;
    int m_LastBin = -1;
};

// The bin of a printed centre coordinate. The outer axes change seldom from row to row, so the
// last token's bin is kept.
class CCoordinateMatcher
{
public:
    explicit CCoordinateMatcher(const std::vector<double>& bounds) : m_Bounds(bounds) {}
    int Bin(std::string_view token)
    {
        if (token == m_LastToken) return m_LastBin;
        double c = 0;
        m_LastToken = token;
        m_LastBin = ParseNumber(token, c) ? BinOf(m_Bounds, c) : -1;
        return m_LastBin;
    }

private:
    const std::vector<double>& m_Bounds;
    std::string m_LastToken;
    int m_LastBin = -1;
};

// The header of one tally as its lines arrive; the boundaries kept by their axis letter.
struct CHeaderScan
{
    std::map<char, std::vector<double>> m_Bounds;
    bool m_Columns = false;
};

// The column header: which quantity each column holds.
bool ParseColumns(std::string_view line, CMeshtalTally& tally)
{
    std::array<std::string_view, MaxColumns> t;
    int count = 0;
    if (!Split(line, t, count)) return false;
    const bool cylinder = std::find(t.begin(), t.begin() + count, "R") != t.begin() + count;
    tally.m_Kind = cylinder ? EMeshKind::Cylindrical : EMeshKind::Cartesian;
    int column = 0;
    for (int i = 0; i < count; ++i, ++column)
    {
        const std::string_view w = t[i];
        if (w == "Energy")
            tally.m_EnergyColumn = column;
        else if (w == "Time")
            tally.m_TimeColumn = column;
        else if (w == "X" || w == "R")
            tally.m_CoordColumn[0] = column;
        else if (w == "Y" && !cylinder)
            tally.m_CoordColumn[1] = column;
        else if (w == "Z")
            tally.m_CoordColumn[cylinder ? 1 : 2] = column;
        else if (w == "Th" && cylinder)
            tally.m_CoordColumn[2] = column;
        else if (w == "Nuclide")
            tally.m_NuclideColumn = column;
        else if (w == "Result")
            tally.m_ResultColumn = column;
        else if (w == "Rel" && i + 1 < count && t[i + 1] == "Error")
            tally.m_ErrorColumn = column, ++i;
        else if (w == "Volume")
            continue;
        else if (w == "Rslt" && i + 2 < count && t[i + 1] == "*" && t[i + 2] == "Vol")
            i += 2;
        else
            return false;
    }
    tally.m_Columns = column;
    return tally.m_ResultColumn >= 0 && tally.m_ErrorColumn >= 0 &&
           std::all_of(std::begin(tally.m_CoordColumn), std::end(tally.m_CoordColumn),
                       [](int c) { return c >= 0; });
}

bool IsColumnHeader(std::string_view t)
{
    return t.find("Result") != std::string_view::npos &&
           (StartsWith(t, "Energy ") || StartsWith(t, "Time ") || StartsWith(t, "X ") ||
            StartsWith(t, "R "));
}

// A header line that gives boundaries: the axis letter and the text after the colon.
bool BoundaryLine(std::string_view t, char& axis, std::string_view& rest)
{
    static constexpr std::pair<std::string_view, char> Lines[] = {
        {"X direction:", 'X'},
        {"Y direction:", 'Y'},
        {"Z direction:", 'Z'},
        {"R direction:", 'R'},
        {"Theta direction (revolutions):", 'T'},
        {"Energy bin boundaries:", 'E'},
        {"Time bin boundaries:", 't'},
    };
    for (const auto& [start, letter] : Lines)
        if (StartsWith(t, start))
        {
            axis = letter;
            rest = t.substr(start.size());
            return true;
        }
    return false;
}

std::string ParticleOf(std::string_view t)
{
    constexpr std::string_view End = "mesh tally.";
    if (t.size() < End.size() || t.substr(t.size() - End.size()) != End) return "";
    std::string_view before = TrimBlanks(t.substr(0, t.size() - End.size()));
    const size_t space = before.find_last_of(' ');
    return std::string(space == std::string_view::npos ? before : before.substr(space + 1));
}

// The axis an axis word of the matrix layout names ("X", "Theta"); -1 for none.
int AxisOfWord(EMeshKind kind, std::string_view word)
{
    if (kind == EMeshKind::Cylindrical)
        return word == "R" ? 0 : word == "Z" ? 1 : (word == "Theta" || word == "Th") ? 2 : -1;
    return word == "X" ? 0 : word == "Y" ? 1 : word == "Z" ? 2 : -1;
}

// "Tally Results:  X (across) by Y (down)": the two axes of a page.
bool ParsePageAxes(std::string_view t, EMeshKind kind, int& across, int& down)
{
    std::array<std::string_view, MaxColumns> w;
    int count = 0;
    if (!Split(t.substr(t.find(':') + 1), w, count) || count != 5 || w[1] != "(across)" ||
        w[2] != "by" || w[4] != "(down)")
        return false;
    across = AxisOfWord(kind, w[0]);
    down = AxisOfWord(kind, w[3]);
    return across >= 0 && down >= 0 && across != down;
}

// "Z bin: -10.00  -   0.00": the axis word and the text after the colon.
bool GroupLine(std::string_view t, std::string_view& word, std::string_view& rest)
{
    const size_t at = t.find(" bin:");
    if (at == std::string_view::npos) return false;
    word = t.substr(0, at);
    rest = t.substr(at + 5);
    return word == "X" || word == "Y" || word == "Z" || word == "R" || word == "Theta";
}

// The label of a page's energy or time bin: "Energy Bin: 0.1 - 1 MeV", "Total Energy Bin".
bool IsEnergyLabel(std::string_view t)
{
    return StartsWith(t, "Energy Bin") || StartsWith(t, "Total Energy");
}

bool IsTimeLabel(std::string_view t)
{
    return StartsWith(t, "Time Bin") || StartsWith(t, "Total Time");
}

bool IsMatrixLine(std::string_view t)
{
    std::string_view word, rest;
    return IsEnergyLabel(t) || IsTimeLabel(t) || StartsWith(t, "Tally Results:") ||
           GroupLine(t, word, rest);
}
} // namespace

std::int64_t CMeshtalTally::Cells() const
{
    return std::int64_t(Bins(0)) * Bins(1) * Bins(2);
}

std::string CMeshtalTally::EnergyLabel(int choice) const
{
    return RangeLabel(m_Energy, choice, m_EnergyTotal, "MeV");
}

std::string CMeshtalTally::TimeLabel(int choice) const
{
    return RangeLabel(m_Time, choice, m_TimeTotal, "sh");
}

std::string CMeshtalTally::NuclideLabel(int choice) const
{
    return m_Nuclides.empty() ? "all" : m_Nuclides[static_cast<size_t>(choice)];
}

std::string CMeshtalTally::KindName() const
{
    return m_Kind == EMeshKind::Cylindrical ? "R Z Th" : "X Y Z";
}

std::string CMeshtalTally::Sizes() const
{
    return Format("%d x %d x %d", Bins(0), Bins(1), Bins(2));
}

CMeshtalChoice CMeshtalReader::DefaultChoice(const CMeshtalTally& tally)
{
    CMeshtalChoice choice;
    choice.m_Energy = tally.m_EnergyTotal ? tally.EnergyBins() : 0;
    choice.m_Time = tally.m_TimeTotal ? tally.TimeBins() : 0;
    return choice;
}

bool CMeshtalReader::Fail(const std::string& text)
{
    m_Error = text;
    return false;
}

// Open's pass over the lines: the line number, the state of the tally being read and its header.
struct CMeshtalReader::CScan
{
    enum class EState
    {
        Preamble,
        Header,
        Rows,
        Matrix,
        After
    };
    explicit CScan(CLineReader& reader) : m_Reader(reader) {}

    CLineReader& m_Reader;
    std::uint64_t m_Line = 0;
    EState m_State = EState::Preamble;
    CHeaderScan m_Header;
    std::uint64_t m_LineStart = 0; // byte offset of the line being scanned
    std::map<std::string, int, std::less<>> m_Nuclides;
    std::string m_LastNuclide;

    unsigned long long Line() const { return static_cast<unsigned long long>(m_Line); }
};

bool CMeshtalReader::Open(const std::string& path)
{
    m_Path = path;
    m_Tallies.clear();
    m_Histories = 0;
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return Fail("The file " + path + " cannot be opened.");
    CLineReader reader(in);
    CScan scan(reader);
    std::string_view line;
    while (reader.Next(line))
    {
        ++scan.m_Line;
        if (!ScanLine(scan, TrimBlanks(line))) return false;
        scan.m_LineStart = reader.BytesRead();
    }
    if (m_Tallies.empty()) return Fail("No mesh tally was found in the file.");
    return EndTally(scan);
}

bool CMeshtalReader::ScanLine(CScan& scan, std::string_view t)
{
    if (StartsWith(t, TallyStart))
        return (scan.m_State == CScan::EState::Preamble || EndTally(scan)) && StartTally(scan, t);
    switch (scan.m_State)
    {
    case CScan::EState::Preamble:
        ScanPreamble(t);
        return true;
    case CScan::EState::Header:
        return ScanHeader(scan, t);
    case CScan::EState::Rows:
        if (t.empty())
            scan.m_State = CScan::EState::After;
        else
            return ScanRow(scan, t);
        return true;
    case CScan::EState::Matrix:
        return ScanMatrix(scan, t);
    case CScan::EState::After:
        return t.empty() || Fail(Format("Line %llu: text after the rows of mesh tally %d is not "
                                        "understood.",
                                        scan.Line(), m_Tallies.back().m_Number));
    }
    return true;
}

// Counts the row; a nuclide column's names become the tally's nuclides.
bool CMeshtalReader::ScanRow(CScan& scan, std::string_view t)
{
    CMeshtalTally& tally = m_Tallies.back();
    ++tally.m_Rows;
    if (tally.m_NuclideColumn < 0) return true;
    std::array<std::string_view, MaxColumns> tokens;
    int count = 0;
    if (!Split(t, tokens, count) || count <= tally.m_NuclideColumn)
        return true; // ReadBin says what is wrong with the row
    const std::string_view name = tokens[tally.m_NuclideColumn];
    if (name == scan.m_LastNuclide) return true;
    scan.m_LastNuclide = std::string(name);
    if (scan.m_Nuclides.find(name) != scan.m_Nuclides.end()) return true;
    constexpr size_t MaxNuclides = 100000;
    if (tally.m_Nuclides.size() == MaxNuclides)
        return Fail(Format("Line %llu: mesh tally %d names more than %zu nuclides.", scan.Line(),
                           tally.m_Number, MaxNuclides));
    scan.m_Nuclides.emplace(name, static_cast<int>(tally.m_Nuclides.size()));
    tally.m_Nuclides.emplace_back(name);
    return true;
}

// The first line of the pages: the layout comes from the boundaries read so far.
bool CMeshtalReader::StartMatrix(CScan& scan, std::string_view t)
{
    CMeshtalTally& tally = m_Tallies.back();
    tally.m_Matrix = true;
    tally.m_Kind =
        scan.m_Header.m_Bounds.count('R') ? EMeshKind::Cylindrical : EMeshKind::Cartesian;
    tally.m_DataOffset = scan.m_LineStart;
    tally.m_FirstRowLine = scan.m_Line;
    scan.m_State = CScan::EState::Matrix;
    return ScanMatrix(scan, t);
}

// Counts the pages and the lines; the pages' contents are read by ReadBin.
bool CMeshtalReader::ScanMatrix(CScan& scan, std::string_view t)
{
    CMeshtalTally& tally = m_Tallies.back();
    ++tally.m_Rows;
    if (IsEnergyLabel(t) && t.find("Total") != std::string_view::npos) tally.m_EnergyTotal = true;
    if (IsTimeLabel(t) && t.find("Total") != std::string_view::npos) tally.m_TimeTotal = true;
    if (!StartsWith(t, "Tally Results:")) return true;
    int across = -1, down = -1;
    if (!ParsePageAxes(t, tally.m_Kind, across, down))
        return Fail(Format("Line %llu: the axes of the page of mesh tally %d (\"%s\") are not "
                           "known.",
                           scan.Line(), tally.m_Number, std::string(t).c_str()));
    if (tally.m_Pages > 0 && (across != tally.m_Across || down != tally.m_Down))
        return Fail(Format("Line %llu: a page of mesh tally %d has other axes than the first.",
                           scan.Line(), tally.m_Number));
    tally.m_Across = across, tally.m_Down = down;
    ++tally.m_Pages;
    return true;
}

bool CMeshtalReader::StartTally(CScan& scan, std::string_view t)
{
    CMeshtalTally tally;
    double n = 0;
    if (!ParseNumber(TrimBlanks(t.substr(TallyStart.size())), n) || n != std::floor(n) ||
        std::abs(n) > 1e9)
        return Fail(Format("Line %llu: the mesh tally number cannot be read.", scan.Line()));
    tally.m_Number = static_cast<int>(n);
    m_Tallies.push_back(tally);
    scan.m_Header = CHeaderScan();
    scan.m_State = CScan::EState::Header;
    return true;
}

void CMeshtalReader::ScanPreamble(std::string_view t)
{
    if (const size_t at = t.find("normalizing tallies ="); at != std::string_view::npos)
        ParseNumber(TrimBlanks(t.substr(at + 21)), m_Histories);
}

bool CMeshtalReader::ScanHeader(CScan& scan, std::string_view t)
{
    CMeshtalTally& tally = m_Tallies.back();
    char axis = 0;
    std::string_view rest;
    if (BoundaryLine(t, axis, rest))
        return ParseList(rest, scan.m_Header.m_Bounds[axis]) ||
               Fail(Format("Line %llu: the bin boundaries of mesh tally %d cannot be read.",
                           scan.Line(), tally.m_Number));
    if (t.find("origin at") != std::string_view::npos)
        return (ParseTriple(t, "origin at", tally.m_Origin) &&
                ParseTriple(t, "axis in", tally.m_Axis) &&
                ParseTriple(t, "VEC direction", tally.m_Vec)) ||
               Fail(Format("Line %llu: the origin, axis and VEC of mesh tally %d cannot be read.",
                           scan.Line(), tally.m_Number));
    if (IsMatrixLine(t)) return StartMatrix(scan, t);
    if (IsColumnHeader(t))
    {
        if (!ParseColumns(t, tally))
            return Fail(Format("Line %llu: the columns of mesh tally %d (\"%s\") are not known.",
                               scan.Line(), tally.m_Number, std::string(t).c_str()));
        scan.m_Header.m_Columns = true;
        tally.m_DataOffset = scan.m_Reader.BytesRead();
        tally.m_FirstRowLine = scan.m_Line + 1;
        scan.m_State = CScan::EState::Rows;
    }
    else if (tally.m_Particle.empty())
        tally.m_Particle = ParticleOf(t);
    return true;
}

bool CMeshtalReader::EndTally(CScan& scan)
{
    CMeshtalTally& tally = m_Tallies.back();
    auto& bounds = scan.m_Header.m_Bounds;
    const std::pair<char, int> cart[] = {{'X', 0}, {'Y', 1}, {'Z', 2}};
    const std::pair<char, int> cyl[] = {{'R', 0}, {'Z', 1}, {'T', 2}};
    for (const auto& [letter, axis] : tally.m_Kind == EMeshKind::Cylindrical ? cyl : cart)
        tally.m_Bounds[axis] = bounds[letter];
    tally.m_Energy = bounds['E'];
    tally.m_Time = bounds['t'];
    if (!scan.m_Header.m_Columns && !tally.m_Matrix)
        return Fail(Format("Mesh tally %d has no column header before line %llu: its rows cannot "
                           "be read.",
                           tally.m_Number, scan.Line()));
    return FinishTally(tally);
}

bool CMeshtalReader::FinishTally(CMeshtalTally& tally)
{
    const char* names[2][3] = {{"X", "Y", "Z"}, {"R", "Z", "Theta"}};
    const int kind = tally.m_Kind == EMeshKind::Cylindrical ? 1 : 0;
    for (int a = 0; a < 3; ++a)
        if (tally.m_Bounds[a].size() < 2 || !Increasing(tally.m_Bounds[a]))
            return Fail(Format("Mesh tally %d has no increasing %s bin boundaries.", tally.m_Number,
                               names[kind][a]));
    for (int a = 0; a < 3; ++a)
        if (!std::isfinite(tally.m_Bounds[a].back() - tally.m_Bounds[a].front()))
            return Fail(Format("Mesh tally %d spans %s from %g to %g: the width is beyond the "
                               "range of numbers.",
                               tally.m_Number, names[kind][a], tally.m_Bounds[a].front(),
                               tally.m_Bounds[a].back()));
    if (kind == 1 && !VecLeavesTheAxis(tally))
        return Fail(Format("Mesh tally %d has its VEC direction (%g, %g, %g) zero or along its "
                           "axis: its theta bins have no start.",
                           tally.m_Number, tally.m_Vec[0], tally.m_Vec[1], tally.m_Vec[2]));
    for (const auto* bounds : {&tally.m_Energy, &tally.m_Time})
        if (bounds->size() == 1 || !Increasing(*bounds))
            return Fail(Format("Mesh tally %d has energy or time bin boundaries that are not "
                               "increasing.",
                               tally.m_Number));
    if (!tally.m_Matrix && ((tally.EnergyBins() > 1 && tally.m_EnergyColumn < 0) ||
                            (tally.TimeBins() > 1 && tally.m_TimeColumn < 0)))
        return Fail(Format("Mesh tally %d has several energy or time bins but no column that "
                           "says which bin a row is in.",
                           tally.m_Number));
    if (tally.m_Matrix && tally.m_Pages == 0)
        return Fail(Format("Mesh tally %d has no page of results.", tally.m_Number));
    // The scan knows the totals of a matrix from its page labels; the rows of the column layout
    // say by their count whether "Total" rows are among them.
    const int eb = tally.EnergyBins(), tb = tally.TimeBins();
    const double units = tally.m_Matrix ? double(tally.Bins(tally.Group()))
                                        : double(tally.Cells()) * tally.NuclideChoices();
    const double found = double(tally.m_Matrix ? tally.m_Pages : tally.m_Rows);
    for (int withTotals = 1; withTotals >= 0; --withTotals)
    {
        const bool et = eb > 1 && (tally.m_Matrix ? tally.m_EnergyTotal : withTotals);
        const bool tt = tb > 1 && (tally.m_Matrix ? tally.m_TimeTotal : withTotals);
        if (units * (eb + et) * (tb + tt) == found)
        {
            tally.m_EnergyTotal = et, tally.m_TimeTotal = tt;
            return true;
        }
    }
    return Fail(Format("Mesh tally %d has %llu %s where its bin boundaries call for %.0f; the "
                       "file may be cut short.",
                       tally.m_Number, static_cast<unsigned long long>(found),
                       tally.m_Matrix ? "pages" : "rows",
                       units * (eb + (eb > 1 && (!tally.m_Matrix || tally.m_EnergyTotal))) *
                           (tb + (tb > 1 && (!tally.m_Matrix || tally.m_TimeTotal)))));
}

namespace
{
// One row of a tally's data: the cell it gives, or that it belongs to another energy or time
// bin, or what is wrong with it.
class CRowReader
{
public:
    enum class ERow
    {
        Broken,
        OtherBin,
        Cell
    };

    CRowReader(const CMeshtalTally& tally, const CMeshtalChoice& choice)
        : m_Tally(tally), m_Choice(choice), m_Coordinates{CCoordinateMatcher(tally.m_Bounds[0]),
                                                          CCoordinateMatcher(tally.m_Bounds[1]),
                                                          CCoordinateMatcher(tally.m_Bounds[2])},
          m_Energy{tally.m_Energy, tally.m_EnergyTotal, tally.EnergyBins()}, m_Time{
                                                                                 tally.m_Time,
                                                                                 tally.m_TimeTotal,
                                                                                 tally.TimeBins()}
    {
    }

    ERow Read(std::string_view line, unsigned long long lineNo, int (&index)[3], double& value)
    {
        int count = 0;
        if (!Split(line, m_Tokens, count) || count != m_Tally.m_Columns)
            return Broken(Format("Line %llu of mesh tally %d has %s columns than its header.",
                                 lineNo, m_Tally.m_Number,
                                 count < m_Tally.m_Columns ? "fewer" : "more"));
        const ERow bin = ReadBins(lineNo);
        if (bin != ERow::Cell) return bin;
        for (int a = 0; a < 3; ++a)
            if ((index[a] = m_Coordinates[a].Bin(m_Tokens[m_Tally.m_CoordColumn[a]])) < 0)
                return Broken(Format("Line %llu of mesh tally %d: the coordinate \"%s\" lies in "
                                     "no bin.",
                                     lineNo, m_Tally.m_Number,
                                     std::string(m_Tokens[m_Tally.m_CoordColumn[a]]).c_str()));
        return ReadValue(lineNo, value);
    }

    const std::string& Error() const { return m_Error; }

private:
    ERow Broken(std::string text)
    {
        m_Error = std::move(text);
        return ERow::Broken;
    }

    // Whether the row is of the chosen energy and time bins.
    ERow ReadBins(unsigned long long lineNo)
    {
        if (m_Tally.m_EnergyColumn >= 0)
        {
            const int e = m_Energy.Bin(m_Tokens[m_Tally.m_EnergyColumn]);
            if (e < 0)
                return Broken(Format("Line %llu of mesh tally %d names no energy bin.", lineNo,
                                     m_Tally.m_Number));
            if (e != m_Choice.m_Energy) return ERow::OtherBin;
        }
        if (m_Tally.m_TimeColumn >= 0)
        {
            const int b = m_Time.Bin(m_Tokens[m_Tally.m_TimeColumn]);
            if (b < 0)
                return Broken(Format("Line %llu of mesh tally %d names no time bin.", lineNo,
                                     m_Tally.m_Number));
            if (b != m_Choice.m_Time) return ERow::OtherBin;
        }
        if (m_Tally.m_NuclideColumn >= 0 &&
            m_Tokens[m_Tally.m_NuclideColumn] != m_Tally.m_Nuclides[m_Choice.m_Nuclide])
            return ERow::OtherBin;
        return ERow::Cell;
    }

    // Both numbers must read, whichever is shown: a row half unreadable is a broken row.
    ERow ReadValue(unsigned long long lineNo, double& value)
    {
        double values[2] = {0, 0};
        for (int v = 0; v < 2; ++v)
        {
            const std::string_view token =
                m_Tokens[v ? m_Tally.m_ErrorColumn : m_Tally.m_ResultColumn];
            if (!ParseNumber(token, values[v]))
                return Broken(Format("Line %llu of mesh tally %d: the value \"%s\" cannot be "
                                     "read.",
                                     lineNo, m_Tally.m_Number, std::string(token).c_str()));
        }
        value = values[m_Choice.m_Errors ? 1 : 0];
        return ERow::Cell;
    }

    const CMeshtalTally& m_Tally;
    const CMeshtalChoice& m_Choice;
    CCoordinateMatcher m_Coordinates[3];
    CBinMatcher m_Energy, m_Time;
    std::array<std::string_view, MaxColumns> m_Tokens;
    std::string m_Error;
};
// Which cells of the bin have their value; a cell given twice is an error.
class CCellSet
{
public:
    explicit CCellSet(const CMeshtalTally& tally)
        : m_Tally(tally), m_Seen(static_cast<size_t>(tally.Cells()), false)
    {
    }
    bool Add(const int (&index)[3])
    {
        const size_t cell =
            (size_t(index[0]) * m_Tally.Bins(1) + size_t(index[1])) * m_Tally.Bins(2) + index[2];
        if (m_Seen[cell]) return false;
        m_Seen[cell] = true;
        ++m_Count;
        return true;
    }
    // False (with the message) when cells are left without a value.
    bool Complete(std::string& error) const
    {
        if (m_Count == m_Tally.Cells()) return true;
        error = Format("Mesh tally %d gives %lld of the %lld cells of the bin.", m_Tally.m_Number,
                       static_cast<long long>(m_Count), static_cast<long long>(m_Tally.Cells()));
        return false;
    }

private:
    const CMeshtalTally& m_Tally;
    std::vector<bool> m_Seen;
    std::int64_t m_Count = 0;
};

// The pages of a tally in the matrix layout, line by line: the energy, time and group bin a page
// is of, then its results and its relative errors, each a header of "across" centres followed by
// one row per "down" bin (its centre and the values). Every value of every page must read; the
// chosen page and block are stored.
class CMatrixReader
{
public:
    CMatrixReader(const CMeshtalTally& tally, const CMeshtalChoice& choice,
                  const CMeshtalReader::StoreFn& store)
        : m_Tally(tally), m_Choice(choice), m_Store(store),
          m_Cells(tally), m_Energy{tally.m_Energy, tally.m_EnergyTotal, tally.EnergyBins()},
          m_Time{tally.m_Time, tally.m_TimeTotal, tally.TimeBins()}
    {
    }

    bool Line(std::string_view t, unsigned long long lineNo)
    {
        m_LineNo = lineNo;
        std::string_view word, rest;
        if (t.empty()) return EndBlock();
        if (IsEnergyLabel(t)) return EndBlock() && ReadLabel(t, m_Energy, m_EnergyBin, "energy");
        if (IsTimeLabel(t)) return EndBlock() && ReadLabel(t, m_Time, m_TimeBin, "time");
        if (GroupLine(t, word, rest)) return EndBlock() && ReadGroup(word, rest);
        if (StartsWith(t, "Tally Results:")) return EndBlock() && StartBlock(false);
        if (StartsWith(t, "Relative Errors")) return EndBlock() && StartBlock(true);
        if (m_Part == EPart::Header) return ReadHeader(t);
        if (m_Part == EPart::Rows) return ReadRow(t);
        return Broken("is not understood");
    }

    bool Finish() { return EndBlock() && m_Cells.Complete(m_Error); }
    const std::string& Error() const { return m_Error; }

private:
    enum class EPart
    {
        None,
        Header,
        Rows
    };

    bool Broken(const char* what)
    {
        m_Error = Format("Line %llu of mesh tally %d %s.", m_LineNo, m_Tally.m_Number, what);
        return false;
    }

    // A block ends with every row of its down axis, and the errors follow the results.
    bool EndBlock()
    {
        if (m_Part == EPart::Header) return Broken("ends a block before its column centres");
        if (m_Part == EPart::Rows && m_RowsRead != m_Tally.Bins(m_Tally.m_Down))
            return Broken("ends a block before all its rows");
        m_Part = EPart::None;
        return true;
    }

    // "Energy Bin: 1.00E-01 - 1.00E+00 MeV", or one naming "Total".
    bool ReadLabel(std::string_view t, CBinMatcher& matcher, int& bin, const char* what)
    {
        std::string_view token = "Total";
        if (t.find("Total") == std::string_view::npos)
        {
            const size_t dash = t.find(" - ");
            token = dash == std::string_view::npos ? std::string_view() : t.substr(dash + 3);
            ForEachToken(token,
                         [&](std::string_view first)
                         {
                             token = first;
                             return false;
                         });
        }
        bin = matcher.Bin(token);
        if (bin < 0) return Broken(Format("names no %s bin", what).c_str());
        m_Block = EBlock::None;
        return true;
    }

    // "Z bin: -10.00  -   0.00": the bin of the page's group axis holds the middle of the two.
    bool ReadGroup(std::string_view word, std::string_view rest)
    {
        double lo = 0, hi = 0;
        int count = 0;
        ForEachToken(rest,
                     [&](std::string_view token)
                     {
                         const bool ok =
                             count == 1 ? token == "-" : ParseNumber(token, count ? hi : lo);
                         return ok && ++count < 3;
                     });
        if (count != 3 || AxisOfWord(m_Tally.m_Kind, word) != m_Tally.Group())
            return Broken("names no bin of the axis the pages are of");
        m_GroupBin = BinOf(m_Tally.m_Bounds[m_Tally.Group()], (lo + hi) / 2);
        if (m_GroupBin < 0) return Broken("names no bin of the axis the pages are of");
        m_Block = EBlock::None;
        return true;
    }

    bool StartBlock(bool errors)
    {
        if (m_GroupBin < 0) return Broken("starts a page before naming its bin");
        if (errors != (m_Block == EBlock::Results))
            return Broken(errors ? "gives relative errors without results before them"
                                 : "gives a second block of results for one page");
        m_Block = errors ? EBlock::Errors : EBlock::Results;
        m_Part = EPart::Header;
        return true;
    }

    bool ReadHeader(std::string_view t)
    {
        const std::vector<double>& bounds = m_Tally.m_Bounds[m_Tally.m_Across];
        m_AcrossBins.clear();
        bool ok = ForEachToken(t,
                               [&](std::string_view token)
                               {
                                   double c = 0;
                                   const int bin = ParseNumber(token, c) ? BinOf(bounds, c) : -1;
                                   m_AcrossBins.push_back(bin);
                                   return bin >= 0 && m_AcrossBins.size() <= bounds.size();
                               });
        if (!ok || static_cast<int>(m_AcrossBins.size()) != m_Tally.Bins(m_Tally.m_Across))
            return Broken("does not give the centres of the columns");
        m_Part = EPart::Rows;
        m_RowsRead = 0;
        return true;
    }

    bool ReadRow(std::string_view t)
    {
        const int across = m_Tally.m_Across, down = m_Tally.m_Down;
        if (m_RowsRead == m_Tally.Bins(down)) return Broken("is a row too many");
        const bool chosen = m_EnergyBin == m_Choice.m_Energy && m_TimeBin == m_Choice.m_Time &&
                            m_Choice.m_Errors == (m_Block == EBlock::Errors);
        int index[3] = {0, 0, 0};
        index[m_Tally.Group()] = m_GroupBin;
        int column = -1;
        const char* problem = nullptr;
        ForEachToken(t,
                     [&](std::string_view token)
                     {
                         double v = 0;
                         if (!ParseNumber(token, v))
                             problem = "holds a value that cannot be read";
                         else if (column < 0)
                             problem = (index[down] = BinOf(m_Tally.m_Bounds[down], v)) < 0
                                           ? "starts with a coordinate in no bin"
                                           : nullptr;
                         else if (column >= static_cast<int>(m_AcrossBins.size()))
                             problem = "has more values than the columns";
                         else if (chosen)
                         {
                             index[across] = m_AcrossBins[static_cast<size_t>(column)];
                             if (!m_Cells.Add(index))
                                 problem = "repeats a cell of the bin";
                             else
                                 m_Store(index[0], index[1], index[2], v);
                         }
                         ++column;
                         return problem == nullptr;
                     });
        if (problem) return Broken(problem);
        if (column != static_cast<int>(m_AcrossBins.size()))
            return Broken("has fewer values than the columns");
        ++m_RowsRead;
        return true;
    }

    enum class EBlock
    {
        None,
        Results,
        Errors
    };

    const CMeshtalTally& m_Tally;
    const CMeshtalChoice& m_Choice;
    const CMeshtalReader::StoreFn& m_Store;
    CCellSet m_Cells;
    CBinMatcher m_Energy, m_Time;
    int m_EnergyBin = 0, m_TimeBin = 0, m_GroupBin = -1;
    EBlock m_Block = EBlock::None;
    EPart m_Part = EPart::None;
    int m_RowsRead = 0;
    std::vector<int> m_AcrossBins;
    unsigned long long m_LineNo = 0;
    std::string m_Error;
};
// Calls read(line, line number) for each of the tally's lines (rows, or lines of its pages).
template <class Read>
bool ForEachTallyLine(const std::string& path, const CMeshtalTally& tally,
                      const CMeshtalReader::ProgressFn& progress, std::string& error, Read&& read)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.seekg(static_cast<std::streamoff>(tally.m_DataOffset)))
    {
        error = "The file " + path + " cannot be read again.";
        return false;
    }
    CLineReader reader(in);
    const std::uint64_t step = std::max<std::uint64_t>(tally.m_Rows / 100, 1);
    std::string_view line;
    for (std::uint64_t row = 0; row < tally.m_Rows; ++row)
    {
        const unsigned long long lineNo = tally.m_FirstRowLine + row;
        if (!reader.Next(line))
        {
            error =
                Format("Line %llu: the file ends inside mesh tally %d.", lineNo, tally.m_Number);
            return false;
        }
        if (!read(line, lineNo)) return false;
        if (row % step == 0) progress(static_cast<int>(row * 100 / tally.m_Rows));
    }
    progress(100);
    return true;
}

} // namespace

bool CMeshtalReader::ReadBin(const CMeshtalChoice& choice, const StoreFn& store,
                             const ProgressFn& progress)
{
    if (choice.m_Tally < 0 || choice.m_Tally >= static_cast<int>(m_Tallies.size()))
        return Fail("There is no such mesh tally in the file.");
    const CMeshtalTally& tally = m_Tallies[choice.m_Tally];
    if (choice.m_Energy < 0 || choice.m_Energy >= tally.EnergyChoices() || choice.m_Time < 0 ||
        choice.m_Time >= tally.TimeChoices() || choice.m_Nuclide < 0 ||
        choice.m_Nuclide >= tally.NuclideChoices())
        return Fail(
            Format("Mesh tally %d has no such energy, time or nuclide bin.", tally.m_Number));
    return tally.m_Matrix ? ReadMatrix(tally, choice, store, progress)
                          : ReadColumns(tally, choice, store, progress);
}

bool CMeshtalReader::ReadColumns(const CMeshtalTally& tally, const CMeshtalChoice& choice,
                                 const StoreFn& store, const ProgressFn& progress)
{
    CRowReader rows(tally, choice);
    CCellSet cells(tally);
    const auto read = [&](std::string_view line, unsigned long long lineNo)
    {
        int index[3] = {0, 0, 0};
        double value = 0;
        const CRowReader::ERow row = rows.Read(line, lineNo, index, value);
        if (row == CRowReader::ERow::Broken) return Fail(rows.Error());
        if (row == CRowReader::ERow::OtherBin) return true;
        if (!cells.Add(index))
            return Fail(Format("Line %llu of mesh tally %d repeats a cell of the bin.", lineNo,
                               tally.m_Number));
        store(index[0], index[1], index[2], value);
        return true;
    };
    return ForEachTallyLine(m_Path, tally, progress, m_Error, read) && cells.Complete(m_Error);
}

bool CMeshtalReader::ReadMatrix(const CMeshtalTally& tally, const CMeshtalChoice& choice,
                                const StoreFn& store, const ProgressFn& progress)
{
    CMatrixReader pages(tally, choice, store);
    const auto read = [&](std::string_view line, unsigned long long lineNo)
    { return pages.Line(TrimBlanks(line), lineNo) || Fail(pages.Error()); };
    return ForEachTallyLine(m_Path, tally, progress, m_Error, read) &&
           (pages.Finish() || Fail(pages.Error()));
}
} // namespace volumira3d
