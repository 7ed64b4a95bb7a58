#include "tracks/ParticleDataReader.h"

#include "common/LineReader.h"
#include "common/MappedFile.h"
#include "common/ParticleNames.h"
#include "platform/Controls.h"
#include "platform/UiServices.h"
#include "tracks/TrackChunk.h"
#include "tracks/TrackText.h"

#include <omp.h>

#include <iostream>
#include <iterator>
#include <map>

namespace trakor3d
{
namespace
{
constexpr CSeparators GroupSeparators(" ,\t;:");
constexpr int MaxBoxesPerKind = 20;
} // namespace

// One run of ReadFile: the line count, the progress bar and the message boxes it shows. The
// text is read in windows of one piece per thread; the pieces are taken in file order.
class CParticleDataReader::CLoad
{
public:
    CLoad(CParticleDataReader& store, CProgressCtrl* pProgress)
        : m_Store(store), m_pProgress(pProgress)
    {
    }
    bool Run(std::string_view text, size_t pieceBytes);
    void ReportSuppressed();

private:
    // Takes what a piece held; false when reading stops (binary data, a bad group line).
    bool Take(CTrackChunk& chunk);
    bool TakeEvent(const CTrackEvent& event, CTrackChunk& chunk);
    bool ReadGroup(std::string_view line);
    void TakeParticle(CParticle particle);
    void Step();
    bool RefuseBinary();
    // An information box; past MaxBoxesPerKind boxes of one kind they are only counted, so that
    // a file of garbage cannot bury the user in boxes.
    void Box(int kind, const std::string& text);

