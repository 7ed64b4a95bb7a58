// The geometry verbs: a refused input leaves the shown geometry as it was and says why by line;
// the verbs that need a geometry say so without one; the plug-in view of the geometry.
#include "HostRun.h"

#include "geometry/RegionVolume.h"

#include "testkit/Scratch.h"

#include <gtest/gtest.h>

namespace
{
const std::string Good = "GEOBEGIN                                                              "
                         "COMBNAME\n    0    0          t\nSPH s 0 0 0 2\nRPP w -5 5 -5 5 -5 5\n"
                         "END\nIN 5 +s\nOUT 5 +w -s\nEND\nGEOEND\n";
} // namespace

TEST(GeometryVerbs, ARefusedInputKeepsTheGeometryShownAndListsItsErrors)
{
    const std::string good = testkit::WriteScratch("good.inp", Good);
    const std::string bad = testkit::WriteScratch(
        "bad.inp", "GEOBEGIN                                                              "
                   "COMBNAME\n    0    0          t\nSPH s 0 0 0\nEND\nIN 5 +s +q\nEND\nGEOEND\n");
    const std::string none = testkit::WriteScratch("none.inp", "TITLE\nno geometry here\n");
    CHostRun run;
    EXPECT_EQ(run.Run("geometry " + good + "\ngeometry " + bad + "\ngeometry " + none +
                      "\nregion 0 0 0\nregion 4 0 0\nregion 9 0 0\n"),
              2);
    EXPECT_EQ(run.m_Out.str(), "geometry: 2 bodies, 2 regions, 0 materials\n"
                               "geometry: Regions without a material: IN, OUT\n"
                               "region 0 0 0: IN unassigned\nregion 4 0 0: OUT unassigned\n"
                               "region 9 0 0: undefined\n");
    const std::string err = run.m_Err.str();
    EXPECT_NE(err.find("line 3: SPH s: SPH needs 4 parameters, not 3"), std::string::npos) << err;
    EXPECT_NE(err.find("line 5: the region IN names the undefined body s"), std::string::npos)
        << err;
    EXPECT_NE(err.find("is not a geometry input that is read here (tried: FLUKA input, PHITS "
                       "input, MCNP input)"),
              std::string::npos)
        << err;
}

TEST(GeometryVerbs, VerbsThatNeedAGeometrySaySoWithoutOne)
{
    CHostRun run;
    EXPECT_EQ(run.Run("region 0 0 0\nsection x 1\nregionvolume A 10\ngeometrycheck\n"), 4);
    EXPECT_EQ(run.Errors().size(), 4u);
    EXPECT_NE(run.m_Err.str().find("no geometry is loaded"), std::string::npos);
    EXPECT_EQ(run.m_Host.GetGeometry(), nullptr);
}

TEST(GeometryVerbs, PlugInsSeeRegionsAndBoundariesThroughTheHost)
{
    CHostRun run;
    ASSERT_EQ(run.Run("geometry " + testkit::WriteScratch("view.inp", Good) + "\n"), 0);
    CHostGeometryView* view = run.m_Host.GetGeometry();
    ASSERT_NE(view, nullptr);
    std::string region, material;
    EXPECT_TRUE(view->RegionAt({1, 1, 0}, region, material));
    EXPECT_EQ(region, "IN");
    EXPECT_EQ(material, "unassigned");
    EXPECT_FALSE(view->RegionAt({9, 0, 0}, region, material));
    std::vector<CVector> segments;
    const double lo[2] = {-4, -4}, hi[2] = {4, 4};
    view->BoundarySegments(2, 0.5, lo, hi, 40, segments);
    ASSERT_FALSE(segments.empty());
    EXPECT_EQ(segments.size() % 2, 0u);
    // The circle of the sphere at z = 0.5: radius sqrt(4 - 0.25).
    for (const CVector& p : segments)
        EXPECT_NEAR(std::hypot(p.x, p.y), std::sqrt(3.75), 1e-3);
    const int revision = view->Revision();
    ASSERT_EQ(run.Run("geometry " + testkit::WriteScratch("view2.inp", Good) + "\n"), 0);
    EXPECT_NE(view->Revision(), revision);
}

