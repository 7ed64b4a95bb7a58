#include "tracks/ParticleDataReader.h"

#include "common/LineReader.h"
#include "common/ParticleNames.h"
#include "platform/Controls.h"
#include "platform/UiServices.h"
#include "tracks/TrackText.h"

#include <fstream>
#include <iostream>
#include <map>

namespace trakor3d
{
namespace
{
constexpr CSeparators GroupSeparators(" ,\t;:");
constexpr std::string_view CommentChars = "#$/&*";
constexpr int MaxBoxesPerKind = 20;

bool IsGroupLine(std::string_view line)
{
    for (std::string_view key : {"EnergyGroup_Tot", "energygroup_tot", "ENERGYGROUP_TOT",
                                 "EnergyGroup_Kin", "energygroup_kin", "ENERGYGROUP_KIN"})
        if (Contains(line, key)) return true;
    return false;
}

bool IsParticleLine(std::string_view line)
{
    return Contains(line, "Particle") || Contains(line, "particle") || Contains(line, "PARTICLE");
}

std::string_view LeftTrimSpaces(std::string_view line)
{
    const size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}
} // namespace

// One run of ReadFile: the line count, the progress bar and the message boxes it shows.
class CParticleDataReader::CLoad
{
public:
    CLoad(CParticleDataReader& store, CLineReader& in, CProgressCtrl* pProgress)
        : m_Store(store), m_In(in), m_pProgress(pProgress)
    {
    }
    bool Run();
    void ReportSuppressed();

private:
    bool ReadGroup(std::string_view line);
    void ReadParticle();
    void Step();
    bool RefuseBinary();
    // An information box; past MaxBoxesPerKind boxes of one kind they are only counted, so that
    // a file of garbage cannot bury the user in boxes.
    void Box(int kind, const std::string& text);

