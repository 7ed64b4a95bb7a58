#include "TestHelpers.h"
#include "volume/loading/CylinderMapping.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <algorithm>
#include <cmath>

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

TEST_F(FlukaCylinderTest, RingsFillKnownVoxelsAroundTheAxis)
{
    ASSERT_TRUE(LoadRZ(DataPath("rz_4x2.rz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 8);
    EXPECT_EQ(m_Grid.m_NrYBins, 8);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(m_Grid.m_GridMin[0], 1 - 4);
    EXPECT_EQ(m_Grid.m_GridMin[1], -1 - 4);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 1);
    EXPECT_EQ(m_Grid.m_GenParticle, 211);
    // The four cells at the centre corner take ring 0, mirrored.
    for (int ix : {3, 4})
        for (int iy : {3, 4})
            EXPECT_EQ(V(ix, iy, 0), 10);
    // Corners exactly on a ring boundary take the outer ring.
    EXPECT_EQ(V(4, 5, 0), 11);
    EXPECT_EQ(V(5, 4, 0), 11);
    EXPECT_EQ(V(2, 3, 0), 11);
    EXPECT_EQ(V(5, 5, 0), 11); // corner at radius 1.41
    EXPECT_EQ(V(7, 4, 1), 23);
    EXPECT_EQ(V(0, 3, 1), 23);
    EXPECT_EQ(V(7, 7, 0), 0); // corner at radius 4.24, beyond the last ring
    EXPECT_EQ(V(0, 0, 1), 0);
    EXPECT_EQ(m_Grid.m_RangeMin, 10);
    EXPECT_EQ(m_Grid.m_RangeMax, 23);
    // The statistics name the first voxel of the write.
    EXPECT_EQ(m_Grid.m_MinDataValIndices[0], 4);
    EXPECT_EQ(m_Grid.m_MinDataValIndices[1], 4);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 4);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 7);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 1);
    EXPECT_TRUE(Logged("Requesting 0.00 MB of memory..."));
    EXPECT_TRUE(Logged("...successful"));
    EXPECT_TRUE(Logged(Format("Using %d cores", omp_get_num_procs())));
    EXPECT_TRUE(Logged("Mapping 4 bins to XYZ... 50%") || Logged("Mapping 8 bins to XYZ... 100%"));
}

TEST_F(FlukaCylinderTest, OneValueMissingLeavesTheLastRingAtZeroAndSaysSo)
{
    ASSERT_TRUE(LoadRZ(DataPath("bad/truncated.rz")));
    EXPECT_EQ(V(7, 5, 0), 4);
    EXPECT_EQ(V(4, 4, 1), 5);
    EXPECT_EQ(V(6, 4, 1), 7);
    EXPECT_EQ(V(7, 4, 1), 7); // on the boundary of the last ring read
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

TEST_F(FlukaCylinderTest, SectorsFillKnownVoxels)
{
    ASSERT_TRUE(LoadRPhiZ(DataPath("rpz_3x8x1.rpz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 7);
    EXPECT_EQ(m_Grid.m_NrYBins, 7);
    EXPECT_EQ(m_Grid.m_GridMin[0], -3);
    EXPECT_EQ(m_Grid.m_GridMin[1], -3);
    // Value 100 (sector + 1) + ring + 1; offsets from the centre corner (3, 3).
    EXPECT_EQ(V(5, 4, 0), 503); // (2, 1): radius 2.24, angle 0.46
    EXPECT_EQ(V(1, 2, 0), 103); // (-2, -1): angle -2.68
    EXPECT_EQ(V(2, 5, 0), 703); // (-1, 2): angle 2.03
    EXPECT_EQ(V(4, 1, 0), 303); // (1, -2): angle -1.11
    EXPECT_EQ(V(4, 3, 0), 502); // (1, 0): outer ring and later sector on both boundaries
    EXPECT_EQ(V(0, 2, 0), 0);   // radius 3.16
    EXPECT_EQ(V(3, 0, 0), 0);   // row 0 is never scanned
    EXPECT_EQ(m_Grid.m_RangeMax, 803);
    EXPECT_EQ(m_Grid.m_RangeMin, 102); // no corner lies in ring 0 of sector 0
    EXPECT_TRUE(Logged("Mapping 49 bins to XYZ... 100%"));
    EXPECT_FALSE(Logged("...successful")); // no memory line for R-Phi-Z
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
    EXPECT_EQ(V(1, 1, 0), 3); // lower left, radius 2.83
    EXPECT_EQ(V(5, 5, 0), 3); // upper right
    EXPECT_EQ(V(3, 3, 0), 1);
    ASSERT_TRUE(LoadRPhiZ(
        WriteScratch("two.rpz", FlukaRPhiZ(0, 3, 3, 1, 2, 1, FlukaValues({1, 2, 3, 4, 5, 6})))));
    EXPECT_EQ(V(5, 1, 0), 3); // lower right belongs to the first half turn
    EXPECT_EQ(V(1, 5, 0), 6);
}

namespace
{
// The sector fill as the file defines it, value after value: every voxel of the sector's window
// whose corner lies in the annulus and the sector gets the value; the statistics see the value
// at the first voxel written.
void FillSectorsValueByValue(CVoxelGrid& grid, const std::vector<double>& values, long count,
                             int nr, int off, int nphi, int iz)
{
    const auto windows = SectorWindows(grid.m_NrXBins, nphi);
    const int c = grid.m_NrXBins / 2;
    const double dx = grid.m_BinWidth[0];
    for (long k = 0; k < count; ++k)
    {
        const CSectorWindow& w = windows[k / nr];
        const int r = off + int(k % nr);
        int firstX = -1, firstY = -1;
        for (int ix = w.m_X0; ix <= w.m_X1; ++ix)
            for (int iy = w.m_Y0; iy <= w.m_Y1; ++iy)
            {
                const double ox = (ix - c) * dx, oy = (iy - c) * dx;
                const double d = std::sqrt(ox * ox + oy * oy);
                const double angle = std::atan2(oy, ox);
                if (d < r * dx || d > (r + 1) * dx || angle < w.m_Lo || angle > w.m_Hi) continue;
                grid.m_Voxels[ix][iy][iz] = values[k];
                if (firstX < 0) firstX = ix, firstY = iy;
            }
        if (values[k] != 0 && firstX >= 0) grid.UpdateStatistics(values[k], firstX, firstY, iz);
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

TEST_P(SectorFill, EqualsTheFillValueByValue)
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
        FillSectorsValueByValue(expected, plane, present, t.m_NR, int(t.m_RMin), t.m_NPhi, iz);
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
} // namespace volumira3d
