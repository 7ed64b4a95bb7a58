#include "LoaderTest.h"
#include "platform/Controls.h"
#include "platform/Profile.h"
#include "testkit/FakeHost.h"
#include "volume/DataOptionsDlg.h"
#include "volume/Volumira3DDlg.h"
#include "volume/Volumira3D_App.h"
#include "volume/expressions/NormalizationDlg.h"

#include <omp.h>

namespace volumira3d
{
using namespace test;

namespace
{
std::vector<std::string> LogLines(const CDialog& dlg)
{
    std::vector<std::string> lines;
    for (const CListItem& item : dlg.FindItem(IDC_MESSAGE_LOG)->m_Items)
        lines.push_back(item.m_Text);
    return lines;
}

int LogIcon(const CDialog& dlg, const std::string& text)
{
    for (const CListItem& item : dlg.FindItem(IDC_MESSAGE_LOG)->m_Items)
        if (item.m_Text == text) return item.m_Image;
    return -1;
}

// Actions inside the data options dialog: set both range fields and the scale.
CHeadlessBackend::ModalActions SetRange(const std::string& min, const std::string& max, int scale)
{
    return [=](CDialog& dlg)
    {
        dlg.UserSetText(IDC_RANGE_MIN, min);
        dlg.UserSetText(IDC_RANGE_MAX, max);
        dlg.UserSelect(IDC_BINNING, scale);
    };
}
} // namespace

class MainDialogTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        m_Profile.SetRegistryKey("Wendrik");
        m_Profile.SetAppName("Volumira3DTest");
        m_Dlg.Create();
    }
    void Load(const std::string& path)
    {
        m_Dlg.UserSetText(IDC_INPUT_FILE, path);
        m_Dlg.UserClick(IDC_LOAD_DATA);
    }
    std::string Field(int id) const { return m_Dlg.GetDlgItemText(id); }

    CFakeHost m_Host;
    CProfile m_Profile;
    CVolumira3DDlg m_Dlg{&m_Host, &m_Profile};
};

TEST_F(MainDialogTest, InitializationLogsAndOffersSettings)
{
    EXPECT_EQ(LogLines(m_Dlg),
              (std::vector<std::string>{"Initializing Volumix3D...",
                                        Format("Using %d cores", omp_get_num_procs())}));
    ASSERT_EQ(m_Dlg.SystemMenuItems().size(), 2u);
    EXPECT_EQ(m_Dlg.SystemMenuItems()[0].second, "Settings...");
    EXPECT_EQ(m_Dlg.SystemMenuItems()[1].second, "Export VTK...");
    EXPECT_TRUE(m_Dlg.UserSysCommand(IDM_SETTINGS));
    EXPECT_EQ(m_Dlg.GetCaption(), "Volumix3D");
    EXPECT_EQ(m_Dlg.FindItem(IDC_MESSAGE_LOG)->m_Columns.at(0).m_Heading, "Message");
}

TEST_F(MainDialogTest, LoadShowsTheGridAndEveryLogLine)
{
    double shownMin = 0, shownMax = 0;
    Ui().QueueModal("",
                    [&](CDialog& dlg)
                    {
                        shownMin = std::stod(dlg.GetDlgItemText(IDC_RANGE_MIN));
                        shownMax = std::stod(dlg.GetDlgItemText(IDC_RANGE_MAX));
                    });
    Load(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_TRUE(m_Dlg.m_DataLoaded);
    EXPECT_EQ(Field(IDC_NR_X_BINS), "3");
    EXPECT_EQ(Field(IDC_NR_Z_BINS), "2");
    EXPECT_EQ(Field(IDC_ORIGIN_X), "-3");
    EXPECT_EQ(Field(IDC_ORIGIN_Z), "10");
    EXPECT_EQ(Field(IDC_BIN_SIZE_Z), "5");
    EXPECT_EQ(shownMin, 1);
    EXPECT_EQ(shownMax, 12);
    EXPECT_EQ(m_Dlg.m_RangeMin, 1);
    EXPECT_EQ(m_Dlg.m_RangeMax, 12);
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 21);
    const auto lines = LogLines(m_Dlg);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Reading data file...");
    EXPECT_EQ(lines[1], "Preparing voxel structure...");
    EXPECT_EQ(lines[2], "Mapping 12 bins to XYZ... 100%");
    EXPECT_EQ(lines[3].rfind("Time elapsed ", 0), 0u);
    EXPECT_EQ(lines[4], "Loading successful");
    const CControlState* z = m_Dlg.FindItem(IDC_SLIDER_Z);
    EXPECT_EQ(z->m_Max, 1);
    EXPECT_EQ(m_Dlg.FindItem(IDC_SLIDER_X)->m_Max, 2);
    EXPECT_EQ(m_Dlg.FindItem(IDC_TRANSPARENCY)->m_Max, 100);
    EXPECT_GT(m_Host.Redraws(), 0);
    EXPECT_TRUE(Ui().Messages().empty());
}

