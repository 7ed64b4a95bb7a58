#include "TestHelpers.h"
#include "volume/analysis/GridAnalysis.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace volumira3d
{
namespace
{
// A grid whose value tells its indices: 100 ix + 10 iy + iz + 1.
void FillIndexed(CVoxelGrid& grid, int nx, int ny, int nz)
{
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(nx, ny, nz, error)) << error;
    for (int a = 0; a < 3; ++a)
    {
        grid.m_GridMin[a] = -1.0 * (a + 1);
        grid.m_BinWidth[a] = 0.5 * (a + 1);
    }
    for (int ix = 0; ix < nx; ++ix)
        for (int iy = 0; iy < ny; ++iy)
            for (int iz = 0; iz < nz; ++iz)
                grid.StoreValue(ix, iy, iz, 100 * ix + 10 * iy + iz + 1);
}

void SetCrossing(CDisplayState& state, int x, int y, int z)
{
    state.m_PlaneLayer[PlaneYZ] = x;
    state.m_PlaneLayer[PlaneZX] = y;
    state.m_PlaneLayer[PlaneXY] = z;
    state.m_PlaneEnabled[0] = state.m_PlaneEnabled[1] = state.m_PlaneEnabled[2] = true;
}

class GridAnalysisTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FillIndexed(m_Grid, 10, 4, 6);
        SetCrossing(m_State, 3, 2, 1);
    }
    CVoxelGrid m_Grid;
    CDisplayState m_State;
};
} // namespace

TEST_F(GridAnalysisTest, ProfileRunsAlongTheSharedAxisAtLowerBinEdges)
{
    const CProfileData alongY = ExtractProfile(m_Grid, m_State, PlaneXY, PlaneYZ);
    ASSERT_EQ(alongY.size(), 4u);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_DOUBLE_EQ(alongY[i].m_Position, -2 + i * 1.0);
        EXPECT_EQ(alongY[i].m_Value, 300 + 10 * i + 1 + 1);
    }
    const CProfileData alongX = ExtractProfile(m_Grid, m_State, PlaneZX, PlaneXY);
    ASSERT_EQ(alongX.size(), 10u);
    EXPECT_EQ(alongX[7].m_Value, 700 + 20 + 1 + 1);
    const CProfileData alongZ = ExtractProfile(m_Grid, m_State, PlaneYZ, PlaneZX);
    ASSERT_EQ(alongZ.size(), 6u);
    EXPECT_DOUBLE_EQ(alongZ[5].m_Position, -3 + 5 * 1.5);
    EXPECT_TRUE(ExtractProfile(m_Grid, m_State, PlaneXY, PlaneXY).empty());
}

TEST_F(GridAnalysisTest, ProfileAtASliderPastTheLastBinReadsTheLastBin)
{
    SetCrossing(m_State, 10, 4, 6);
    const CProfileData profile = ExtractProfile(m_Grid, m_State, PlaneXY, PlaneYZ);
    ASSERT_EQ(profile.size(), 4u);
    EXPECT_EQ(profile[0].m_Value, 900 + 5 + 1);
}

TEST_F(GridAnalysisTest, AveragedProfileStepsByPBinsWhileTheBoxFits)
{
    CAvgProfileRequest r;
    r.m_Source = PlaneXY;
    r.m_Intersection = PlaneZX; // along X, 10 bins
    r.m_UDir = 1;
    r.m_UMinus = 1;
    r.m_UPlus = 1;
    r.m_VDir = 2;
    r.m_VMinus = 0;
    r.m_VPlus = 1;
    r.m_BinsAlong = 3;
    ASSERT_TRUE(CheckAvgProfile(m_Grid, m_State, r).Ok());
    const CProfileData profile = ExtractAveragedProfile(m_Grid, m_State, r);
    ASSERT_EQ(profile.size(), 3u);
    for (int s = 0; s < 3; ++s)
    {
        const int k = 3 * s;
        EXPECT_DOUBLE_EQ(profile[s].m_Position, -1 + k * 0.5);
        // x bins k..k+2, y bins 1..2, z bin 1: mean of 100 x + 10 y + 2.
        EXPECT_DOUBLE_EQ(profile[s].m_Value, 100 * (k + 1) + 15 + 2);
        EXPECT_GT(profile[s].m_RelError, 0);
    }
    EXPECT_EQ(m_State.m_PlaneLayer[PlaneYZ], 3); // the slider is left where it was
}