    CParticleDataReader& m_Store;
    CLineReader& m_In;
    CProgressCtrl* m_pProgress;
    CParticle m_Particle; // reused for every block, as the corners accumulate over the file
    int m_LineCount = 0;
    std::map<int, int> m_BoxCounts;
};

void CParticleDataReader::CLoad::Step()
{
    if (!m_pProgress) return;
    m_pProgress->StepIt();
    UiBackend().Refresh();
}

bool CParticleDataReader::CLoad::RefuseBinary()
{
    AfxMessageBox(
        Format("ERROR(%d): The file holds binary data and is not a track file!", m_LineCount),
        MB_ICONERROR);
    return false;
}

void CParticleDataReader::CLoad::Box(int kind, const std::string& text)
{
    if (++m_BoxCounts[kind] <= MaxBoxesPerKind) AfxMessageBox(text, MB_ICONINFORMATION);
}

void CParticleDataReader::CLoad::ReportSuppressed()
{
    int hidden = 0;
    for (const auto& [kind, count] : m_BoxCounts)
        hidden += std::max(0, count - MaxBoxesPerKind);
    if (hidden > 0)
        AfxMessageBox(Format("%d further warnings of the same kinds were not shown.", hidden),
                      MB_ICONINFORMATION);
}

bool CParticleDataReader::CLoad::ReadGroup(std::string_view line)
{
    std::vector<std::string_view> tokens;
    SplitTokens(line, GroupSeparators, tokens);
    if (tokens.size() < 3)
    {
        AfxMessageBox(Format("ERROR(%d): Not enough arguments given for EnergyGroup!", m_LineCount),
                      MB_ICONINFORMATION);
        return false;
    }
    CEnergyGroup group;
    group.m_Label = std::string(tokens[1]) + "__" + std::string(tokens[2]);
    group.m_Lower = ReadNumber(tokens[1]);
    group.m_Upper = ReadNumber(tokens[2]);
    m_Store.m_EnergyGroups.push_back(group);
    m_Store.m_Particles.emplace_back();
    Step();
    return true;
}

void CParticleDataReader::CLoad::ReadParticle()
{
    std::ostream& err = *m_Store.m_pErr;
    m_Particle.Read(m_In, err);
    m_LineCount += static_cast<int>(m_Particle.m_Points.size()) + 4;
    if (!particles::IsValidType(m_Particle.m_Type))
        err << "ERROR: Particle type " << m_Particle.m_Type
            << " has no entry in the particle table. Particle ignored!\n";
    else if (!m_Store.AddParticle(m_Particle))
        Box(1, Format("Warning (%d): Particle not added because it does not match the supplied "
                      "energy groups!",
                      m_LineCount));
    m_Store.m_LatestTime = std::max(m_Store.m_LatestTime, m_Particle.LastTime());
    m_Store.m_EarliestTime = std::min(m_Store.m_EarliestTime, m_Particle.FirstTime());
    m_Particle.m_Points.clear();
    Step();
}

bool CParticleDataReader::CLoad::Run()
{
    std::string_view raw;
    while (m_In.Next(raw))
    {
        ++m_LineCount;
        if (m_In.HadNul()) return RefuseBinary();
        if (m_In.Truncated())
            *m_Store.m_pErr << "Warning (" << m_LineCount << "): Line longer than "
                            << m_In.MaxLine() << " characters cut off!\n";
        const std::string line(LeftTrimSpaces(raw)); // the block read below reuses the buffer
        if (ContainsAny(line, CommentChars) || line.empty() || line == "\t\t\t\t") continue;
        if (IsGroupLine(line))
        {
            if (!ReadGroup(line)) return false;
        }
        else if (IsParticleLine(line))
        {
            ReadParticle();
            if (m_In.HadNul()) return RefuseBinary();
        }
        else
            Box(0, Format("Warning ( %d): Unknown identifier!", m_LineCount - 1));
    }
    m_Store.m_TMax = m_Store.m_LatestTime;
    m_Store.m_TimeStep = m_Store.m_LatestTime / 100;
    m_Store.m_T0 = m_Store.m_EarliestTime;
    return true;
}

CParticleDataReader::CParticleDataReader() : m_pErr(&std::cerr) {}

bool CParticleDataReader::ReadFile(const std::string& fileName, CProgressCtrl* pProgress)
{
    if (fileName.empty())
    {
        AfxMessageBox("ERROR: No filename specified!", MB_ICONERROR);
        return false;
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return false;
    return ReadStream(file, pProgress);
}

bool CParticleDataReader::ReadStream(std::istream& in, CProgressCtrl* pProgress)
{
    if (pProgress) pProgress->SetRange32(1, 5000);
    CLineReader lines(in);
    CLoad load(*this, lines, pProgress);
    const bool ok = load.Run();
    load.ReportSuppressed();
    if (pProgress) pProgress->SetPos(0);
    return ok;
}

bool CParticleDataReader::AddParticle(const CParticle& particle)
{
    if (!particles::IsValidType(particle.m_Type)) return false;
    for (size_t g = 0; g < m_EnergyGroups.size(); ++g)
    {
        if (!m_EnergyGroups[g].Holds(particle.m_Energy)) continue;
        m_Particles[g].emplace(particle.m_Type, particle);
        m_Lower = CVector::Min(m_Lower, particle.m_Lower);
        m_Upper = CVector::Max(m_Upper, particle.m_Upper);
        return true;
    }
    return false;
}

void CParticleDataReader::Clear()
{
    m_Particles.clear();
    m_EnergyGroups.clear();
    m_Lower = {1e15, 1e15, 1e15};
    m_Upper = {-1e15, -1e15, -1e15};
    m_EarliestTime = m_LatestTime = 0;
    m_T0 = m_TMax = m_TimeStep = m_CurrentTime = 0;
    m_NrTimeSteps = 100;
}

void CParticleDataReader::SetTransparency(double transparency)
{
    for (auto& group : m_Particles)
        for (auto& [type, particle] : group)
            particle.m_Transparency = transparency;
}

std::ostream& CParticleDataReader::ExportVRML(std::ostream& os)
{
    for (auto& group : m_Particles)
        for (auto& [type, particle] : group)
            particle.WriteVRML(os);
    return os;
}
} // namespace trakor3d
