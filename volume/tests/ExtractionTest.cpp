#include "TestHelpers.h"
#include "volume/analysis/DataExtraction.h"
#include "volume/analysis/DataProbe.h"
#include "volume/analysis/ExtractionWriters.h"
#include "volume/analysis/GridAnalysis.h"
#include "volume/model/DisplayState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace volumira3d
{
using namespace test;

namespace
{
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::tm FixedTime()
{
    std::tm t{};
    t.tm_mday = 7;
    t.tm_mon = 11;
    t.tm_year = 126;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    return t;
}

// Value 100 ix + 10 iy + iz + 1, lower corner (0, 10, 20), widths 1, 2, 4.
void Fill(CVoxelGrid& grid, int nx, int ny, int nz)
{
    std::string error;
    ASSERT_TRUE(grid.AllocateGrid(nx, ny, nz, error)) << error;
    for (int a = 0; a < 3; ++a)
    {
        grid.m_GridMin[a] = 10.0 * a;
        grid.m_BinWidth[a] = 1 << a;
    }
    for (int ix = 0; ix < nx; ++ix)
        for (int iy = 0; iy < ny; ++iy)
            for (int iz = 0; iz < nz; ++iz)
                grid.StoreValue(ix, iy, iz, 100 * ix + 10 * iy + iz + 1);
}
} // namespace

class ExtractionTest : public CLoaderTest
{
protected:
    std::ostringstream m_Out;
};

TEST_F(ExtractionTest, ComsolFileOfATwoByTwoByTwoGrid)
{
    Fill(m_Grid, 2, 2, 2);
    ASSERT_TRUE(WriteComsol(m_Out, m_Grid));
    EXPECT_EQ(Lines(m_Out.str()),
              (std::vector<std::string>{"% Grid", "0 1 ", "10 12 ", "20 24 ", "% Data", "1 101 ",
                                        "11 111 ", "2 102 ", "12 112 "}));
}

TEST_F(ExtractionTest, MatrixRowsFollowTheSecondAxisAsTheHeaderSays)
{
    Fill(m_Grid, 3, 2, 4);
    ASSERT_TRUE(WritePlaneMatrix(m_Out, m_Grid, 2, 1, FixedTime())); // XZ at y index 1
    const auto lines = Lines(m_Out.str());
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "* Data extraction by Tessaron/Volumix3D");
    EXPECT_EQ(lines[1], "* Created: 7.12.2026");
    EXPECT_EQ(lines[2], "* At: 09:05:03");
    EXPECT_EQ(lines[4], "Projection plane: XZ");
    EXPECT_EQ(lines[5], "Min extension: X: 0, Z: 20 at Y: 12");
    EXPECT_EQ(lines[6], "Max extension: X: 3, Z: 36 at Y: 12");
    EXPECT_EQ(lines[7], "Bin size: 1,4");
    EXPECT_EQ(lines[9], "The columns resemble the values going from X: 0, to X: 3");
    EXPECT_EQ(lines[10], "The rows resemble the values going from Z: 20, to Z: 36");
    EXPECT_EQ(lines[12], "11\t111\t211\t"); // z = 0: x along the row
    EXPECT_EQ(lines[15], "14\t114\t214\t");
}

TEST_F(ExtractionTest, IndexedAndPreprocPlanesListXOutermost)
{
    Fill(m_Grid, 2, 3, 2);
    ASSERT_TRUE(WritePlaneIndexed(m_Out, m_Grid, 0, 1, FixedTime()));
    auto lines = Lines(m_Out.str());
    ASSERT_EQ(lines.size(), 9u + 6u);
    EXPECT_EQ(lines[9], "0\t10\t2");
    EXPECT_EQ(lines[10], "0\t12\t12");
    EXPECT_EQ(lines[14], "1\t14\t122");
    std::ostringstream pre;
    ASSERT_TRUE(WritePlanePreproc(pre, m_Grid, 1, 1)); // YZ at x index 1
    lines = Lines(pre.str());
    ASSERT_EQ(lines.size(), 3u + 6u);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "3 10 2");
    EXPECT_EQ(lines[2], "2 20 4");
    EXPECT_EQ(lines[3], "101");
    EXPECT_EQ(lines[4], "102");
    EXPECT_EQ(lines[5], "111");
}

