#include "isotopes/Elements.h"

#include "common/ColorTable.h"
#include "platform/UiServices.h"

#include <iterator>

namespace nuclira3d
{
namespace
{
constexpr const char* Symbols[] = {
    "blank", "H",   "He",  "Li",  "Be",  "B",   "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al",
    "Si",    "P",   "S",   "Cl",  "Ar",  "K",   "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co",
    "Ni",    "Cu",  "Zn",  "Ga",  "Ge",  "As",  "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb",
    "Mo",    "Tc",  "Ru",  "Rh",  "Pd",  "Ag",  "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs",
    "Ba",    "La",  "Ce",  "Pr",  "Nd",  "Pm",  "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm",
    "Yb",    "Lu",  "Hf",  "Ta",  "W",   "Re",  "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi",
    "Po",    "At",  "Rn",  "Fr",  "Ra",  "Ac",  "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk",
    "Cf",    "Es",  "Fm",  "Md",  "No",  "Lr",  "Rf", "Db", "Sg", "Ns", "Hs", "Mt", "Ds", "Rg",
    "Uub",   "Uut", "Uuq", "Uup", "Uuh", "Uus", "Uuo"};
static_assert(std::size(Symbols) == MaxZ + 1);

// Elements beyond the colour table (Z above 70) share this colour.
const CVector BeyondTable(0.75, 0.75, 0.75);
} // namespace

std::string ElementSymbol(int z)
{
    return z >= 0 && z <= MaxZ ? Symbols[static_cast<size_t>(z)] : "";
}

std::string NuclideName(int z, int a)
{
    const std::string symbol = ElementSymbol(z);
    if (symbol.empty()) return Format("Z%d-%d", z, a);
    return Format("%s-%d", symbol.c_str(), a);
}

CVector ElementColor(int z)
{
    return CColorTable::ValidIndex(z) ? CColorTable::Instance().Get(z) : BeyondTable;
}
} // namespace nuclira3d
