#include "testkit/FakeHost.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/Trakor3DDlg.h"

#include <gtest/gtest.h>

using namespace trakor3d;
using namespace testkit;

namespace
{
class TrackDialogTest : public CUiTest
{
protected:
    void SetUp() override
    {
        CUiTest::SetUp();
        m_Path = WriteScratch("dialog.tracks",
                              "EnergyGroup_Tot 0 1\nEnergyGroup_Tot 1 10\n"
                              "PARTICLE\nEnergy 0.5\nType 7\ns 0 0 0\ns 1 0 0\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 0.6\nType 1\ns 0 0 0\ns 0 1 0\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 0.7\nType 7\ns 0 0 0\ns 0 0 1\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 0.8\nType 52\ns 0 0 0\ns 1 1 0\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 0.9\nType 54\ns 0 0 0\ns 1 1 1\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 5\nType 8\ns 0 0 0\ns 2 0 0\nEND PARTICLE\n");
        m_Dlg.Create();
        m_Dlg.ShowWindow(SW_SHOW);
    }

    void Load()
    {
        ASSERT_TRUE(m_Dlg.UserSetText(IDC_FILENAME, m_Path));
        ASSERT_TRUE(m_Dlg.UserClick(IDC_LOAD));
        ASSERT_TRUE(m_Dlg.m_Loaded);
    }

    std::vector<std::string> Items(int id)
    {
        std::vector<std::string> texts;
        for (const auto& item : m_Dlg.Item(id).m_Items)
            texts.push_back((item.m_Check ? "+" : "-") + item.m_Text);
        return texts;
    }

    std::string m_Path;
    CParticleDataReader m_Store;
    CFakeHost m_Host;
    CTrakor3DDlg m_Dlg{&m_Store, &m_Host};
};
} // namespace

TEST_F(TrackDialogTest, LoadFillsListsButDrawsNothingUntilVisualize)
{
    Load();
    EXPECT_FALSE(m_Dlg.m_Visualize);
    EXPECT_EQ(Items(IDC_GROUPLIST), (std::vector<std::string>{"+0.000e+00 GeV --> 1.000e+00 GeV",
                                                              "+1.000e+00 GeV --> 1.000e+01 GeV"}));
    // Sorted by name; types 52 and 54 are both "Xi_c_plus" and show once.
    EXPECT_EQ(Items(IDC_TYPELIST), (std::vector<std::string>{"+Photon", "+Proton", "+Xi_c_plus"}));
    EXPECT_EQ(m_Dlg.Item(IDC_TYPELIST).m_Items[2].m_Data, 52u) << "the first type met";
    EXPECT_EQ(m_Dlg.Item(IDC_TIMESLIDER).m_Max, 100);
    EXPECT_FALSE(m_Dlg.Item(IDC_SHOWEVOLUTION).m_Enabled);

    ASSERT_TRUE(m_Dlg.UserClick(IDC_VISUALIZE));
    EXPECT_TRUE(m_Dlg.m_Visualize);
    EXPECT_EQ(m_Dlg.IsDlgButtonChecked(IDC_VISUALIZE), 1);
    EXPECT_TRUE(m_Dlg.Item(IDC_SHOWEVOLUTION).m_Enabled);
    EXPECT_FALSE(m_Dlg.Item(IDC_PLAY).m_Enabled) << "needs show evolution too";
}

TEST_F(TrackDialogTest, GroupSelectionRefillsTheTypeList)
{
    Load();
    ASSERT_TRUE(m_Dlg.UserSelect(IDC_GROUPLIST, 1));
    EXPECT_EQ(Items(IDC_TYPELIST), std::vector<std::string>{"+Neutron"});
}

TEST_F(TrackDialogTest, UncheckingAGroupKeepsTypeChecks)
{
    Load();
    const int before = m_Host.Redraws();
    ASSERT_TRUE(m_Dlg.UserCheckItem(IDC_GROUPLIST, 0, 0));
    EXPECT_FALSE(m_Store.m_EnergyGroups[0].m_Enabled);
    EXPECT_TRUE(m_Store.m_EnergyGroups[1].m_Enabled);
    EXPECT_EQ(Items(IDC_TYPELIST), (std::vector<std::string>{"+Photon", "+Proton", "+Xi_c_plus"}));
    EXPECT_GT(m_Host.Redraws(), before);
}

