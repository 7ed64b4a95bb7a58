#include "platform/HeadlessBackend.h"
#include "platform/Offscreen.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/TrackRenderer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace trakor3d;

namespace
{
constexpr int Size = 100; // 10 pixels per unit; the tracks run along pixel centres

// A top view of the square 0..10 x 0..10; z from -10 (far) to 10 (near).
class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_GL.Create(Size, Size)) << m_GL.Error();
        std::istringstream in("EnergyGroup_Tot 0 1\nEnergyGroup_Tot 1 10\n"
                              "PARTICLE\nEnergy 0.5\nType 7\ns 1 5.05 0\ns 9 5.05 0\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 5\nType 8\ns 5.05 1 0\ns 5.05 3 0\nEND PARTICLE\n");
        ASSERT_TRUE(m_Store.ReadStream(in, nullptr));
        m_Settings.m_Visualize = true;
    }

    void Draw(bool solidInFront = false)
    {
        glViewport(0, 0, Size, Size);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 10, 0, 10, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        if (solidInFront)
        {
            glColor3f(0.5f, 0.5f, 0.5f);
            glBegin(GL_QUADS);
            glVertex3f(0, 0, 5);
            glVertex3f(10, 0, 5);
            glVertex3f(10, 10, 5);
            glVertex3f(0, 10, 5);
            glEnd();
        }
        DrawTracks(m_Store, m_Settings);
        m_Pixels = m_GL.ReadPixels();
    }

    // The colour at scene coordinates (x, y), as 0xRRGGBB.
    unsigned At(double x, double y) const
    {
        const int px = static_cast<int>(x * 10);
        const int py = Size - 1 - static_cast<int>(y * 10);
        const std::uint8_t* p = &m_Pixels[(static_cast<size_t>(py) * Size + px) * 4];
        return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    }

    COffscreenGL m_GL;
    CParticleDataReader m_Store;
    CDrawSettings m_Settings;
    std::vector<std::uint8_t> m_Pixels;
};
} // namespace

TEST_F(RenderTest, TracksAppearInTheirTypeColours)
{
    Draw();
    EXPECT_EQ(At(5, 5.05), 0xffff00u) << "photon yellow";
    EXPECT_EQ(At(5.05, 2), 0x0000ffu) << "neutron blue";
    EXPECT_EQ(At(5, 8), 0x000000u);
}

TEST_F(RenderTest, NothingWithoutVisualize)
{
    m_Settings.m_Visualize = false;
    Draw();
    EXPECT_EQ(At(5, 5.05), 0u);
}

TEST_F(RenderTest, DisabledGroupsAndHiddenTypesDisappear)
{
    m_Store.m_EnergyGroups[1].m_Enabled = false;
    m_Store.m_Particles[0].begin()->second.m_Visible = false;
    Draw();
    EXPECT_EQ(At(5, 5.05), 0u);
    EXPECT_EQ(At(5.05, 2), 0u);
}

TEST_F(RenderTest, TransparencyBlendsWithTheBackground)
{
    m_Store.SetTransparency(0.5);
    Draw();
    const unsigned c = At(5, 5.05);
    EXPECT_NEAR(double(c >> 16), 128, 2);
    EXPECT_EQ(c & 0xff, 0u);
}

TEST_F(RenderTest, OverlayDrawsTracksInFrontOfTheGeometry)
{
    Draw(true);
    EXPECT_EQ(At(5, 5.05), 0x808080u) << "hidden behind the solid";
    m_Settings.m_Overlay = true;
    Draw(true);
    EXPECT_EQ(At(5, 5.05), 0xffff00u);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "depth testing is back on afterwards";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderTest, LineWidthWidensThePieces)
{
    auto countYellow = [&] {
        int n = 0;
        for (size_t i = 0; i < m_Pixels.size(); i += 4)
            n += m_Pixels[i] == 255 && m_Pixels[i + 1] == 255 && m_Pixels[i + 2] == 0;
        return n;
    };
    Draw();
    const int thin = countYellow();
    m_Settings.m_LineWidth = 3;
    Draw();
    EXPECT_GE(countYellow(), 2 * thin);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f) << "restored";
}
