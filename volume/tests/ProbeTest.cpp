#include "platform/ScriptedAnswers.h"
#include "platform/UiServices.h"
#include "testkit/UiCapture.h"
#include "volume/analysis/AvgVolumeConfigDlg.h"
#include "volume/analysis/DataProbe.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

namespace volumira3d
{
namespace
{
// 4 x 3 x 2 voxels of value 100 ix + 10 iy + iz + 1, probing on at the crossing (2, 1, 1).
struct CProbeTest : testkit::CUiTest
{
    void SetUp() override
    {
        testkit::CUiTest::SetUp();
        std::string error;
        ASSERT_TRUE(m_Grid.AllocateGrid(4, 3, 2, error)) << error;
        for (int ix = 0; ix < 4; ++ix)
            for (int iy = 0; iy < 3; ++iy)
                for (int iz = 0; iz < 2; ++iz)
                    m_Grid.StoreValue(ix, iy, iz, 100 * ix + 10 * iy + iz + 1);
        m_Grid.m_DataLoaded = true;
        m_State.m_DataProbing = true;
        m_State.m_PlaneEnabled[0] = m_State.m_PlaneEnabled[1] = m_State.m_PlaneEnabled[2] = true;
        Cross(2, 1, 1);
    }
    void Cross(int x, int y, int z)
    {
        m_State.m_PlaneLayer[PlaneYZ] = x;
        m_State.m_PlaneLayer[PlaneZX] = y;
        m_State.m_PlaneLayer[PlaneXY] = z;
    }
    CVoxelGrid m_Grid;
    CDisplayState m_State;
};
} // namespace

TEST_F(CProbeTest, InactiveUnlessProbingIsOnAndAllThreePlanesShow)
{
    CProbeResult r;
    CIndex3 lo, hi;
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    m_State.m_PlaneEnabled[PlaneZX] = false;
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Inactive);
    EXPECT_FALSE(ProbedBox(m_Grid, m_State, lo, hi)) << "no grey frame either";
    m_State.m_PlaneEnabled[PlaneZX] = true;
    m_State.m_DataProbing = false;
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Inactive);
}

TEST_F(CProbeTest, CellsFrameTheirVoxelAndIndicesStayInTheGrid)
{
    CProbeResult r;
    CIndex3 lo, hi;
    m_State.m_ProbeCell = 6; // (sx-1, sy-1, sz-1)
    ASSERT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    EXPECT_DOUBLE_EQ(r.m_Value, 101);
    EXPECT_EQ(ProbeCellText(r), "1, 0, 0");
    ASSERT_TRUE(ProbedBox(m_Grid, m_State, lo, hi));
    EXPECT_EQ(lo, (CIndex3{1, 0, 0}));
    EXPECT_EQ(hi, (CIndex3{1, 0, 0}));

    Cross(0, 1, 1);
    m_State.m_ProbeCell = 1; // (sx-1, sy, sz) at sx = 0 reads x index 0
    ASSERT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    EXPECT_DOUBLE_EQ(r.m_Value, 12);
    Cross(4, 3, 2); // sliders one past the last voxel
    m_State.m_ProbeCell = 0;
    ASSERT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    EXPECT_DOUBLE_EQ(r.m_Value, 322);
}

TEST_F(CProbeTest, AverageOfEightFramesTheTwoByTwoByTwoBlock)
{
    CProbeResult r;
    m_State.m_ProbeCell = ProbeAverage8;
    ASSERT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    EXPECT_DOUBLE_EQ(r.m_Value, (101 + 102 + 111 + 112 + 201 + 202 + 211 + 212) / 8.0);
    EXPECT_EQ(ProbeCellText(r), "1-2, 0-1, 0-1");
    EXPECT_GT(r.m_DeviationPercent, 0);
    EXPECT_EQ(ProbeErrorText(r), Format("%.2f", r.m_DeviationPercent));
}