    CParticleDataReader& m_Store;
    CProgressCtrl* m_pProgress;
    // The corners of all blocks so far: every particle carries them, as one particle object
    // read block after block would.
    CVector m_Lower{1e15, 1e15, 1e15};
    CVector m_Upper{-1e15, -1e15, -1e15};
    int m_LineCount = 0;
    std::map<int, int> m_BoxCounts;
    std::vector<CTrackChunk> m_Chunks;
    CTrackChunk m_Again; // a piece read again from a block left open on
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

void CParticleDataReader::CLoad::TakeParticle(CParticle particle)
{
    std::ostream& err = *m_Store.m_pErr;
    m_Store.m_RefusedPoints += particle.m_Refused;
    m_Lower = CVector::Min(m_Lower, particle.m_Lower);
    m_Upper = CVector::Max(m_Upper, particle.m_Upper);
    particle.m_Lower = m_Lower;
    particle.m_Upper = m_Upper;
    m_Store.m_LatestTime = std::max(m_Store.m_LatestTime, particle.LastTime());
    m_Store.m_EarliestTime = std::min(m_Store.m_EarliestTime, particle.FirstTime());
    if (!particles::IsValidType(particle.m_Type))
        err << "ERROR: Particle type " << particle.m_Type
            << " has no entry in the particle table. Particle ignored!\n";
    else if (!m_Store.AddParticle(std::move(particle)))
        Box(1, Format("Warning (%d): Particle not added because it does not match the supplied "
                      "energy groups!",
                      m_LineCount));
    Step();
}

bool CParticleDataReader::CLoad::TakeEvent(const CTrackEvent& event, CTrackChunk& chunk)
{
    using EKind = CTrackEvent::EKind;
    const int base = m_LineCount;
    m_LineCount += event.m_Line;
    bool goOn = true;
    switch (event.m_Kind)
    {
    case EKind::Binary:
        goOn = RefuseBinary();
        break;
    case EKind::Truncated:
        *m_Store.m_pErr << "Warning (" << m_LineCount << "): Line longer than "
                        << CLineReader::DefaultMaxLine << " characters cut off!\n";
        break;
    case EKind::Group:
        goOn = ReadGroup(event.m_Text);
        break;
    case EKind::Particle:
        *m_Store.m_pErr << event.m_Text;
        TakeParticle(std::move(chunk.m_Particles[event.m_Particle]));
        break;
    case EKind::Unknown:
        Box(0, Format("Warning ( %d): Unknown identifier!", m_LineCount - 1));
        break;
    }
    m_LineCount = base;
    return goOn;
}

bool CParticleDataReader::CLoad::Take(CTrackChunk& chunk)
{
    for (const CTrackEvent& event : chunk.m_Events)
        if (!TakeEvent(event, chunk)) return false;
    m_LineCount += chunk.m_Lines;
    return true;
}

bool CParticleDataReader::CLoad::Run(std::string_view text, size_t pieceBytes)
{
    size_t pos = 0;
    pieceBytes = std::max<size_t>(pieceBytes, 1);
    while (pos < text.size())
    {
        const int threads = std::max(1, omp_get_max_threads());
        // Piece ends lie at lines that may begin a block, the last one at the window's end.
        std::vector<size_t> ends(static_cast<size_t>(threads) + 1, pos);
        for (int t = 1; t <= threads; ++t)
            ends[size_t(t)] = NextTrackCut(text, ends[size_t(t - 1)] + pieceBytes);
        m_Chunks.resize(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
        for (int t = 0; t < threads; ++t)
            ReadTrackChunk(text.substr(ends[size_t(t)], ends[size_t(t) + 1] - ends[size_t(t)]),
                           ends[size_t(t) + 1] == text.size(), CLineReader::DefaultMaxLine,
                           m_Chunks[size_t(t)]);
        size_t openAt = CTrackChunk::NoPlace;
        for (size_t p = 0; p < m_Chunks.size(); ++p)
        {
            CTrackChunk* chunk = &m_Chunks[p];
            size_t start = ends[p];
            // A block left open by the piece before goes on in this one.
            if (openAt != CTrackChunk::NoPlace)
            {
                start = openAt;
                ReadTrackChunk(text.substr(start, ends[p + 1] - start), ends[p + 1] == text.size(),
                               CLineReader::DefaultMaxLine, m_Again);
                chunk = &m_Again;
            }
            if (!Take(*chunk)) return false;
            openAt = chunk->m_OpenAt == CTrackChunk::NoPlace ? CTrackChunk::NoPlace
                                                             : start + chunk->m_OpenAt;
        }
        const size_t next = openAt == CTrackChunk::NoPlace ? ends.back() : openAt;
        // A block longer than the whole window: wider windows until it fits.
        if (next == pos) pieceBytes *= 2;
        pos = next;
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
    CMappedFile file;
    if (!file.Open(fileName)) return false;
    return ReadText(file.Text(), pProgress);
}

bool CParticleDataReader::ReadStream(std::istream& in, CProgressCtrl* pProgress)
{
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ReadText(text, pProgress);
}

bool CParticleDataReader::ReadText(std::string_view text, CProgressCtrl* pProgress,
                                   size_t pieceBytes)
{
    if (pProgress) pProgress->SetRange32(1, 5000);
    CLoad load(*this, pProgress);
    m_RefusedPoints = 0;
    const bool ok = load.Run(text, pieceBytes);
    load.ReportSuppressed();
    if (m_RefusedPoints > 0)
        AfxMessageBox(Format("%ld track points were left out: a coordinate or time is not a "
                             "finite number.",
                             m_RefusedPoints),
                      MB_ICONWARNING);
    if (pProgress) pProgress->SetPos(0);
    return ok;
}

bool CParticleDataReader::AddParticle(CParticle particle)
{
    if (!particles::IsValidType(particle.m_Type)) return false;
    for (size_t g = 0; g < m_EnergyGroups.size(); ++g)
    {
        if (!m_EnergyGroups[g].Holds(particle.m_Energy)) continue;
        m_Lower = CVector::Min(m_Lower, particle.m_Lower);
        m_Upper = CVector::Max(m_Upper, particle.m_Upper);
        // Moved, not copied: the points are the bulk of a loaded file.
        m_Particles[g].emplace(particle.m_Type, std::move(particle));
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
