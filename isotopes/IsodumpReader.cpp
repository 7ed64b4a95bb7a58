#include "isotopes/IsodumpReader.h"

#include "common/LineReader.h"
#include "common/NumberScan.h"
#include "common/Tokens.h"
#include "platform/UiServices.h"

namespace nuclira3d
{
namespace
{
constexpr CSeparators FactorSeparators(" \t,");
constexpr CSeparators NuclideSeparators(" ,;\t");

std::vector<std::string> OwnedTokens(std::string_view line, const CSeparators& separators)
{
    std::vector<std::string> tokens;
    for (std::string_view t : SplitTokens(line, separators))
        tokens.emplace_back(t);
    return tokens;
}

// One nuclide of a decay block's line: fields 4j+1 (Z), 4j+2 (A), 4j+4 (factor).
struct CNuclide
{
    int m_Z, m_A;
    double m_Factor;
};

// Nothing, with problem set, when a field of the nuclide is no number.
std::optional<CNuclide> NuclideAt(const std::vector<std::string>& fields, size_t j,
                                  std::string& problem)
{
    const std::optional<int> z = CheckedInteger(fields[4 * j + 1], problem);
    const std::optional<int> a = z ? CheckedInteger(fields[4 * j + 2], problem) : std::nullopt;
    const std::optional<double> f = a ? CheckedNumber(fields[4 * j + 4], problem) : std::nullopt;
    if (!f) return std::nullopt;
    return CNuclide{*z, *a, *f};
}
// A line of the record's block; a record line ends the block and is put back for the loop.
bool NextBlockLine(isodump::CRecordLines& lines, std::string_view& line)
{
    if (!lines.Next(line)) return false;
    if (!isodump::IsRecordLine(line)) return true;
    lines.PutBack();
    return false;
}
} // namespace

bool CIsodumpReader::OnRecord(const isodump::CRecord& record, int coolingTime,
                              isodump::CRecordLines& lines)
{
    auto emitter = std::make_unique<CIsotope>();
    emitter->m_Z = record.m_Z;
    emitter->m_A = record.m_A;
    emitter->m_Direction = {0, 0, 1};
    emitter->m_Visible = true;
    if (record.m_HasPosition)
    {
        emitter->m_Position = record.m_Position;
        emitter->m_Weight = record.m_Weight;
        const bool withFactors = record.m_Selector > 0;
        if (withFactors && record.IsKind1())
        {
            if (!ApplyFactorLine(record, coolingTime, lines, *emitter)) return true;
        }
        else
        {
            if (withFactors && !ApplyDecayBlock(record, coolingTime, lines, *emitter)) return true;
            emitter->m_Weight *= Factor(emitter->m_Z, emitter->m_A);
        }
        m_ExtentMin = CVector::Min(m_ExtentMin, emitter->m_Position);
        m_ExtentMax = CVector::Max(m_ExtentMax, emitter->m_Position + emitter->m_Direction);
    }
    return AddEmitter(std::move(emitter));
}

bool CIsodumpReader::ApplyFactorLine(const isodump::CRecord& record, int coolingTime,
                                     isodump::CRecordLines& lines, CIsotope& emitter)
{
    std::string_view line;
    if (!NextBlockLine(lines, line))
    {
        Warn(Format("line %ld: the factor line is missing; record skipped", record.m_LineNo));
        return false;
    }
    const auto fields = SplitTokens(line, FactorSeparators);
    if (static_cast<int>(fields.size()) < coolingTime)
    {
        Warn(Format("line %ld: the factor line has no factor for cooling time %d; record skipped",
                    lines.LineNo(), coolingTime));
        return false;
    }
    std::string problem;
    const std::optional<double> f =
        CheckedNumber(fields[static_cast<size_t>(coolingTime - 1)], problem);
    if (!f)
    {
        Warn(Format("line %ld: record skipped: its factor %s", lines.LineNo(), problem.c_str()));
        return false;
    }
    InsertFactor(emitter.m_Z, emitter.m_A, *f);
    emitter.m_Weight *= *f;
    return true;
}

bool CIsodumpReader::ApplyDecayBlock(const isodump::CRecord& record, int coolingTime,
                                     isodump::CRecordLines& lines, CIsotope& emitter)
{
    std::string_view line;
    if (!NextBlockLine(lines, line))
    {
        Warn(Format("line %ld: the decay block is missing; record skipped", record.m_LineNo));
        return false;
    }
    const std::vector<int> counts = isodump::LeadingIntegers(line);
    const int nonZero =
        static_cast<int>(std::count_if(counts.begin(), counts.end(), [](int c) { return c != 0; }));
    const std::optional<int> chosen = isodump::DecayLineIndex(counts, coolingTime);
    std::vector<std::string> fields;
    for (int n = 0; n < nonZero && NextBlockLine(lines, line); ++n)
        if (chosen && n == *chosen) fields = OwnedTokens(line, NuclideSeparators);
    if (!chosen) return true;
    const int count = counts[static_cast<size_t>(coolingTime - 1)];
    for (int j = 0; j < count; ++j)
    {
        while (fields.size() < 4 * static_cast<size_t>(j) + 5 && NextBlockLine(lines, line))
            for (std::string& t : OwnedTokens(line, NuclideSeparators))
                fields.push_back(std::move(t));
        if (fields.size() < 4 * static_cast<size_t>(j) + 5)
        {
            Warn(Format("line %ld: the decay block ends after %d of %d nuclides", record.m_LineNo,
                        j, count));
            return j > 0;
        }
        std::string problem;
        const std::optional<CNuclide> read = NuclideAt(fields, static_cast<size_t>(j), problem);
        if (!read)
        {
            Warn(Format("line %ld: the decay block stops at nuclide %d: %s", lines.LineNo(), j + 1,
                        problem.c_str()));
            return j > 0;
        }
        const CNuclide nuclide = *read;
        InsertFactor(nuclide.m_Z, nuclide.m_A, nuclide.m_Factor);
        if (j == 0)
        {
            emitter.m_Z = nuclide.m_Z;
            emitter.m_A = nuclide.m_A;
            continue;
        }
        auto copy = std::make_unique<CIsotope>();
        copy->m_Position = emitter.m_Position;
        copy->m_Direction = emitter.m_Direction;
        copy->m_Weight = record.m_Weight * nuclide.m_Factor;
        copy->m_Z = nuclide.m_Z;
        copy->m_A = nuclide.m_A;
        if (!AddEmitter(std::move(copy))) return false;
    }
    return true;
}

bool CIsodumpReader::AddEmitter(std::unique_ptr<CIsotope> emitter)
{
    if (Add(std::move(emitter))) return true;
    AfxMessageBox("Running out of memory while reading data. The rest of the data will be ignored",
                  MB_ICONERROR);
    return false;
}

} // namespace nuclira3d
