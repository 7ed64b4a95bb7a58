#include "volume/loading/CartesianFill.h"
#include "volume/model/VoxelArray.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace volumira3d
{
namespace
{
// Hands out a list of values, one at a time or a run at a time.
class CListSource
{
public:
    explicit CListSource(std::vector<double> values) : m_Values(std::move(values)) {}
    bool Next(double& value)
    {
        if (m_Next == m_Values.size()) return false;
        value = m_Values[m_Next++];
        return true;
    }
    std::size_t m_Next = 0;

private:
    std::vector<double> m_Values;
};

class CBulkListSource : public CListSource
{
public:
    using CListSource::CListSource;
    std::size_t Take(double* dst, std::size_t n)
    {
        std::size_t k = 0;
        while (k < n && Next(dst[k]))
            ++k;
        return k;
    }
};

// Statistics as storing value by value gives them.
void StoreOneByOne(CVoxelGrid& grid, const std::vector<double>& values)
{
    const int nx = grid.m_NrXBins, ny = grid.m_NrYBins;
    for (std::size_t i = 0; i < values.size(); ++i)
        grid.StoreValue(int(i % nx), int(i / nx % ny), int(i / nx / ny), values[i]);
}

template <class TSource>
CFillResult Fill(CVoxelGrid& grid, TSource& source, int nx, int ny, int nz,
                 EVoxelStart start = EVoxelStart::Zeros)
{
    std::string error;
    EXPECT_TRUE(grid.AllocateGrid(nx, ny, nz, error, start)) << error;
    CStringLog log;
    CProgressLine progress(log, "");
    return FillCartesian(source, grid, progress);
}

void ExpectSameStatistics(const CVoxelGrid& a, const CVoxelGrid& b)
{
    EXPECT_EQ(a.m_RangeMin, b.m_RangeMin);
    EXPECT_EQ(a.m_RangeMax, b.m_RangeMax);
    for (int k = 0; k < 3; ++k)
    {
        EXPECT_EQ(a.m_MinDataValIndices[k], b.m_MinDataValIndices[k]) << "axis " << k;
        EXPECT_EQ(a.m_MaxDataValIndices[k], b.m_MaxDataValIndices[k]) << "axis " << k;
    }
}
} // namespace

TEST(VoxelArray, IndicesAddressOneBlockXFastest)
{
    CVoxelArray a(3, 4, 5);
    ASSERT_EQ(a.Count(), 60u);
    EXPECT_EQ(a.size(), 3u);
    EXPECT_EQ(a[2].size(), 4u);
    EXPECT_EQ(a[2][3].size(), 5u);
    for (std::size_t i = 0; i < a.Count(); ++i)
        EXPECT_EQ(a.data()[i], 0) << i;
    a[2][1][4] = 7;
    EXPECT_EQ(a.data()[2 + 3 * (1 + 4 * 4)], 7);
    EXPECT_EQ(a.Index(2, 1, 4), 2u + 3 * (1 + 4 * 4));
    const CVoxelArray& c = a;
    EXPECT_EQ(c[2][1][4], 7);
}

TEST(VoxelArray, CopiesAreDeepAndCompareByShapeAndValues)
{
    CVoxelArray a(2, 2, 2);
    a[1][0][1] = 3;
    CVoxelArray b = a;
    EXPECT_TRUE(b == a);
    b[1][0][1] = 4;
    EXPECT_EQ(a[1][0][1], 3);
    EXPECT_FALSE(b == a);
    EXPECT_FALSE(CVoxelArray(2, 2, 2) == CVoxelArray(2, 4, 1)); // same count, other shape
    CVoxelArray moved = std::move(b);
    EXPECT_EQ(moved[1][0][1], 4);
    CVoxelArray empty;
    empty.swap(moved);
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(empty.Count(), 8u);
}

TEST(VoxelArray, ACountBeyondAddressableMemoryIsBadAlloc)
{
    const std::size_t huge = std::size_t(1) << 40;
    EXPECT_THROW(CVoxelArray(huge, huge, 1), std::bad_alloc);
}

// Extremes that change inside a block, equal extremes in later blocks, zeros and negatives: the
// block-wise statistics must keep the indices storing value by value keeps.
TEST(CartesianFill, BlockStatisticsMatchValueByValue)
{
    const int nx = 70, ny = 50, nz = 40; // 140000 values: three blocks, the last one short
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(-50, 50);
    std::vector<double> values(std::size_t(nx) * ny * nz);
    for (double& v : values)
        v = pick(rng) % 3 == 0 ? 0 : 0.25 * pick(rng);
    values[100000] = -99; // the minimum, again in a later block
    values[139999] = -99;
    values[5] = 77; // the maximum in the first block, again later
    values[70000] = 77;
    CVoxelGrid byValue, byBlock;
    std::string error;
    ASSERT_TRUE(byValue.AllocateGrid(nx, ny, nz, error));
    StoreOneByOne(byValue, values);
    CBulkListSource source(values);
    const CFillResult result = Fill(byBlock, source, nx, ny, nz, EVoxelStart::Unset);
    EXPECT_TRUE(result.Complete(byBlock));
    ExpectSameStatistics(byBlock, byValue);
    EXPECT_TRUE(byBlock.m_Voxels == byValue.m_Voxels);
    EXPECT_EQ(byBlock.m_MinDataValIndices[0], 100000 % nx);
    EXPECT_EQ(byBlock.m_MaxDataValIndices[0], 5);
}

TEST(CartesianFill, AShortSourceLeavesZerosBehindItsLastValue)
{
    CVoxelGrid grid;
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(4, 3, 2, error));
    std::fill(grid.m_Voxels.data(), grid.m_Voxels.data() + 24, 9.0); // what unset memory may hold
    CListSource source({1, 2, 3, 4, 5});
    CStringLog log;
    CProgressLine progress(log, "");
    const CFillResult result = FillCartesian(source, grid, progress);
    EXPECT_EQ(result.m_Consumed, 5);
    EXPECT_FALSE(result.Complete(grid));
    EXPECT_EQ(grid.m_Voxels[0][1][0], 5);
    for (std::size_t i = 5; i < 24; ++i)
        EXPECT_EQ(grid.m_Voxels.data()[i], 0) << i;
}

TEST(CartesianFill, ANonFiniteValueStopsTheFillWithNothingOfItStored)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double bad : {inf, -inf, nan})
    {
        std::vector<double> values(24, 1.0);
        values[3] = 0.5;
        values[10] = bad;
        values[11] = 1e300; // after the bad value: never a maximum
        CVoxelGrid grid;
        CBulkListSource bulk(values);
        CFillResult result = Fill(grid, bulk, 4, 3, 2, EVoxelStart::Unset);
        EXPECT_TRUE(result.m_Overflow);
        EXPECT_EQ(result.m_Consumed, 10);
        EXPECT_EQ(grid.m_RangeMax, 1.0);
        EXPECT_EQ(grid.m_RangeMin, 0.5);
        EXPECT_EQ(grid.m_Voxels.data()[10], 0);
        EXPECT_EQ(grid.m_Voxels.data()[11], 0);

        CVoxelGrid single;
        CListSource one(values);
        result = Fill(single, one, 4, 3, 2);
        EXPECT_TRUE(result.m_Overflow);
        EXPECT_EQ(result.m_Consumed, 10);
        EXPECT_EQ(one.m_Next, 11u) << "nothing is read past the value that overflowed";
        EXPECT_TRUE(single.m_Voxels == grid.m_Voxels);
    }
}
} // namespace volumira3d
