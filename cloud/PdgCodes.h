// The particle numbers of the Particle Data Group (as MCPL files carry them) against the
// viewer's FLUKA type numbers. Nuclei other than d, t, 3He and 4He, and any code without a
// FLUKA type, become OtherType.
#pragma once
#include "cloud/ParticleTypes.h"

#include <cstdint>

namespace nebulo3d
{
// The type of a PDG code: a FLUKA type number, or OtherType.
int TypeOfPdgCode(std::int32_t pdg);
// The PDG code of a type, or 0 for types PDG does not number (optical photons, heavy ions,
// OtherType, unnamed numbers).
std::int32_t PdgCodeOfType(int type);
} // namespace nebulo3d