TEST_F(ExtractionTest, OctantFileReportsEmptyOctantsAndAFiniteSummary)
{
    Fill(m_Grid, 2, 2, 2);
    ASSERT_TRUE(WriteOctantFile(m_Out, m_Grid, OctantMeans(m_Grid, {0, 1, 1}), FixedTime()));
    const auto lines = Lines(m_Out.str());
    ASSERT_EQ(lines.size(), 4u + 8u + 2u);
    EXPECT_EQ(lines[4], "Octant 1 (X: 0 --> 0, Y: 10 --> 12, Z: 20 --> 24) = empty");
    EXPECT_EQ(lines[5], "Octant 2 (X: 0 --> 2, Y: 10 --> 12, Z: 20 --> 24) = 51");
    EXPECT_EQ(lines[13].rfind("Average of all octants: ", 0), 0u);
    EXPECT_EQ(lines[13].find("nan"), std::string::npos);
    EXPECT_NE(lines[13].find("(4 non-empty octants)"), std::string::npos);
}

TEST_F(ExtractionTest, BoxFileListsItsVoxelsOrRefusesABoxOutsideTheGrid)
{
    Fill(m_Grid, 2, 2, 2);
    bool fits = true;
    EXPECT_FALSE(WriteBoxFile(m_Out, m_Grid, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, FixedTime(), fits));
    EXPECT_FALSE(fits);
    EXPECT_TRUE(m_Out.str().empty());
    ASSERT_TRUE(WriteBoxFile(m_Out, m_Grid, {1, 1, 1}, {1, 0, 0}, {1, 1, 1}, FixedTime(), fits));
    const auto lines = Lines(m_Out.str());
    ASSERT_EQ(lines.size(), 4u + 2u + 2u);
    EXPECT_EQ(lines[4], "Voxel 1 (X: 0 --> 1, Y: 12 --> 14, Z: 24 --> 28) = 12");
    EXPECT_EQ(lines[7], "Average of all voxels: 62 +- 80.6452%");
}

// "Arbitrary averaging volume" extracts the box that the probing controls keep in the display
// state, around the planes' crossing point.
TEST_F(ExtractionTest, TheAveragingVolumeIsTheProbingBox)
{
    Fill(m_Grid, 3, 3, 3);
    CDisplayState state;
    std::fill(std::begin(state.m_PlaneEnabled), std::end(state.m_PlaneEnabled), true);
    std::fill(std::begin(state.m_PlaneLayer), std::end(state.m_PlaneLayer), 1);
    state.m_AvgMinusDelta = {1, 0, 1};
    state.m_AvgPlusDelta = {2, 1, 1};
    const std::string path = (TestDir() / "box.txt").string();
    Ui().QueueFile(path);
    CDataExtraction(nullptr, m_Grid, state, nullptr).Run(SourceAvgVolume);
    EXPECT_TRUE(Shown("Extraction from averaging volume successful"));
    bool fits = true;
    ASSERT_TRUE(WriteBoxFile(m_Out, m_Grid, {1, 1, 1}, {1, 0, 1}, {2, 1, 1}, FixedTime(), fits));
    const auto expected = Lines(m_Out.str()), written = Lines(ReadText(path));
    ASSERT_EQ(written.size(), expected.size());
    ASSERT_EQ(written.size(), 4u + 3u * 1u * 2u + 2u); // 3 x 1 x 2 voxels
    // The header's first lines hold the time of writing.
    EXPECT_EQ(std::vector<std::string>(written.begin() + 4, written.end()),
              std::vector<std::string>(expected.begin() + 4, expected.end()));

    // A box that leaves the grid is refused before a file is asked for.
    Ui().Reset();
    state.m_AvgPlusDelta = {3, 1, 1};
    CDataExtraction(nullptr, m_Grid, state, nullptr).Run(SourceAvgVolume);
    EXPECT_TRUE(Shown(ProbeBoxExceedsMessage, "error"));
}