TEST_F(MainDialogTest, ContentIdentificationAndItsRefusal)
{
    Load(DataPath("identified.avg"));
    EXPECT_TRUE(m_Dlg.m_DataLoaded);
    EXPECT_EQ(LogLines(m_Dlg).at(1), "Identified FLUKA - cartesian USRBIN...");
    Ui().QueueAnswer(IDYES);
    Load(DataPath("line11.avg"));
    EXPECT_TRUE(Shown("Invalid file type!", "error"));
    EXPECT_EQ(LogIcon(m_Dlg, "Loading stopped"), ILoadLog::IconError);
    EXPECT_FALSE(m_Dlg.m_DataLoaded); // the Yes cleared the old data set
}

TEST_F(MainDialogTest, FailedLoaderNamedByTheExtension)
{
    Load(DataPath("bad/no_marker.xyz"));
    EXPECT_TRUE(Shown("Sorry, but the file format was not recognized or the contents is corrupted!",
                      "error"));
    EXPECT_EQ(LogIcon(m_Dlg, "Loading stopped"), ILoadLog::IconError);
    EXPECT_FALSE(m_Dlg.m_DataLoaded);
    Ui().Reset();
    Load(WriteScratch("run.bin.txt", "anything"));
    EXPECT_TRUE(Shown("Sorry, but the file format was not recognized"));
}

// The grid of a load that failed half way is no data set: counts, origin and sizes all show the
// cleared grid, not the header's counts beside zeros.
TEST_F(MainDialogTest, AFailedLoadLeavesEveryGridFieldCleared)
{
    Load(DataPath("bad/truncated.usrbin"));
    EXPECT_FALSE(m_Dlg.m_DataLoaded);
    for (int id : {IDC_NR_X_BINS, IDC_NR_Y_BINS, IDC_NR_Z_BINS, IDC_ORIGIN_X, IDC_ORIGIN_Y,
                   IDC_ORIGIN_Z, IDC_BIN_SIZE_X, IDC_BIN_SIZE_Y, IDC_BIN_SIZE_Z})
        EXPECT_EQ(std::stod(Field(id)), 0) << id;
    EXPECT_TRUE(m_Dlg.m_Voxels.empty());
}

TEST_F(MainDialogTest, ARefusedHeaderKeepsTheDataSetLoadedBefore)
{
    Load(DataPath("cartesian_3x2x2.usrbin"));
    ASSERT_TRUE(m_Dlg.m_DataLoaded);
    Ui().QueueAnswer(IDNO); // keep the data set
    Load(DataPath("bad/no_marker.xyz"));
    EXPECT_EQ(Field(IDC_NR_X_BINS), "3");
    EXPECT_EQ(std::stod(Field(IDC_ORIGIN_Z)), 10);
    EXPECT_EQ(m_Dlg.VoxelCount(), 12);
}

