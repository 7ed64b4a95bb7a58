// The header of an MCPL file (format version 3), checked against the file's size before the
// mcpl library sees it: the library trusts its header's counts and lengths (a comment count of
// four thousand million crashes it, a wrong particle size stops it by an assertion).
#pragma once
#include <cstdint>
#include <istream>
#include <string>

namespace nebulo3d
{
struct CMcplHeader
{
    std::uint64_t m_Particles = 0;   // as the header announces them
    std::uint64_t m_HeaderBytes = 0; // up to the first particle
    std::uint32_t m_ParticleBytes = 0;
    bool m_DoublePrecision = false, m_Polarisation = false, m_UserFlags = false;
    std::int32_t m_UniversalPdg = 0; // 0: each particle has its code
    bool m_UniversalWeight = false;
    double m_Weight = 0; // of every particle, when universal
    std::string m_Source;

    // Reads the header from the start of in, a file of fileBytes bytes. False with the reason
    // in error when it is no MCPL header or a length runs past the end of the file.
    bool Read(std::istream& in, std::uint64_t fileBytes, std::string& error);
    // The particles the data after the header holds in whole.
    std::uint64_t ParticlesInFile(std::uint64_t fileBytes) const;
    // The particle size the header's flags give.
    std::uint32_t ExpectedParticleBytes() const;
};
} // namespace nebulo3d