TEST_F(CProbeTest, ArbitraryBoxFramesItsExtents)
{
    CProbeResult r;
    CIndex3 lo, hi;
    m_State.m_ProbeCell = ProbeArbitrary;
    m_State.m_AvgMinusDelta = {2, 0, 1};
    m_State.m_AvgPlusDelta = {1, 2, 1};
    ASSERT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::Probed);
    ASSERT_TRUE(ProbedBox(m_Grid, m_State, lo, hi));
    EXPECT_EQ(lo, (CIndex3{0, 1, 0}));
    EXPECT_EQ(hi, (CIndex3{2, 2, 1}));
    EXPECT_EQ(ProbeCellText(r), "0-2, 1-2, 0-1");
}

TEST_F(CProbeTest, ArbitraryBoxLeavingTheGridResetsCountsAndCell)
{
    CProbeResult r;
    CIndex3 lo, hi;
    Cross(0, 0, 0);
    m_State.m_ProbeCell = ProbeArbitrary;
    m_State.m_AvgMinusDelta = {1, 1, 1};
    m_State.m_AvgPlusDelta = {1, 1, 1};
    EXPECT_FALSE(ProbedBox(m_Grid, m_State, lo, hi)) << "nothing framed that is not averaged";
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::BoxReset);
    EXPECT_EQ(m_State.m_ProbeCell, 0);
    EXPECT_EQ(m_State.m_AvgMinusDelta, (CIndex3{1, 1, 1}));
    EXPECT_EQ(m_State.m_AvgPlusDelta, (CIndex3{1, 1, 1}));
    EXPECT_DOUBLE_EQ(r.m_Value, 1) << "the result of cell 1 at the corner";

    Cross(2, 1, 1);
    m_State.m_ProbeCell = ProbeArbitrary;
    m_State.m_AvgMinusDelta = {0, 0, 0};
    m_State.m_AvgPlusDelta = {0, 1, 1};
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::BoxReset) << "empty along x: no 0 / 0";
    m_State.m_ProbeCell = ProbeArbitrary;
    m_State.m_AvgMinusDelta = {1, 1, 1};
    m_State.m_AvgPlusDelta = {3, 1, 1};
    EXPECT_EQ(Probe(m_Grid, m_State, r), EProbeStatus::BoxReset) << "x 1 .. 4 of 4 bins";
}

TEST(AvgVolumeConfig, CountsAreLimitedToTenThousand)
{
    testkit::Ui().Reset();
    CAvgVolumeConfigDlg dlg({1, 1, 1}, {1, 1, 1});
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_AVG_PLUS_Y), "1");
    dlg.UserSetText(IDC_AVG_MINUS_Z, "10001");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    dlg.UserSetText(IDC_AVG_MINUS_Z, "-1");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    dlg.UserSetText(IDC_AVG_MINUS_Z, "10000");
    dlg.UserSetText(IDC_AVG_PLUS_X, "0");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_Minus, (CIndex3{1, 1, 10000}));
    EXPECT_EQ(dlg.m_Plus, (CIndex3{0, 1, 1}));
    EXPECT_EQ(testkit::MessageTexts().size(), 2u) << "one range message per refused value";
}

TEST(PopupMenu, OnlyAnOfferedItemIsChosen)
{
    testkit::Ui().Reset();
    const std::vector<CPopupMenuItem> items{{7, "Locate max. value"}, {8, "Locate min. value"}};
    EXPECT_EQ(TrackPopupMenu(nullptr, 1, items), 0u) << "nothing queued: dismissed";
    CScriptedAnswers::Instance().QueueMenuChoice(8);
    EXPECT_EQ(TrackPopupMenu(nullptr, 1, items), 8u);
    CScriptedAnswers::Instance().QueueMenuChoice(9);
    EXPECT_EQ(TrackPopupMenu(nullptr, 1, items), 0u) << "not in this menu";
}
} // namespace volumira3d
