#include "host/ViewSettings.h"
#include "common/ColorTable.h"
#include "host/Camera.h"
#include "host/ViewOverlay.h"
#include "platform/Profile.h"
#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

TEST(ViewContrast, LuminanceAndRatioMatchTheWcagAnchors)
{
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {1, 1, 1}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}), 1.0, 1e-12);
    EXPECT_NEAR(RelativeLuminance({0, 0, 1}), 0.0722, 1e-9);
    EXPECT_NEAR(RelativeLuminance({0.5, 0.5, 0.5}), 0.2140, 1e-3);
}

// Over the whole gradient, top to bottom: the colours the default background was chosen for keep
// a ratio of 2; the worst of all 71 is reported (a mid grey cannot serve the mid greys).
TEST(ViewContrast, DefaultBackgroundKeepsTheTableColoursVisible)
{
    const CViewSettings settings;
    const CVector ends[2] = {settings.BackgroundTop(), settings.BackgroundBottom()};
    auto worstOver = [&](const CVector& c)
    { return std::min(ContrastRatio(c, ends[0]), ContrastRatio(c, ends[1])); };
    const auto& table = CColorTable::Defaults();
    EXPECT_GE(worstOver(table[67]), 2.0) << "black (deuteron)";
    EXPECT_GE(worstOver(table[8]), 2.0) << "dark blue (neutron)";
    EXPECT_GE(worstOver(table[7]), 2.0) << "yellow (photon)";
    double worst = 21;
    int worstIndex = -1, below2 = 0;
    for (int i = 0; i < CColorTable::Size; ++i)
    {
        const double r = worstOver(table[i]);
        below2 += r < 2;
        if (r < worst) worst = r, worstIndex = i;
    }
    RecordProperty("worst_ratio", std::to_string(worst));
    std::cout << "worst contrast ratio over the standard table: " << worst << " (colour "
              << worstIndex << "), " << below2 << " of 71 below 2\n";
    EXPECT_GT(worst, 1.0);
}

TEST(ViewSettings, KeptInTheHostsProfileAndDamagedValuesKeepTheDefaults)
{
    setenv("XDG_CONFIG_HOME", testkit::TestDir().c_str(), 1);
    CProfile profile;
    profile.SetRegistryKey("Wendrik");
    profile.SetAppName("Tessaron");
    CViewSettings saved;
    saved.m_Background = {0, 0, 0};
    saved.m_BoundingBox = true;
    saved.m_Axes = false;
    ASSERT_TRUE(saved.Save(profile));
    CViewSettings loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.m_Background, CVector(0, 0, 0));
    EXPECT_TRUE(loaded.m_BoundingBox);
    EXPECT_FALSE(loaded.m_Axes);

    for (const char* bad : {"#12345", "#12345g", "red", "#1234567", ""})
    {
        profile.WriteProfileString("View", "Background", bad);
        CViewSettings fresh;
        fresh.Load(profile);
        EXPECT_EQ(fresh.m_Background, CViewSettings().m_Background) << bad;
    }
}

TEST(ScaleBar, LengthsAreOneTwoOrFiveTimesAPowerOfTen)
{
    EXPECT_DOUBLE_EQ(CViewOverlay::NiceLength(7.3), 5);
    EXPECT_DOUBLE_EQ(CViewOverlay::NiceLength(10), 10);
    EXPECT_DOUBLE_EQ(CViewOverlay::NiceLength(19.9), 10);
    EXPECT_DOUBLE_EQ(CViewOverlay::NiceLength(0.031), 0.02);
    EXPECT_DOUBLE_EQ(CViewOverlay::NiceLength(4999), 2000);
    EXPECT_EQ(CViewOverlay::LengthLabel(0.5), "0.5 cm");
    EXPECT_EQ(CViewOverlay::LengthLabel(2000), "2000 cm");
}

// Every corner of the fitted box lies inside the view, and the box is not lost in a corner of it.
TEST(CameraFit, TheBoxFillsTheViewWithAMargin)
{
    const CVector min(-5, -2, -40), max(5, 2, 40);
    for (auto projection : {CCamera::EProjection::Orthographic, CCamera::EProjection::Perspective})
    {
        CCamera camera;
        camera.SetProjection(projection);
        camera.FitTo(min, max, 4.0 / 3);
        const double upp = camera.UnitsPerPixel(300); // at the target's depth
        double widest = 0;
        for (int i = 0; i < 8; ++i)
        {
            const CVector c =
                CVector(i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z);
            const double x = CVector::Dot(c, camera.Right()) / upp,
                         y = CVector::Dot(c, camera.Up()) / upp;
            if (projection == CCamera::EProjection::Orthographic)
            {
                EXPECT_LE(std::abs(x), 200 / 1.15 + 1e-6);
                EXPECT_LE(std::abs(y), 150 / 1.15 + 1e-6);
            }
            widest = std::max({widest, std::abs(x) / 200, std::abs(y) / 150});
        }
        if (projection == CCamera::EProjection::Orthographic)
            EXPECT_NEAR(widest, 1 / 1.15, 1e-6) << "the fit touches the margin";
        else
            EXPECT_GT(widest, 0.3) << "the box is not lost in the middle";
    }
}

TEST(CameraFit, TheFirstViewIsObliqueSoABeamAlongZHasLength)
{
    CCamera camera;
    EXPECT_GT(std::abs(CVector::Dot({0, 0, 1}, camera.Right())), 0.5);
    EXPECT_GT(CVector::Dot({0, 1, 0}, camera.Up()), 0.5);
}
