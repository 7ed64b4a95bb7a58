// The element symbols by atomic number and the colour an element is drawn in.
#pragma once
#include "common/Vector.h"

#include <string>

namespace nuclira3d
{
constexpr int MaxZ = 118;

// "blank" for Z = 0, the symbol for 1..118; empty outside 0..118.
std::string ElementSymbol(int z);
// "%s-%d" with the symbol and A (Co-60); an unknown Z is named "Z<z>" (Z200-3).
std::string NuclideName(int z, int a);
// The colour table entry of Z where the table has one; every other Z has one defined grey.
CVector ElementColor(int z);
} // namespace nuclira3d
