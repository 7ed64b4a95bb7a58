#include "volume/model/Matrix.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

namespace volumira3d
{
namespace
{
void Fill(CVoxelGrid& grid, std::initializer_list<double> values)
{
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(static_cast<long long>(values.size()), 1, 1, error)) << error;
    int ix = 0;
    for (double v : values)
        grid.StoreValue(ix++, 0, 0, v);
}
} // namespace

TEST(VoxelGridStatistics, ZerosTakeNoPart)
{
    CVoxelGrid grid;
    Fill(grid, {0, 0, 0});
    EXPECT_EQ(grid.m_RangeMin, 1e10);
    EXPECT_EQ(grid.m_RangeMax, -1e10);
    EXPECT_EQ(grid.m_MaxDataValIndices[0], 0);
    EXPECT_EQ(grid.m_MinDataValIndices[0], 0);
}

TEST(VoxelGridStatistics, FirstOfEqualExtremesKeepsItsIndices)
{
    CVoxelGrid grid;
    Fill(grid, {0, 5, 2, 5, 2, 0});
    EXPECT_EQ(grid.m_RangeMax, 5);
    EXPECT_EQ(grid.m_MaxDataValIndices[0], 1);
    EXPECT_EQ(grid.m_RangeMin, 2);
    EXPECT_EQ(grid.m_MinDataValIndices[0], 2);
}

TEST(VoxelGridStatistics, NegativeValuesCountAndIndicesAreFull)
{
    CVoxelGrid grid;
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(2, 3, 4, error));
    grid.StoreValue(1, 2, 3, -7);
    grid.StoreValue(0, 1, 2, 4);
    EXPECT_EQ(grid.m_RangeMin, -7);
    EXPECT_EQ(grid.m_RangeMax, 4);
    EXPECT_EQ(grid.m_MinDataValIndices[0], 1);
    EXPECT_EQ(grid.m_MinDataValIndices[1], 2);
    EXPECT_EQ(grid.m_MinDataValIndices[2], 3);
    EXPECT_EQ(grid.m_MaxDataValIndices[1], 1);
    EXPECT_EQ(grid.m_Voxels[1][2][3], -7);
}

TEST(VoxelGridStatistics, ClearReleasesValuesAndResetsTheRange)
{
    CVoxelGrid grid;
    Fill(grid, {3, 9});
    grid.ClearDataSet();
    EXPECT_TRUE(grid.m_Voxels.empty());
    EXPECT_EQ(grid.VoxelCount(), 0);
    EXPECT_EQ(grid.m_RangeMin, 1e10);
    EXPECT_EQ(grid.m_RangeMax, -1e10);
    EXPECT_EQ(grid.m_MaxDataValIndices[0], 0);
}

TEST(VoxelGridAllocation, RefusesCountsBelowOneAndGridsBeyondMemory)
{
    CVoxelGrid grid;
    std::string error;
    EXPECT_FALSE(grid.AllocateGrid(0, 4, 4, error));
    EXPECT_FALSE(grid.AllocateGrid(4, -1, 4, error));
    EXPECT_FALSE(grid.AllocateGrid(100000, 100000, 100000, error));
    EXPECT_NE(error.find("would need"), std::string::npos) << error;
    EXPECT_TRUE(grid.m_Voxels.empty());
    EXPECT_EQ(grid.m_NrXBins, 0);
}

TEST(VoxelGridAllocation, NestedLayoutOfZeros)
{
    CVoxelGrid grid;
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(2, 3, 4, error));
    ASSERT_EQ(grid.m_Voxels.size(), 2u);
    ASSERT_EQ(grid.m_Voxels[1].size(), 3u);
    ASSERT_EQ(grid.m_Voxels[1][2].size(), 4u);
    EXPECT_EQ(grid.m_Voxels[1][2][3], 0);
    EXPECT_EQ(grid.VoxelCount(), 24);
}

TEST(VoxelGridValues, ScanExtremesSkipsZerosAndScaleMultipliesAll)
{
    CVoxelGrid grid;
    Fill(grid, {0, 2, 8});
    double min = 0, max = 0;
    grid.ScanExtremes(min, max);
    EXPECT_EQ(min, 2);
    EXPECT_EQ(max, 8);
    grid.ScaleValues(0.5);
    EXPECT_EQ(grid.m_Voxels[2][0][0], 4);
    grid.ScaleValues(0);
    grid.ScanExtremes(min, max);
    EXPECT_EQ(min, 1e15);
    EXPECT_EQ(max, 1e-15);
}

TEST(Matrix, IdentityDeterminantTraceAndTranspose)
{
    CMatrix m;
    EXPECT_EQ(m.Determinant(), 1);
    EXPECT_EQ(m.Trace(), 3);
    m(0, 1) = 2;
    m(1, 0) = 3;
    m(2, 2) = 4;
    EXPECT_EQ(m.Determinant(), (1 * 1 - 2 * 3) * 4);
    CMatrix copy = m; // the copy must point at its own elements
    copy.Transpose();
    EXPECT_EQ(copy(0, 1), 3);
    EXPECT_EQ(m(0, 1), 2);
    copy.SetIdentity();
    EXPECT_EQ(copy(0, 1), 0);
    EXPECT_EQ(m(2, 2), 4);
}

TEST(Matrix, IndexOutsideReachesNoMemoryOfTheMatrix)
{
    CMatrix m;
    m(4, 0) = 99;
    m(-1, 2) = 99;
    EXPECT_EQ(m.Trace(), 3);
    CMatrix2D m2;
    m2(3, 3) = 5;
    EXPECT_EQ(m2(2, 2), 1);
    EXPECT_EQ(m2(0, 1), 0);
}
} // namespace volumira3d
