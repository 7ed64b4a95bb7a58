#include "PlaneView.h"
#include "TestHelpers.h"
#include "platform/Clipboard.h"
#include "platform/Controls.h"
#include "platform/Profile.h"
#include "testkit/FakeHost.h"
#include "volume/DataOptionsDlg.h"
#include "volume/SettingsDlg.h"
#include "volume/Volumira3DDlg.h"
#include "volume/display/ContourConfigDlg.h"
#include "volume/display/DIB.h"
#include "volume/display/Transform.h"
#include "volume/model/Palettes.h"

namespace volumira3d
{
using namespace test;

namespace
{
// The host's GL context: the test's offscreen context is current already.
class CCurrentContext : public CRenderContext
{
public:
    bool MakeCurrent(HDC) override { return true; }
};

// The filled, unstroked paths of an SVG drawing (Cairo's rectangles), or -1 when it is no XML.
int FilledPaths(const std::string& svg)
{
    const std::string path = WriteScratch("legend.svg", svg);
    const std::string cmd =
        "python3 -c \"import sys, xml.dom.minidom as m; d = m.parse(sys.argv[1]); "
        "print(sum(1 for p in d.getElementsByTagName('path') "
        "if 'stroke:none' in p.getAttribute('style') and p.parentNode.tagName == 'g' "
        "and p.parentNode.getAttribute('id').startswith('surface')))\" " +
        path;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return -1;
    char buf[64] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, pipe);
    return pclose(pipe) == 0 ? std::stoi(std::string(buf, n)) : -1;
}

constexpr const char* ContourMessage = "Contour plots are limited to 21 colors. Thus, the palette "
                                       "selection will be changed automatically!";
} // namespace

class DisplayDialogTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        m_Profile.SetRegistryKey("Wendrik");
        m_Profile.SetAppName("Volumira3DDisplayTest");
        m_Dlg.Create();
    }
    void Load()
    {
        Ui().QueueModal("", [](CDialog& dlg) { dlg.UserSelect(IDC_BINNING, ScaleLinear); });
        m_Dlg.UserSetText(IDC_INPUT_FILE, DataPath("cartesian_3x2x2.usrbin"));
        m_Dlg.UserClick(IDC_LOAD_DATA);
        ASSERT_TRUE(m_Dlg.m_DataLoaded);
        Ui().ClearMessages();
    }
    // What the two render passes leave in a top view of the XY plane (x -3..3, y 0..2 at z 10).
    unsigned RenderPass(bool post)
    {
        m_View.Draw(
            [&]
            {
                glTranslated(3, 0, -10);
                if (post)
                    m_Dlg.OnPostRender(nullptr, &m_Context, 0);
                else
                    m_Dlg.OnRender(nullptr, &m_Context, 0);
            });
        return m_View.At(1, 0.5);
    }

    CFakeHost m_Host;
    CProfile m_Profile;
    CVolumira3DDlg m_Dlg{&m_Host, &m_Profile};
    CPlaneView m_View;
    CCurrentContext m_Context;
};

TEST_F(DisplayDialogTest, DisplayControlsWaitForData)
{
    for (int id : {IDC_PLANE_XY, IDC_DISPLAY_MODE, IDC_TRANSPARENT})
        EXPECT_FALSE(m_Dlg.FindItem(id)->m_Enabled) << id;
    EXPECT_EQ(m_Dlg.FindItem(IDC_DISPLAY_MODE)->m_Items.size(), 7u);
    EXPECT_EQ(m_Dlg.FindItem(IDC_PALETTE)->m_Items.at(9).m_Text, "User def.");
    Load();
    for (int id : {IDC_PLANE_XY, IDC_DISPLAY_MODE, IDC_TRANSPARENT})
        EXPECT_TRUE(m_Dlg.FindItem(id)->m_Enabled) << id;
    EXPECT_FALSE(m_Dlg.FindItem(IDC_TRANSPARENCY)->m_Enabled) << "until Transparent is ticked";
}

