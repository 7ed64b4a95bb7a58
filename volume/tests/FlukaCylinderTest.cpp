#include "TestHelpers.h"
#include "volume/loading/CylinderResampling.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace volumira3d
{
using namespace test;

class FlukaCylinderTest : public CLoaderTest
{
protected:
    bool LoadRZ(const std::string& path) { return Loader().Load("FLUKA R-Z USRBIN", path); }
    bool LoadRPhiZ(const std::string& path) { return Loader().Load("FLUKA R-Phi-Z USRBIN", path); }
    double V(int ix, int iy, int iz) const { return m_Grid.m_Voxels[ix][iy][iz]; }
};

TEST_F(FlukaCylinderTest, EveryVoxelTakesTheRingThatHoldsItsCentre)
{
    // Axis at (1, -1), rings of 1 cm to 4 cm, two planes: values 10..13 and 20..23.
    ASSERT_TRUE(LoadRZ(DataPath("rz_4x2.rz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 8);
    EXPECT_EQ(m_Grid.m_NrYBins, 8);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(m_Grid.m_GridMin[0], 1 - 4);
    EXPECT_EQ(m_Grid.m_GridMin[1], -1 - 4);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 1);
    EXPECT_EQ(m_Grid.m_GenParticle, 211);
    // Centres relative to the axis: (ix - 3.5, iy - 3.5).
    for (int ix : {3, 4})
        for (int iy : {3, 4})
            EXPECT_EQ(V(ix, iy, 0), 10); // radius 0.71
    EXPECT_EQ(V(5, 4, 0), 11);           // (1.5, 0.5): 1.58
    EXPECT_EQ(V(2, 3, 0), 11);           // (-1.5, -0.5)
    EXPECT_EQ(V(5, 5, 0), 12);           // (1.5, 1.5): 2.12
    EXPECT_EQ(V(6, 6, 0), 13);           // (2.5, 2.5): 3.54
    EXPECT_EQ(V(7, 4, 1), 23);
    EXPECT_EQ(V(0, 3, 1), 23);
    EXPECT_EQ(V(7, 7, 0), 0); // (3.5, 3.5): 4.95, outside the cylinder
    EXPECT_EQ(V(0, 0, 1), 0);
    // Symmetric about the axis: the picture is not shifted by half a voxel.
    for (int ix = 0; ix < 8; ++ix)
        for (int iy = 0; iy < 8; ++iy)
            EXPECT_EQ(V(ix, iy, 1), V(7 - ix, 7 - iy, 1)) << ix << " " << iy;
    EXPECT_EQ(m_Grid.m_RangeMin, 10);
    EXPECT_EQ(m_Grid.m_RangeMax, 23);
    // The statistics name the first voxel in storage order (x fastest).
    EXPECT_EQ(m_Grid.m_MinDataValIndices[0], 3);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[1], 3);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 2); // (-1.5, -3.5): 3.81
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 0);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 1);
    EXPECT_TRUE(Logged("Requesting 0.00 MB of memory..."));
    EXPECT_TRUE(Logged("...successful"));
    EXPECT_TRUE(Logged(Format("Using %d cores", omp_get_num_procs())));
    EXPECT_TRUE(Logged("Mapping 128 bins to XYZ... 100%"));
}

