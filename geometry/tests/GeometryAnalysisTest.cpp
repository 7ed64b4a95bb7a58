// Region volumes against their formulas, the boundaries traced in a plane, and the check for
// undefined space and overlaps.
#include "geometry/FlukaGeometryReader.h"
#include "geometry/RegionVolume.h"
#include "geometry/Section.h"

#include "testkit/Scratch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace
{
CGeometry Load(const std::string& geometry)
{
    const std::string text = "GEOBEGIN                                                           "
                             "   COMBNAME\n    0    0          test\n" +
                             geometry + "GEOEND\n";
    CGeometry g;
    CFlukaGeometryReader reader;
    EXPECT_TRUE(reader.Read(testkit::WriteScratch("analysis.inp", text), g))
        << (reader.Errors().empty() ? "" : reader.Errors().front());
    return g;
}

constexpr double Pi = std::numbers::pi;
} // namespace

TEST(RegionVolume, AnalyticShapesAgreeWithTheirFormulaWithinThreeErrors)
{
    const CGeometry g = Load("RPP box 0 2 0 3 0 4\nSPH ball 10 0 0 3\nRCC can 20 0 0 0 0 5 2\n"
                             "TRC cone 30 0 0 0 0 3 2 1\nELL egg 37 0 0 43 0 0 10\n"
                             "RPP slab -10 -4 -3 3 -3 3\nSPH hole -7 0 0 2\n"
                             "SPH a 0 20 0 1\nSPH b 0 30 0 2\nEND\n"
                             "BOX 5 +box\nBALL 5 +ball\nCAN 5 +can\nCONE 5 +cone\nEGG 5 +egg\n"
                             "DIFF 5 +slab -hole\nBOTH 5 +a | +b\nEND\n");
    const std::pair<const char*, double> expected[] = {
        {"BOX", 24},
        {"BALL", 4.0 / 3 * Pi * 27},
        {"CAN", Pi * 4 * 5},
        {"CONE", Pi * 3 / 3 * (4 + 2 + 1)},
        {"EGG", 4.0 / 3 * Pi * 5 * 4 * 4},
        {"DIFF", 6 * 6 * 6 - 4.0 / 3 * Pi * 8},
        {"BOTH", 4.0 / 3 * Pi * (1 + 8)},
    };
    for (const auto& [name, volume] : expected)
    {
        CVolumeEstimate e;
        ASSERT_TRUE(EstimateRegionVolume(g, g.RegionIndex(name), 200000, 7, e)) << name;
        EXPECT_NEAR(e.m_Volume, volume, 3 * e.m_Error) << name;
        EXPECT_NEAR(e.m_Volume, volume, 0.02 * volume) << name;
        EXPECT_LT(e.m_Error, 0.02 * volume) << name;
    }
    // The outside of everything has no box to sample.
    const CGeometry open = Load("SPH s 0 0 0 1\nEND\nIN 5 +s\nOUT 5 -s\nEND\n");
    CVolumeEstimate e;
    EXPECT_FALSE(EstimateRegionVolume(open, 1, 1000, 1, e));
}

TEST(Section, ACircleIsTracedOnItsRadiusWithTheRegionsOnEitherSide)
{
    const CGeometry g = Load("RPP w -10 10 -10 10 -10 10\nZCC rod 1 -2 5\nEND\n"
                             "ROD 5 +rod +w\nAIR 5 +w -rod\nEND\n");
    CSectionPlane plane;
    plane.m_Axis = 2;
    plane.m_Position = 3;
    plane.m_Lo[0] = plane.m_Lo[1] = -8;
    plane.m_Hi[0] = plane.m_Hi[1] = 8;
    const auto segments = TraceSection(g, plane, 64);
    ASSERT_GT(segments.size(), 60u);
    const double cell = 16.0 / 64;
    for (const CSectionSegment& s : segments)
        for (const CVector& p : {s.m_A, s.m_B})
        {
            EXPECT_NEAR(std::hypot(p.x - 1, p.y + 2), 5, cell / 1000);
            EXPECT_EQ(p.z, 3);
            const int a = std::min(s.m_Regions[0], s.m_Regions[1]);
            const int b = std::max(s.m_Regions[0], s.m_Regions[1]);
            EXPECT_EQ(a, 0);
            EXPECT_EQ(b, 1);
        }
    // The plane x = 20 lies outside the world: nothing but undefined space, no boundary.
    plane.m_Axis = 0;
    plane.m_Position = 20;
    EXPECT_TRUE(TraceSection(g, plane, 16).empty());
}

TEST(GeometryCheck, UndefinedSpaceAndOverlapsAreFoundWithAnExample)
{
    const CGeometry g = Load("SPH a -1 0 0 2\nSPH b 1 0 0 2\nEND\nA 5 +a\nB 5 +b\nEND\n");
    const auto problems = CheckGeometry(g, CBox::Of({-4, -4, -4}, {4, 4, 4}), 20);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].m_Regions[0], -1);
    EXPECT_GT(problems[0].m_Points, 0);
    EXPECT_EQ(problems[1].m_Regions[0], 0);
    EXPECT_EQ(problems[1].m_Regions[1], 1);
    const CVector& p = problems[1].m_Example;
    EXPECT_TRUE(g.InRegion(0, p) && g.InRegion(1, p));
}