TEST_F(DisplayDialogTest, ContourModeKeepsThePaletteAtTwentyOne)
{
    Load();
    m_Dlg.UserSelect(IDC_PALETTE, PaletteHot);
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 255);
    m_Dlg.UserSelect(IDC_DISPLAY_MODE, ContourPlot);
    EXPECT_TRUE(Shown(ContourMessage, "information"));
    EXPECT_EQ(m_Dlg.m_Palette, Palette21);
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 21);
    EXPECT_EQ(m_Dlg.FindItem(IDC_PALETTE)->m_Sel, Palette21);
    EXPECT_FALSE(m_Dlg.FindItem(IDC_NON_INTERPOLATED)->m_Enabled);
    Ui().ClearMessages();
    m_Dlg.UserSelect(IDC_PALETTE, PaletteGray);
    EXPECT_TRUE(Shown(ContourMessage));
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 21) << "refused while contours are shown";
    EXPECT_EQ(m_Dlg.FindItem(IDC_PALETTE)->m_Sel, Palette21);
    m_Dlg.UserSelect(IDC_DISPLAY_MODE, ColorPlot);
    EXPECT_TRUE(m_Dlg.FindItem(IDC_NON_INTERPOLATED)->m_Enabled);
}

TEST_F(DisplayDialogTest, PointCloudModesSwitchAllPlanesOn)
{
    Load();
    const int redraws = m_Host.Redraws();
    m_Dlg.UserSelect(IDC_DISPLAY_MODE, PointCloud);
    for (int id : {IDC_PLANE_XY, IDC_PLANE_YZ, IDC_PLANE_ZX})
        EXPECT_EQ(m_Dlg.IsDlgButtonChecked(id), 1) << id;
    EXPECT_GT(m_Host.Redraws(), redraws);
}

TEST_F(DisplayDialogTest, SlidersMoveThePlanesAndAskForARedraw)
{
    Load();
    m_Dlg.UserSetCheck(IDC_PLANE_XY, 1);
    const int redraws = m_Host.Redraws();
    m_Dlg.UserSlider(IDC_SLIDER_Z, 1);
    m_Dlg.UserSlider(IDC_SLIDER_X, 2);
    EXPECT_EQ(m_Dlg.m_PlaneLayer[PlaneXY], 1);
    EXPECT_EQ(m_Dlg.m_PlaneLayer[PlaneYZ], 2);
    EXPECT_EQ(m_Dlg.GetDlgItemText(IDC_POS_Z), "15");
    EXPECT_EQ(m_Host.Redraws(), redraws + 2);
}

TEST_F(DisplayDialogTest, TransparencyMovesDrawingToThePostRenderPass)
{
    ASSERT_TRUE(m_View.Create()) << m_View.Error();
    Load();
    m_Dlg.UserSetCheck(IDC_PLANE_XY, 1);
    EXPECT_NE(RenderPass(false), CPlaneView::Background);
    EXPECT_EQ(RenderPass(true), CPlaneView::Background);
    EXPECT_FALSE(m_Dlg.UserSlider(IDC_TRANSPARENCY, 50)) << "only while Transparent is ticked";
    m_Dlg.UserSetCheck(IDC_TRANSPARENT, 1);
    EXPECT_EQ(m_Dlg.m_Transparency, 0);
    m_Dlg.UserSlider(IDC_TRANSPARENCY, 50);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Transparency, 0.5);
    EXPECT_EQ(RenderPass(false), CPlaneView::Background);
    EXPECT_NE(RenderPass(true), CPlaneView::Background);
    m_Dlg.UserSetCheck(IDC_TRANSPARENT, 0);
    EXPECT_EQ(m_Dlg.m_Transparency, 0);
    EXPECT_EQ(m_Dlg.FindItem(IDC_TRANSPARENCY)->m_Pos, 0);
}

TEST_F(DisplayDialogTest, HostLineModesStillFillThePlanes)
{
    ASSERT_TRUE(m_View.Create()) << m_View.Error();
    Load();
    m_Dlg.UserSetCheck(IDC_PLANE_XY, 1);
    m_View.Draw(
        [&]
        {
            glTranslated(3, 0, -10);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            m_Dlg.OnRender(nullptr, &m_Context, 3);
            GLint mode[2] = {0, 0};
            glGetIntegerv(GL_POLYGON_MODE, mode);
            EXPECT_EQ(mode[0], GL_LINE) << "the host's line mode is back afterwards";
        });
    EXPECT_NE(m_View.At(1, 0.5), CPlaneView::Background);
}

