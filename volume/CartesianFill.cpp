#include "volume/CartesianFill.h"

namespace volumira3d
{
void StoreBlock(CVoxelGrid& grid, int iz0, int planes, long long count,
                const std::vector<double>& block)
{
    const long long plane = static_cast<long long>(grid.m_NrXBins) * grid.m_NrYBins;
    for (int iy = 0; iy < grid.m_NrYBins; ++iy)
        for (int ix = 0; ix < grid.m_NrXBins; ++ix)
        {
            VoxelColumn& column = grid.m_Voxels[ix][iy];
            const long long at = static_cast<long long>(iy) * grid.m_NrXBins + ix;
            for (int b = 0; b < planes && b * plane + at < count; ++b)
                column[static_cast<size_t>(iz0 + b)] = block[static_cast<size_t>(b * plane + at)];
        }
}
} // namespace volumira3d