TEST_F(TrackDialogTest, TypeCheckSwitchesEveryParticleOfThatTypeInTheGroup)
{
    Load();
    ASSERT_TRUE(m_Dlg.UserCheckItem(IDC_TYPELIST, 0, 0)); // Photon
    int hidden = 0;
    for (const auto& [type, p] : m_Store.m_Particles[0])
        hidden += !p.m_Visible;
    EXPECT_EQ(hidden, 2);
    EXPECT_FALSE(m_Store.m_Particles[0].find(7)->second.m_Visible);
    EXPECT_TRUE(m_Store.m_Particles[0].find(1)->second.m_Visible);
}

TEST_F(TrackDialogTest, CheckAllButtonsSwitchGroupsAndTypes)
{
    Load();
    ASSERT_TRUE(m_Dlg.UserClick(IDC_GROUPS_UNCHECKALL));
    EXPECT_FALSE(m_Store.m_EnergyGroups[0].m_Enabled || m_Store.m_EnergyGroups[1].m_Enabled);
    EXPECT_EQ(Items(IDC_GROUPLIST)[1][0], '-');
    ASSERT_TRUE(m_Dlg.UserClick(IDC_GROUPS_CHECKALL));
    EXPECT_TRUE(m_Store.m_EnergyGroups[0].m_Enabled && m_Store.m_EnergyGroups[1].m_Enabled);

    ASSERT_TRUE(m_Dlg.UserClick(IDC_TYPES_UNCHECKALL));
    for (const auto& [type, p] : m_Store.m_Particles[0])
        EXPECT_FALSE(p.m_Visible) << "type " << type << ", listed or not";
    EXPECT_TRUE(m_Store.m_Particles[1].begin()->second.m_Visible) << "other groups untouched";
    ASSERT_TRUE(m_Dlg.UserClick(IDC_TYPES_CHECKALL));
    EXPECT_TRUE(m_Store.m_Particles[0].find(54)->second.m_Visible);
}

TEST_F(TrackDialogTest, ClearEmptiesStoreAndLists)
{
    Load();
    m_Dlg.UserClick(IDC_VISUALIZE);
    ASSERT_TRUE(m_Dlg.UserClick(IDC_CLEAR));
    EXPECT_FALSE(m_Dlg.m_Loaded);
    EXPECT_FALSE(m_Dlg.m_Visualize);
    EXPECT_TRUE(m_Store.m_EnergyGroups.empty());
    EXPECT_TRUE(Items(IDC_GROUPLIST).empty());
    EXPECT_TRUE(Items(IDC_TYPELIST).empty());
}

TEST_F(TrackDialogTest, FailedLoadReportsAndDrawsNothing)
{
    Load();
    m_Dlg.UserClick(IDC_VISUALIZE);
    m_Dlg.UserSetText(IDC_FILENAME, "/nonexistent.tracks");
    m_Dlg.UserClick(IDC_LOAD);
    EXPECT_FALSE(m_Dlg.m_Loaded);
    EXPECT_FALSE(m_Dlg.m_Visualize);
    const auto& boxes = Ui().Messages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].m_Text, "Error reading data");
    EXPECT_EQ(boxes[0].Icon(), "error");
    EXPECT_EQ(Ui().WaitCursorDepth(), 0);

    m_Dlg.UserSetText(IDC_FILENAME, "");
    m_Dlg.UserClick(IDC_LOAD);
    EXPECT_EQ(Ui().Messages().back().m_Text, "Error reading data");
}

TEST_F(TrackDialogTest, BrowsePutsTheChosenPathIntoTheField)
{
    Ui().QueueFile("/data/run.tracks");
    ASSERT_TRUE(m_Dlg.UserClick(IDC_BROWSE));
    EXPECT_EQ(m_Dlg.GetDlgItemText(IDC_FILENAME), "/data/run.tracks");
    EXPECT_EQ(Ui().FileDialogs().back().m_DefExt, "*.tracks");
    EXPECT_EQ(Ui().FileDialogs().back().m_Filter, "");
    Ui().QueueFile("");
    m_Dlg.UserClick(IDC_BROWSE);
    EXPECT_EQ(m_Dlg.GetDlgItemText(IDC_FILENAME), "/data/run.tracks") << "cancel keeps the name";
}

TEST_F(TrackDialogTest, OverlayTogglesAndCloseOnlyHides)
{
    ASSERT_TRUE(m_Dlg.UserClick(IDC_OVERLAY));
    EXPECT_EQ(m_Dlg.m_Overlay, 1);
    ASSERT_TRUE(m_Dlg.UserClick(IDCANCEL));
    EXPECT_FALSE(m_Dlg.IsWindowVisible());
}
