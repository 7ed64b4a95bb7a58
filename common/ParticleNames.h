// Names of the particle types 0..70 (FLUKA particle codes; -1..-6 are stored as 65..70); the
// same index selects the colour of the colour table.
#pragma once

namespace particles
{
constexpr int NrParticleTypes = 71;
inline bool IsValidType(int type)
{
    return type >= 0 && type < NrParticleTypes;
}
// The name of a type, or nullptr outside 0..70.
const char* ParticleName(int type);
} // namespace particles
