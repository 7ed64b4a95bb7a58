#include "common/ConfigDlg.h"
#include "common/ColorTable.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

using namespace testkit;

namespace
{
// A dialog with one picker that logs what the picker tells it.
class CPickerDlg : public CDialog
{
public:
    CPickerDlg() : CDialog(Template())
    {
        for (UINT msg = CPN_SELCHANGE; msg <= CPN_SELENDCANCEL; ++msg)
            MapMessage(msg,
                       [this, msg](WPARAM color, LPARAM id)
                       {
                           m_Log.push_back(
                               std::to_string(msg) + " " + std::to_string(GetRValue(color)) + "," +
                               std::to_string(GetGValue(color)) + "," +
                               std::to_string(GetBValue(color)) + " #" + std::to_string(id));
                           return 0;
                       });
        Create();
        m_Picker.Attach(this, 5);
        m_Picker.SetColor(RGB(1, 2, 3));
    }
    static CDlgTemplate Template()
    {
        CDlgTemplate t;
        t.Custom("ColorPicker", 5, 0, 0, 10, 10);
        return t;
    }
    CColorPicker m_Picker;
    std::vector<std::string> m_Log;
};

class ConfigDlgTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        CColorTable::Instance().ResetToDefaults();
        m_Dlg.m_Transparency = 0.25;
        m_Dlg.m_NrTimeSteps = 100;
        m_Dlg.m_FadeSteps = 25;
        m_Dlg.m_T0 = 1e-10;
        m_Dlg.m_TMax = 2e-9;
        m_Dlg.m_EarliestTime = 0;
        m_Dlg.m_LatestTime = 3e-9;
        m_Dlg.m_LineWidth = 2;
    }
    void TearDown() override { CColorTable::Instance().ResetToDefaults(); }

    INT_PTR Run(std::function<void(CDialog&)> actions)
    {
        Ui().QueueModal("Configuration", std::move(actions));
        return m_Dlg.DoModal();
    }
    std::vector<std::string> Boxes() const { return MessageTexts(); }

    CConfigDlg m_Dlg;
};
} // namespace

TEST(ColorPicker, ChoosingANamedColourNotifiesTheParentInOrder)
{
    Ui().Reset();
    CPickerDlg dlg;
    ColorPickerKind().QueuePick(RGB(255, 0, 0));
    ASSERT_TRUE(dlg.UserClick(5));
    EXPECT_EQ(dlg.m_Log,
              (std::vector<std::string>{"2026 1,2,3 #5", "2025 255,0,0 #5", "2027 255,0,0 #5",
                                        "2025 255,0,0 #5", "2028 255,0,0 #5"}));
    EXPECT_EQ(dlg.m_Picker.GetColor(), RGB(255, 0, 0));
}

TEST(ColorPicker, OtherColoursGoThroughTheColourDialog)
{
    Ui().Reset();
    CPickerDlg dlg;
    ColorPickerKind().QueuePick(RGB(10, 20, 30));
    ASSERT_TRUE(dlg.UserClick(5));
    EXPECT_EQ(dlg.m_Log, (std::vector<std::string>{"2026 1,2,3 #5", "2027 10,20,30 #5",
                                                   "2025 10,20,30 #5", "2028 10,20,30 #5"}));
}

TEST(ColorPicker, CancelKeepsTheColour)
{
    Ui().Reset();
    CPickerDlg dlg;
    ASSERT_TRUE(dlg.UserClick(5)); // nothing queued: the popup is dismissed
    EXPECT_EQ(dlg.m_Log,
              (std::vector<std::string>{"2026 1,2,3 #5", "2027 1,2,3 #5", "2029 1,2,3 #5"}));
    EXPECT_EQ(dlg.m_Picker.GetColor(), RGB(1, 2, 3));
}

TEST(ColorPicker, FortyNamedColours)
{
    const auto& colors = CColorPopup::Colors();
    EXPECT_EQ(colors.size(), 40u);
    EXPECT_STREQ(colors[15].m_Name, "Grey - 40");
    EXPECT_EQ(colors[15].m_Color, RGB(102, 102, 102));
    EXPECT_STREQ(colors[39].m_Name, "White");
}

TEST_F(ConfigDlgTest, StartShowsTheEntriesAndSettings)
{
    Run(
        [](CDialog& d)
        {
            EXPECT_EQ(d.Item(IDC_CFG_PARTICLES).m_Items.size(), 64u) << "70 minus the six \"---\"";
            EXPECT_EQ(d.Item(IDC_CFG_PARTICLES).m_Sel, 0);
            EXPECT_EQ(d.Item(IDC_CFG_PICKER).KindState<CColorPickerState>()->m_Color,
                      RGB(255, 0, 0))
                << "proton";
            EXPECT_EQ(d.Item(IDC_CFG_TRANSPARENCY_SLIDER).m_Pos, 25);
            EXPECT_EQ(d.Item(IDC_CFG_LINEWIDTH).m_Sel, 1);
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_TIMESTEPS), "100");
            d.UserSelect(IDC_CFG_PARTICLES, 8); // Antineutron, 0.901961 -> 230.5 -> 230
            EXPECT_EQ(d.Item(IDC_CFG_PICKER).KindState<CColorPickerState>()->m_Color,
                      RGB(230, 230, 250));
        });
}

TEST_F(ConfigDlgTest, ChosenColourGoesIntoTheTableAtOnce)
{
    Run(
        [](CDialog& d)
        {
            d.UserSelect(IDC_CFG_PARTICLES, 6); // Photon
            ColorPickerKind().QueuePick(RGB(0, 0, 255));
            d.UserClick(IDC_CFG_PICKER);
            EXPECT_EQ(CColorTable::Instance().Get(7), CVector(0, 0, 1));
            d.UserClick(IDCANCEL);
        });
    EXPECT_EQ(CColorTable::Instance().Get(7), CVector(0, 0, 1)) << "a Cancel keeps colours";
}