TEST_F(GridAnalysisTest, BoxMeanCoversTwoVoxelsEitherSideOfTheCorner)
{
    CBoxMean mean;
    ASSERT_TRUE(GetAverageFromArbitraryVolume(m_Grid, {3, 2, 1}, {1, 1, 1}, {1, 1, 1}, mean));
    EXPECT_EQ(mean.m_Count, 8);
    EXPECT_DOUBLE_EQ(mean.m_Average, 250 + 15 + 0.5 + 1);
    // Each axis contributes half its step to the deviation.
    const double sd = std::sqrt(50.0 * 50 + 5.0 * 5 + 0.5 * 0.5);
    EXPECT_NEAR(mean.m_RelError, sd / mean.m_Average, 1e-12);
}

TEST_F(GridAnalysisTest, BoxOutsideTheGridOrEmptyAlongAnAxisIsRefused)
{
    CBoxMean mean;
    EXPECT_FALSE(GetAverageFromArbitraryVolume(m_Grid, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, mean));
    EXPECT_FALSE(GetAverageFromArbitraryVolume(m_Grid, {9, 2, 1}, {1, 1, 1}, {2, 1, 1}, mean));
    EXPECT_TRUE(GetAverageFromArbitraryVolume(m_Grid, {9, 2, 1}, {1, 1, 1}, {1, 1, 1}, mean));
    EXPECT_FALSE(GetAverageFromArbitraryVolume(m_Grid, {3, 2, 1}, {0, 1, 1}, {0, 1, 1}, mean));
}

TEST(GridAnalysis, AllZeroBoxHasZeroRelativeErrorNotNaN)
{
    CVoxelGrid grid;
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(2, 2, 2, error));
    CBoxMean mean;
    ASSERT_TRUE(GetAverageFromArbitraryVolume(grid, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, mean));
    EXPECT_EQ(mean.m_Average, 0);
    EXPECT_EQ(mean.m_RelError, 0);
}

TEST_F(GridAnalysisTest, ProbeCellsAreTheEightVoxelsAroundTheCornerLimitedToTheGrid)
{
    CProbeResult r;
    ASSERT_TRUE(ProbeCell(m_Grid, {3, 2, 1}, 6, r));
    EXPECT_EQ(r.m_Value, 200 + 10 + 0 + 1);
    EXPECT_EQ(r.m_DeviationPercent, 0);
    ASSERT_TRUE(ProbeCell(m_Grid, {0, 2, 1}, 1, r));
    EXPECT_EQ(r.m_Value, 0 + 20 + 1 + 1); // x limited to 0: the same voxel as cell 0
    ASSERT_TRUE(ProbeCell(m_Grid, {3, 2, 1}, ProbeAverage8, r));
    EXPECT_DOUBLE_EQ(r.m_Value, 250 + 15 + 0.5 + 1);
    EXPECT_EQ(r.m_Lo, (CIndex3{2, 1, 0}));
    EXPECT_EQ(r.m_Hi, (CIndex3{3, 2, 1}));
    EXPECT_FALSE(ProbeCell(m_Grid, {3, 2, 1}, 9, r));
}

TEST_F(GridAnalysisTest, ArbitraryProbeFailsAtTheGridCorner)
{
    CProbeResult r;
    EXPECT_FALSE(ProbeBox(m_Grid, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, r));
    ASSERT_TRUE(ProbeBox(m_Grid, {3, 2, 1}, {2, 1, 1}, {1, 2, 1}, r));
    EXPECT_EQ(r.m_Lo, (CIndex3{1, 1, 0}));
    EXPECT_EQ(r.m_Hi, (CIndex3{3, 3, 1}));
}

