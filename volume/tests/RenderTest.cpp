#include "PlaneView.h"
#include "volume/display/SliceRenderer.h"
#include "volume/display/Transform.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace volumira3d
{
using namespace test;

namespace
{
constexpr unsigned RedPx = 0xff0000, GreenPx = 0x00ff00, BluePx = 0x0000ff, WhitePx = 0xffffff;

// A grid of unit cells from the origin and a state with four colours: red, green, blue and
// white for the four quarters of the range 0 .. 4 (linear).
class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_View.Create()) << m_View.Error();
        m_State.m_LUT.ClearPivots();
        m_State.m_LUT.SetPivot(0, CVector(1, 0, 0));
        m_State.m_LUT.SetPivot(1, CVector(0, 1, 0));
        m_State.m_LUT.SetPivot(2, CVector(0, 0, 1));
        m_State.m_LUT.SetPivot(3, CVector(1, 1, 1));
        m_State.m_LUT.SetPivot(4, CVector(1, 1, 1));
        m_State.m_LUT.BuildLUT();
        m_State.m_ScaleMode = 1;
        m_State.m_PlaneEnabled[PlaneXY] = true;
    }

    void MakeGrid(int nx, int ny, int nz, double width = 1)
    {
        std::string error;
        ASSERT_TRUE(m_Grid.AllocateGrid(nx, ny, nz, error)) << error;
        for (double& w : m_Grid.m_BinWidth)
            w = width;
        m_Grid.m_RangeMin = 0;
        m_Grid.m_RangeMax = 4;
        m_Grid.m_DataLoaded = true;
    }

    void Set(int ix, int iy, int iz, double v) { m_Grid.m_Voxels[ix][iy][iz] = v; }

    void Draw(double yaw = 0, double pitch = 0)
    {
        m_View.Draw([&] { m_Renderer.DrawScene(); }, yaw, pitch);
    }

    CPlaneView m_View;
    CVoxelGrid m_Grid;
    CDisplayState m_State;
    CSliceRenderer m_Renderer{m_Grid, m_State};
};
} // namespace

TEST_F(RenderTest, ColorPlotPutsEachValueInItsCellAndLeavesHolesForZero)
{
    MakeGrid(5, 2, 1);
    const double values[5] = {0.5, 1.5, 2.5, 3.5, 0};
    for (int i = 0; i < 5; ++i)
        Set(i, 0, 0, values[i]);
    Set(0, 1, 0, 4);  // the maximum: top entry
    Set(1, 1, 0, -1); // below the range
    Set(2, 1, 0, 4.1);
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), RedPx);
    EXPECT_EQ(m_View.At(1.5, 0.5), GreenPx);
    EXPECT_EQ(m_View.At(2.5, 0.5), BluePx);
    EXPECT_EQ(m_View.At(3.5, 0.5), WhitePx);
    EXPECT_EQ(m_View.At(4.5, 0.5), CPlaneView::Background) << "value 0 leaves a hole";
    EXPECT_EQ(m_View.At(0.5, 1.5), WhitePx);
    EXPECT_EQ(m_View.At(1.5, 1.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(2.5, 1.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(6, 6), CPlaneView::Background) << "nothing beyond the grid";
}

TEST_F(RenderTest, UnevenBinsAreDrawnBetweenTheirOwnEdges)
{
    MakeGrid(3, 1, 1);
    m_Grid.SetEdges(0, {0, 1, 4, 5});
    Set(0, 0, 0, 0.5);
    Set(1, 0, 0, 1.5);
    Set(2, 0, 0, 2.5);
    m_View.SetExtent(6);
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), RedPx);
    EXPECT_EQ(m_View.At(1.1, 0.5), GreenPx);
    EXPECT_EQ(m_View.At(3.9, 0.5), GreenPx) << "the wide bin reaches its edge at 4";
    EXPECT_EQ(m_View.At(4.1, 0.5), BluePx);
    EXPECT_EQ(m_View.At(5.2, 0.5), CPlaneView::Background);
    // The probing frame and the profile follow the same edges.
    EXPECT_EQ(m_Grid.Edge(0, 2), 4);
    EXPECT_EQ(m_Grid.Offset(0, 1.5), 2.5);
}

