#include "cloud/MCNPXReader.h"

#include "cloud/ParticleTypes.h"
#include "common/LineReader.h"
#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

#include <fstream>

namespace nebulo3d
{
namespace
{
constexpr CSeparators TableSeparators(" \t,;");
constexpr double SecondsPerShake = 1e-8; // the table's time unit
constexpr size_t RowFields = 12;         // nps and eleven numbers; a symbol column adds one

bool Contains(std::string_view line, std::string_view text)
{
    return line.find(text) != std::string_view::npos;
}

bool IsColumnHeader(std::string_view line)
{
    return Contains(line, "nps    x") || Contains(line, "nps par");
}

// The table goes on over page breaks (its page header repeats) and around what an MPI run
// interleaves; another table or the summary ends it.
bool EndsTable(std::string_view line)
{
    const size_t printed = line.find("print table");
    if (printed != std::string_view::npos) return !Contains(line.substr(printed), "table 110");
    return Contains(line, "problem summary");
}

// Finds the line naming the table; false at the end of the input.
bool SeekTable(CLineReader& lines, long& lineNo)
{
    std::string_view line;
    while (lines.Next(line))
    {
        ++lineNo;
        if (Contains(line, "print table 110")) return true;
    }
    return false;
}

bool IsInteger(std::string_view field)
{
    long long n = 0;
    return ReadIntegerField(field, n) == EFieldProblem::None;
}

// Starts with an nps count and holds several fields: a row, read right or reported.
bool LooksLikeRow(const std::vector<std::string_view>& f)
{
    return f.size() >= 6 && IsInteger(f[0]);
}

// The particle of a row, or the reason it is none.
std::unique_ptr<CParticle> TableParticle(const std::vector<std::string_view>& f, std::string& why)
{
    const size_t s = f.size() == RowFields + 1 ? 1 : 0;
    if (f.size() != RowFields + s)
    {
        why = std::to_string(f.size()) + " fields, not 12 or 13";
        return nullptr;
    }
    double v[RowFields - 1];
    for (size_t i = 0; i < RowFields - 1; ++i)
    {
        const std::optional<double> read = CheckedNumber(f[1 + s + i], why);
        if (!read) return nullptr;
        v[i] = *read;
    }
    auto p = std::make_unique<CParticle>();
    p->m_Type = s ? McnpxSymbolType(f[1]) : 8;
    p->m_Position = {v[0], v[1], v[2]};
    p->m_Direction = {v[5], v[6], v[7]};
    p->m_Energy = v[8];
    p->m_Weight = v[9];
    p->m_Time = v[10] * SecondsPerShake;
    p->m_Visible = true;
    p->m_ExtentMin = p->m_Position;
    p->m_ExtentMax = p->m_Position + p->m_Direction;
    return p;
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
    long unknown = 0, otherLines = 0;
    bool afterHeader = false;
    while (lines.Next(line))
    {
        ++lineNo;
        const bool skipHeaderFollower = afterHeader; // the line after the header is not data
        afterHeader = false;
        if (EndsTable(line)) break;
        if (IsColumnHeader(line))
        {
            afterHeader = true;
            continue;
        }
        SplitTokens(line, TableSeparators, f);
        if (f.empty() || skipHeaderFollower) continue;
        std::string why;
        std::unique_ptr<CParticle> p = TableParticle(f, why);
        if (!p)
        {
            if (LooksLikeRow(f))
                Warn("line " + std::to_string(lineNo) + ": the row was skipped: " + why);
            else if (!Contains(line, "print table 110"))
                ++otherLines;
            continue;
        }
        m_ExtentMin = CVector::Min(m_ExtentMin, p->m_Position);
        m_ExtentMax = CVector::Max(m_ExtentMax, p->m_ExtentMax);
        if (p->m_Type == NoType) ++unknown;
        Add(std::move(p));
        progress.Update(lines.BytesRead());
    }
    if (Count() == 0 && unknown == 0 && Warnings().empty())
    {
        // A header without a single row is no table either.
        AfxMessageBox("ERROR: Table 110 was not found in the file!", MB_ICONERROR);
        return false;
    }
    if (unknown > 0)
        Warn(std::to_string(unknown) + " table rows with an unknown particle symbol were skipped");
    if (otherLines > 0)
        Note(std::to_string(otherLines) + " lines of other output inside the table (MPI messages, "
                                          "page headers) were passed over");
    m_Loaded = true;
    return true;
}
} // namespace nebulo3d
