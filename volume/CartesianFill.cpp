#include "volume/CartesianFill.h"

#include "volume/Extremes.h"

#include <omp.h>

namespace volumira3d
{
namespace
{
// Stores the block's values for the columns of the planes m_Voxels[ix] with ix in [from, to).
CExtremes StoreColumns(CVoxelGrid& grid, int from, int to, int iz0, int planes, long long count,
                       const std::vector<double>& block)
{
    const long long nx = grid.m_NrXBins, plane = nx * grid.m_NrYBins;
    CExtremes extremes;
    for (int ix = from; ix < to; ++ix)
        for (int iy = 0; iy < grid.m_NrYBins; ++iy)
        {
            VoxelColumn& column = grid.m_Voxels[size_t(ix)][size_t(iy)];
            const long long at = iy * nx + ix;
            for (long long b = 0; b < planes && b * plane + at < count; ++b)
            {
                const double value = block[static_cast<size_t>(b * plane + at)];
                column[static_cast<size_t>(iz0 + b)] = value;
                extremes.Add(value, b * plane + at, ix, iy, iz0 + int(b));
            }
        }
    return extremes;
}
} // namespace

void StoreBlock(CVoxelGrid& grid, int iz0, int planes, long long count,
                const std::vector<double>& block)
{
    const int threads = std::max(1, std::min(omp_get_max_threads(), int(grid.m_NrXBins)));
    std::vector<CExtremes> parts(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t)
        parts[size_t(t)] = StoreColumns(grid, int(grid.m_NrXBins * std::int64_t(t) / threads),
                                        int(grid.m_NrXBins * std::int64_t(t + 1) / threads), iz0,
                                        planes, count, block);
    CExtremes all;
    for (const CExtremes& part : parts)
        all.Merge(part);
    all.EnterInto(grid);
}
} // namespace volumira3d