TEST(GeometryVerbs, TheMaterialLegendListsTheAssignedMaterialsInTheirColours)
{
    const std::string text =
        "GEOBEGIN                                                              COMBNAME\n"
        "    0    0          t\nSPH s 0 0 0 2\nRPP w -5 5 -5 5 -5 5\nSPH b 0 0 0 50\nEND\n"
        "IN 5 +s\nOUT 5 +w -s\nBH 5 +b -w\nEND\nGEOEND\n"
        "ASSIGNMA        LEAD        IN\nASSIGNMA       WATER       OUT\n"
        "ASSIGNMA    BLCKHOLE        BH\n";
    CHostRun run;
    ASSERT_EQ(run.Run("geometry " + testkit::WriteScratch("legend.inp", text) + "\n"), 0);
    const auto legend = run.m_Host.Geometry().MaterialLegend();
    ASSERT_EQ(legend.size(), 3u);
    EXPECT_EQ(legend[0].first, "LEAD");
    EXPECT_EQ(legend[2].first, "BLCKHOLE");
    EXPECT_FALSE(legend[0].second == legend[1].second);
    // The black hole wraps the problem far outside: the shown extent is the world box.
    CVector min, max;
    ASSERT_TRUE(run.m_Host.Geometry().Bounds(min, max));
    EXPECT_EQ(max.x, 5);
}

TEST(OpenVerb, AFileNobodyReadsAndBadOptionsAreRefusedByName)
{
    const std::string text = testkit::WriteScratch("nothing.dat", "no data here\n");
    CHostRun run;
    EXPECT_EQ(run.Run("open " + text + "\nopen " + text + " planes=1,2\nopen " + text +
                      " range=5:1\nopen " + text + " shiny\n"),
              4);
    const auto errors = run.Errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_NE(errors[0].find(text + " is not a file that a loaded plug-in reads (tried: no plug-in "
                                    "opens files)"),
              std::string::npos)
        << errors[0];
    EXPECT_NE(errors[1].find("planes: give X,Y,Z in cm, not 1,2"), std::string::npos) << errors[1];
    EXPECT_NE(errors[2].find("range: give MIN:MAX with MIN below MAX, not 5:1"), std::string::npos);
    EXPECT_NE(errors[3].find("unknown option shiny"), std::string::npos);
}

// The arrays drawn follow every new tracing, even one of as many segments as the last.
TEST(GeometryVerbs, TheDrawnOutlineFollowsTheSectionItWasMadeFrom)
{
    CHostRun run;
    ASSERT_EQ(run.Run("geometry " + testkit::WriteScratch("moved.inp", Good) + "\n"), 0);
    CHostGeometry& g = run.m_Host.Geometry();
    g.SetSection(2, true, 0.5);
    const std::vector<float> first = g.Drawable(2).m_Points;
    // The plane mirrored: the same number of segments at the other z.
    g.SetSection(2, true, -0.5);
    ASSERT_EQ(g.Outline(2).size() * 6, first.size());
    const std::vector<float> second = g.Drawable(2).m_Points;
    ASSERT_EQ(second.size(), first.size());
    EXPECT_EQ(second[2], -0.5f);
    EXPECT_EQ(first[2], 0.5f);
}

// A geometry of half-spaces only has no extent: the check says so rather than sampling nothing.
TEST(GeometryVerbs, AGeometryWithoutABoundedRegionCannotBeChecked)
{
    const std::string text =
        "GEOBEGIN                                                              "
        "COMBNAME\n    0    0          t\nXYP low 0\nEND\nBELOW 5 +low\n"
        "ABOVE 5 -low\nEND\nGEOEND\n";
    CHostRun run;
    EXPECT_EQ(run.Run("geometry " + testkit::WriteScratch("open.inp", text) +
                      "\ngeometrycheck 4\nregion 0 0 -1\n"),
              1);
    EXPECT_NE(run.m_Err.str().find(NoExtentMessage), std::string::npos) << run.m_Err.str();
    EXPECT_EQ(run.m_Out.str().find("check:"), std::string::npos) << run.m_Out.str();
    EXPECT_NE(run.m_Out.str().find("region 0 0 -1: BELOW unassigned"), std::string::npos);
}