TEST_F(GridAnalysisTest, LocatingTheMaximumMovesTheSlidersAndProbesThatVoxel)
{
    m_State.m_PlaneEnabled[PlaneZX] = false;
    ASSERT_TRUE(LocateExtreme(m_Grid, m_State, true));
    EXPECT_EQ(CrossingPoint(m_State), (CIndex3{9, 3, 5}));
    EXPECT_TRUE(m_State.m_PlaneEnabled[PlaneZX]);
    CProbeResult r;
    ASSERT_TRUE(ProbeCell(m_Grid, CrossingPoint(m_State), 0, r));
    EXPECT_EQ(r.m_Value, m_Grid.m_RangeMax);
    ASSERT_TRUE(LocateExtreme(m_Grid, m_State, false));
    EXPECT_EQ(CrossingPoint(m_State), (CIndex3{0, 0, 0}));
    m_Grid.m_MaxDataValIndices[0] = -1;
    EXPECT_FALSE(LocateExtreme(m_Grid, m_State, true));
    EXPECT_EQ(CrossingPoint(m_State), (CIndex3{0, 0, 0}));
}

class AvgProfileCheckTest : public GridAnalysisTest
{
protected:
    void SetUp() override
    {
        GridAnalysisTest::SetUp();
        m_Request.m_Source = PlaneXY;
        m_Request.m_Intersection = PlaneYZ; // along Y
        m_Request.m_UDir = 0;
        m_Request.m_VDir = 2;
    }
    std::string Check() const { return CheckAvgProfile(m_Grid, m_State, m_Request).m_Text; }
    CAvgProfileRequest m_Request;
};

TEST_F(AvgProfileCheckTest, MessagesComeInTheirOrder)
{
    EXPECT_EQ(Check(), "");
    m_Request.m_VMinus = -1;
    m_Request.m_BinsAlong = 0;
    EXPECT_NE(Check().find("dimensions in V exceed"), std::string::npos);
    m_Request.m_VMinus = 1;
    EXPECT_EQ(Check(), "Sorry, but at least 1 bin must be used along the profile direction!");
    m_Request.m_BinsAlong = 1;
    m_Request.m_Intersection = PlaneXY;
    EXPECT_EQ(Check(), "You cannot intersect the source plane with itself!");
    m_Request.m_Intersection = PlaneYZ;
    m_State.m_PlaneEnabled[PlaneYZ] = false;
    EXPECT_EQ(Check(), "Extraction is only possible for enabled projection planes!");
    m_State.m_PlaneEnabled[PlaneYZ] = true;
    m_Request.m_VDir = 0;
    EXPECT_EQ(Check(), "Horizontal & vertical averaging axes must be different!");
    m_Request.m_VDir = 1;
    EXPECT_EQ(Check(), "With the current projection/intersection planes only X or Z can be "
                       "selected as U/V averaging directions!");
    m_Request.m_VDir = 2;
    m_Request.m_BinsAlong = 5;
    EXPECT_EQ(Check(),
              "Number of averaging bins along the profile direction exceeds the available data!");
    m_Request.m_BinsAlong = 4;
    m_Request.m_UPlus = 7; // x slider 3, range 0..9
    EXPECT_NE(Check().find("dimensions in U exceed"), std::string::npos);
    m_Request.m_UPlus = 6;
    m_Request.m_VMinus = 2; // z slider 1
    EXPECT_NE(Check().find("dimensions in V exceed"), std::string::npos);
}

TEST_F(AvgProfileCheckTest, EmptyAveragingExtentIsRefused)
{
    m_Request.m_UMinus = m_Request.m_UPlus = 0;
    EXPECT_NE(Check().find("dimensions in U exceed"), std::string::npos);
}

TEST_F(AvgProfileCheckTest, DirectionPairsNameTheAxesAcrossTheLine)
{
    m_Request.m_Source = PlaneYZ;
    m_Request.m_Intersection = PlaneZX; // along Z
    m_Request.m_UDir = 2;
    m_Request.m_VDir = 0;
    EXPECT_NE(Check().find("only X or Y"), std::string::npos);
    m_Request.m_Source = PlaneZX;
    m_Request.m_Intersection = PlaneXY; // along X
    m_Request.m_UDir = 1;
    m_Request.m_VDir = 0;
    EXPECT_NE(Check().find("only Y or Z"), std::string::npos);
}

