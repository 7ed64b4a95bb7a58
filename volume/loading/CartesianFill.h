// Fills the grid with values given in file order, x fastest, then y, then z: the grid's own
// storage order, so values go straight into place, a block at a time, and the statistics are
// taken over each block once it is stored.
#pragma once
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstddef>

namespace volumira3d
{
// Values per block: small enough that the statistics read the block back from the cache, large
// enough that the progress line is not the work.
constexpr long long CartesianBlockValues = 1 << 16;

// Statistics of count values stored from storage index first on; stops at the first value that is
// not a finite number and returns how many came before it.
long long TakeStatistics(CVoxelGrid& grid, std::size_t first, long long count);

// A source that can hand over a run of values at once (already normalised): Take(dst, n) writes
// up to n and returns how many it wrote.
template <class TSource>
concept BulkValueSource = requires(TSource& s, double* dst, std::size_t n)
{
    {
        s.Take(dst, n)
        } -> std::convertible_to<std::size_t>;
};

// Copies the next count values of source (already normalised) into the grid from storage index
// first on; stops early when the values run out or one is not a finite number (overflow set).
template <class TSource>
long long FillBlock(TSource& source, CVoxelGrid& grid, std::size_t first, long long count,
                    bool& overflow)
{
    double* dst = grid.m_Voxels.data() + first;
    long long got = 0;
    if constexpr (BulkValueSource<TSource>)
    {
        got = static_cast<long long>(source.Take(dst, static_cast<std::size_t>(count)));
    }
    else
    {
        // Value by value: nothing is read past a value that overflowed.
        double value = 0;
        while (got < count && source.Next(value) && std::isfinite(value))
            dst[got++] = value;
        if (got < count && !std::isfinite(value)) overflow = true;
    }
    const long long finite = TakeStatistics(grid, first, got);
    if (finite < got)
    {
        overflow = true;
        // Values from the one that overflowed on are not stored.
        std::fill(dst + finite, dst + got, 0.0);
    }
    return finite;
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

// Fills the allocated grid block by block; the progress line is rewritten after every block with
// the share of the bins filled. Voxels the source leaves without a value are zeros afterwards, so
// the grid may start unset.
template <class TSource>
CFillResult FillCartesian(TSource& source, CVoxelGrid& grid, CProgressLine& progress)
{
    const long long bins = grid.VoxelCount();
    CFillResult result;
    while (result.m_Consumed < bins)
    {
        const long long count = std::min(CartesianBlockValues, bins - result.m_Consumed);
        const long long got = FillBlock(source, grid, static_cast<std::size_t>(result.m_Consumed),
                                        count, result.m_Overflow);
        result.m_Consumed += got;
        if (result.m_Overflow || got < count) break;
        progress.Update(long(bins), static_cast<int>(result.m_Consumed * 100 / bins));
    }
    std::fill(grid.m_Voxels.data() + result.m_Consumed, grid.m_Voxels.data() + bins, 0.0);
    return result;
}
} // namespace volumira3d