// One box per failed load, and it says what the log says.
TEST_F(MainDialogTest, EveryFailureShowsOneBoxThatAgreesWithTheLog)
{
    const std::string missing = (TestDir() / "missing.usrbin").string();
    Load(missing);
    EXPECT_EQ(MessageTexts(true), std::vector<std::string>{"error: Cannot open " + missing});
    EXPECT_EQ(LogIcon(m_Dlg, "Cannot open " + missing), ILoadLog::IconError);
    Ui().Reset();
    Load(TestDir().string());
    EXPECT_EQ(MessageTexts(true),
              std::vector<std::string>{"error: Cannot open " + TestDir().string()});
    Ui().Reset();
    Load(DataPath("bad/stars_bins.usrbin"));
    ASSERT_EQ(MessageTexts().size(), 1u) << ::testing::PrintToString(MessageTexts());
    EXPECT_TRUE(Shown("Sorry, but the file format was not recognized or the contents is "
                      "corrupted!\nThe number of bins is missing or below 1 in \"",
                      "error"));
    EXPECT_EQ(LogIcon(m_Dlg, "Loading stopped"), ILoadLog::IconError);
    Ui().Reset();
    Load(WriteScratch("broken.avg", "1\n   Cartesian binning n.   1  \"x\"\n   X coordinate\n"));
    ASSERT_EQ(MessageTexts().size(), 1u) << ::testing::PrintToString(MessageTexts());
    EXPECT_TRUE(Shown("Sorry, but the file format was not recognized", "error"));
    Ui().Reset();
    Load(DataPath("line11.avg"));
    EXPECT_EQ(MessageTexts(true), std::vector<std::string>{"error: Invalid file type!"});
    Ui().Reset();
    Load(DataPath("bad/truncated.usrbin"));
    EXPECT_EQ(MessageTexts().size(), 1u) << "the loader's own box only";
    EXPECT_TRUE(Shown("Sorry but only 63 values were read for 64 bins.", "error"));
}

// The offered maximum is printed with six digits; accepting it must not put the bound below the
// data's true maximum.
TEST_F(MainDialogTest, AcceptingTheOfferedRangeNeverWarns)
{
    // A maximum of more digits than the fields print: 12.3456749 shows as 1.234567e+01.
    std::string text = ReadText(DataPath("cartesian_3x2x2.usrbin"));
    text.replace(text.find(" 1.2000E+01"), 11, " 1.23456749E+01");
    Ui().QueueModal("", [](CDialog&) {});
    Load(WriteScratch("digits.usrbin", text));
    ASSERT_TRUE(m_Dlg.HasGrid()) << ::testing::PrintToString(LogLines(m_Dlg));
    EXPECT_FALSE(Shown("Value overflow might occur")) << ::testing::PrintToString(MessageTexts());
    EXPECT_EQ(m_Dlg.m_RangeMax, 12.3456749);
    EXPECT_EQ(m_Dlg.m_RangeMin, 1);
    // A maximum typed below the data's still warns.
    Ui().Reset();
    Ui().QueueAnswer(IDYES);
    Ui().QueueModal("", SetRange("1", "12.34567", ScaleLinear));
    Load(WriteScratch("digits.usrbin", text));
    EXPECT_TRUE(Shown("Value overflow might occur"));
}

TEST_F(MainDialogTest, ClearQuestionAnsweredNoKeepsTheRange)
{
    Ui().QueueModal("", SetRange("0.5", "100", ScaleLinear));
    Load(DataPath("cartesian_3x2x2.usrbin"));
    ASSERT_EQ(m_Dlg.m_RangeMax, 100);
    std::string prefilled;
    Ui().QueueAnswer(IDNO);
    Ui().QueueModal("",
                    [&](CDialog& dlg) {
                        prefilled = dlg.GetDlgItemText(IDC_RANGE_MIN) + " " +
                                    dlg.GetDlgItemText(IDC_RANGE_MAX);
                    });
    Load(DataPath("pyne_fluka_usrbin_single.lis"));
    EXPECT_TRUE(Shown("Are you sure that you want to clear the current data set & the settings?",
                      "question"));
    EXPECT_EQ(prefilled, "5.000000e-01 1.000000e+02");
    EXPECT_EQ(m_Dlg.m_RangeMin, 0.5);
    EXPECT_EQ(m_Dlg.m_RangeMax, 100);
    EXPECT_FALSE(m_Dlg.m_KeepRange);
    EXPECT_EQ(m_Dlg.m_NrXBins, 3);
}