TEST_F(RenderTest, PlanesShowFromBothSidesWhateverCullingWasLeftOn)
{
    MakeGrid(1, 1, 1);
    Set(0, 0, 0, 0.5);
    m_View.Draw(
        [&]
        {
            glEnable(GL_CULL_FACE);
            glRotated(180, 1, 0, 0); // from below
            glTranslated(0, -1, 0);
            m_Renderer.DrawScene();
            EXPECT_TRUE(glIsEnabled(GL_CULL_FACE)) << "left as it was found";
            glDisable(GL_CULL_FACE);
        });
    EXPECT_EQ(m_View.At(0.5, 0.5), RedPx);
}

TEST_F(RenderTest, LogarithmicModeDrawsAMaximumBelowOneAndRejectsNegatives)
{
    MakeGrid(4, 1, 1);
    m_State.m_ScaleMode = 0;
    m_Grid.m_RangeMin = 1e-5;
    m_Grid.m_RangeMax = 1e-1;
    Set(0, 0, 0, 1e-1);
    Set(1, 0, 0, -1e-2);
    Set(2, 0, 0, 1e-5);
    Set(3, 0, 0, 2e-4); // log -3.7: second quarter
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), WhitePx) << "the maximum itself is drawn";
    EXPECT_EQ(m_View.At(1.5, 0.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(2.5, 0.5), RedPx);
    EXPECT_EQ(m_View.At(3.5, 0.5), GreenPx);
}

TEST_F(RenderTest, NothingIsDrawnWithoutDataOrPlanesOrWithABoundALogarithmCannotTake)
{
    MakeGrid(1, 1, 1);
    Set(0, 0, 0, 1);
    m_Grid.m_DataLoaded = false;
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), CPlaneView::Background);
    m_Grid.m_DataLoaded = true;
    m_State.m_PlaneEnabled[PlaneXY] = false;
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), CPlaneView::Background);
    m_State.m_PlaneEnabled[PlaneXY] = true;
    m_State.m_ScaleMode = 0;
    m_Grid.m_RangeMin = -1;
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), CPlaneView::Background);
}

