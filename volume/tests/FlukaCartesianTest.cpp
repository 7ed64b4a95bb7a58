#include "LoaderTest.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

namespace volumira3d
{
using namespace test;

class FlukaCartesianTest : public CFormatTest
{
protected:
    bool Load(const std::string& path) { return Loader().Load("FLUKA cartesian USRBIN", path); }
};

TEST_F(FlukaCartesianTest, ValuesLandInTheirVoxelsWithXFastest)
{
    ASSERT_TRUE(Load(DataPath("cartesian_3x2x2.usrbin")));
    EXPECT_EQ(m_Grid.m_NrXBins, 3);
    EXPECT_EQ(m_Grid.m_NrYBins, 2);
    EXPECT_EQ(m_Grid.m_NrZBins, 2);
    for (int iz = 0; iz < 2; ++iz)
        for (int iy = 0; iy < 2; ++iy)
            for (int ix = 0; ix < 3; ++ix)
                EXPECT_EQ(m_Grid.m_Voxels[ix][iy][iz], 1 + ix + 3 * iy + 6 * iz);
    EXPECT_EQ(m_Grid.m_GridMin[0], -3);
    EXPECT_EQ(m_Grid.m_GridMin[2], 10);
    EXPECT_EQ(m_Grid.m_BinWidth[0], 2);
    EXPECT_EQ(m_Grid.m_BinWidth[2], 5);
    EXPECT_EQ(m_Grid.m_RangeMin, 1);
    EXPECT_EQ(m_Grid.m_RangeMax, 12);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[0], 2);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[1], 1);
    EXPECT_EQ(m_Grid.m_MaxDataValIndices[2], 1);
    // The later of two "Total number of particles" lines counts.
    EXPECT_EQ(m_Grid.m_NrOfParticles, 1000);
    EXPECT_EQ(m_Grid.m_TotalWeight, 1000);
    EXPECT_EQ(m_Grid.m_GenParticle, 208);
    ASSERT_EQ(m_Log.m_Lines.size(), 3u);
    EXPECT_EQ(m_Log.m_Lines[1].first, "Mapping 12 bins to XYZ... 100%");
    EXPECT_TRUE(Ui().Messages().empty());
}

TEST_F(FlukaCartesianTest, BinWidthIsTakenAsPrinted)
{
    // 3 bins from 0 to 1 are 0.3333 wide as printed, not 1/3.
    const std::string text =
        "1\n   Cartesian binning n.   1  \"w         \" , generalized particle n.  201\n" +
        CoordinateLine("X", 0, 1, 3, 0.33333) + CoordinateLine("Y", 0, 1, 1, 1) +
        CoordinateLine("Z", 0, 1, 1, 1) + "\n" + FlukaValues({1, 2, 3});
    ASSERT_TRUE(Load(WriteScratch("w.usrbin", text)));
    EXPECT_EQ(m_Grid.m_BinWidth[0], 0.33333);
}

TEST_F(FlukaCartesianTest, BrokenExponentIsRepairedWithOneWarning)
{
    const std::string path = WriteScratch(
        "broken.usrbin", FlukaCartesian(2, 2, 1, "   1.0-3  2.5000E+00  3.0+2 4.0000-102\n"));
    ASSERT_TRUE(Load(path));
    EXPECT_DOUBLE_EQ(m_Grid.m_Voxels[0][0][0], 0.001);
    EXPECT_DOUBLE_EQ(m_Grid.m_Voxels[0][1][0], 300);
    EXPECT_DOUBLE_EQ(m_Grid.m_Voxels[1][1][0], 4e-102);
    ASSERT_EQ(Ui().Messages().size(), 1u);
    EXPECT_EQ(Ui().Messages()[0].Icon(), "warning");
    EXPECT_EQ(Ui().Messages()[0].m_Text.rfind("WARNING: We have encountered a value in the format "
                                              "1.000000-3.000000 which is NOT a valid scientific "
                                              "notation!\nPlease report",
                                              0),
              0u);
}

TEST_F(FlukaCartesianTest, OneValueMissingFailsWithTheMonkeys)
{
    auto values = Sequence(11);
    ASSERT_FALSE(Load(WriteScratch("short.usrbin", FlukaCartesian(3, 2, 2, FlukaValues(values)))));
    ASSERT_EQ(Ui().Messages().size(), 1u);
    EXPECT_EQ(Ui().Messages()[0].m_Text,
              "Sorry but only 11 values were read for 12 bins. A highly trained bunch of monkeys "
              "has been sent out to investigate this problem!\nPlease check your input data in the "
              "meantime.");
    // The load fails: its one box carries the error icon, so a script can tell.
    EXPECT_EQ(Ui().Messages()[0].Icon(), "error");
}

