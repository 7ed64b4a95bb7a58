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

void WriteEnergyGroups(CTextOutput& out, const std::vector<CEnergyGroup>& groups, bool kinetic)
{
    const std::size_t width = ExponentWidth(GroupDecimals);
    for (const CEnergyGroup& group : groups)
    {
        out.Write(kinetic ? "ENERGYGROUP_KIN " : "ENERGYGROUP_TOT ");
        char* line = out.Room(2 * width + 3);
        std::size_t used = FormatExponent(line, group.m_Lower, GroupDecimals, 'E');
        line[used++] = ',';
        used += FormatExponent(line + used, group.m_Upper, GroupDecimals, 'E');
        line[used++] = ' ';
        line[used++] = '\n';
        out.Commit(used);
    }
}

} // namespace trakor