TEST_F(ExtractionTest, AveragedProfileFileHeaderAndRelativeDeviations)
{
    Fill(m_Grid, 2, 6, 2);
    CAvgProfileRequest r;
    r.m_Source = PlaneXY;
    r.m_Intersection = PlaneYZ;
    r.m_UDir = 0;
    r.m_UMinus = 1;
    r.m_UPlus = 1;
    r.m_VDir = 2;
    r.m_VMinus = 0;
    r.m_VPlus = 1;
    r.m_BinsAlong = 3;
    CDisplayState state;
    state.m_PlaneLayer[PlaneYZ] = 1;
    const CProfileData profile = ExtractAveragedProfile(m_Grid, state, r);
    ASSERT_EQ(profile.size(), 2u);
    ASSERT_TRUE(WriteAvgProfileFile(m_Out, m_Grid, r, {1, 0, 0}, profile, FixedTime()));
    const auto lines = Lines(m_Out.str());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[3], "* ");
    EXPECT_EQ(lines[4], "* Projection plane: XY");
    EXPECT_EQ(lines[5], "* Data profile extracted along the intersection with YZ");
    EXPECT_EQ(lines[6], "* Horizontal U direction: the data was averaged along the X axis ");
    EXPECT_EQ(lines[7], "* from position 0 to position 2");
    EXPECT_EQ(lines[10], "* Bin size: 2");
    EXPECT_EQ(lines[11], "* Y axis\tvalue\t rel. deviation %");
    EXPECT_EQ(lines[12].rfind("10\t61\t", 0), 0u);
    EXPECT_EQ(lines[13].rfind("16\t91\t", 0), 0u);
}

TEST_F(ExtractionTest, RebinnedUsrbinLoadsAgainWithNewCountsAndTheSameTotal)
{
    Fill(m_Grid, 4, 2, 6);
    m_Grid.m_NrOfParticles = 5000;
    m_Grid.m_TotalWeight = 5000;
    m_Grid.m_GenParticle = 208;
    CVoxelGrid rebinned;
    std::string error;
    ASSERT_TRUE(Rebin(m_Grid, {2, 1, 3}, rebinned, error)) << error;
    std::ostringstream text;
    ASSERT_TRUE(WriteRebinnedUsrbin(text, rebinned, FixedTime()));
    EXPECT_EQ(Lines(text.str())[0].size(), 111u);
    const std::string path = WriteScratch("rebinned.usrbin", text.str());
    CVoxelGrid total;
    ASSERT_TRUE(CVolumeLoader(total, m_Log).Load("FLUKA cartesian USRBIN", path));
    EXPECT_EQ(total.m_NrXBins, 2);
    EXPECT_EQ(total.m_NrYBins, 1);
    EXPECT_EQ(total.m_NrZBins, 3);
    EXPECT_DOUBLE_EQ(total.m_BinWidth[0], 2);
    EXPECT_DOUBLE_EQ(total.m_BinWidth[1], 4);
    EXPECT_DOUBLE_EQ(total.m_BinWidth[2], 8);
    EXPECT_EQ(total.m_NrOfParticles, 5000);
    EXPECT_EQ(total.m_GenParticle, 208);
    const double before = VolumeTotal(m_Grid);
    EXPECT_NEAR(VolumeTotal(total), before, before * 1e-4);
}

TEST_F(ExtractionTest, GridsWithoutARunHeaderWriteDefaultRunFigures)
{
    Fill(m_Grid, 2, 2, 2);
    m_Grid.m_NrOfParticles = 777;
    m_Grid.m_TotalWeight = 777;
    m_Grid.m_GenParticle = 208;
    const std::string path = WriteScratch(
        "plain.xyz", "VOXEL-DATA\nX-start: 0 X-end: 2 X-steps: 2\nY-start: 0 Y-end: 2 Y-steps: 2\n"
                     "Z-start: 0 Z-end: 2 Z-steps: 2\n===\nX Y Z Data\n0 0 0 1.5\n");
    ASSERT_TRUE(Loader().Load("XYZ voxel", path))
        << (m_Log.m_Lines.empty() ? "" : m_Log.m_Lines.back().first);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1);
    EXPECT_EQ(m_Grid.m_TotalWeight, 1);
    EXPECT_EQ(m_Grid.m_GenParticle, 0);
}

TEST_F(ExtractionTest, AFailedWriteIsReported)
{
    Fill(m_Grid, 2, 2, 2);
    std::ofstream closed;
    EXPECT_FALSE(WriteComsol(closed, m_Grid));
    std::ofstream full("/dev/full");
    if (full)
    {
        EXPECT_FALSE(WriteRebinnedUsrbin(full, m_Grid, FixedTime()));
    }
}
} // namespace volumira3d
