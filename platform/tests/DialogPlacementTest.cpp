#include "platform/DialogPlacement.h"
#include "platform/Profile.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
const CRect Screen{0, 0, 1600, 900};

bool Overlap(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct CPlacementTest : ::testing::Test
{
    CProfile m_Profile;
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", testkit::TestDir().c_str(), 1);
        m_Profile.SetRegistryKey("Wendrik");
        m_Profile.SetAppName("Tessaron");
    }
};
} // namespace

TEST_F(CPlacementTest, OpensBesideTheViewNeverOverItWhenThereIsRoom)
{
    CDialogPlacement placement(m_Profile);
    const CRect leftView{0, 50, 1080, 800};
    const CRect r = placement.Place("Trakor 3D", 480, 500, leftView, Screen);
    EXPECT_FALSE(Overlap(r, leftView));
    EXPECT_EQ(r.left, leftView.right + CDialogPlacement::Gap);
    EXPECT_EQ(r.Width(), 480);

    const CRect rightView{520, 50, 1600, 800};
    const CRect l = placement.Place("Trakor 3D", 480, 500, rightView, Screen);
    EXPECT_FALSE(Overlap(l, rightView));
    EXPECT_EQ(l.right, rightView.left - CDialogPlacement::Gap);
}

TEST_F(CPlacementTest, WithoutRoomItStaysOnTheScreenOnTheWiderSide)
{
    const CRect view{100, 0, 1400, 900};
    const CRect r = CDialogPlacement::BesideView(480, 500, view, Screen);
    EXPECT_EQ(r.right, Screen.right) << "more room on the right: pushed against that edge";
    EXPECT_EQ(r.top, 0);
    const CRect huge = CDialogPlacement::BesideView(2000, 1200, view, Screen);
    EXPECT_EQ(huge.left, 0) << "too big for the screen: its top left corner stays visible";
    EXPECT_EQ(huge.top, 0);
}

TEST_F(CPlacementTest, RemembersEachDialogsPlaceAndForgetsOneOffTheScreen)
{
    const CRect view{0, 0, 1080, 800};
    {
        CDialogPlacement placement(m_Profile);
        ASSERT_TRUE(placement.Remember("Trakor 3D", 300, 200));
        ASSERT_TRUE(placement.Remember("Nebulo 3D", 1500, 200)); // would stick out now
    }
    CDialogPlacement again(m_Profile);
    const CRect kept = again.Place("Trakor 3D", 480, 500, view, Screen);
    EXPECT_EQ(kept.left, 300);
    EXPECT_EQ(kept.top, 200);
    const CRect moved = again.Place("Nebulo 3D", 480, 500, view, Screen);
    EXPECT_EQ(moved.left, view.right + CDialogPlacement::Gap);
    for (const char* bad : {"12", "1,2,3", "a,b", ""})
    {
        m_Profile.WriteProfileString("Dialog positions", "Trakor 3D", bad);
        EXPECT_EQ(again.Place("Trakor 3D", 480, 500, view, Screen).left,
                  view.right + CDialogPlacement::Gap)
            << bad;
    }
}
