#pragma once

#include <vector>

namespace trakor
{

class CTextOutput;

struct CEnergyGroup
{
    double m_Lower = 0.0;
    double m_Upper = 0.0;
};

// The `bins` groups from `lower` to `upper` (GeV), of equal width or, logarithmic, of equal
// ratio. Logarithmic binning needs lower > 0 (the dialogue sees to it).
std::vector<CEnergyGroup> groupcalc(double lower, double upper, int bins, bool logarithmic);

// The group lines at the head of a track file.
void WriteEnergyGroups(CTextOutput& out, const std::vector<CEnergyGroup>& groups, bool kinetic);

} // namespace trakor