TEST(ProfilePlot, TinyValuesAreScaledBy1e15)
{
    std::vector<double> values{0, 2e-10, 3};
    EXPECT_TRUE(ScaleTinyValues(values));
    EXPECT_EQ(values[0], 0);
    EXPECT_DOUBLE_EQ(values[1], 2e5);
    EXPECT_DOUBLE_EQ(values[2], 3e15);
    std::vector<double> plain{1e-14, 1};
    EXPECT_FALSE(ScaleTinyValues(plain));
    EXPECT_EQ(plain[0], 1e-14);
    EXPECT_EQ(ProfileAxisTitle(PlaneYZ, PlaneXY), "Y - direction / cm");
    EXPECT_EQ(ProfileAxisTitle(PlaneZX, PlaneYZ), "Z - direction / cm");
    EXPECT_EQ(ProfileAxisTitle(PlaneXY, PlaneZX), "X - direction / cm");
}

TEST(Octants, MeansAroundTheCrossingAndTheirSpread)
{
    CVoxelGrid grid;
    FillIndexed(grid, 2, 2, 2);
    const COctantSummary s = OctantMeans(grid, {1, 1, 1});
    ASSERT_EQ(s.m_Filled, 8);
    double sum = 0, squares = 0;
    for (int n = 0; n < 8; ++n)
    {
        const double v = 100 * (n & 1) + 10 * ((n >> 1) & 1) + ((n >> 2) & 1) + 1;
        EXPECT_EQ(s.m_Octants[n].m_Mean, v);
        sum += v;
    }
    EXPECT_DOUBLE_EQ(s.m_Mean, sum / 8);
    for (int n = 0; n < 8; ++n)
        squares += std::pow(s.m_Octants[n].m_Mean - s.m_Mean, 2);
    EXPECT_DOUBLE_EQ(s.m_SharePercent, 100 * std::sqrt(squares / 8) / s.m_Mean);
}

TEST(Octants, ASliderAtZeroLeavesHalfTheOctantsEmpty)
{
    CVoxelGrid grid;
    FillIndexed(grid, 2, 2, 2);
    const COctantSummary s = OctantMeans(grid, {0, 1, 1});
    EXPECT_EQ(s.m_Filled, 4);
    EXPECT_TRUE(s.m_Octants[0].m_Empty);
    EXPECT_FALSE(s.m_Octants[1].m_Empty);
    EXPECT_FALSE(std::isnan(s.m_Mean));
    CVoxelGrid zeros;
    std::string error;
    ASSERT_TRUE(zeros.AllocateGrid(2, 2, 2, error));
    const COctantSummary z = OctantMeans(zeros, {1, 1, 1});
    EXPECT_EQ(z.m_Mean, 0);
    EXPECT_EQ(z.m_SharePercent, 0);
}

TEST(Rebinning, CountsThatDoNotDivideAreRefusedByAxis)
{
    EXPECT_EQ(CheckRebinning({4, 6, 8}, {2, 3, 4}), "");
    EXPECT_EQ(CheckRebinning({4, 6, 8}, {3, 3, 4}),
              "The old number of X bins must be divisable by the new number without remainder!");
    EXPECT_EQ(CheckRebinning({4, 6, 8}, {2, 4, 3}),
              "The old number of Y bins must be divisable by the new number without remainder!");
    EXPECT_NE(CheckRebinning({4, 6, 8}, {2, 3, 0}), "");
}

TEST(Rebinning, BlockMeansKeepTheTotal)
{
    CVoxelGrid grid, out;
    FillIndexed(grid, 4, 2, 6);
    std::string error;
    ASSERT_TRUE(Rebin(grid, {2, 1, 3}, out, error)) << error;
    EXPECT_EQ(out.m_NrXBins, 2);
    EXPECT_DOUBLE_EQ(out.m_BinWidth[0], 1.0);
    EXPECT_DOUBLE_EQ(out.m_BinWidth[2], 3.0);
    EXPECT_DOUBLE_EQ(out.m_BinWidth[1], 2.0);
    EXPECT_DOUBLE_EQ(out.m_Voxels[1][0][2], 250 + 5 + 4.5 + 1);
    EXPECT_DOUBLE_EQ(test::VolumeTotal(grid), test::VolumeTotal(out));
}
} // namespace volumira3d
