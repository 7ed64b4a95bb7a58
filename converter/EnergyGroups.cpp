#include "EnergyGroups.h"

#include "NumberFormat.h"
#include "TextOutput.h"

#include <cmath>

namespace trakor
{

std::vector<CEnergyGroup> groupcalc(double lower, double upper, int bins, bool logarithmic)
{
    std::vector<CEnergyGroup> groups;
    if (bins < 1) return groups;
    groups.reserve(static_cast<std::size_t>(bins));
    const double step = (upper - lower) / bins;
    const double factor = logarithmic ? std::pow(upper / lower, 1.0 / bins) : 1.0;
    for (int i = 1; i <= bins; ++i)
    {
        if (logarithmic)
            groups.push_back({lower * std::pow(factor, i - 1), lower * std::pow(factor, i)});
        else
            groups.push_back({lower + step * (i - 1), lower + step * i});
    }
    return groups;
}

void writeEnergyGroups(CTextOutput& out, const std::vector<CEnergyGroup>& groups, bool kinetic)
{
    const std::size_t width = exponentWidth(kGroupDecimals);
    for (const CEnergyGroup& group : groups)
    {
        out.write(kinetic ? "ENERGYGROUP_KIN " : "ENERGYGROUP_TOT ");
        char* line = out.room(2 * width + 3);
        std::size_t used = formatExponent(line, group.lower, kGroupDecimals, 'E');
        line[used++] = ',';
        used += formatExponent(line + used, group.upper, kGroupDecimals, 'E');
        line[used++] = ' ';
        line[used++] = '\n';
        out.commit(used);
    }
}

} // namespace trakor
