#include "volume/model/DisplayState.h"

#include "volume/model/Palettes.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
const char* const DisplayModeNames[DisplayModeCount] = {
    "Color plot",          "Smooth color plot", "Contour plot",   "Surface plot",
    "Boundary color plot", "3D point cloud",    "3D shaded cloud"};

CDisplayState::CDisplayState()
{
    m_ThresholdColors[0] = CVector(150 / 255.0, 0, 200 / 255.0);
    m_ThresholdColors[1] = CVector(250 / 255.0, 0, 1);
    m_ThresholdColors[2] = CVector(0, 50 / 255.0, 200 / 255.0);
    InstallPalette(m_LUT, Palette21);
}

CColorMapping CDisplayState::Mapping(const CVoxelGrid& grid) const
{
    return CColorMapping(grid.m_RangeMin, grid.m_RangeMax, IsLogarithmic(), m_LUT.Size());
}

std::vector<double> CDisplayState::LegendValues(const CVoxelGrid& grid) const
{
    return LegendBoundaries(grid.m_RangeMin, grid.m_RangeMax, LegendIntervals, IsLogarithmic());
}

std::vector<double> LegendBoundaries(double min, double max, int n, bool logarithmic)
{
    std::vector<double> values(static_cast<size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
    {
        if (!logarithmic)
            values[static_cast<size_t>(i)] = min + i * (max - min) / n;
        else
        {
            const double lo = std::log10(min), hi = std::log10(max);
            values[static_cast<size_t>(i)] = std::pow(10.0, lo + i * (hi - lo) / n);
        }
    }
    return values;
}
int CDisplayState::Layer(int plane, const CVoxelGrid& grid) const
{
    return std::clamp(m_PlaneLayer[plane], 0, std::max(grid.BinCount(PlaneNormal(plane)) - 1, 0));
}
} // namespace volumira3d