TEST_F(ConfigDlgTest, RangeChecksKeepTheDialogOpen)
{
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      for (const char* text : {"9", "10"})
                      {
                          d.UserSetText(IDC_CFG_TIMESTEPS, text);
                          d.UserClick(IDOK);
                      }
                  }),
              IDOK);
    EXPECT_EQ(m_Dlg.m_NrTimeSteps, 10);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Please enter an integer between 10 and 1661992960."});

    Ui().ClearMessages();
    Run(
        [](CDialog& d)
        {
            d.UserSetText(IDC_CFG_ANIMATION, "1.5");
            d.UserClick(IDOK);
            d.UserSetText(IDC_CFG_ANIMATION, "2");
            d.UserSetText(IDC_CFG_T0, "-1");
            d.UserClick(IDOK);
            d.UserSetText(IDC_CFG_T0, "0");
            d.UserSetText(IDC_CFG_TMAX, "0");
            d.UserClick(IDOK);
            d.UserSetText(IDC_CFG_TMAX, "1e-9");
        });
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Please enter a number between 2 and 1e+07.",
                                        "Please enter a number between 0 and 1e+30.",
                                        "Please enter a number between 1e-30 and 1e+30."}));
    EXPECT_EQ(m_Dlg.m_AnimationLength, 2.f);
    EXPECT_EQ(m_Dlg.m_TMax, 1e-9);
}

TEST_F(ConfigDlgTest, ZeroFadeStepsBecomeOneAndLineWidthFollowsTheList)
{
    Run(
        [](CDialog& d)
        {
            d.UserSetText(IDC_CFG_FADESTEPS, "0");
            d.UserSelect(IDC_CFG_LINEWIDTH, 3);
        });
    EXPECT_EQ(m_Dlg.m_FadeSteps, 1);
    EXPECT_EQ(m_Dlg.m_LineWidth, 4);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"The minimum number fading steps was set to 1|"});
    EXPECT_EQ(Ui().Messages()[0].Icon(), "information");
}

TEST_F(ConfigDlgTest, ResetButtonsTakeTheDataTimes)
{
    Run(
        [](CDialog& d)
        {
            d.UserClick(IDC_CFG_RESET_T0);
            d.UserClick(IDC_CFG_RESET_TMAX);
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_TMAX), "3e-09");
        });
    EXPECT_EQ(m_Dlg.m_T0, 0);
    EXPECT_EQ(m_Dlg.m_TMax, 3e-9);
}

TEST_F(ConfigDlgTest, CancelKeepsWhatWasPassedInButTheImmediateChanges)
{
    EXPECT_EQ(Run(
                  [](CDialog& d)
                  {
                      d.UserSetText(IDC_CFG_TIMESTEPS, "500");
                      d.UserSetText(IDC_CFG_FADESTEPS, "7");
                      d.UserSetText(IDC_CFG_ANIMATION,
                                    "1"); // refused: the fields before it were stored
                      d.UserClick(IDOK);
                      d.UserSlider(IDC_CFG_TRANSPARENCY_SLIDER, 60);
                      EXPECT_EQ(d.GetDlgItemText(IDC_CFG_TRANSPARENCY), "0.6");
                      d.UserSetCheck(IDC_CFG_ANTIALIASING, 1);
                      d.UserSelect(IDC_CFG_LINEWIDTH, 3);
                      d.UserClick(IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_EQ(m_Dlg.m_NrTimeSteps, 100);
    EXPECT_EQ(m_Dlg.m_FadeSteps, 25);
    EXPECT_EQ(m_Dlg.m_AnimationLength, 15.f);
    EXPECT_EQ(m_Dlg.m_LineWidth, 2);
    EXPECT_DOUBLE_EQ(m_Dlg.m_Transparency, 0.6);
    EXPECT_TRUE(m_Dlg.m_AntiAliasing);
}

TEST_F(ConfigDlgTest, BrowseSaveAndLoadThroughTheFileDialogs)
{
    const std::string path = (TestDir() / "colours.lut").string();
    auto& ui = Ui();
    Run(
        [&](CDialog& d)
        {
            ui.QueueFile(path);
            d.UserClick(IDC_CFG_SAVE);
            EXPECT_EQ(d.GetDlgItemText(IDC_CFG_FILENAME), path);
            CColorTable::Instance().Set(1, {0, 0, 0});
            ui.QueueFile(path);
            d.UserClick(IDC_CFG_BROWSE);
            d.UserClick(IDC_CFG_LOAD);
            EXPECT_EQ(d.Item(IDC_CFG_PICKER).KindState<CColorPickerState>()->m_Color,
                      RGB(255, 0, 0))
                << "list refilled, picker updated";
        });
    EXPECT_EQ(CColorTable::Instance().Get(1), CVector(1, 0, 0));
    ASSERT_EQ(ui.FileDialogs().size(), 2u);
    EXPECT_FALSE(ui.FileDialogs()[0].m_Open);
    EXPECT_TRUE(ui.FileDialogs()[1].m_Open);
    EXPECT_EQ(ui.FileDialogs()[1].m_Filter,
              "Color configuration (*.lut)|*.lut|All Files (*.*)|*.*|");
    EXPECT_EQ(ui.FileDialogs()[1].m_DefExt, "lut");
    EXPECT_EQ(m_Dlg.m_FileName, path);
}
