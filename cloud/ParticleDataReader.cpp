#include "cloud/ParticleDataReader.h"

#include "cloud/ParticleTypes.h"
#include "common/FileSystem.h"
#include "common/LineReader.h"
#include "platform/Controls.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <fstream>
#include <iostream>

namespace nebulo3d
{
CLoadProgress::CLoadProgress(CProgressCtrl* pProgress, std::uint64_t total)
    : m_pProgress(pProgress), m_Total(std::max<std::uint64_t>(total, 1))
{
    if (m_pProgress) m_pProgress->SetRange32(1, 25000);
}

CLoadProgress::~CLoadProgress()
{
    if (m_pProgress) m_pProgress->SetPos(0);
}

void CLoadProgress::Update(std::uint64_t done)
{
    if (!m_pProgress || done < m_Next) return;
    m_Next = done + m_Total / 100 + 1;
    m_pProgress->SetPos(1 + static_cast<int>(std::min(done, m_Total) * 24999 / m_Total));
    UiBackend().Refresh();
}

CParticleDataReader::CParticleDataReader() = default;

CParticleDataReader::~CParticleDataReader() = default;

bool CParticleDataReader::OpenInput(const std::string& fileName, std::ifstream& in,
                                    std::uint64_t& size)
{
    if (fileName.empty())
    {
        AfxMessageBox("ERROR: No filename specified!", MB_ICONERROR);
        return false;
    }
    if (!RegularFileSize(fileName, size)) return false;
    in.open(fileName, std::ios::binary);
    return in.is_open();
}

bool CParticleDataReader::Read(const std::string& fileName, CProgressCtrl* pProgress)
{
    std::ifstream in;
    std::uint64_t size = 0;
    if (!OpenInput(fileName, in, size)) return false;
    return ReadOwnFormat(in, size, pProgress);
}

bool CParticleDataReader::ReadOwnFormat(std::istream& in, std::uint64_t size,
                                        CProgressCtrl* pProgress)
{
    m_Loaded = false;
    m_ExtentMin = {1e15, 1e15, 1e15};
    m_ExtentMax = {-1e15, -1e15, -1e15};
    CLoadProgress progress(pProgress, size);
    CLineReader lines(in);
    std::string_view line;
    long lineNo = 0;
    while (lines.Next(line))
    {
        ++lineNo;
        auto particle = std::make_unique<CParticle>();
        std::string problem;
        const CParticle::ELine kind = particle->ReadLine(line, problem);
        if (kind == CParticle::ELine::Corrupt)
        {
            AfxMessageBox("ERROR: File type not recognized or the information was corrupted!",
                          MB_ICONERROR);
            break;
        }
        if (kind == CParticle::ELine::Skipped) continue;
        if (kind == CParticle::ELine::Unreadable)
        {
            Warn("line " + std::to_string(lineNo) + ": particle not stored: " + problem);
            continue;
        }
        if (lines.Truncated()) Warn("line " + std::to_string(lineNo) + ": cut at its length bound");
        if (particle->m_Energy == -1)
            std::cerr << "ERROR: Missing energy specifier. Value set to -1 so that particle is "
                         "ignored!\n";
        if (particle->m_Type == NoType)
        {
            std::cerr << "ERROR: Missing type specifier. Value set to " << NoType << "!\n";
            Warn("line " + std::to_string(lineNo) + ": type -1000, particle not stored");
        }
        Add(std::move(particle));
        progress.Update(lines.BytesRead());
    }
    m_Loaded = true;
    return true;
}

void CParticleDataReader::Add(std::unique_ptr<CParticle> particle)
{
    if (!particle || particle->m_Type == NoType) return;
    CParticle& p = *particle;
    m_Types[p.m_Type] = true;
    m_ExtentMin = CVector::Min(m_ExtentMin, p.m_ExtentMin);
    m_ExtentMax = CVector::Max(m_ExtentMax, p.m_ExtentMax);
    m_MinEnergy = std::min(m_MinEnergy, p.m_Energy);
    m_MaxEnergy = std::max(m_MaxEnergy, p.m_Energy);
    m_MinWeight = std::min(m_MinWeight, p.m_Weight);
    m_MaxWeight = std::max(m_MaxWeight, p.m_Weight);
    m_Particles.emplace(p.m_Type, std::move(particle));
    Touch();
}

void CParticleDataReader::Clear()
{
    m_Particles.clear();
    m_Types.clear();
    m_Warnings.clear();
    m_Notes.clear();
    m_ExtentMin = {1e15, 1e15, 1e15};
    m_ExtentMax = {-1e15, -1e15, -1e15};
    m_MaxEnergy = m_MaxWeight = 1e-12;
    m_MinEnergy = m_MinWeight = 1e12;
    m_Loaded = false;
    Touch();
}

void CParticleDataReader::ExportVRML(std::ostream& os)
{
    for (auto& [type, particle] : m_Particles)
        particle->ExportVRML(os);
}

std::vector<int> CParticleDataReader::Types() const
{
    std::vector<int> types;
    for (const auto& [type, present] : m_Types)
        if (m_Particles.count(type)) types.push_back(type);
    std::sort(types.begin(), types.end());
    return types;
}

bool CParticleDataReader::TypeVisible(int type) const
{
    const auto it = m_Particles.find(type);
    return it != m_Particles.end() && it->second->m_Visible;
}

void CParticleDataReader::SetTypeVisible(int type, bool visible)
{
    auto [first, last] = m_Particles.equal_range(type);
    for (auto it = first; it != last; ++it)
        it->second->m_Visible = visible;
    Touch();
}

void CParticleDataReader::SetAllVisible(bool visible)
{
    for (auto& [type, particle] : m_Particles)
        particle->m_Visible = visible;
    Touch();
}

void CParticleDataReader::ScaleDirections(EDirectionScale scale)
{
    for (auto& [type, particle] : m_Particles)
    {
        CParticle& p = *particle;
        switch (scale)
        {
        case EDirectionScale::None:
            p.m_DirectionLength = 1.0;
            break;
        case EDirectionScale::Energy:
            p.m_DirectionLength = m_MaxEnergy != 0 ? p.m_Energy / m_MaxEnergy : 1.0;
            break;
        case EDirectionScale::Weight:
            p.m_DirectionLength = m_MaxWeight != 0 ? p.m_Weight / m_MaxWeight : 1.0;
            break;
        }
    }
    Touch();
}
} // namespace nebulo3d
