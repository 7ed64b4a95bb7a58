#include "TestHelpers.h"
#include "volume/model/ColorLUT.h"
#include "volume/model/ColorMapping.h"
#include "volume/model/Palettes.h"

#include <cmath>

namespace volumira3d
{
using namespace test;

namespace
{
bool SameColor(const CVector& a, const CVector& b)
{
    return std::abs(a.x - b.x) < 1e-12 && std::abs(a.y - b.y) < 1e-12 &&
           std::abs(a.z - b.z) < 1e-12;
}

CVector Bytes(int r, int g, int b)
{
    return CVector(r / 255.0, g / 255.0, b / 255.0);
}
} // namespace

TEST(ColorLUTTest, InterpolatesBetweenPivotsAndLeavesTheLastPivotOut)
{
    CColorLUT lut;
    lut.SetPivot(0, CVector(0, 0, 1));
    lut.SetPivot(4, CVector(1, 0, 0));
    ASSERT_TRUE(lut.BuildLUT());
    ASSERT_EQ(lut.Size(), 4);
    EXPECT_TRUE(SameColor(lut.GetColor(0), CVector(0, 0, 1)));
    EXPECT_TRUE(SameColor(lut.GetColor(1), CVector(0.25, 0, 0.75)));
    EXPECT_TRUE(SameColor(lut.GetColor(3), CVector(0.75, 0, 0.25)));
}

TEST(ColorLUTTest, ComponentsAboveOneAreClampedNegativesKept)
{
    CColorLUT lut;
    lut.SetPivot(0, CVector(1.5, -0.5, 0.5));
    EXPECT_TRUE(SameColor(lut.m_Pivots[0], CVector(1, -0.5, 0.5)));
}

TEST(ColorLUTTest, ATableNotStartingAtZeroStaysEmptyAndLookupsOutsideGiveBlack)
{
    CColorLUT lut;
    lut.SetPivot(3, CVector(1, 1, 1));
    lut.SetPivot(9, CVector(1, 1, 1));
    EXPECT_FALSE(lut.BuildLUT());
    EXPECT_EQ(lut.Size(), 0);
    EXPECT_TRUE(SameColor(lut.GetColor(-1), CVector()));
    EXPECT_TRUE(SameColor(lut.GetColor(0), CVector()));
}

TEST(PaletteTest, RainbowSizesFollowTheSpacingNotTheItemTexts)
{
    const int sizes[6] = {21, 63, 126, 252, 504, 1008};
    for (int item = 0; item < 6; ++item)
    {
        CColorLUT lut;
        InstallPalette(lut, item);
        EXPECT_EQ(lut.Size(), sizes[item]) << PaletteNames[item];
    }
}

TEST(PaletteTest, RainbowEndsInBlackAndStartsDarkBlue)
{
    CColorLUT lut;
    InstallPalette(lut, Palette21);
    EXPECT_TRUE(SameColor(lut.GetColor(0), Bytes(0, 0, 100)));
    EXPECT_TRUE(SameColor(lut.GetColor(9), Bytes(0, 255, 0)));
    EXPECT_TRUE(SameColor(lut.GetColor(20), CVector(0, 0, 0)));
    InstallPalette(lut, Palette64);
    for (int i : {60, 61, 62})
        EXPECT_TRUE(SameColor(lut.GetColor(i), CVector(0, 0, 0))) << i;
    EXPECT_FALSE(SameColor(lut.GetColor(59), CVector(0, 0, 0)));
}

TEST(PaletteTest, HotGrayAndMoreland)
{
    CColorLUT lut;
    InstallPalette(lut, PaletteHot);
    EXPECT_EQ(lut.Size(), 255);
    EXPECT_TRUE(SameColor(lut.GetColor(0), CVector(1, 1, 0)));
    EXPECT_TRUE(SameColor(lut.GetColor(128), CVector(1, 0, 0)));
    InstallPalette(lut, PaletteGray);
    EXPECT_EQ(lut.Size(), 255);
    EXPECT_TRUE(SameColor(lut.GetColor(0), CVector(1, 1, 1)));
    InstallPalette(lut, PaletteMoreland);
    EXPECT_EQ(lut.Size(), 100);
    EXPECT_EQ(lut.m_Pivots.size(), 33u);
    EXPECT_TRUE(SameColor(lut.GetColor(50), Bytes(221, 221, 221)));
    EXPECT_TRUE(SameColor(lut.GetColor(0), Bytes(59, 76, 192)));
}

class PaletteFileTest : public CUiTest
{
};

TEST_F(PaletteFileTest, ThreeLineFileGivesTenEntriesFromBlueTowardsRed)
{
    const std::string path = WriteScratch("blue_red.col", "ColorLUT\n0 0 0 1\n10 1 0 0\n");
    CColorLUT lut;
    EXPECT_EQ(ReadPaletteFile(path, lut), EPaletteFile::Ok);
    ASSERT_EQ(lut.Size(), 10);
    EXPECT_TRUE(SameColor(lut.GetColor(0), CVector(0, 0, 1)));
    EXPECT_TRUE(SameColor(lut.GetColor(5), CVector(0.5, 0, 0.5)));
}

TEST_F(PaletteFileTest, SeparatorsRunsAndEmptyLinesAreAccepted)
{
    const std::string path =
        WriteScratch("seps.col", "# ColorLUT of ours\r\n\r\n0;0,0|1\r\n\r\n4 :\t1, 1, 1\r\n");
    CColorLUT lut;
    EXPECT_EQ(ReadPaletteFile(path, lut), EPaletteFile::Ok);
    EXPECT_EQ(lut.Size(), 4);
}

TEST_F(PaletteFileTest, EveryRefusalInstallsTheRainbowWithItsMessage)
{
    struct
    {
        const char* m_Content;
        EPaletteFile m_Result;
        const char* m_Message;
    } cases[] = {
        {"Palette\n0 0 0 1\n10 1 0 0\n", EPaletteFile::InvalidFormat, "Invalid file format!"},
        {"ColorLUT\n0 0 0 1\n10 1 0\n", EPaletteFile::MissingDescriptor,
         "Invalid entry in color lookup table! One or more descriptors are missing."},
        {"ColorLUT\n0 0 x 1\n", EPaletteFile::MissingDescriptor,
         "Invalid entry in color lookup table! One or more descriptors are missing."},
        {"ColorLUT\n0 0 0 1\n", EPaletteFile::InvalidPivots, "Invalid color lookup table!"},
        {"ColorLUT\n", EPaletteFile::InvalidPivots, "Invalid color lookup table!"},
        {"ColorLUT\n5 0 0 1\n10 1 0 0\n", EPaletteFile::InvalidPivots,
         "Invalid color lookup table!"},
        {"ColorLUT\n-3 0 0 1\n0 0 0 1\n10 1 0 0\n", EPaletteFile::InvalidPivots,
         "Invalid color lookup table!"},
        {"ColorLUT\n0 0 0 1\n2000000000 1 0 0\n", EPaletteFile::InvalidPivots,
         "Invalid color lookup table!"},
    };
    for (const auto& c : cases)
    {
        CColorLUT lut;
        lut.SetPivot(0, CVector(1, 1, 1));
        lut.SetPivot(2, CVector(1, 1, 1));
        lut.BuildLUT();
        const EPaletteFile result = ReadPaletteFile(WriteScratch("bad.col", c.m_Content), lut);
        EXPECT_EQ(result, c.m_Result) << c.m_Content;
        EXPECT_EQ(PaletteFileMessage(result).rfind(c.m_Message, 0), 0u) << c.m_Content;
        EXPECT_EQ(lut.Size(), 21) << "rainbow installed after " << c.m_Content;
    }
    CColorLUT lut;
    EXPECT_EQ(ReadPaletteFile((TestDir() / "missing.col").string(), lut), EPaletteFile::CannotOpen);
    EXPECT_EQ(PaletteFileMessage(EPaletteFile::CannotOpen), "Cannot open color lookup table");
    EXPECT_EQ(lut.Size(), 21);
}

TEST_F(PaletteFileTest, TheLargestAllowedKeyStillBuilds)
{
    CColorLUT lut;
    EXPECT_EQ(ReadPaletteFile(WriteScratch("big.col", "ColorLUT\n0 0 0 0\n65536 1 1 1\n"), lut),
              EPaletteFile::Ok);
    EXPECT_EQ(lut.Size(), MaxPivotKey);
}

TEST(ColorMappingTest, LinearMaximumMapsToTheLastEntryAndZeroIsNeverDrawn)
{
    const CColorMapping m(0, 21, false, 21);
    EXPECT_EQ(m.IndexForValue(21), 20);
    EXPECT_EQ(m.IndexForValue(0.5), 0);
    EXPECT_EQ(m.IndexForValue(1), 1) << "a boundary belongs to the interval above it";
    EXPECT_EQ(m.IndexForValue(20.99), 20);
    EXPECT_EQ(m.IndexForValue(0), -1);
    EXPECT_EQ(m.IndexForValue(-1), -1);
    EXPECT_EQ(m.IndexForValue(21.001), 20) << "within the tolerance above the maximum";
    EXPECT_EQ(m.IndexForValue(21.01), -1);
    EXPECT_EQ(m.IndexForValue(std::nan("")), -1);
}

TEST(ColorMappingTest, LogarithmicRules)
{
    const CColorMapping m(0.1, 10, true, 4); // -1 .. 1, steps of 0.5
    EXPECT_EQ(m.IndexForValue(1.0), 2) << "1 is drawn as if its logarithm were 1e-5";
    EXPECT_EQ(m.IndexForValue(0), -1);
    EXPECT_EQ(m.IndexForValue(-5), -1);
    EXPECT_EQ(m.IndexForValue(0.1), 0);
    EXPECT_EQ(m.IndexForValue(10), 3);
    EXPECT_EQ(m.IndexForValue(0.09), -1);
}

TEST(ColorMappingTest, MaximumBelowOneIsDrawnInLogarithmicMode)
{
    const CColorMapping m(1e-6, 3.2e-4, true, 21);
    EXPECT_EQ(m.IndexForValue(3.2e-4), 20);
    EXPECT_EQ(m.IndexForValue(1e-6), 0);
    const CColorMapping negative(-10, -2, false, 21);
    EXPECT_EQ(negative.IndexForValue(-2), 20) << "a negative linear maximum is drawn too";
}

TEST(ColorMappingTest, BoundsOfZeroOrBelowInLogarithmicModeDrawNothing)
{
    for (const CColorMapping& m : {CColorMapping(0, 1, true, 21), CColorMapping(-1, 1, true, 21),
                                   CColorMapping(1e-3, -1, true, 21)})
    {
        EXPECT_FALSE(m.IsValid());
        EXPECT_EQ(m.IndexForValue(0.5), -1);
        EXPECT_EQ(m.IndexForValue(1), -1);
    }
}

TEST(ColorMappingTest, EmptyRangeDrawsItsOneValueInTheTopEntry)
{
    const CColorMapping m(2, 2, false, 21);
    EXPECT_EQ(m.IndexForValue(2), 20);
    EXPECT_EQ(m.IndexForValue(2.5), -1);
}

TEST(ColorMappingTest, CornersBelowTheRangeTakeTheLowestEntry)
{
    const CColorMapping m(1, 5, false, 4);
    EXPECT_EQ(m.IndexOfTransformed(-100), 0);
    EXPECT_EQ(m.IndexOfTransformed(100), 3);
}
} // namespace volumira3d
