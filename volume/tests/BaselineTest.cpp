// Each display mode drawn from one known grid and compared with its reference image under
// baselines/. Set TESSARON_UPDATE_BASELINES=1 to write the references anew (on purpose only).
#include "PlaneView.h"
#include "volume/display/SliceRenderer.h"
#include "volume/model/DisplayState.h"
#include "volume/model/Palettes.h"
#include "volume/model/VoxelGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace volumira3d
{
using namespace test;

namespace
{
// One channel may differ by this much (rasterisation of edges varies between drivers) ...
constexpr int Tolerance = 8;
// ... in at most this share of the pixels.
constexpr double MaxShare = 0.005;

std::string BaselinePath(int mode)
{
    return std::string(TESSARON_SOURCE_DIR) + "/volume/tests/baselines/mode-" +
           std::to_string(mode) + ".png";
}

class BaselineTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_View.Create()) << m_View.Error();
        std::string error;
        ASSERT_TRUE(m_Grid.AllocateGrid(8, 8, 4, error)) << error;
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j)
                for (int k = 0; k < 4; ++k)
                {
                    const double r2 = (i - 3.5) * (i - 3.5) + (j - 3.5) * (j - 3.5);
                    m_Grid.m_Voxels[i][j][k] = (i == 6 && j == 1) ? 0 : 100 * std::exp(-r2 / 8) + k;
                }
        for (double& w : m_Grid.m_BinWidth)
            w = 1;
        m_Grid.m_RangeMin = 1;
        m_Grid.m_RangeMax = 103;
        m_Grid.m_DataLoaded = true;
        InstallPalette(m_State.m_LUT, Palette21);
        for (int p = 0; p < 3; ++p)
            m_State.m_PlaneEnabled[p] = true;
        m_State.m_PlaneLayer[PlaneXY] = 1;
        m_State.m_PlaneLayer[PlaneYZ] = 5;
        m_State.m_PlaneLayer[PlaneZX] = 6;
        m_State.m_ShowPlaneBorders = true;
    }

    CPlaneView m_View;
    CVoxelGrid m_Grid;
    CDisplayState m_State;
    CSliceRenderer m_Renderer{m_Grid, m_State};
};
} // namespace

TEST_P(BaselineTest, RenderMatchesItsReference)
{
    m_State.m_DisplayMode = GetParam();
    m_View.Draw([&] { m_Renderer.DrawScene(); }, 30, -55);
    const std::string path = BaselinePath(GetParam());
    const auto& pixels = m_View.Pixels();
    if (std::getenv("TESSARON_UPDATE_BASELINES"))
    {
        ASSERT_TRUE(WritePng(path, CPlaneView::Size, CPlaneView::Size, pixels));
        GTEST_SKIP() << "wrote " << path;
    }
    int width = 0, height = 0;
    std::vector<std::uint8_t> reference;
    ASSERT_TRUE(ReadPng(path, width, height, reference))
        << path << " is missing (TESSARON_UPDATE_BASELINES=1 writes it)";
    ASSERT_EQ(width, CPlaneView::Size);
    ASSERT_EQ(reference.size(), pixels.size());
    int differing = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(pixels[i + c]) - int(reference[i + c])) > Tolerance)
            {
                ++differing;
                break;
            }
    EXPECT_LE(differing, int(MaxShare * CPlaneView::Size * CPlaneView::Size))
        << DisplayModeNames[GetParam()] << ": " << differing << " pixels differ from " << path;
}

INSTANTIATE_TEST_SUITE_P(EveryMode, BaselineTest, ::testing::Range(0, int(DisplayModeCount)));
} // namespace volumira3d
