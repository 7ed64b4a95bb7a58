#include "cloud/ParticleTypes.h"

#include "common/ParticleNames.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace nebulo3d
{
namespace
{
// MCNP particle designators and the FLUKA type numbers they give.
constexpr std::pair<std::string_view, int> Symbols[] = {
    {"h", 1},  {"g", 2},  {"e", 3},  {"f", 4},  {"u", 5},  {"p", 7},  {"n", 8},
    {"q", 9},  {"|", 11}, {"^", 12}, {"/", 13}, {"*", 14}, {"k", 15}, {"l", 17},
    {"%", 19}, {"-", 20}, {"+", 21}, {"c", 35}, {"v", 27}, {"w", 37}, {"o", 38},
    {"@", 39}, {"d", 67}, {"t", 68}, {"s", 69}, {"a", 70},
};
} // namespace

int StoredType(int fileType)
{
    return fileType < 0 && fileType != NoType ? std::abs(fileType) + 64 : fileType;
}

std::string PaddedTypeName(int type)
{
    const char* known = particles::ParticleName(type);
    std::string name = known ? known : type == OtherType ? "Other" : "Type_" + std::to_string(type);
    const size_t width = name == "Negative_Muon" ? 19 : 21;
    if (name.size() < width) name.append(width - name.size(), ' ');
    return name;
}

int McnpxSymbolType(std::string_view symbol)
{
    for (const auto& [s, type] : Symbols)
        if (s == symbol) return type;
    return NoType;
}
} // namespace nebulo3d
