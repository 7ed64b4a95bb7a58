// FLUKA voxel files written by Fortran, and broken copies of them.
#include "LoaderTest.h"

namespace volumira3d
{
using namespace test;

class VoxelFileTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("FLUKA voxel", path); }
};

TEST_F(VoxelFileTest, VoxelsLandXFastestWithTheirWidths)
{
    SKIP_WITHOUT_FORTRAN();
    m_Grid.m_MaxDataValIndices[1] = 7;
    ASSERT_TRUE(Load(FortranFile("phantom.vxl"))) << LogText();
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(m_Grid.m_NrYBins, 2);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.5);
    EXPECT_EQ(m_Grid.m_BinWidth[1], 1.5);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 2.0);
    EXPECT_EQ(m_Grid.m_GridMin[0], 0);
    EXPECT_EQ(V(0, 0, 0), 0);
    EXPECT_EQ(V(1, 0, 0), 1);
    EXPECT_EQ(V(0, 1, 0), 3);
    EXPECT_EQ(V(0, 0, 1), 6);
    EXPECT_EQ(V(1, 1, 1), -5);
    EXPECT_EQ(V(2, 1, 1), 30000);
    EXPECT_EQ(m_Grid.m_RangeMin, -5);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 1);
    // The run fields a voxel file lacks get neutral values.
    EXPECT_EQ(m_Grid.m_TotalWeight, 1);
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1);
    EXPECT_TRUE(Logged("Mapping 12 bins to XYZ... 100%"));
}

TEST_F(VoxelFileTest, NormalisedValuesAboveSixteenBitsDoNotWrap)
{
    SKIP_WITHOUT_FORTRAN();
    m_Grid.m_Normalization = 3;
    ASSERT_TRUE(Load(FortranFile("phantom.vxl")));
    EXPECT_EQ(V(2, 1, 1), 90000);
    EXPECT_EQ(V(1, 1, 1), -15);
    m_Grid.m_Normalization = 0.25;
    ASSERT_TRUE(Load(FortranFile("phantom.vxl")));
    EXPECT_EQ(V(1, 0, 0), 0.25); // not truncated to 0
}

// phantom.vxl: title record (80) at 0, counts (20) at 88, widths (24) at 116, voxels (24) at 148.
TEST_F(VoxelFileTest, BrokenCopiesFailWithTheirReason)
{
    SKIP_WITHOUT_FORTRAN();
    const std::string good = Bytes(FortranFile("phantom.vxl"));
    ASSERT_EQ(good.size(), 180u);
    struct
    {
        size_t m_Cut;
        std::int32_t m_At, m_Value;
        const char* m_Reason;
    } cases[] = {
        {0, -1, 0, "The file ends before a record at byte 0"},
        {50, -1, 0, "The record length 80 at byte 0"},
        {100, -1, 0, "The record length 20 at byte 88"},
        {148, -1, 0, "The file ends before a record at byte 148"},
        {170, -1, 0, "The record length 24 at byte 148"},
        {180, 92, 0, "The voxel file announces 0 x 2 x 2 voxels"},
        {180, 96, -1, "The voxel file announces 3 x -1 x 2 voxels"},
        {180, 100, 2147483647, "The voxel file announces 12884901882 voxels and more"},
        {180, 100, 3, "The voxel record at byte 148 holds 24 bytes, not 2 for each of 18"},
        {180, 88, 8, "The record at byte 88 does not end with its length"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.m_Reason);
        std::string bytes = good.substr(0, c.m_Cut);
        if (c.m_At >= 0) PutInt32(bytes, size_t(c.m_At), c.m_Value);
        m_Log.m_Lines.clear();
        EXPECT_FALSE(Load(WriteScratch("broken.vxl", bytes)));
        EXPECT_TRUE(Logged(c.m_Reason, ILoadLog::IconError)) << LogText();
    }
    // A width of zero or below once loaded as a success.
    for (const double width : {0.0, -0.5})
    {
        std::string bytes = good;
        PutReal(bytes, 120 + 8, width);
        m_Log.m_Lines.clear();
        EXPECT_FALSE(Load(WriteScratch("broken.vxl", bytes))) << width;
        EXPECT_TRUE(
            Logged("The voxel file announces 3 x 2 x 2 voxels of 0.5 x", ILoadLog::IconError))
            << LogText();
    }
}

TEST_F(VoxelFileTest, ANormalisationBeyondTheRangeOfNumbersIsRefused)
{
    SKIP_WITHOUT_FORTRAN();
    m_Grid.m_Normalization = 1e305; // times 30000 is no double; infinity was stored
    EXPECT_FALSE(Load(FortranFile("phantom.vxl")));
    EXPECT_TRUE(Logged("Voxel (2, 1, 1) of value 30000 times the normalization factor exceeds",
                       ILoadLog::IconError))
        << LogText();
}
} // namespace volumira3d
