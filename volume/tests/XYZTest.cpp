#include "TestHelpers.h"
#include "volume/formats/XYZAsciiIO.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

namespace volumira3d
{
using namespace test;

class XYZTest : public CLoaderTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("XYZ voxel", path); }
};

TEST_F(XYZTest, LoadsGeometryRecordsAndLogLines)
{
    ASSERT_TRUE(Load(DataPath("voxels_2x3x4.xyz")));
    EXPECT_EQ(m_Grid.m_NrXBins, 2);
    EXPECT_EQ(m_Grid.m_NrYBins, 3);
    EXPECT_EQ(m_Grid.m_NrZBins, 4);
    EXPECT_EQ(m_Grid.m_GridMin[0], -1);
    EXPECT_EQ(m_Grid.m_GridMin[2], 5);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 1);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 2);
    EXPECT_EQ(m_Grid.m_Voxels[1][2][3], -2.25);
    EXPECT_EQ(m_Grid.m_Voxels[1][1][1], 7);
    EXPECT_EQ(m_Grid.m_Voxels[1][0][0], 0);
    EXPECT_EQ(m_Grid.m_RangeMin, -2.25);
    EXPECT_EQ(m_Grid.m_RangeMax, 7);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 1); // the first of the two 7s
    ASSERT_EQ(m_Log.m_Lines.size(), 3u);
    EXPECT_EQ(m_Log.m_Lines[0].first, "Preparing voxel structure...");
    EXPECT_EQ(m_Log.m_Lines[1].first, "Mapping 4 bins to XYZ...");
    EXPECT_EQ(m_Log.m_Lines[2].first.rfind("Time elapsed ", 0), 0u);
}

TEST_F(XYZTest, NormalizationScalesBeforeStatistics)
{
    m_Grid.m_Normalization = -2;
    ASSERT_TRUE(Load(DataPath("voxels_2x3x4.xyz")));
    EXPECT_EQ(m_Grid.m_Voxels[0][0][0], -3);
    EXPECT_EQ(m_Grid.m_RangeMin, -14);
    EXPECT_EQ(m_Grid.m_RangeMax, 4.5);
}

TEST_F(XYZTest, NoRecordsGiveAnAllZeroGrid)
{
    const std::string path =
        WriteScratch("empty.xyz", "VOXEL-DATA\nX-start: 0 X-end: 2 X-steps: 2\n"
                                  "Y-start: 0 Y-end: 2 Y-steps: 2\n"
                                  "Z-start: 0 Z-end: 2 Z-steps: 2\n");
    ASSERT_TRUE(Load(path));
    EXPECT_EQ(m_Grid.VoxelCount(), 8);
    EXPECT_EQ(m_Grid.m_RangeMin, 1e10);
    EXPECT_EQ(m_Grid.m_RangeMax, -1e10);
}

// Reading never stops silently in the middle: a line that is not a record is skipped, counted
// and named, and the records after it are read.
TEST_F(XYZTest, UnreadableRecordsAreSkippedCountedAndNamed)
{
    const std::string header = "VOXEL-DATA\nX-start: 0 X-end: 2 X-steps: 2\n"
                               "Y-start: 0 Y-end: 2 Y-steps: 2\n"
                               "Z-start: 0 Z-end: 2 Z-steps: 2.9\n===\nX Y Z Data\n";
    const std::string path =
        WriteScratch("cut.xyz", header + "0 0 0 1\r\n1 1 1 2\n1 1 x 7\n1 1 0 4\n0 1 1 5\n");
    ASSERT_TRUE(Load(path));
    EXPECT_EQ(m_Grid.m_NrZBins, 2); // 2.9 steps are truncated
    EXPECT_EQ(m_Grid.m_Voxels[1][1][1], 2);
    EXPECT_EQ(m_Grid.m_Voxels[1][1][0], 4);
    EXPECT_EQ(m_Grid.m_Voxels[0][1][1], 5);
    const std::string warning = "1 line(s) could not be read as \"ix iy iz value\" and were "
                                "skipped (the first is line 9).";
    EXPECT_TRUE(Shown(warning, "warning"));
    EXPECT_TRUE(Logged(warning));
}

