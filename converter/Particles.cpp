#include "Particles.h"

#include <array>

namespace trakor
{
namespace
{

// Indexed by code + 6. Kept as float on purpose: kinetic bounds and speeds use the
// single-precision masses.
constexpr std::array<float, LastParticleCode - FirstParticleCode + 1> Masses = {
    3.72738f,  2.80839f,  2.80892f,  1.87561f,  0.0f,      0.0f,     0.0f,     // -6..0
    0.938272f, 0.938272f, 0.000511f, 0.000511f, 0.0f,      0.0f,     0.0f,     // 1..7
    0.939566f, 0.939566f, 0.105658f, 0.105658f, 0.497671f, 0.13957f, 0.13957f, // 8..14
    0.493646f, 0.493646f, 1.11563f,  1.11563f,  0.497671f, 1.19743f, 1.18937f, // 15..21
    1.19255f,  0.134976f, 0.497671f, 0.497671f, 0.134976f, 0.0f,     0.0f,     // 22..28
    0.54745f,  0.0f,      1.18937f,  1.19255f,  1.19743f,  1.3149f,  1.3149f,  // 29..35
    1.32132f,  1.32132f,  1.67243f,  1.67243f,  0.939566f, 1.777f,   1.777f,   // 36..42
};

} // namespace

std::optional<double> ParticleMass(int code)
{
    if (!IsKnownParticle(code)) return std::nullopt;
    return static_cast<double>(Masses[static_cast<std::size_t>(code - FirstParticleCode)]);
}

} // namespace trakor