TEST_F(DisplayDialogTest, UserPaletteFileAndItsFallbacks)
{
    Load();
    Ui().QueueFile(WriteScratch("ten.col", "ColorLUT\n0 0 0 1\n10 1 0 0\n"));
    m_Dlg.UserSelect(IDC_PALETTE, PaletteUser);
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 10);
    EXPECT_EQ(Ui().FileDialogs().back().m_Filter, PaletteFileFilter);
    EXPECT_EQ(m_Profile.GetProfileString("Volumix3DPath", "ColorLUT", ""), TestDir().string());
    Ui().QueueFile(WriteScratch("bad.col", "no header\n0 0 0 1\n"));
    m_Dlg.UserSelect(IDC_PALETTE, Palette21);
    m_Dlg.UserSelect(IDC_PALETTE, PaletteUser);
    EXPECT_TRUE(Shown("Invalid file format!", "error"));
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 21);
    Ui().ClearMessages();
    Ui().QueueFile("");
    m_Dlg.UserSelect(IDC_PALETTE, PaletteHot);
    m_Dlg.UserSelect(IDC_PALETTE, PaletteUser);
    EXPECT_TRUE(Ui().Messages().empty()) << "a cancelled file dialog says nothing";
    EXPECT_EQ(m_Dlg.m_LUT.Size(), 21);
}

TEST_F(DisplayDialogTest, EmphasizeThresholdsTakesTheDialogBackOrSwitchesItselfOff)
{
    Load();
    Ui().QueueModal("Threshold configuration",
                    [](CDialog& dlg)
                    {
                        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_THRESHOLD_ENABLE1), 0);
                        EXPECT_FALSE(dlg.FindItem(IDC_THRESHOLD_VALUE1)->m_Enabled);
                    });
    m_Dlg.UserSetCheck(IDC_EMPHASIZE_THRESHOLDS, 1);
    EXPECT_EQ(m_Dlg.IsDlgButtonChecked(IDC_EMPHASIZE_THRESHOLDS), 0) << "none enabled";
    EXPECT_FALSE(m_Dlg.m_EmphasizeThresholds);
    Ui().QueueModal("Threshold configuration",
                    [](CDialog& dlg)
                    {
                        dlg.UserSetCheck(IDC_THRESHOLD_ENABLE1 + 1, 1);
                        EXPECT_TRUE(dlg.FindItem(IDC_THRESHOLD_VALUE1 + 1)->m_Enabled);
                        dlg.UserSetText(IDC_THRESHOLD_VALUE1 + 1, "6.5");
                        dlg.UserSetCheck(IDC_SHOW_IN_LEGEND, 1);
                        dlg.UserSetCheck(IDC_OVERLAY_GEOMETRY, 1);
                    });
    m_Dlg.UserSetCheck(IDC_EMPHASIZE_THRESHOLDS, 1);
    EXPECT_TRUE(m_Dlg.m_EmphasizeThresholds);
    EXPECT_TRUE(m_Dlg.m_Thresholds[1].m_Enabled);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Thresholds[1].m_Value, 6.5);
    EXPECT_TRUE(m_Dlg.m_OverlayThresholds);
    EXPECT_TRUE(m_Dlg.Legend().m_ShowThresholds);
    m_Dlg.UserSetCheck(IDC_EMPHASIZE_THRESHOLDS, 0);
    EXPECT_FALSE(m_Dlg.m_ShowThresholdsInLegend);
    EXPECT_FALSE(m_Dlg.Legend().m_ShowThresholds);
}

TEST_F(DisplayDialogTest, SettingsAreStoredAndTheAnglesComeBack)
{
    Load();
    Ui().QueueModal("Settings...",
                    [](CDialog& dlg)
                    {
                        dlg.UserSetCheck(IDC_SET_EXP_NOTATION, 0);
                        dlg.UserSetCheck(IDC_SET_PLANE_BORDERS, 1);
                        dlg.UserSetText(IDC_SET_CACHE, "0");
                        dlg.UserSetText(IDC_SET_TX, "4");
                        dlg.UserSetText(IDC_SET_RY, "30");
                        dlg.UserSetText(IDC_SET_EXTRUSION_OFFSET, "2.5");
                    });
    m_Dlg.UserSysCommand(IDM_SETTINGS);
    EXPECT_FALSE(m_Dlg.m_ExpNotation);
    EXPECT_FALSE(m_Dlg.Legend().m_ExpNotation);
    EXPECT_TRUE(m_Dlg.m_ShowPlaneBorders);
    EXPECT_DOUBLE_EQ(m_Dlg.m_ExtrusionOffset, 2.5);
    EXPECT_EQ(m_Profile.GetProfileInt("Legend", "ExpNotation", 1), 0);
    EXPECT_EQ(m_Profile.GetProfileInt("Cache", "ReadAheadBuffer", 0), 1) << "0 is stored as 1";
    double angles[3];
    RecoverAngles(m_Dlg.m_Transform, angles);
    EXPECT_NEAR(angles[1], 30, 1e-9);
    EXPECT_NEAR(Apply(m_Dlg.m_Transform, CVector()).x, 4, 1e-12);
    Ui().QueueModal("Settings...", [](CDialog& dlg) { dlg.UserClick(IDCANCEL); });
    m_Dlg.UserSysCommand(IDM_SETTINGS);
    EXPECT_TRUE(m_Dlg.m_ShowPlaneBorders) << "Cancel changes nothing";
}

