#include "volume/CartesianFill.h"

#include <limits>

namespace volumira3d
{
namespace
{
// One pass over a run: the smallest and largest non-zero value, and in probe the sum of zero
// times every value, which is zero unless a value is infinite or not a number. Spelled as
// reductions so that several values go per instruction, and built for AVX2 as well, taken where
// the processor has it.
__attribute__((target_clones("avx2", "default"))) void
ScanRun(const double* values, long long count, double& min, double& max, double& probe)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo = min, hi = max, sum = 0;
#pragma omp simd reduction(min : lo) reduction(max : hi) reduction(+ : sum)
    for (long long i = 0; i < count; ++i)
    {
        const double v = values[i];
        const double low = v == 0 ? inf : v;
        const double high = v == 0 ? -inf : v;
        lo = low < lo ? low : lo;
        hi = high > hi ? high : hi;
        sum += v * 0.0;
    }
    min = lo, max = hi, probe = sum;
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
    indices[0] = double(index % nx);
    indices[1] = double(index / nx % ny);
    indices[2] = double(index / nx / ny);
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
