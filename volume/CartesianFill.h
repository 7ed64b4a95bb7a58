// Fills the grid with values given in file order, x fastest, then y, then z, through the
// statistics. Values are stored by blocks of whole z-planes, column by column, so that every
// z-column of the grid is touched once per block instead of once per value.
#pragma once
#include "volume/LoadLog.h"
#include "volume/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace volumira3d
{
// Values per block of z-planes.
constexpr long long CartesianBlockValues = 1 << 19;

// Writes the first count values of a block (planes iz0 ..) into the grid, column by column on
// every thread, and takes them into the statistics as if they had been stored in file order.
void StoreBlock(CVoxelGrid& grid, int iz0, int planes, long long count,
                const std::vector<double>& block);

// Copies the next values of source (already normalised) into block; stops early when the values
// run out or one is not a finite number (overflow set, that value not counted). A source that
// hands out runs of values (Take, which stops after such a value) is not asked value by value.
template <class TSource>
long long TakeValues(TSource& source, long long count, std::vector<double>& block, bool& overflow)
{
    if constexpr (requires(double* out) { source.Take(out, size_t(count)); })
    {
        const auto got = static_cast<long long>(source.Take(block.data(), size_t(count)));
        overflow = got > 0 && !std::isfinite(block[size_t(got - 1)]);
        return overflow ? got - 1 : got;
    }
    else
    {
        for (long long i = 0; i < count; ++i)
        {
            double& value = block[static_cast<size_t>(i)];
            if (!source.Next(value)) return i;
            if (!std::isfinite(value))
            {
                overflow = true;
                return i;
            }
        }
        return count;
    }
}

// The records of a text storage as values in file order, read in pieces of chunk records and
// multiplied by the normalization.
template <class TStorage> class CStorageSource
{
public:
    CStorageSource(TStorage& storage, double normalization, size_t chunk)
        : m_Storage(storage), m_Normalization(normalization), m_Chunk(chunk)
    {
    }
    bool Next(double& value)
    {
        if (m_Next == m_Storage.m_Data.size())
        {
            if (!m_Storage.ReadMore(m_Chunk)) return false;
            m_Next = 0;
        }
        value = m_Storage.m_Data[m_Next++].m_Value * m_Normalization;
        return true;
    }

private:
    TStorage& m_Storage;
    double m_Normalization;
    size_t m_Chunk;
    size_t m_Next = 0;
};

// The result of filling a whole grid: values stored, and whether a value overflowed.
struct CFillResult
{
    long long m_Consumed = 0;
    bool m_Overflow = false;
    bool Complete(const CVoxelGrid& grid) const
    {
        return !m_Overflow && m_Consumed == grid.VoxelCount();
    }
};

// Fills the allocated grid plane block by plane block; the progress line is rewritten after
// every block with the share of the bins filled.
template <class TSource>
CFillResult FillCartesian(TSource& source, CVoxelGrid& grid, CProgressLine& progress)
{
    const long long nx = grid.m_NrXBins, ny = grid.m_NrYBins, nz = grid.m_NrZBins;
    const long long plane = nx * ny, bins = plane * nz;
    const int blockPlanes = static_cast<int>(std::clamp(CartesianBlockValues / plane, 1LL, nz));
    std::vector<double> block(static_cast<size_t>(blockPlanes * plane));
    CFillResult result;
    for (int iz0 = 0; iz0 < nz; iz0 += blockPlanes)
    {
        const int planes = static_cast<int>(std::min<long long>(blockPlanes, nz - iz0));
        const long long got = TakeValues(source, planes * plane, block, result.m_Overflow);
        StoreBlock(grid, iz0, planes, got, block);
        result.m_Consumed += got;
        if (result.m_Overflow || got < planes * plane) return result;
        progress.Update(long(bins), static_cast<int>(result.m_Consumed * 100 / bins));
    }
    return result;
}
} // namespace volumira3d