TEST_F(DisplayDialogTest, LegendFollowsRangeScaleAndNotation)
{
    Load();
    const auto& legend = m_Dlg.Legend();
    ASSERT_EQ(legend.m_LegendEntries.size(), 22u);
    EXPECT_DOUBLE_EQ(legend.m_LegendEntries.front().m_Value, 1);
    EXPECT_DOUBLE_EQ(legend.m_LegendEntries.back().m_Value, 12);
    EXPECT_EQ(legend.m_Picture.m_Rects.size(), 21u);
    m_Dlg.UserSelect(IDC_PALETTE, Palette64);
    EXPECT_EQ(legend.m_Picture.m_Rects.size(), 63u);
    m_Dlg.UserSetCheck(IDC_NON_INTERPOLATED, 1);
    EXPECT_EQ(legend.m_Picture.m_Rects.size(), 21u);
}

TEST_F(DisplayDialogTest, NegativeLogarithmicLowerBoundIsRefusedLikeZero)
{
    Load();
    Ui().QueueModal("",
                    [](CDialog& dlg)
                    {
                        dlg.UserSetText(IDC_RANGE_MIN, "-5");
                        dlg.UserSelect(IDC_BINNING, ScaleLogarithmic);
                    });
    m_Dlg.UserClick(IDC_LEGEND_SETTINGS);
    EXPECT_TRUE(Shown("Negative values are not allowed as a range limit in log scale."));
    EXPECT_DOUBLE_EQ(m_Dlg.m_RangeMin, 1e-12);
}
} // namespace volumira3d

namespace volumira3d
{
using namespace test;

TEST_F(DisplayDialogTest, LegendCopiedAsSvgHasOneElementPerBlock)
{
    Load();
    m_Dlg.UserSelect(IDC_PALETTE, Palette64);
    CCanvas legend(&m_Dlg, IDC_LEGEND);
    ASSERT_TRUE(legend.UserChooseMenuItem(ID_DISPLAY_COPY_METAFILE));
    EXPECT_EQ(FilledPaths(ClipboardData().m_Svg), 63);
    m_Dlg.UserSetCheck(IDC_NON_INTERPOLATED, 1);
    ASSERT_TRUE(legend.UserChooseMenuItem(ID_DISPLAY_COPY_METAFILE));
    EXPECT_EQ(FilledPaths(ClipboardData().m_Svg), 21);
}

TEST_F(DisplayDialogTest, SaveLegendWritesABitmapAndRemembersTheFolder)
{
    Load();
    const std::string path = (TestDir() / "legend.bmp").string();
    Ui().QueueFile(path);
    m_Dlg.UserClick(IDC_SAVE_LEGEND);
    EXPECT_EQ(Ui().FileDialogs().back().m_Filter, "Image (*.bmp)|*.bmp|All Files (*.*)|*.*|");
    EXPECT_EQ(Ui().FileDialogs().back().m_DefExt, "*.bmp");
    CDIB dib;
    std::string error;
    ASSERT_TRUE(dib.Read(path, error)) << error;
    int w = 0, h = 0;
    EXPECT_EQ(dib.ToRgb(), m_Dlg.LegendCtrl().Wnd().CaptureRgb(w, h));
    EXPECT_EQ(m_Profile.GetProfileString("Volumix3DPath", "Image", ""), TestDir().string());
    Ui().QueueFile("/nonexistent-folder/legend.bmp");
    m_Dlg.UserClick(IDC_SAVE_LEGEND);
    EXPECT_TRUE(
        Shown("Cannot write /nonexistent-folder/legend.bmp: No such file or directory", "error"));
}
} // namespace volumira3d
