#pragma once

#include <optional>

namespace trakor
{

inline constexpr int kFirstParticleCode = -6;
inline constexpr int kLastParticleCode = 42;

// True for the FLUKA particle codes the converter knows (-6..42).
constexpr bool isKnownParticle(int code)
{
    return code >= kFirstParticleCode && code <= kLastParticleCode;
}

// The rest mass in GeV of a known code, as the single-precision value of the table held in
// double; nullopt for other codes.
std::optional<double> particleMass(int code);

} // namespace trakor
