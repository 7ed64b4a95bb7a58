#include "cloud/MCNPXReader.h"

#include "cloud/FieldNumbers.h"
#include "cloud/ParticleTypes.h"
#include "common/LineReader.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <fstream>

namespace nebulo3d
{
namespace
{
constexpr CSeparators TableSeparators(" \t,;");
constexpr double SecondsPerShake = 1e-8; // the table's time unit

// Finds the table header; false at the end of the input.
bool SeekTable(CLineReader& lines, long& lineNo)
{
    std::string_view line;
    bool printed = false;
    while (lines.Next(line))
    {
        ++lineNo;
        if (!printed)
            printed = line.find("print table 110") != std::string_view::npos;
        else if (line.find("nps    x") != std::string_view::npos ||
                 line.find("nps par") != std::string_view::npos)
            return lines.Next(line) && ++lineNo; // the line after the header is not data
    }
    return false;
}

std::unique_ptr<CParticle> TableParticle(const std::vector<std::string_view>& f)
{
    const size_t s = f.size() >= 13 ? 1 : 0;
    auto p = std::make_unique<CParticle>();
    p->m_Type = s ? McnpxSymbolType(f[1]) : 8;
    p->m_Position = {FieldDouble(f[1 + s]), FieldDouble(f[2 + s]), FieldDouble(f[3 + s])};
    p->m_Direction = {FieldDouble(f[6 + s]), FieldDouble(f[7 + s]), FieldDouble(f[8 + s])};
    p->m_Energy = FieldDouble(f[9 + s]);
    p->m_Weight = FieldDouble(f[10 + s]);
    p->m_Time = FieldDouble(f[11 + s]) * SecondsPerShake;
    p->m_Visible = true;
    p->m_ExtentMin = p->m_Position;
    p->m_ExtentMax = p->m_Position + p->m_Direction;
    return p;
}

// A line that ends the table but looks like one of its rows (starts with an nps count and holds
// several numbers): a run-together number or an interruption, not the end of the data.
bool LooksLikeRow(const std::vector<std::string_view>& f)
{
    if (f.size() < 6) return false;
    for (char c : f[0])
        if (c < '0' || c > '9') return false;
    return true;
}
} // namespace

bool CMCNPXReader::Read(const std::string& fileName, CProgressCtrl* pProgress)
{
    std::ifstream in;
    std::uint64_t size = 0;
    if (!OpenInput(fileName, in, size)) return false;
    return ReadTable(in, size, pProgress);
}

bool CMCNPXReader::ReadTable(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress)
{
    m_Loaded = false;
    CLoadProgress progress(pProgress, size);
    m_ExtentMin = {1e12, 1e12, 1e12};
    m_ExtentMax = {1e-12, 1e-12, 1e-12};
    CLineReader lines(in);
    long lineNo = 0;
    if (!SeekTable(lines, lineNo))
    {
        AfxMessageBox("ERROR: Table 110 was not found in the file!", MB_ICONERROR);
        return false;
    }
    std::string_view line;
    std::vector<std::string_view> f;
    long unknown = 0;
    while (lines.Next(line))
    {
        ++lineNo;
        SplitTokens(line, TableSeparators, f);
        if (f.size() < 12)
        {
            if (LooksLikeRow(f))
                Warn("line " + std::to_string(lineNo) + ": the table ends at a row of only " +
                     std::to_string(f.size()) + " fields");
            break;
        }
        auto p = TableParticle(f);
        m_ExtentMin = CVector::Min(m_ExtentMin, p->m_Position);
        m_ExtentMax = CVector::Max(m_ExtentMax, p->m_Position + p->m_Direction);
        if (p->m_Type == NoType) ++unknown;
        Add(std::move(p));
        progress.Update(lines.BytesRead());
    }
    if (unknown > 0)
        Warn(std::to_string(unknown) + " table rows with an unknown particle symbol were skipped");
    m_Loaded = true;
    return true;
}
} // namespace nebulo3d