TEST_F(FlukaCylinderTest, AFinerResolutionKeepsTheRingsWhereTheyAre)
{
    CVolumeLoader loader(m_Grid, m_Log);
    loader.SetCylinderResolution(0.5);
    ASSERT_TRUE(loader.Load("FLUKA R-Z USRBIN", DataPath("rz_4x2.rz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 16);
    EXPECT_EQ(m_Grid.m_GridMin[0], -3);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.5);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 1); // along the axis the bins' own width
    EXPECT_EQ(V(8, 8, 0), 10);          // (0.25, 0.25)
    EXPECT_EQ(V(10, 8, 0), 11);         // (1.25, 0.25): 1.27
    EXPECT_EQ(V(15, 8, 1), 23);         // (3.75, 0.25): 3.76
    EXPECT_EQ(V(15, 12, 1), 0);         // (3.75, 2.25): 4.37
}

TEST_F(FlukaCylinderTest, OneValueMissingLeavesTheLastRingAtZeroAndSaysSo)
{
    ASSERT_TRUE(LoadRZ(DataPath("bad/truncated.rz")));
    EXPECT_EQ(V(7, 5, 0), 4);
    EXPECT_EQ(V(4, 4, 1), 5);
    EXPECT_EQ(V(6, 4, 1), 7);
    EXPECT_EQ(V(7, 4, 1), 0); // (3.5, 0.5): the ring whose value is missing
    EXPECT_EQ(V(7, 5, 1), 0);
    EXPECT_TRUE(Ui().Messages().empty());
    ASSERT_TRUE(Logged("Only 7 of 8 values could be read; the remaining voxels were left at 0."));
}

struct CCompaction
{
    double m_RMax;
    int m_NR;
    double m_DR;
    bool m_Asked;
    int m_Grid;
};

void PrintTo(const CCompaction& c, std::ostream* os)
{
    *os << c.m_NR << " rings of " << c.m_DR << " cm";
}

class CompactionQuestion : public FlukaCylinderTest,
                           public ::testing::WithParamInterface<CCompaction>
{
};

TEST_P(CompactionQuestion, OfferedOnlyForMoreThan100EvenBins)
{
    const CCompaction& c = GetParam();
    Ui().QueueAnswer(IDYES);
    const std::string path = WriteScratch(
        "c.rz", FlukaRZ(0, c.m_RMax, c.m_NR, c.m_DR, 1, FlukaValues(Sequence(c.m_NR))));
    ASSERT_TRUE(LoadRZ(path));
    EXPECT_EQ(Shown("More than 100 radial bins have been detected. Do you want to compact these by "
                    "a factor of 2 to save memory?",
                    "question"),
              c.m_Asked);
    EXPECT_EQ(m_Grid.m_NrXBins, c.m_Grid);
}

INSTANTIATE_TEST_SUITE_P(RZ, CompactionQuestion,
                         ::testing::Values(CCompaction{10, 100, 0.1, false, 200},
                                           CCompaction{10.1, 101, 0.1, false, 202},
                                           CCompaction{10, 200, 0.05, true, 200}));

TEST_F(FlukaCylinderTest, CompactionAveragesPairsAndDoublesTheBins)
{
    Ui().QueueAnswer(IDYES);
    ASSERT_TRUE(
        LoadRZ(WriteScratch("c.rz", FlukaRZ(0, 10, 200, 0.05, 2, FlukaValues(Sequence(400))))));
    EXPECT_EQ(m_Grid.m_NrXBins, 200);
    EXPECT_DOUBLE_EQ(m_Grid.m_BinWidth[0], 0.1);
    EXPECT_EQ(V(100, 100, 0), 1.5);   // (1 + 2) / 2
    EXPECT_EQ(V(100, 100, 1), 201.5); // (201 + 202) / 2
    Ui().Reset();
    Ui().QueueAnswer(IDNO);
    ASSERT_TRUE(
        LoadRZ(WriteScratch("c.rz", FlukaRZ(0, 10, 200, 0.05, 1, FlukaValues(Sequence(200))))));
    EXPECT_EQ(m_Grid.m_NrXBins, 400);
}

TEST_F(FlukaCylinderTest, CompactingAnOddRingCountKeepsThePlanesInStep)
{
    // Rmin = 0.05 cm: ring offset 1, 199 rings per plane, n = 200.
    Ui().QueueAnswer(IDYES);
    auto values = Sequence(199, 1);
    auto plane2 = Sequence(199, 1001);
    values.insert(values.end(), plane2.begin(), plane2.end());
    ASSERT_TRUE(
        LoadRZ(WriteScratch("odd.rz", FlukaRZ(0.05, 10, 199, 0.05, 2, FlukaValues(values)))));
    EXPECT_EQ(V(100, 100, 0), 1.5);
    EXPECT_EQ(V(100, 100, 1), 1001.5);
    EXPECT_FALSE(
        Logged("Only 397 of 398 values could be read; the remaining voxels were left at 0."));
}

TEST_F(FlukaCylinderTest, EveryVoxelTakesTheSectorThatHoldsItsCentre)
{
    // Value 100 (sector + 1) + ring + 1; sectors of 45 degrees from -180.
    ASSERT_TRUE(LoadRPhiZ(DataPath("rpz_3x8x1.rpz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 6);
    EXPECT_EQ(m_Grid.m_NrYBins, 6);
    EXPECT_EQ(m_Grid.m_GridMin[0], -3);
    EXPECT_EQ(m_Grid.m_GridMin[1], -3);
    // Centres (ix - 2.5, iy - 2.5).
    EXPECT_EQ(V(4, 3, 0), 502); // (1.5, 0.5): radius 1.58, 18 degrees
    EXPECT_EQ(V(5, 4, 0), 503); // (2.5, 1.5): 2.92, 31 degrees
    EXPECT_EQ(V(0, 1, 0), 103); // (-2.5, -1.5): -149 degrees
    EXPECT_EQ(V(1, 5, 0), 703); // (-1.5, 2.5): 121 degrees
    EXPECT_EQ(V(3, 0, 0), 303); // (0.5, -2.5): -79 degrees
    EXPECT_EQ(V(0, 2, 0), 103); // (-2.5, -0.5): -169 degrees
    EXPECT_EQ(V(0, 0, 0), 0);   // radius 3.54
    // Centres on the diagonals lie on sector boundaries: each takes the sector that starts there.
    EXPECT_EQ(V(3, 3, 0), 601); // 45 degrees
    EXPECT_EQ(V(2, 3, 0), 801); // 135 degrees
    EXPECT_EQ(V(2, 2, 0), 201); // -135 degrees
    EXPECT_EQ(V(3, 2, 0), 401); // -45 degrees
    EXPECT_EQ(m_Grid.m_RangeMax, 803);
    EXPECT_EQ(m_Grid.m_RangeMin, 102); // ring 0 of sector 0 holds no centre
    EXPECT_TRUE(Logged("Mapping 36 bins to XYZ... 100%"));
    EXPECT_FALSE(Logged("...successful")); // no memory line for R-Phi-Z
}

TEST_F(FlukaCylinderTest, AnAxisLineInAnRPhiZHeaderMovesTheGrid)
{
    std::string text = FlukaRPhiZ(0, 3, 3, 1, 2, 1, FlukaValues(Sequence(6)));
    const std::string data = "      Data follow";
    text.insert(text.find(data), "      axis coordinates: X =  5.0000E+00, Y = -2.0000E+00 cm\n");
    ASSERT_TRUE(LoadRPhiZ(WriteScratch("axis.rpz", text)));
    EXPECT_EQ(m_Grid.m_GridMin[0], 5 - 3);
    EXPECT_EQ(m_Grid.m_GridMin[1], -2 - 3);
    EXPECT_EQ(V(3, 3, 0), 4); // (0.5, 0.5) from the axis: upper half turn, ring 0
}

TEST_F(FlukaCylinderTest, SectorResultsDoNotDependOnTheThreadCount)
{
    const std::string path =
        WriteScratch("s.rpz", FlukaRPhiZ(0, 20, 20, 1, 12, 3, FlukaValues(Sequence(20 * 12 * 3))));
    const int threads = omp_get_max_threads();
    omp_set_num_threads(1);
    ASSERT_TRUE(LoadRPhiZ(path));
    const VoxelArray single = m_Grid.m_Voxels;
    const double maxAt[3] = {m_Grid.m_MaxDataValIndices[0], m_Grid.m_MaxDataValIndices[1],
                             m_Grid.m_MaxDataValIndices[2]};
    omp_set_num_threads(4);
    ASSERT_TRUE(LoadRPhiZ(path));
    omp_set_num_threads(threads);
    EXPECT_TRUE(single == m_Grid.m_Voxels);
    EXPECT_EQ(maxAt[0], m_Grid.m_MaxDataValIndices[0]);
    EXPECT_EQ(maxAt[1], m_Grid.m_MaxDataValIndices[1]);
}

TEST_F(FlukaCylinderTest, WideSectorsCoverTheWholeRing)
{
    // One sector of a full turn: every voxel within the outer radius gets its ring's value.
    ASSERT_TRUE(
        LoadRPhiZ(WriteScratch("one.rpz", FlukaRPhiZ(0, 3, 3, 1, 1, 1, FlukaValues({1, 2, 3})))));
    EXPECT_EQ(V(1, 1, 0), 3); // lower left, radius 2.12
    EXPECT_EQ(V(4, 4, 0), 3); // upper right
    EXPECT_EQ(V(5, 5, 0), 0); // radius 3.54
    EXPECT_EQ(V(3, 3, 0), 1);
    ASSERT_TRUE(LoadRPhiZ(
        WriteScratch("two.rpz", FlukaRPhiZ(0, 3, 3, 1, 2, 1, FlukaValues({1, 2, 3, 4, 5, 6})))));
    EXPECT_EQ(V(5, 1, 0), 3); // lower right belongs to the first half turn
    EXPECT_EQ(V(1, 5, 0), 6);
}

namespace
{
// The plane of a binning written out voxel by voxel: the value of the ring and sector that hold
// the voxel's centre (rings from rmin in bins of 1 cm, sectors from -pi), 0 outside or where the
// file ran out.
void FillByCentres(CVoxelGrid& grid, const std::vector<double>& values, long count, int nr,
                   double rmin, int nphi, int iz)
{
    const int n = grid.m_NrXBins;
    const std::vector<double> phi = EvenEdges(-std::numbers::pi, std::numbers::pi, nphi);
    for (int iy = 0; iy < n; ++iy)
        for (int ix = 0; ix < n; ++ix)
        {
            const double x = ix + 0.5 - n / 2, y = iy + 0.5 - n / 2;
            const double r = std::hypot(x, y);
            const int ring = static_cast<int>(std::floor(r - rmin));
            const int sector = static_cast<int>(
                std::upper_bound(phi.begin(), phi.end(), std::atan2(y, x)) - phi.begin() - 1);
            const long k = long(std::clamp(sector, 0, nphi - 1)) * nr + ring;
            const double v = r >= rmin && ring < nr && k < count ? values[size_t(k)] : 0;
            grid.m_Voxels[ix][iy][iz] = v;
            if (v != 0) grid.UpdateStatistics(v, ix, iy, iz);
        }
}

struct CSectorCase
{
    double m_RMin;
    int m_NR, m_NPhi, m_NZ;
    long m_Missing; // values cut from the end of the file
};

void PrintTo(const CSectorCase& c, std::ostream* os)
{
    *os << c.m_NR << " rings from " << c.m_RMin << " cm, " << c.m_NPhi << " sectors, " << c.m_NZ
        << " planes, " << c.m_Missing << " values missing";
}
} // namespace

class SectorFill : public FlukaCylinderTest, public ::testing::WithParamInterface<CSectorCase>
{
};

TEST_P(SectorFill, EqualsTheFillVoxelByVoxel)
{
    const CSectorCase& t = GetParam();
    const long perPlane = long(t.m_NR) * t.m_NPhi;
    std::vector<double> values(static_cast<size_t>(perPlane * t.m_NZ));
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = double((i * 37) % 101); // some zeros, many equal values
    values.resize(values.size() - static_cast<size_t>(t.m_Missing));
    const double rmax = t.m_RMin + t.m_NR;
    ASSERT_TRUE(LoadRPhiZ(WriteScratch(
        "s.rpz", FlukaRPhiZ(t.m_RMin, rmax, t.m_NR, 1, t.m_NPhi, t.m_NZ, FlukaValues(values)))));

    CVoxelGrid expected;
    std::string error;
    ASSERT_TRUE(expected.AllocateGrid(m_Grid.m_NrXBins, m_Grid.m_NrYBins, t.m_NZ, error));
    expected.m_BinWidth[0] = expected.m_BinWidth[1] = 1;
    for (int iz = 0; iz < t.m_NZ; ++iz)
    {
        const long present = std::clamp(long(values.size()) - iz * perPlane, 0L, perPlane);
        const std::vector<double> plane(
            values.begin() + std::min<long>(iz * perPlane, values.size()),
            values.begin() + std::min<long>(iz * perPlane + present, values.size()));
        FillByCentres(expected, plane, present, t.m_NR, t.m_RMin, t.m_NPhi, iz);
    }
    EXPECT_TRUE(expected.m_Voxels == m_Grid.m_Voxels);
    EXPECT_EQ(expected.m_RangeMin, m_Grid.m_RangeMin);
    EXPECT_EQ(expected.m_RangeMax, m_Grid.m_RangeMax);
    for (int a = 0; a < 3; ++a)
    {
        EXPECT_EQ(expected.m_MinDataValIndices[a], m_Grid.m_MinDataValIndices[a]);
        EXPECT_EQ(expected.m_MaxDataValIndices[a], m_Grid.m_MaxDataValIndices[a]);
    }
}

INSTANTIATE_TEST_SUITE_P(RPhiZ, SectorFill,
                         ::testing::Values(CSectorCase{0, 3, 8, 1, 0}, CSectorCase{0, 9, 8, 2, 0},
                                           CSectorCase{2, 7, 5, 2, 0}, CSectorCase{0, 6, 1, 1, 0},
                                           CSectorCase{0, 6, 2, 1, 0}, CSectorCase{0, 6, 3, 1, 0},
                                           CSectorCase{0, 6, 4, 1, 0}, CSectorCase{1, 12, 13, 2, 0},
                                           CSectorCase{0, 20, 36, 1, 0},
                                           CSectorCase{0, 10, 6, 3, 25},
                                           CSectorCase{0, 15, 90, 1, 0}));

TEST_F(FlukaCylinderTest, BadRadialBinningsAreRefusedBeforeAllocation)
{
    EXPECT_FALSE(LoadRZ(DataPath("bad/huge_radius.rz")));
    EXPECT_TRUE(Shown("The radial binning from 0 to 400000 cm in bins of 0.01 cm cannot be mapped",
                      "error"));
    Ui().Reset();
    Ui().QueueAnswer(IDYES); // compaction
    Ui().QueueAnswer(IDYES); // the grid question
    EXPECT_FALSE(LoadRZ(DataPath("bad/huge_grid.rz")));
    EXPECT_TRUE(Shown("More than 100 radial bins"));
    EXPECT_TRUE(Shown("The grid of 1000000 x 1000000 x 2 bins would need", "error"))
        << ::testing::PrintToString(MessageTexts());
    Ui().Reset();
    EXPECT_FALSE(LoadRZ(DataPath("bad/zero_width.rz")));
    EXPECT_TRUE(
        Logged("the bin width must be above 0 in \"      R coordinate: from  0.0000E+00 to  "
               "4.0000E+00 cm,     4 bins ( 0.0000E+00 cm wide)\""));
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(FlukaCylinderTest, HugeSectorAndPlaneCountsInATinyFileEndQuickly)
{
    ASSERT_TRUE(LoadRPhiZ(WriteScratch(
        "many.rpz", FlukaRPhiZ(0, 3, 3, 1, 2000000000, 1000, FlukaValues({1, 2, 3, 4})))));
    EXPECT_EQ(m_Grid.m_NrZBins, 1000);
    EXPECT_TRUE(Logged("Only 4 of 6000000000000 values could be read; the remaining voxels were "
                       "left at 0."));
    Ui().QueueAnswer(IDYES); // 102 rings: compaction leaves no ring of a single one
    ASSERT_TRUE(LoadRPhiZ(
        WriteScratch("one.rpz", FlukaRPhiZ(101, 102, 1, 1, 4, 2, FlukaValues({1, 2, 3})))));
    EXPECT_EQ(m_Grid.m_RangeMax, -1e10);
}

// A ring count that disagrees with the radial range and width would misalign every ring.
TEST_F(FlukaCylinderTest, RingCountsThatDisagreeWithRangeAndWidthAreRefused)
{
    EXPECT_FALSE(
        LoadRZ(WriteScratch("three.rz", FlukaRZ(0, 4, 3, 1, 2, FlukaValues(Sequence(6))))));
    EXPECT_TRUE(Logged("the header line \"      R coordinate: from  0.0000E+00 to  4.0000E+00 cm, "
                       "    3 bins ( 1.0000E+00 cm wide)\" announces 3 bins, but (to - from) / "
                       "width gives 4"))
        << ::testing::PrintToString(m_Log.m_Lines);
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
    EXPECT_FALSE(
        LoadRZ(WriteScratch("rings.rz", FlukaRZ(0, 5, 49, 0.1, 1, FlukaValues(Sequence(49))))));
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
    EXPECT_FALSE(LoadRPhiZ(
        WriteScratch("three.rpz", FlukaRPhiZ(0, 4, 3, 1, 2, 1, FlukaValues(Sequence(6))))));
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(FlukaCylinderTest, AHugeGridFromATinyFileIsAQuestionWithDefaultNo)
{
    const std::string path =
        WriteScratch("wide.rz", FlukaRZ(0, 7999, 7999, 1, 1, FlukaValues({1, 2})));
    EXPECT_FALSE(LoadRZ(path));
    EXPECT_TRUE(Shown("The grid needs", "question")) << ::testing::PrintToString(MessageTexts());
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(FlukaCylinderTest, ManyRingsInASmallFileAskBeforeHundredsOfMegabytes)
{
    // 10000 rings compacted to 5000: a grid of 10000 x 10000 voxels, 800 MB, from a few bytes.
    const std::string path =
        WriteScratch("rings.rz", FlukaRZ(0, 10000, 10000, 1, 1, FlukaValues({1, 2})));
    Ui().QueueAnswer(IDYES); // compaction
    EXPECT_FALSE(LoadRZ(path));
    EXPECT_TRUE(Shown("The grid needs 0.8 GB. Continue?", "question"))
        << ::testing::PrintToString(MessageTexts());
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(FlukaCylinderTest, TheRingCountComesFromTheBinCountNotFromATruncatedRatio)
{
    // 10 / 0.1 truncated is 99 in floating point; the grid must still hold 100 rings a side.
    ASSERT_TRUE(
        LoadRZ(WriteScratch("r.rz", FlukaRZ(0, 10, 100, 0.1, 1, FlukaValues(Sequence(100))))));
    EXPECT_EQ(m_Grid.m_NrXBins, 200);
    EXPECT_DOUBLE_EQ(m_Grid.m_GridMin[0], -10);
    // Rmin = 0.3 in bins of 0.1: three rings before the file's first.
    ASSERT_TRUE(LoadRZ(WriteScratch("o.rz", FlukaRZ(0.3, 1, 7, 0.1, 1, FlukaValues(Sequence(7))))));
    EXPECT_EQ(m_Grid.m_NrXBins, 20);
    // A header whose end disagrees with its bins is refused with the line.
    EXPECT_FALSE(LoadRZ(WriteScratch("x.rz", FlukaRZ(0, 10, 4, 1, 1, FlukaValues(Sequence(4))))));
    EXPECT_EQ(m_Grid.m_NrXBins, 20) << "refused before the grid was touched";
}
// A point exactly on an edge belongs to the bin that starts there; the outer edges bound nothing.
TEST(CylinderMesh, APointOnAnEdgeBelongsToTheBinThatStartsThere)
{
    CCylinderMesh mesh;
    mesh.m_Origin = {1, 2, 3};
    mesh.m_R = {0, 1, 2};
    mesh.m_Phi = EvenEdges(-std::numbers::pi, std::numbers::pi, 4);
    mesh.m_T = {0, 2, 4};
    const long long nr = 2, nphi = 4;
    const auto bin = [&](long long ir, long long iphi, long long it)
    { return (it * nphi + iphi) * nr + ir; };
    EXPECT_EQ(mesh.BinAt({1.5, 2, 3}), bin(0, 2, 0));  // r 0.5, phi 0: the sector from 0
    EXPECT_EQ(mesh.BinAt({2, 2, 3}), bin(1, 2, 0));    // r exactly 1: the outer ring
    EXPECT_EQ(mesh.BinAt({2, 2, 5}), bin(1, 2, 1));    // t exactly 2: the upper bin
    EXPECT_EQ(mesh.BinAt({1, 3.5, 3}), bin(1, 3, 0));  // phi exactly pi / 2
    EXPECT_EQ(mesh.BinAt({-0.5, 2, 3}), bin(1, 0, 0)); // phi pi is -pi: the first sector
    EXPECT_EQ(mesh.BinAt({3, 2, 3}), -1);              // r exactly 2: outside
    EXPECT_EQ(mesh.BinAt({1.5, 2, 7}), -1);            // t exactly 4: outside
    EXPECT_EQ(mesh.BinAt({1.5, 2, 2.9}), -1);          // below the first edge
}
} // namespace volumira3d
