#include "volume/CartesianFill.h"

#include <omp.h>

#include <limits>

namespace volumira3d
{
namespace
{
// The smallest and largest non-zero value of a set of values and the first place (in file order)
// of each; places are indices into the block.
struct CExtremes
{
    double m_Min = std::numeric_limits<double>::infinity();
    double m_Max = -std::numeric_limits<double>::infinity();
    long long m_MinAt = -1, m_MaxAt = -1;

    void Add(double value, long long at)
    {
        if (value == 0) return;
        if (value < m_Min || (value == m_Min && at < m_MinAt)) m_Min = value, m_MinAt = at;
        if (value > m_Max || (value == m_Max && at < m_MaxAt)) m_Max = value, m_MaxAt = at;
    }
    void Merge(const CExtremes& other)
    {
        if (other.m_MinAt >= 0) Add(other.m_Min, other.m_MinAt);
        if (other.m_MaxAt >= 0) Add(other.m_Max, other.m_MaxAt);
    }
};

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
                extremes.Add(value, b * plane + at);
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
    // Through the statistics in file order: a tie keeps the place stored first.
    const long long nx = grid.m_NrXBins, plane = nx * grid.m_NrYBins;
    for (const long long at : {all.m_MinAt, all.m_MaxAt})
        if (at >= 0)
            grid.UpdateStatistics(block[size_t(at)], int(at % nx), int(at % plane / nx),
                                  iz0 + int(at / plane));
}
} // namespace volumira3d
