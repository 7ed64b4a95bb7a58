// The main dialog on its model: element and mass lists, Clear, and the emitter sizes it asks for.
#include "isotopes/IsotopeRenderer.h"
#include "isotopes/Nuclira3DDlg.h"
#include "testkit/FakeHost.h"
#include "testkit/Scratch.h"
#include "testkit/UiCapture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nuclira3d;
using testkit::MessageTexts;

namespace
{
class DialogTest : public testkit::CUiTest
{
protected:
    void SetUp() override
    {
        testkit::CUiTest::SetUp();
        m_Dlg.Create();
    }
    void Load(const std::string& text)
    {
        m_Dlg.UserSetText(IDC_FILENAME, testkit::WriteScratch("emitters.dat", text));
        m_Dlg.UserClick(IDC_LOAD);
    }
    int Shown(int z, int a) const
    {
        int n = 0;
        for (const auto& [key, e] : m_Dlg.Reader()->AllEmitters())
            n += e->m_Z == z && e->m_A == a && e->m_Visible;
        return n;
    }

    testkit::CFakeHost m_Host;
    CNuclira3DDlg m_Dlg{&m_Host, nullptr};
};
} // namespace

TEST_F(DialogTest, MassEntryHidesOnlyItsNuclide)
{
    Load("# 27 60 0\n1 1 1 1\n# 27 58 0\n2 2 2 1\n# 27 100 0\n3 3 3 1\n# 26 55 0\n4 4 4 1\n");
    ASSERT_TRUE(m_Dlg.HasData());
    CCheckListBox masses(&m_Dlg, IDC_MASSES);
    ASSERT_EQ(masses.GetCount(), 3);
    EXPECT_EQ(masses.GetText(0), "100") << "the list is in text order";
    EXPECT_EQ(masses.GetText(2), "60");
    m_Dlg.UserCheckItem(IDC_MASSES, 2, 0);
    EXPECT_EQ(Shown(27, 60), 0);
    EXPECT_EQ(Shown(27, 58), 1);
    EXPECT_EQ(Shown(26, 55), 1);
    // The element follows its entry whatever the mass; its mass entries follow it.
    m_Dlg.UserCheckItem(IDC_ELEMENTS, 0, 0);
    EXPECT_EQ(Shown(27, 58) + Shown(27, 60) + Shown(27, 100), 0);
    EXPECT_EQ(masses.GetCheck(0), 0);
    m_Dlg.UserCheckItem(IDC_ELEMENTS, 0, 1);
    EXPECT_EQ(Shown(27, 58) + Shown(27, 60) + Shown(27, 100), 3);
    EXPECT_EQ(masses.GetCheck(2), 1);
    m_Dlg.UserSelect(IDC_ELEMENTS, 1);
    EXPECT_EQ(masses.GetCount(), 1);
    EXPECT_EQ(masses.GetText(0), "55");
    EXPECT_GT(m_Host.Redraws(), 0);
}

TEST_F(DialogTest, ClearForgetsDataAndTotals)
{
    Load("# 27 60 0\n1 1 1 4\n");
    m_Dlg.UserClick(IDC_VISUALIZE);
    EXPECT_TRUE(m_Dlg.m_Visualize);
    m_Dlg.UserClick(IDC_CLEAR);
    EXPECT_FALSE(m_Dlg.HasData());
    EXPECT_FALSE(m_Dlg.m_Visualize);
    EXPECT_EQ(m_Dlg.Reader()->m_TotalWeight, 0);
    m_Dlg.UserClick(IDC_STATISTICS);
    m_Dlg.UserClick(IDC_CONFIGURE);
    EXPECT_EQ(MessageTexts(true),
              (std::vector<std::string>{"information: Sorry, but there no data are available yet!",
                                        "information: Sorry, but there are no data available!"}));
}

TEST_F(DialogTest, FailedLoadSaysSoAndHoldsNoData)
{
    Load("no header\n");
    EXPECT_FALSE(m_Dlg.HasData());
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"ERROR: invalid file format!", "Error reading data"}));
}

TEST(EmitterSize, ScaledByTheShareOfTheTotalWeight)
{
    EXPECT_EQ(WeightSizeFactor(1, 1000, true), 1) << "1/1000 of the total: unscaled";
    EXPECT_EQ(WeightSizeFactor(500, 1000, true), 500);
    EXPECT_EQ(WeightSizeFactor(500, 1000, false), 1);
    EXPECT_EQ(WeightSizeFactor(5, 0, true), 1) << "no division by a total of 0";
    EXPECT_EQ(WeightSizeFactor(std::nan(""), 10, true), 1);
}

TEST(EmitterSize, FilterKeepsBothLimits)
{
    CIsotopeDrawSettings s;
    s.m_Filter = true;
    s.m_FilterMin = 1;
    s.m_FilterMax = 2;
    EXPECT_TRUE(s.Passes(1));
    EXPECT_TRUE(s.Passes(2));
    EXPECT_FALSE(s.Passes(2.5));
    EXPECT_FALSE(s.Passes(std::nan("")));
}