TEST_F(FlukaCartesianTest, AFollowingBinningOrErrorBlockEndsTheData)
{
    // No error block: the next binning's "1" is its carriage control, its header ends the data.
    const std::string text =
        FlukaCartesian(2, 1, 1, FlukaValues({4, 5})) + FlukaCartesian(1, 1, 1, FlukaValues({9}));
    ASSERT_TRUE(Load(WriteScratch("two.usrbin", text)));
    EXPECT_EQ(m_Grid.m_Voxels[1][0][0], 5);
    EXPECT_EQ(m_Grid.m_RangeMax, 5);
    const std::string errors = FlukaCartesian(2, 1, 1, FlukaValues({4, 5})) +
                               "\n      Percentage errors follow in a matrix A(ix,iy,iz)\n" +
                               FlukaValues({1, 2});
    ASSERT_TRUE(Load(WriteScratch("errors.usrbin", errors)));
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(FlukaCartesianTest, MoreValuesThanBinsFailWithAMessage)
{
    EXPECT_FALSE(
        Load(WriteScratch("surplus.usrbin", FlukaCartesian(2, 1, 1, FlukaValues({4, 5, 6})))));
    EXPECT_TRUE(Shown("The data block holds 1 values more than the 2 bins that the header "
                      "announces.",
                      "error"));
}

// 170 / 17 is 10, not 9: the rows would be misaligned.
TEST_F(FlukaCartesianTest, ABinCountThatDisagreesWithRangeAndWidthIsRefused)
{
    const std::string header =
        "1\n   Cartesian binning n.   1  \"test      \" , generalized particle n.  208\n" +
        CoordinateLine("X", -85, 85, 9, 17) + CoordinateLine("Y", 0, 10, 10, 1) +
        CoordinateLine("Z", 0, 10, 10, 1) + "      Data follow in a matrix\n\n";
    EXPECT_FALSE(Load(WriteScratch("nine.usrbin", header + FlukaValues(Sequence(1000)))));
    EXPECT_TRUE(Logged("the header line \"      X coordinate: from -8.5000E+01 to  8.5000E+01 "
                       "cm,     9 bins ( 1.7000E+01 cm wide)\" announces 9 bins, but (to - from) / "
                       "width gives 10"))
        << ::testing::PrintToString(m_Log.m_Lines);
    EXPECT_TRUE(m_Grid.m_Voxels.empty());
}

TEST_F(FlukaCartesianTest, BinCountsAgreeWithinThePrintedDigits)
{
    // 10 / 3 bins printed as 3.3333E+00; 1.0 / 3 as 0.33 with two decimals only.
    const std::string header =
        "1\n   Cartesian binning n.   1  \"test      \" , generalized particle n.  208\n" +
        CoordinateLine("X", 0, 10, 3, 10.0 / 3) +
        "      Y coordinate: from 0.0 to 1.0 cm, 3 bins ( 0.33 cm wide)\n" +
        CoordinateLine("Z", 0, 1, 1, 1) + "      Data follow in a matrix\n\n";
    EXPECT_TRUE(Load(WriteScratch("thirds.usrbin", header + FlukaValues(Sequence(9)))));
}

TEST_F(FlukaCartesianTest, LargeGridIsReadInPiecesAcrossTheProgressLine)
{
    const int n = 48; // more values than one piece of records
    std::vector<double> values(n * n * n);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = double(i % 9973); // exact in FLUKA's five digits
    ASSERT_TRUE(Load(WriteScratch("big.usrbin", FlukaCartesian(n, n, n, FlukaValues(values)))));
    EXPECT_EQ(m_Grid.m_Voxels[n - 1][n - 1][n - 1], (n * n * n - 1) % 9973);
    EXPECT_EQ(m_Grid.m_Voxels[5][7][40], (5 + 7 * n + 40 * n * n) % 9973);
    EXPECT_EQ(m_Log.m_Lines[1].first, "Mapping 110592 bins to XYZ... 100%");
    EXPECT_LE(m_Log.m_Rewrites, 101);
}

struct CRealFile
{
    const char* m_Name;
    int m_NX, m_NY, m_NZ;
    double m_XMin, m_DX, m_First, m_Last;
    int m_Particle;
};

void PrintTo(const CRealFile& f, std::ostream* os)
{
    *os << f.m_Name;
}

class FlukaRealFiles : public FlukaCartesianTest, public ::testing::WithParamInterface<CRealFile>
{
};

TEST_P(FlukaRealFiles, LoadWithTheValuesTheirHeadersAnnounce)
{
    const CRealFile& f = GetParam();
    ASSERT_TRUE(Load(DataPath(f.m_Name))) << f.m_Name;
    EXPECT_EQ(m_Grid.m_NrXBins, f.m_NX);
    EXPECT_EQ(m_Grid.m_NrYBins, f.m_NY);
    EXPECT_EQ(m_Grid.m_NrZBins, f.m_NZ);
    EXPECT_EQ(m_Grid.m_GridMin[0], f.m_XMin);
    EXPECT_EQ(m_Grid.m_BinWidth[0], f.m_DX);
    EXPECT_EQ(m_Grid.m_Voxels[0][0][0], f.m_First);
    EXPECT_EQ(m_Grid.m_Voxels[f.m_NX - 1][f.m_NY - 1][f.m_NZ - 1], f.m_Last);
    EXPECT_EQ(m_Grid.m_GenParticle, f.m_Particle);
    EXPECT_TRUE(Ui().Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, FlukaRealFiles,
    ::testing::Values(
        CRealFile{"mphys_100MeV1cmHydrogen_51.txt", 10, 10, 10, -85, 17, 3.0990E-04, 2.5736E-05,
                  240},
        CRealFile{"mphys_100MeVlargePhantom.3_51.bnn-1.lis", 1, 1, 1, -185, 370, 4.1836E-09,
                  4.1836E-09, 208},
        CRealFile{"pyfluka_UsrbinInputTest.ascii", 1, 5, 2, -45, 90, 4.3201E-07, 7.2260E-07, 208},
        CRealFile{"pyne_fluka_usrbin_single.lis", 3, 3, 3, -3, 3, 1.0984E-02, 2.1418E-03, 8},
        CRealFile{"pyne_fluka_usrbin_multiple.lis", 3, 3, 3, -3, 3, 7.5083E-04, 1.4804E-04, 7},
        CRealFile{"pyne_fluka_usrbin_degenerate.lis", 3, 2, 1, -3, 3, 3.5279E-02, 1.5292E-03, 8}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(FlukaCartesianTest, RealFileWithRunHeaderKeepsPrimariesAndWeight)
{
    ASSERT_TRUE(Load(DataPath("pyfluka_UsrbinInputTest.ascii")));
    EXPECT_EQ(m_Grid.m_NrOfParticles, 100);
    EXPECT_EQ(m_Grid.m_TotalWeight, 100);
    EXPECT_EQ(m_Grid.m_Voxels[0][2][0], 4.6090E-05);
}
// Each binning of a real file with three: its own counts, widths and values, chosen in the list.
TEST_F(FlukaCartesianTest, EveryBinningOfAMultiBinningFileLoadsWithItsOwnHeader)
{
    SKIP_WITHOUT_REAL_DATA();
    const std::string path = RealData("fluka_usrbin_ascii/pyne_fluka_usrbin_degenerate.lis");
    struct CExpected
    {
        int m_Bins[3];
        double m_Width[3];
        double m_First, m_Last;
    };
    const CExpected expected[] = {{{2, 1, 3}, {4.5, 6, 1}, 1.1543E-02, 2.7923E-03},
                                  {{1, 3, 2}, {9, 2, 1.5}, 5.8037E-03, 8.1349E-03}};
    for (int choice : {1, 2})
    {
        SCOPED_TRACE(choice);
        std::vector<std::string> rows;
        Ui().Reset();
        Ui().QueueModal("FLUKA binnings",
                        [&](CDialog& dlg)
                        {
                            for (const CListItem& item : dlg.Item(IDC_FLUKA_BINNINGS_LIST).m_Items)
                                rows.push_back(item.m_Text);
                            dlg.UserSelect(IDC_FLUKA_BINNINGS_LIST, choice);
                        });
        ASSERT_TRUE(Load(path)) << LogText();
        EXPECT_EQ(rows, (std::vector<std::string>{"1", "2", "3"}));
        const CExpected& e = expected[choice - 1];
        EXPECT_EQ(m_Grid.m_NrXBins, e.m_Bins[0]);
        EXPECT_EQ(m_Grid.m_NrYBins, e.m_Bins[1]);
        EXPECT_EQ(m_Grid.m_NrZBins, e.m_Bins[2]);
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(m_Grid.m_BinWidth[a], e.m_Width[a]);
        EXPECT_EQ(m_Grid.m_GridMin[0], -3);
        EXPECT_EQ(V(0, 0, 0), e.m_First);
        EXPECT_EQ(V(e.m_Bins[0] - 1, e.m_Bins[1] - 1, e.m_Bins[2] - 1), e.m_Last);
        EXPECT_TRUE(
            Logged(Format("Binning %d of 3: %d \"degen%d\" (cartesian, %d x %d x %d)", choice + 1,
                          choice + 1, choice + 1, e.m_Bins[0], e.m_Bins[1], e.m_Bins[2])));
        EXPECT_FALSE(Shown("holds")) << "the chosen block is read, not the one before it";
    }
    // Cancelled: nothing is loaded and no error box follows.
    Ui().Reset();
    Ui().QueueModal("FLUKA binnings", [](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
    EXPECT_FALSE(Load(path));
    EXPECT_TRUE(Logged("No binning was chosen"));
}
} // namespace volumira3d