TEST_F(MainDialogTest, ZeroInLogScaleBecomesTinyAndLowUpperBoundWarns)
{
    Ui().QueueModal("", SetRange("0", "10", ScaleLogarithmic));
    Load(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_TRUE(
        Shown("0 is not allowed as a range limit in log scale. A default of 1e-12 will be set!"));
    EXPECT_TRUE(
        Shown("Value overflow might occur as the upper bound is set below the maximum value "
              "in the data set!",
              "warning"));
    EXPECT_EQ(m_Dlg.m_RangeMin, 1e-12);
    EXPECT_EQ(m_Dlg.m_RangeMax, 10);
    EXPECT_EQ(m_Dlg.m_ScaleMode, ScaleLogarithmic);
}

TEST_F(MainDialogTest, SwappedRangeAndExpressionsInTheOptions)
{
    Ui().QueueModal("",
                    [](CDialog& dlg)
                    {
                        dlg.UserSetText(IDC_RANGE_MIN, "2^3+1");
                        dlg.UserSetText(IDC_RANGE_MAX, "(5.3 * 3600 / 24) - 500 - 293");
                        dlg.UserSetText(IDC_UNIT_TEXT, "GeV/g");
                    });
    Load(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_TRUE(
        Shown("The minimum range is larger than the maximum range. Both values were swapped!",
              "information"));
    EXPECT_DOUBLE_EQ(m_Dlg.m_RangeMin, 2);
    EXPECT_EQ(m_Dlg.m_RangeMax, 16);
    EXPECT_EQ(m_Dlg.m_UnitText, "GeV/g");
}

TEST_F(MainDialogTest, ResetAndRenormalizeInTheLegendSettings)
{
    Load(DataPath("cartesian_3x2x2.usrbin"));
    std::string afterReset, normalization;
    Ui().QueueModal("Normalization",
                    [](CDialog& dlg) { dlg.UserSetText(IDC_NORMALIZATION_FACTOR, "2"); });
    Ui().QueueModal("",
                    [&](CDialog& dlg)
                    {
                        dlg.UserClick(IDC_RENORMALIZE);
                        normalization = dlg.GetDlgItemText(IDC_NORMALIZATION);
                        dlg.UserClick(IDC_RESET);
                        afterReset = dlg.GetDlgItemText(IDC_RANGE_MIN) + " " +
                                     dlg.GetDlgItemText(IDC_RANGE_MAX);
                    });
    m_Dlg.UserClick(IDC_LEGEND_SETTINGS);
    EXPECT_TRUE(
        Shown("ATTENTION: This normalization multiplier will be applied to the CURRENT form",
              "information"));
    EXPECT_EQ(normalization, "2");
    EXPECT_EQ(afterReset, "2.000000e+00 2.400000e+01");
    EXPECT_EQ(m_Dlg.m_Voxels[2][1][1], 24);
    EXPECT_EQ(m_Dlg.m_Normalization, 2);
    EXPECT_EQ(m_Dlg.m_RangeMax, 24);
}

TEST_F(MainDialogTest, NormalizationFactorAppliesToTheLoad)
{
    Ui().QueueModal("Normalization",
                    [](CDialog& dlg)
                    {
                        dlg.UserSetText(IDC_NORMALIZATION_FACTOR, "0");
                        dlg.UserClick(IDOK); // refused: stays open
                        EXPECT_FALSE(dlg.IsEnded());
                        dlg.UserSetText(IDC_NORMALIZATION_FACTOR, "(2");
                        dlg.UserClick(IDOK); // refused: does not parse
                        EXPECT_FALSE(dlg.IsEnded());
                        dlg.UserSetText(IDC_NORMALIZATION_FACTOR, "(5.3 * 3600 / 24) - 500");
                    });
    Load(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_TRUE(
        Shown("Sorry, the mathematical expression was evaluated to 0 which is invalid. Please "
              "re-enter a valid normalization factor or expression"));
    EXPECT_TRUE(Shown("Sorry, the mathematical expression \"(2\" could not be read."));
    EXPECT_TRUE(Shown("The normalization factor evaluated to = 2.950000E+02", "information"));
    EXPECT_DOUBLE_EQ(m_Dlg.m_Normalization, 295);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Voxels[0][0][0], 295);
}

TEST_F(MainDialogTest, CancelledNormalizationStopsTheLoad)
{
    Ui().QueueModal("Normalization", [](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
    Load(DataPath("cartesian_3x2x2.usrbin"));
    EXPECT_FALSE(m_Dlg.m_DataLoaded);
    EXPECT_EQ(LogLines(m_Dlg), std::vector<std::string>{"Loading stopped"});
}

TEST_F(MainDialogTest, ClearCommandEmptiesTheGridAndSwitchesPlanesOff)
{
    Load(DataPath("cartesian_3x2x2.usrbin"));
    m_Dlg.UserClick(IDC_PLANE_XY);
    m_Dlg.UserSlider(IDC_SLIDER_Z, 1);
    EXPECT_EQ(Field(IDC_POS_Z), "15");
    CVector min, max;
    m_Dlg.Box(min, max);
    EXPECT_EQ(min, CVector(-3, 0, 10));
    EXPECT_EQ(max, CVector(3, 2, 20));
    Ui().QueueAnswer(IDNO);
    m_Dlg.UserClick(IDC_CLEAR_DATA);
    EXPECT_TRUE(m_Dlg.m_DataLoaded);
    EXPECT_TRUE(m_Dlg.m_KeepRange);
    const int redraws = m_Host.Redraws();
    Ui().QueueAnswer(IDYES);
    m_Dlg.UserClick(IDC_CLEAR_DATA);
    EXPECT_FALSE(m_Dlg.m_DataLoaded);
    EXPECT_TRUE(m_Dlg.m_Voxels.empty());
    EXPECT_FALSE(m_Dlg.m_PlaneEnabled[0]);
    EXPECT_EQ(m_Dlg.FindItem(IDC_SLIDER_Z)->m_Pos, 0);
    EXPECT_GT(m_Host.Redraws(), redraws);
    m_Dlg.Box(min, max);
    EXPECT_EQ(min, CVector(1e12, 1e12, 1e12));
    EXPECT_EQ(max, CVector(-1e12, -1e12, -1e12));
}

TEST_F(MainDialogTest, BrowseUsesTheFilterAndRemembersTheFolder)
{
    const std::string path = DataPath("rz_4x2.rz");
    Ui().QueueFile(path);
    m_Dlg.UserClick(IDC_BROWSE);
    EXPECT_EQ(Field(IDC_INPUT_FILE), path);
    ASSERT_EQ(Ui().FileDialogs().size(), 1u);
    EXPECT_EQ(Ui().FileDialogs()[0].m_Filter, InputFileFilter());
    EXPECT_EQ(Ui().FileDialogs()[0].m_DefExt, "usrbin");
    EXPECT_EQ(m_Profile.GetProfileString("Volumix3DPath", "Input"),
              DataPath("").substr(0, DataPath("").size() - 1));
    Ui().QueueFile("");
    m_Dlg.UserClick(IDC_BROWSE);
    EXPECT_EQ(Ui().FileDialogs()[1].m_InitialDir,
              m_Profile.GetProfileString("Volumix3DPath", "Input"));
    EXPECT_EQ(Field(IDC_INPUT_FILE), path); // cancel keeps the path
}

TEST_F(MainDialogTest, ProfileEntriesKeepTheirDefaults)
{
    CProfile empty; // no company key: every entry gives its default
    CVolumeSettings defaults(&empty);
    EXPECT_TRUE(defaults.GetExpNotation());
    EXPECT_EQ(defaults.GetReadAheadBuffer(), 10240);
    EXPECT_EQ(defaults.GetPath(CVolumeSettings::EPath::AverageResult), "");
    CVolumeSettings settings(&m_Profile);
    settings.SetReadAheadBuffer(0);
    EXPECT_EQ(m_Profile.GetProfileInt("Cache", "ReadAheadBuffer", -1), 1);
    settings.SetPath(CVolumeSettings::EPath::Data, "/tmp/out.txt");
    EXPECT_EQ(m_Profile.GetProfileString("Volumix3DPath", "data"), "/tmp/out.txt");
    settings.SetExpNotation(false);
    EXPECT_FALSE(settings.GetExpNotation());
    settings.SetExpNotation(true);
}

TEST(VolumiraApp, IdentityAndEmptyBox)
{
    CVolumira3D_App app;
    EXPECT_EQ(app.Identity().m_CommandId, 103);
    EXPECT_EQ(app.Identity().m_ButtonCaption, "Volumix3D");
    EXPECT_EQ(app.Identity().m_DisplayName, "Volumix 3D MP Version 4.4.30");
    EXPECT_EQ(app.Identity().m_ProfileName, "Volumira3D");
    CVector min, max;
    app.Box(min, max);
    EXPECT_EQ(min.x, 1e12);
    EXPECT_EQ(max.x, -1e12);
}
} // namespace volumira3d
