#include "volume/loading/CartesianFill.h"

#include <cstring>
#include <limits>

namespace volumira3d
{
namespace
{
// One pass over a run: the smallest and largest non-zero value, and in probe the sum of zero
// times every value, which is zero unless a value is infinite or not a number. Four values per
// step in vector registers, built for AVX2 as well and taken where the processor has it.
using CFourDoubles = double __attribute__((vector_size(32)));

__attribute__((target_clones("avx2", "default"))) void
ScanRun(const double* values, long long count, double& min, double& max, double& probe)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const CFourDoubles zero = {0, 0, 0, 0}, up = zero + inf, down = zero - inf;
    CFourDoubles lo = zero + min, hi = zero + max, sum = zero;
    long long i = 0;
    for (; i + 4 <= count; i += 4)
    {
        CFourDoubles v;
        std::memcpy(&v, values + i, sizeof v);
        const auto isZero = v == zero;
        const CFourDoubles low = isZero ? up : v;
        const CFourDoubles high = isZero ? down : v;
        lo = low < lo ? low : lo;
        hi = high > hi ? high : hi;
        sum += v * 0.0;
    }
    double l = min, h = max, s = 0;
    for (int k = 0; k < 4; ++k)
    {
        l = lo[k] < l ? lo[k] : l;
        h = hi[k] > h ? hi[k] : h;
        s += sum[k];
    }
    for (; i < count; ++i)
    {
        const double v = values[i];
        l = v != 0 && v < l ? v : l;
        h = v != 0 && v > h ? v : h;
        s += v * 0.0;
    }
    min = l, max = h, probe = s;
}

// Extremes of the finite values before the first one that is not; returns how many those are.
long long FiniteExtremes(const double* values, long long count, double& min, double& max)
{
    double probe = 0, lo = min, hi = max;
    ScanRun(values, count, lo, hi, probe);
    if (std::isnan(probe))
    {
        count = std::find_if(values, values + count, [](double v) { return !std::isfinite(v); }) -
                values;
        lo = min, hi = max;
        ScanRun(values, count, lo, hi, probe);
    }
    min = lo, max = hi;
    return count;
}

void StoreIndices(const CVoxelArray& voxels, std::size_t index, double indices[3])
{
    const std::size_t nx = voxels.size(), ny = voxels[0].size();
    const std::size_t row = index / nx, plane = row / ny;
    indices[0] = double(index % nx);
    indices[1] = double(row % ny);
    indices[2] = double(plane);
}
} // namespace

// The same outcome as storing value by value with strict comparisons: a new extreme takes the
// indices of its first occurrence in the run.
long long TakeStatistics(CVoxelGrid& grid, std::size_t first, long long count)
{
    const double* values = grid.m_Voxels.data() + first;
    double min = grid.m_RangeMin, max = grid.m_RangeMax;
    count = FiniteExtremes(values, count, min, max);
    if (min < grid.m_RangeMin)
    {
        const std::size_t at = std::size_t(std::find(values, values + count, min) - values);
        StoreIndices(grid.m_Voxels, first + at, grid.m_MinDataValIndices);
        grid.m_RangeMin = min;
    }
    if (max > grid.m_RangeMax)
    {
        const std::size_t at = std::size_t(std::find(values, values + count, max) - values);
        StoreIndices(grid.m_Voxels, first + at, grid.m_MaxDataValIndices);
        grid.m_RangeMax = max;
    }
    return count;
}
} // namespace volumira3d
