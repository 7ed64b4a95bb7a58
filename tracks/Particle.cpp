#include "tracks/Particle.h"

#include "common/ColorTable.h"
#include "common/LineReader.h"
#include "common/NumberScan.h"
#include "common/VrmlLineBlock.h"
#include "common/VrmlNumbers.h"
#include "tracks/TrackText.h"

#include <cmath>
#include <limits>

namespace trakor3d
{
namespace
{
constexpr CSeparators BlockSeparators(" \t;,:");
constexpr std::string_view CommentChars = "#$*&/";
constexpr CVrmlBlockStyle VrmlStyle{3, 1, 2, true, "color ["};

bool IsEndLine(std::string_view line)
{
    // Every end marker holds a "d" or a "D": most point lines have neither.
    if (line.find('d') == std::string_view::npos && line.find('D') == std::string_view::npos)
        return false;
    for (std::string_view end : {"EndParticle", "END PARTICLE", "end particle", "END\tPARTICLE",
                                 "end\tparticle", "END-PARTICLE", "end-particle"})
        if (Contains(line, end)) return true;
    return false;
}
// The view draws in single precision: a coordinate beyond a float's range (or not a number)
// would make the view box and the VRML export useless.
bool Drawable(const CSegment& point)
{
    constexpr double Largest = std::numeric_limits<float>::max();
    for (double v : {point.x, point.y, point.z})
        if (!(std::abs(v) <= Largest)) return false;
    return std::isfinite(point.t);
}
} // namespace

void CParticle::AddPoint(const CSegment& point)
{
    m_Points.push_back(point);
    m_Lower = CVector::Min(m_Lower, point);
    m_Upper = CVector::Max(m_Upper, point);
}

void CParticle::Read(CLineReader& in, std::ostream& err)
{
    m_Energy = NoEnergy;
    m_Radius = 1.0;
    m_Type = NoType;
    m_Points.clear();
    m_Refused = 0;
    std::string_view line;
    std::vector<std::string_view> tokens;
    while (in.Next(line))
    {
        if (IsEndLine(line) || in.HadNul()) // binary data ends the block; the caller reports it
            break;
        if (ReadPointLine(line, err)) continue;
        SplitTokens(line, BlockSeparators, tokens);
        if (tokens.empty() || ContainsAny(tokens[0], CommentChars)) continue;
        ReadLine(tokens, err);
    }
    if (m_Type < 0 && m_Type != NoType) m_Type = -m_Type + 64;
    if (m_Energy == NoEnergy)
        err << "ERROR: Missing energy specifier. Value set to -1 so that particle is ignored!\n";
    if (m_Type == NoType) err << "ERROR: Missing type specifier. Value set to -1!\n";
}

void CParticle::TakeSegment(const CSegment& point, std::ostream& err)
{
    if (!Drawable(point))
    {
        err << "ERROR: Segment coordinate or time out of range! -> Segment ignored!\n";
        ++m_Refused;
        return;
    }
    AddPoint(point);
}

// The point line as the general way reads it, in one walk over the line with no token list: the
// bulk of a track file. False, having done nothing, for any other line and for a point line
// with fewer coordinates or a number the short scan does not take; the general way reads those.
bool CParticle::ReadPointLine(std::string_view line, std::ostream& err)
{
    const size_t n = line.size();
    size_t i = 0;
    const auto skipSeparators = [&]
    {
        while (i < n && BlockSeparators(line[i]))
            ++i;
    };
    skipSeparators();
    if (i + 1 >= n || line[i] != 's' || !BlockSeparators(line[i + 1])) return false;
    ++i;
    double values[4];
    int count = 0;
    for (; count < 4; ++count)
    {
        skipSeparators();
        if (i == n) break;
        CNumberSpan span;
        // Separators end a number, so scanning the rest of the line stops where the token's
        // scan would.
        if (!ScanShortNumber(line.substr(i), EExponentLetter::EOrD, span, values[count]))
            return false;
        for (i += span.m_End; i < n && !BlockSeparators(line[i]); ++i)
        {
        }
    }
    if (count < 3) return false;
    TakeSegment({values[0], values[1], values[2], count == 4 ? values[3] : NextTime()}, err);
    return true;
}

void CParticle::ReadLine(const std::vector<std::string_view>& tokens, std::ostream& err)
{
    const std::string_view key = tokens[0];
    if (key == "s")
    {
        if (tokens.size() < 4)
        {
            err << "ERROR: Missing segment coordinate! -> Segment ignored!\n";
            return;
        }
        const double t = tokens.size() >= 5 ? ReadCoordinate(tokens[4]) : NextTime();
        TakeSegment(
            {ReadCoordinate(tokens[1]), ReadCoordinate(tokens[2]), ReadCoordinate(tokens[3]), t},
            err);
    }
    else if (key == "Energy" || key == "energy")
    {
        if (tokens.size() < 2)
            err << "ERROR: Missing energy value after specifier!\n";
        else
            m_Energy = ReadNumber(tokens[1]);
    }
    else if (key == "Radius" || key == "radius")
    {
        if (tokens.size() < 2)
            err << "ERROR: Missing radius value after specifier!\n";
        else
            m_Radius = ReadNumber(tokens[1]);
    }
    else if (key == "Type" || key == "type")
    {
        if (tokens.size() < 2)
            err << "ERROR: Missing type value after specifier!\n";
        else
            m_Type = ReadInteger(tokens[1]);
    }
    else
        err << "Warning: Unidentified keyword ignored!\n";
}

void CParticle::WriteIndent(std::ostream& os) const
{
    for (int i = 0; i < m_IndentLevel; ++i)
        os << "  ";
}

void CParticle::WriteLine(std::ostream& os, const std::string& line, int mode)
{
    if (mode == 1)
        ++m_IndentLevel;
    else if (mode == 2)
        --m_IndentLevel;
    WriteIndent(os);
    os << line << '\n';
}

void CParticle::WriteVRML(std::ostream& os)
{
    if (m_Points.size() < 2) return;
    const CVector color =
        CColorTable::ValidIndex(m_Type) ? CColorTable::Instance().Get(m_Type) : CVector();
    const std::string colorTriple = VrmlTriple(color);
    const VrmlLineWriter writeLine = [&](const std::string& line, int mode)
    { WriteLine(os, line, mode); };
    for (size_t i = 0; i + 1 < m_Points.size(); ++i)
    {
        m_IndentLevel = 0; // every block starts at the left margin
        WriteVrmlLineBlock(VrmlTriple(m_Points[i]), VrmlTriple(m_Points[i + 1]), colorTriple,
                           VrmlStyle, writeLine);
    }
}
} // namespace trakor3d
