// Particles from an MCPL list (".mcpl", ".mcpl.gz") through the mcpl library: positions in cm,
// directions, kinetic energies converted from MeV to GeV, weights, times, and the PDG codes as
// the viewer's type numbers. Long lists can be thinned before they are read.
#pragma once
#include "cloud/ParticleDataReader.h"

#include <mcpl.h>

#include <functional>

namespace nebulo3d
{
struct CMcplHeader;

// Which particles of a list are read.
struct CMcplSampling
{
    enum class EMode
    {
        All,
        EveryNth,
        FirstN,
    };
    EMode m_Mode = EMode::All;
    std::uint64_t m_N = 10;

    // How many of count particles the choice reads.
    std::uint64_t Selected(std::uint64_t count) const;
};

// Lists longer than this ask how much of them to read.
constexpr std::uint64_t LargeMcplList = 10'000'000;

class CMcplReader : public CParticleDataReader
{
public:
    // Asked with the number of particles and the memory they would take when a list holds
    // more than LargeMcplList; false cancels the load. Without a question all are read.
    using SamplingQuestion =
        std::function<bool(std::uint64_t particles, double megabytes, CMcplSampling& sampling)>;
    void SetSamplingQuestion(SamplingQuestion question) { m_Question = std::move(question); }
    // Above how many particles the question is asked (LargeMcplList unless set).
    void SetLargeList(std::uint64_t particles) { m_LargeList = particles; }

    bool Read(const std::string& fileName, CProgressCtrl* pProgress) override;
    // The list's MeV, converted to GeV.
    bool StatesEnergyUnit() const override { return true; }
    // What one particle takes in memory, for the question's figure.
    static double BytesPerParticle();

private:
    bool Fail(const std::string& fileName, const std::string& reason);
    // The particles to read: what the header announces and the data hold, warned where the
    // two differ.
    std::uint64_t Available(const CMcplHeader& header, std::uint64_t fileBytes, bool cutShort);
    void NoteHeader(const CMcplHeader& header, bool compressed);
    void ReadParticles(mcpl_file_t file, std::uint64_t available, const CMcplSampling& sampling,
                       CProgressCtrl* pProgress);

    SamplingQuestion m_Question;
    std::uint64_t m_LargeList = LargeMcplList;
};
} // namespace nebulo3d
