#include "testkit/Pixels.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/TrackRenderer.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace trakor3d;
using namespace testkit;

namespace
{
class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_View.Create()) << m_View.Error();
        std::istringstream in("EnergyGroup_Tot 0 1\nEnergyGroup_Tot 1 10\n"
                              "PARTICLE\nEnergy 0.5\nType 7\ns 1 5.05 0\ns 9 5.05 0\nEND PARTICLE\n"
                              "PARTICLE\nEnergy 5\nType 8\ns 5.05 1 0\ns 5.05 3 0\nEND PARTICLE\n");
        ASSERT_TRUE(m_Store.ReadStream(in, nullptr));
        m_Settings.m_Visualize = true;
    }

    void Draw(bool solidInFront = false)
    {
        m_View.Draw(
            [&]
            {
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
            });
    }

    CTopView m_View;
    CParticleDataReader m_Store;
    CDrawSettings m_Settings;
};
} // namespace

TEST_F(RenderTest, TracksAppearInTheirTypeColours)
{
    Draw();
    EXPECT_EQ(m_View.At(5, 5.05), 0xffff00u) << "photon yellow";
    EXPECT_EQ(m_View.At(5.05, 2), 0x0000ffu) << "neutron blue";
    EXPECT_EQ(m_View.At(5, 8), 0x000000u);
}

TEST_F(RenderTest, NothingWithoutVisualize)
{
    m_Settings.m_Visualize = false;
    Draw();
    EXPECT_EQ(m_View.At(5, 5.05), 0u);
}

TEST_F(RenderTest, DisabledGroupsAndHiddenTypesDisappear)
{
    m_Store.m_EnergyGroups[1].m_Enabled = false;
    m_Store.m_Particles[0].begin()->second.m_Visible = false;
    Draw();
    EXPECT_EQ(m_View.At(5, 5.05), 0u);
    EXPECT_EQ(m_View.At(5.05, 2), 0u);
}

TEST_F(RenderTest, TransparencyBlendsWithTheBackground)
{
    m_Store.SetTransparency(0.5);
    Draw();
    const unsigned c = m_View.At(5, 5.05);
    EXPECT_NEAR(double(c >> 16), 128, 2);
    EXPECT_EQ(c & 0xff, 0u);
}

TEST_F(RenderTest, OverlayDrawsTracksInFrontOfTheGeometry)
{
    Draw(true);
    EXPECT_EQ(m_View.At(5, 5.05), 0x808080u) << "hidden behind the solid";
    m_Settings.m_Overlay = true;
    Draw(true);
    EXPECT_EQ(m_View.At(5, 5.05), 0xffff00u);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "depth testing is back on afterwards";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderTest, LineWidthWidensThePieces)
{
    Draw();
    const int thin = m_View.Count(0xffff00);
    m_Settings.m_LineWidth = 3;
    Draw();
    EXPECT_GE(m_View.Count(0xffff00), 2 * thin);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f) << "restored";
}
