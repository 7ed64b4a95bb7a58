// Particle type numbers of the cloud viewer (FLUKA numbering; negative codes -1..-6 stored as
// 65..70), their padded names for the type list and reports, and the MCNPX particle symbols.
#pragma once
#include <string>
#include <string_view>

namespace nebulo3d
{
constexpr int NoType = -1000; // "not set": such a particle is never stored
// Particles of a kind FLUKA does not number (ions, unknown codes of other programs): drawn
// white, listed as "Other".
constexpr int OtherType = 71;

// A type number as read from a file: negative codes n other than NoType become |n| + 64.
int StoredType(int fileType);

// The name padded as the type list shows it: 21 characters, "Negative_Muon" 19. Types without
// a name table entry are named "Type_<n>", so that every stored type has a distinct row.
std::string PaddedTypeName(int type);

// The type an MCNPX "print table 110" particle symbol stands for (exact, case-sensitive match
// of the whole field), or NoType for an unknown symbol.
int McnpxSymbolType(std::string_view symbol);
} // namespace nebulo3d
