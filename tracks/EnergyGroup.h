#pragma once
#include <string>

namespace trakor3d
{
// An energy bin of the track file; particles are sorted into the first bin that holds them.
class CEnergyGroup
{
public:
    std::string m_Label; // the two bounds as written in the file, joined by "__"
    double m_Lower = 0;  // GeV
    double m_Upper = 0;  // GeV
    bool m_Enabled = true;

    bool Holds(double energy) const { return m_Lower <= energy && energy <= m_Upper; }
};
} // namespace trakor3d