TEST_F(RenderTest, PlaneLiesAtTheLowerEdgeOfItsLayer)
{
    // Seen along x (view x = scene z): the YZ plane shows the voxels of layer z = 2, and the
    // line where the XY plane at layer 2 meets it lies at z = 2, the lower edge of that layer.
    MakeGrid(4, 4, 4);
    for (int j = 0; j < 4; ++j)
        Set(0, j, 2, 0.5);
    m_State.m_PlaneEnabled[PlaneYZ] = true;
    m_State.m_PlaneLayer[PlaneXY] = 2;
    m_View.Draw(
        [&]
        {
            glRotated(90, 0, 1, 0);
            m_Renderer.DrawScene();
        });
    EXPECT_EQ(m_View.At(2.0, 1.5), 0x000000u) << "intersection at z = 2";
    EXPECT_EQ(m_View.At(2.5, 1.5), RedPx);
    EXPECT_EQ(m_View.At(1.5, 1.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(3.5, 1.5), CPlaneView::Background);
}

TEST_F(RenderTest, TransformationMovesAndTurnsThePlane)
{
    MakeGrid(2, 1, 1);
    Set(0, 0, 0, 0.5);
    Set(1, 0, 0, 1.5);
    const double t[3] = {3, 4, 0};
    const double none[3] = {0, 0, 0};
    m_State.m_Transform = MakeTransform(t, none);
    Draw();
    EXPECT_EQ(m_View.At(0.5, 0.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(3.5, 4.5), RedPx);
    EXPECT_EQ(m_View.At(4.5, 4.5), GreenPx);
    // About Z by 90 degrees: (x, y) goes to (-y, x); then T and the origin (1, 0) are added.
    const double z90[3] = {0, 0, 90};
    m_State.m_Transform = MakeTransform(t, z90);
    m_Grid.m_GridMin[0] = 1;
    Draw();
    EXPECT_EQ(m_View.At(3.5, 4.5), RedPx);
    EXPECT_EQ(m_View.At(3.5, 5.5), GreenPx);
    EXPECT_EQ(m_View.At(4.5, 4.5), CPlaneView::Background);
}

TEST_F(RenderTest, SmoothCornersTakeNeighbourColoursAndZeroNeighboursLendTheCellsOwn)
{
    MakeGrid(3, 1, 1, 2); // cells of 2 x 2
    Set(0, 0, 0, 3.5);    // white
    Set(1, 0, 0, 0);      // hole; lends nothing to cell 0
    Set(2, 0, 0, 3.5);
    m_State.m_DisplayMode = SmoothColorPlot;
    Draw();
    EXPECT_EQ(m_View.At(1.9, 1), WhitePx) << "a zero neighbour takes the cell's own value";
    EXPECT_EQ(m_View.At(3, 1), CPlaneView::Background) << "value 0 leaves a hole";
    Set(1, 0, 0, -7); // below the range: its corner takes the lowest colour (red)
    Draw();
    const unsigned nearRight = m_View.At(1.9, 1);
    EXPECT_GT(Red(nearRight), 200);
    EXPECT_LT(Green(nearRight), 60) << std::hex << nearRight;
    EXPECT_EQ(m_View.At(3, 1), CPlaneView::Background) << "the rejected cell itself stays a hole";
}

TEST_F(RenderTest, SurfaceWithAnEmptyRangeLiftsByTheOffsetAlone)
{
    MakeGrid(2, 2, 1);
    m_Grid.m_RangeMin = m_Grid.m_RangeMax = 2;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            Set(i, j, 0, 2);
    m_State.m_DisplayMode = SurfacePlot;
    m_State.m_ExtrusionOffset = 1.5;
    Draw();
    EXPECT_EQ(m_View.At(1, 1), WhitePx);
    EXPECT_NEAR(m_View.SceneZ(1, 1), 1.5, 0.01);
}

TEST_F(RenderTest, SurfaceHeightFollowsTheValueUpToHalfThePlane)
{
    MakeGrid(4, 4, 1);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            Set(i, j, 0, i < 2 ? 4 : 1); // the maximum lifts by H = 2 (half of the 4 x 4 plane)
    m_State.m_DisplayMode = SurfacePlot;
    m_State.m_ExtrusionScale = 0.5;
    m_State.m_ExtrusionOffset = 0.25;
    Draw();
    EXPECT_NEAR(m_View.SceneZ(0.5, 2), 0.5 * 2 + 0.25, 0.01);
    EXPECT_NEAR(m_View.SceneZ(3.5, 2), 0.5 * 0.5 + 0.25, 0.01) << "1 of 0 .. 4: a quarter of H";
}

TEST_F(RenderTest, PointCloudIsDrawnOnceForAllPlanes)
{
    MakeGrid(1, 1, 1, 50); // r = 10 pixels
    m_View.SetExtent(50);
    Set(0, 0, 0, 0.5);
    // Spheres: Mesa's smooth points take no alpha from the vertex colour.
    m_State.m_DisplayMode = ShadedCloud;
    m_State.m_Transparency = 0.5;
    for (bool& on : m_State.m_PlaneEnabled)
        on = true;
    Draw();
    // One blend of red at alpha 0.5 over the grey 0x40 background.
    EXPECT_NEAR(Red(m_View.At(25, 25)), (255 + 64) / 2.0, 2);
}

TEST_F(RenderTest, PointCloudIncludesTheCrossingLayers)
{
    MakeGrid(2, 2, 1, 5);
    m_View.SetExtent(10);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            Set(i, j, 0, 0.5);
    m_State.m_DisplayMode = PointCloud;
    for (bool& on : m_State.m_PlaneEnabled)
        on = true;
    Draw();
    EXPECT_EQ(m_View.At(2.5, 2.5), RedPx) << "sliders at 0 show the first voxel";
    EXPECT_EQ(m_View.At(7.5, 7.5), CPlaneView::Background);
    m_State.m_PlaneLayer[PlaneYZ] = 1;
    m_State.m_PlaneLayer[PlaneZX] = 1;
    Draw();
    EXPECT_EQ(m_View.At(7.5, 7.5), RedPx) << "sliders at their ends show the whole grid";
    m_State.m_DisplayMode = ShadedCloud;
    Draw();
    EXPECT_EQ(m_View.At(7.5, 7.5), RedPx);
}

TEST_F(RenderTest, BordersAndIntersectionLines)
{
    MakeGrid(10, 10, 10);
    m_State.m_ShowPlaneBorders = true;
    Draw();
    EXPECT_EQ(m_View.At(5, 0.05), BluePx) << "border along the lower edge";
    m_State.m_ShowPlaneBorders = false;
    m_State.m_PlaneEnabled[PlaneYZ] = true;
    m_State.m_PlaneLayer[PlaneYZ] = 4;
    Draw();
    EXPECT_EQ(m_View.At(4.05, 5), 0x000000u) << "XY meets YZ along y at x = 4";
}

class ContourTest : public RenderTest
{
protected:
    void Lines(double level)
    {
        m_View.Draw(
            [&]
            {
                m_Renderer.PushTransform();
                m_Renderer.DrawBoundaryLines(PlaneXY, 0, level, CVector(0, 1, 0), 3);
                m_Renderer.PopTransform();
            });
    }
    void Row(int j, std::initializer_list<double> values)
    {
        int i = 0;
        for (double v : values)
            Set(i++, j, 0, v);
    }
};

TEST_F(ContourTest, EdgeBetweenABandCellAndAHigherNeighbour)
{
    MakeGrid(4, 2, 1);
    Row(0, {1, 1, 3, 3});
    Row(1, {1, 1, 1, 1});
    Lines(2);
    EXPECT_EQ(m_View.At(2.0, 0.5), GreenPx) << "x = 2 between 1 and 3";
    EXPECT_EQ(m_View.At(1.0, 0.5), CPlaneView::Background);
    EXPECT_EQ(m_View.At(2.5, 1.0), GreenPx) << "y = 1 between row 0's 3 and row 1's 1";
    EXPECT_EQ(m_View.At(0.5, 1.0), CPlaneView::Background);
}

TEST_F(ContourTest, TheLastRowAndAZeroInAnUnrelatedCellStillGiveTheirEdges)
{
    MakeGrid(4, 2, 1);
    Row(0, {1, 1, 3, 3});
    Row(1, {0, 0, 0, 0});
    Lines(2);
    EXPECT_EQ(m_View.At(2.0, 0.5), GreenPx) << "a zero above does not drop the edge";
    Row(0, {1, 1, 1, 1});
    Row(1, {1, 1, 3, 3});
    Lines(2);
    EXPECT_EQ(m_View.At(2.0, 1.5), GreenPx) << "edge within the last row";
    EXPECT_EQ(m_View.At(2.5, 1.0), GreenPx);
}

TEST_F(ContourTest, ValuesAtTheLevelAndLevelsAtTheLowerBoundDrawNothing)
{
    MakeGrid(3, 1, 1);
    Row(0, {1, 2, 1});
    Lines(2);
    EXPECT_EQ(m_View.At(1.0, 0.5), CPlaneView::Background);
    Row(0, {1, 3, 0});
    Lines(0);
    EXPECT_EQ(m_View.At(1.0, 0.5), CPlaneView::Background);
    Lines(2);
    EXPECT_EQ(m_View.At(2.0, 0.5), CPlaneView::Background) << "no edge towards a zero";
}

TEST_F(ContourTest, LogarithmicModeTestsZeroBeforeTheLogarithm)
{
    MakeGrid(3, 1, 1);
    m_State.m_ScaleMode = 0;
    m_Grid.m_RangeMin = 0.1;
    m_Grid.m_RangeMax = 100;
    Row(0, {1, 50, 0});
    m_View.Draw(
        [&]
        {
            m_Renderer.DrawScene(); // prepares the logarithmic mapping
            glDisable(GL_LIGHTING);
            m_Renderer.PushTransform();
            m_Renderer.DrawBoundaryLines(PlaneXY, -1, 1, CVector(0, 1, 0), 3);
            m_Renderer.PopTransform();
        });
    EXPECT_EQ(m_View.At(1.0, 0.5), GreenPx) << "a value of 1 (logarithm 0) takes part";
}

TEST_F(ContourTest, ThresholdsAreDrawnOnlyWhileEmphasised)
{
    MakeGrid(4, 1, 1);
    Row(0, {1, 1, 3, 3});
    m_State.m_Thresholds[1] = {true, 2};
    m_State.m_DisplayMode = ContourPlot; // the planes themselves draw level lines only
    m_State.m_LUT.ClearPivots();
    Draw();
    EXPECT_EQ(m_View.At(2.0, 0.5), CPlaneView::Background);
    m_State.m_EmphasizeThresholds = true;
    Draw();
    EXPECT_EQ(m_View.At(2.0, 0.5), 0xfa00ffu) << "the secondary threshold's colour";
}
} // namespace volumira3d