TEST_F(XYZTest, AFlippedByteInTheFirstRecordIsReportedNotLoadedAsNothing)
{
    const std::string path =
        WriteScratch("flipped.xyz", "VOXEL-DATA\nX-start: 0 X-end: 1 X-steps: 1\n"
                                    "Y-start: 0 Y-end: 1 Y-steps: 1\n"
                                    "Z-start: 0 Z-end: 1 Z-steps: 1\n"
                                    "===\nX Y Z Data\n0h0 0 1.5\n");
    Load(path);
    EXPECT_TRUE(Shown("1 line(s) could not be read", "warning"));
}

TEST_F(XYZTest, ATruncatedLastRecordIsReportedAndTrailingBlanksAreNot)
{
    const std::string header = "VOXEL-DATA\nX-start: 0 X-end: 1 X-steps: 1\n"
                               "Y-start: 0 Y-end: 1 Y-steps: 1\n"
                               "Z-start: 0 Z-end: 1 Z-steps: 1\n===\nX Y Z Data\n";
    ASSERT_TRUE(Load(WriteScratch("blanks.xyz", header + "0 0 0 3\n \n\t\n")));
    EXPECT_TRUE(MessageTexts().empty());
    ASSERT_TRUE(Load(WriteScratch("truncated.xyz", header + "0 0 0 3\n0 0")));
    EXPECT_TRUE(Shown("1 line(s) could not be read", "warning"));
}

TEST_F(XYZTest, RecordsOutsideTheGridAreSkippedWithAWarning)
{
    ASSERT_TRUE(Load(DataPath("bad/out_of_grid.xyz")));
    EXPECT_EQ(m_Grid.m_Voxels[0][0][0], 1);
    EXPECT_EQ(m_Grid.m_Voxels[1][1][1], 3);
    EXPECT_EQ(m_Grid.m_RangeMax, 3);
    EXPECT_TRUE(Shown("3 of 5 records were skipped", "warning"));
}

