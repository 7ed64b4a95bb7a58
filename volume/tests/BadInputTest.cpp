// Every file of the bad-input corpus: a message, a clean state, no crash, no absurd allocation.
#include "TestHelpers.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

namespace volumira3d
{
using namespace test;

struct CBadFile
{
    const char* m_Name;
    const char* m_Message; // the start of the message box shown
};

void PrintTo(const CBadFile& f, std::ostream* os)
{
    *os << f.m_Name;
}

class BadCartesianInput : public CUiTest, public ::testing::WithParamInterface<CBadFile>
{
};

TEST_P(BadCartesianInput, FailsWithAMessageAndLeavesNoValues)
{
    CVoxelGrid grid;
    CStringLog log;
    EXPECT_FALSE(
        CVolumeLoader(grid, log).Load("FLUKA cartesian USRBIN", DataPath(GetParam().m_Name)));
    // A refused header is a log line (the dialog boxes it); a problem with the values a box.
    bool logged = false;
    for (const auto& line : log.m_Lines)
        logged = logged || line.first.rfind(GetParam().m_Message, 0) == 0;
    EXPECT_TRUE(Shown(GetParam().m_Message) || logged)
        << ::testing::PrintToString(MessageTexts()) << ::testing::PrintToString(log.m_Lines);
    EXPECT_FALSE(grid.m_DataLoaded);
    EXPECT_LE(grid.VoxelCount(), 64);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, BadCartesianInput,
    ::testing::Values(
        CBadFile{"bad/garbage.usrbin", "no line with \"Cartesian binning\" was found"},
        CBadFile{"bad/empty.usrbin", "no line with \"Cartesian binning\" was found"},
        CBadFile{"bad/truncated.usrbin", "Sorry but only 63 values were read for 64 bins."},
        CBadFile{"bad/header_only.usrbin", "The header announces 4 x 4 x 4 bins, but the rest"},
        CBadFile{"bad/nan_values.usrbin", "Sorry but only 1 values were read for 4 bins."},
        CBadFile{"bad/negative_bins.usrbin", "the number of bins is missing or below 1"},
        CBadFile{"bad/zero_bins.usrbin", "the number of bins is missing or below 1"},
        CBadFile{"bad/stars_bins.usrbin", "the number of bins is missing or below 1"},
        CBadFile{"bad/huge_bins.usrbin", "The header announces 2000000000 x 2000000000"},
        CBadFile{"bad/zero_width.usrbin", "the bin width must be above 0"},
        CBadFile{"bad/overflow_value.usrbin", "Sorry but only 1 values were read for 2 bins."}),
    [](const auto& info) { return std::to_string(info.index); });

class BadInput : public CUiTest
{
};

TEST_F(BadInput, HeaderProblemsAreNamedInTheLog)
{
    CVoxelGrid grid;
    CStringLog log;
    EXPECT_FALSE(
        CVolumeLoader(grid, log).Load("FLUKA cartesian USRBIN", DataPath("bad/stars_bins.usrbin")));
    ASSERT_FALSE(log.m_Lines.empty());
    EXPECT_NE(log.m_Lines[0].first.find("the number of bins is missing or below 1"),
              std::string::npos);
    EXPECT_EQ(log.m_Lines[0].second, ILoadLog::IconError);
}

TEST_F(BadInput, FoldersAndDevicesAreNotRead)
{
    CVoxelGrid grid;
    CStringLog log;
    CVolumeLoader loader(grid, log);
    EXPECT_FALSE(loader.Load("FLUKA cartesian USRBIN", DataPath("bad")));
    EXPECT_FALSE(loader.Load("XYZ voxel", "/dev/zero"));
    EXPECT_FALSE(loader.Load("FLUKA R-Z USRBIN", "/dev/zero"));
    EXPECT_FALSE(loader.Load("FLUKA R-Phi-Z USRBIN", DataPath("bad")));
    EXPECT_EQ(IdentifyContent("/dev/zero"), nullptr);
    EXPECT_TRUE(grid.m_Voxels.empty());
}

TEST_F(BadInput, MegabyteLinesAndEndlessDigitsEndInAMessage)
{
    CVoxelGrid grid;
    CStringLog log;
    CVolumeLoader loader(grid, log);
    EXPECT_FALSE(loader.Load("FLUKA cartesian USRBIN",
                             WriteScratch("line.usrbin", std::string(2 << 20, 'a'))));
    EXPECT_FALSE(loader.Load("XYZ voxel", WriteScratch("line.xyz", std::string(2 << 20, '7'))));
    EXPECT_FALSE(
        loader.Load("FLUKA cartesian USRBIN",
                    WriteScratch("digits.usrbin",
                                 FlukaCartesian(1, 1, 2, "  " + std::string(3000, '9') + " 1\n"))));
    EXPECT_TRUE(Shown("Sorry but only 0 values were read for 2 bins."));
    EXPECT_TRUE(grid.VoxelCount() <= 2);
}
} // namespace volumira3d
