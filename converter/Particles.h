#pragma once

#include <optional>

namespace trakor
{

inline constexpr int FirstParticleCode = -6;
inline constexpr int LastParticleCode = 42;

// True for the FLUKA particle codes the converter knows (-6..42).
constexpr bool IsKnownParticle(int code)
{
    return code >= FirstParticleCode && code <= LastParticleCode;
}

// The rest mass in GeV of a known code, as the single-precision value of the table held in
// double; nullopt for other codes.
std::optional<double> ParticleMass(int code);

} // namespace trakor