// A few hundred bytes must not take gigabytes unasked; a sparse file may mean it, so it is a
// question whose default is No.
TEST_F(XYZTest, AHugeGridFromATinyFileIsAllocatedOnlyWhenTheUserSaysSo)
{
    const std::string path =
        WriteScratch("huge.xyz", "VOXEL-DATA\nX-start: 0 X-end: 1 X-steps: 1000\n"
                                 "Y-start: 0 Y-end: 1 Y-steps: 1000\n"
                                 "Z-start: 0 Z-end: 1 Z-steps: 1000\n"
                                 "===\nX Y Z Data\n0 0 0 1\n");
    EXPECT_FALSE(Load(path));
    EXPECT_TRUE(Shown("The grid needs 8.0 GB. Continue?", "question"))
        << ::testing::PrintToString(MessageTexts());
    EXPECT_EQ(Ui().Messages().back().m_Result, IDNO);
    EXPECT_TRUE(Logged("The grid of 1000 x 1000 x 1000 bins was not allocated."));
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(XYZTest, RefusedHeadersLeaveTheGridAndSayWhy)
{
    std::string error;
    ASSERT_TRUE(m_Grid.AllocateGrid(1, 1, 1, error));
    m_Grid.StoreValue(0, 0, 0, 42);
    const char* files[] = {"bad/zero_steps.xyz",    "bad/end_below_start.xyz", "bad/no_marker.xyz",
                           "bad/text_geometry.xyz", "bad/garbage.usrbin",      "no_such_file.xyz"};
    for (const char* file : files)
    {
        m_Log.m_Lines.clear();
        EXPECT_FALSE(Load(DataPath(file))) << file;
        ASSERT_FALSE(m_Log.m_Lines.empty()) << file;
        EXPECT_EQ(m_Log.m_Lines.back().second, ILoadLog::IconError) << file;
    }
    EXPECT_NE(m_Log.m_Lines.back().first.find("Cannot open"), std::string::npos);
    // Refused before the data set was cleared: values and display range stay.
    EXPECT_EQ(m_Grid.m_Voxels[0][0][0], 42);
    EXPECT_EQ(m_Grid.m_RangeMax, 42);
}

TEST_F(XYZTest, HugeStepCountsAreRefusedBeforeAllocation)
{
    Ui().QueueAnswer(IDYES); // the grid question
    EXPECT_FALSE(Load(DataPath("bad/huge_steps.xyz")));
    EXPECT_TRUE(Shown("The grid of 100000 x 100000 x 100000 bins would need", "error"));
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(XYZTest, WriterOmitsZerosAndReadsBackTheSameGrid)
{
    std::string error;
    ASSERT_TRUE(m_Grid.AllocateGrid(3, 2, 2, error));
    m_Grid.m_GridMin[0] = -1.5;
    m_Grid.m_GridMin[1] = 0;
    m_Grid.m_GridMin[2] = 10;
    m_Grid.m_BinWidth[0] = 0.5;
    m_Grid.m_BinWidth[1] = 2;
    m_Grid.m_BinWidth[2] = 0.25;
    m_Grid.StoreValue(2, 0, 0, 1.23456789);
    m_Grid.StoreValue(0, 1, 0, -4e-7);
    m_Grid.StoreValue(1, 1, 1, 1e12);
    const std::string path = (TestDir() / "out.xyz").string();
    ASSERT_TRUE(WriteXYZFile(m_Grid, path, error)) << error;
    EXPECT_EQ(ReadText(path), "VOXEL-DATA @2007 Volumix3D\n"
                              "X-start: -1.5 X-end: 0 X-steps: 3\n"
                              "Y-start: 0 Y-end: 4 Y-steps: 2\n"
                              "Z-start: 10 Z-end: 10.5 Z-steps: 2\n" +
                                  std::string(42, '=') +
                                  "\nX Y Z Data\n"
                                  "2 0 0 1.23457\n"
                                  "0 1 0 -4e-07\n"
                                  "1 1 1 1e+12\n");
    CVoxelGrid back;
    ASSERT_TRUE(CVolumeLoader(back, m_Log).Load("XYZ voxel", path));
    EXPECT_EQ(back.m_NrXBins, 3);
    EXPECT_DOUBLE_EQ(back.m_BinWidth[0], 0.5);
    EXPECT_DOUBLE_EQ(back.m_GridMin[2], 10);
    EXPECT_EQ(back.m_Voxels[2][0][0], 1.23457);
    EXPECT_EQ(back.m_Voxels[0][1][0], -4e-7);
    EXPECT_EQ(back.m_Voxels[1][1][1], 1e12);
}

TEST_F(XYZTest, PolicyWritesRecordsInFieldOrderAndReportsFailure)
{
    CDataStorage<CXYZAsciiIO<>> storage((TestDir() / "records.txt").string());
    CVoxelData record;
    record.m_IndexX = 0;
    record.m_IndexY = 1;
    record.m_IndexZ = 2;
    record.m_Value = -3.5;
    storage.m_Data.push_back(record);
    storage.m_Data.push_back(record);
    ASSERT_TRUE(storage.Write());
    EXPECT_EQ(ReadText(storage.m_FileName), "0 1 2 -3.5\n0 1 2 -3.5\n");
    CDataStorage<CXYZAsciiIO<>> nowhere("/no/such/folder/records.txt");
    EXPECT_FALSE(nowhere.Write());
}

TEST_F(XYZTest, WriterOfAnAllZeroGridWritesTheHeaderOnlyAndReportsUnwritablePaths)
{
    std::string error;
    ASSERT_TRUE(m_Grid.AllocateGrid(2, 2, 2, error));
    const std::string path = (TestDir() / "zeros.xyz").string();
    ASSERT_TRUE(WriteXYZFile(m_Grid, path, error));
    const std::string text = ReadText(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_FALSE(WriteXYZFile(m_Grid, "/no/such/folder/out.xyz", error));
    EXPECT_EQ(error, "Cannot open /no/such/folder/out.xyz for writing.");
}
} // namespace volumira3d
