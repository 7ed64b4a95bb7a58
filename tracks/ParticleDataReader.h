// The track store: energy groups, the particles sorted into them by type, the extent of all
// tracks and the time-evolution state. Reads track files.
#pragma once
#include "tracks/EnergyGroup.h"
#include "tracks/Particle.h"

#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class CProgressCtrl;

namespace trakor3d
{
class CParticleDataReader
{
public:
    using ParticleMap = std::multimap<int, CParticle>;

    CParticleDataReader();
    virtual ~CParticleDataReader() = default;

    // Reads a track file into the store (adding to what is there). Message boxes for file-level
    // problems, the standard error stream (or SetErrorStream) for problems inside particle blocks.
    bool ReadFile(const std::string& fileName, CProgressCtrl* pProgress);
    bool ReadStream(std::istream& in, CProgressCtrl* pProgress);
    // Text bytes per thread that are parsed at once.
    static constexpr size_t DefaultPieceBytes = 1 << 22;
    // The same for the text of a whole file, parsed on every thread in pieces of about
    // pieceBytes that begin at particle blocks.
    bool ReadText(std::string_view text, CProgressCtrl* pProgress,
                  size_t pieceBytes = DefaultPieceBytes);
    // Puts the particle into the first group holding its energy; false when none does.
    bool AddParticle(CParticle particle);
    void Clear();
    void SetTransparency(double transparency);
    std::ostream& ExportVRML(std::ostream& os);
    void SetErrorStream(std::ostream& err) { m_pErr = &err; }

    std::vector<ParticleMap> m_Particles; // parallel to m_EnergyGroups
    std::vector<CEnergyGroup> m_EnergyGroups;
    CVector m_Lower{1e15, 1e15, 1e15};
    CVector m_Upper{-1e15, -1e15, -1e15};
    double m_EarliestTime = 0, m_LatestTime = 0;
    double m_T0 = 0, m_TMax = 0, m_TimeStep = 0, m_CurrentTime = 0;
    int m_NrTimeSteps = 100;
    bool m_ShowEvolution = false, m_FadeTracks = false;
    int m_FadeSteps = 25;

private:
    class CLoad;
    std::ostream* m_pErr;
    long m_RefusedPoints = 0; // of the last read
};
} // namespace trakor3d
