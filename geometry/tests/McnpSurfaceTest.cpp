// The surfaces of MCNP and PHITS: each kind's negative side against points worked out by hand on
// either side, the facets of every macrobody in the order the codes number them, the sheets of
// cones, surfaces by points, and the parameter counts refused.
#include "geometry/McnpSurface.h"

#include "platform/UiServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct CProbe
{
    CVector m_Point;
    bool m_Negative;
};

std::unique_ptr<CBody> Make(const std::string& type, const std::vector<double>& params,
                            int facet = 0, const CTransform& place = CTransform())
{
    std::string error;
    auto body = MakeSurface(type, params, facet, place, error);
    EXPECT_TRUE(body) << type << ": " << error;
    return body;
}

void Check(const std::string& type, const std::vector<double>& params,
           const std::vector<CProbe>& probes, int facet = 0)
{
    SCOPED_TRACE(Format("%s.%d", type.c_str(), facet));
    const auto body = Make(type, params, facet);
    ASSERT_TRUE(body);
    for (const CProbe& p : probes)
    {
        EXPECT_EQ(body->Inside(p.m_Point), p.m_Negative)
            << p.m_Point.x << " " << p.m_Point.y << " " << p.m_Point.z;
        if (p.m_Negative)
        {
            EXPECT_TRUE(body->Box().Contains(p.m_Point));
        }
    }
}

std::string Refusal(const std::string& type, const std::vector<double>& params, int facet = 0)
{
    std::string error;
    EXPECT_FALSE(MakeSurface(type, params, facet, CTransform(), error)) << type;
    return error;
}
} // namespace

TEST(McnpSurface, PlanesAndSpheresTakeTheSideTheirEquationMakesNegative)
{
    Check("PX", {2}, {{{1.9, 0, 0}, true}, {{2.1, 5, 5}, false}});
    Check("PY", {-1}, {{{0, -1.1, 0}, true}, {{0, -0.9, 0}, false}});
    Check("PZ", {0}, {{{0, 0, -1}, true}, {{0, 0, 1}, false}});
    // x + y - 2 = 0.
    Check("P", {1, 1, 0, 2}, {{{0, 0, 0}, true}, {{2, 1, 0}, false}});
    // By three points: the origin is on the negative side...
    Check("P", {1, 0, 0, 0, 1, 0, 0, 0, 1}, {{{0, 0, 0}, true}, {{1, 1, 1}, false}});
    Check("P", {1, 0, 0, 0, 0, 1, 0, 1, 0}, {{{0, 0, 0}, true}, {{1, 1, 1}, false}});
    // ... and through the origin, the far end of the z axis is positive.
    Check("P", {0, 0, 0, 1, 0, 1, 0, 1, 1}, {{{0.5, 0.5, -1}, true}, {{0.5, 0.5, 2}, false}});
    Check("SO", {5}, {{{0, 0, 4.9}, true}, {{0, 0, 5.1}, false}});
    Check("S", {1, 2, 3, 1}, {{{1.5, 2, 3}, true}, {{2.1, 2, 3}, false}});
    Check("SX", {3, 1}, {{{3.9, 0, 0}, true}, {{1.9, 0, 0}, false}});
    Check("SY", {3, 1}, {{{0, 2.1, 0}, true}, {{0, 4.1, 0}, false}});
    Check("SZ", {-3, 1}, {{{0, 0, -3.9}, true}, {{0, 0, 3}, false}});
}

TEST(McnpSurface, CylindersAndConesAlongEachAxis)
{
    Check("CX", {2}, {{{100, 1.9, 0}, true}, {{0, 1.5, 1.5}, false}});
    Check("CY", {2}, {{{1.9, -50, 0}, true}, {{2.1, 0, 0}, false}});
    Check("CZ", {2}, {{{0, 1.9, 7}, true}, {{0, 2.1, 0}, false}});
    // C/X y z R, C/Y x z R, C/Z x y R.
    Check("C/X", {1, 2, 0.5}, {{{9, 1.4, 2}, true}, {{9, 1, 1.4}, false}});
    Check("C/Y", {1, 2, 0.5}, {{{1.4, 9, 2}, true}, {{1, 9, 1.4}, false}});
    Check("C/Z", {1, 2, 0.5}, {{{1.4, 2, 9}, true}, {{1, 1.4, 9}, false}});
    // KZ: x2 + y2 = t2 (z - z0)2, both sheets or one.
    Check("KZ", {1, 1}, {{{0, 0.5, 2}, true}, {{0, 0.5, 0}, true}, {{0, 1.5, 2}, false}});
    Check("KZ", {1, 1, 1}, {{{0, 0.5, 2}, true}, {{0, 0.5, 0}, false}});
    Check("KZ", {1, 1, -1}, {{{0, 0.5, 2}, false}, {{0, 0.5, 0}, true}});
    Check("KZ", {1, 1, 0}, {{{0, 0.5, 2}, true}, {{0, 0.5, 0}, true}}); // 0: both, as left out
    // K/X x y z t2 sheet: apex at (1, 2, 3), opening along +x with slope 1/2.
    Check("K/X", {1, 2, 3, 0.25, 1},
          {{{5, 2, 4.9}, true}, {{5, 2, 5.1}, false}, {{-3, 2, 3.5}, false}});
    Check("K/Y", {0, 0, 0, 1}, {{{0.5, 1, 0}, true}, {{1.5, 1, 0}, false}});
    Check("KX", {0, 1}, {{{2, 1.9, 0}, true}, {{2, 2.1, 0}, false}});
}

TEST(McnpSurface, QuadricsAndTori)
{
    // SQ: an ellipsoid (x-1)2/4 + y2 + z2/9 = 1 centred at (1, 0, 0).
    const std::vector<double> sq = {0.25, 1, 1.0 / 9, 0, 0, 0, -1, 1, 0, 0};
    Check("SQ", sq,
          {{{2.9, 0, 0}, true}, {{3.1, 0, 0}, false}, {{1, 0, 2.9}, true}, {{1, 1.1, 0}, false}});
    const auto ellipsoid = Make("SQ", sq);
    EXPECT_NEAR(ellipsoid->Box().m_Lo[0], -1, 1e-12);
    EXPECT_NEAR(ellipsoid->Box().m_Hi[2], 3, 1e-12);
    // GQ: x2 + y2 - 4 (a cylinder along z) with the cross terms zero; then xy - 1 (hyperbola).
    Check("GQ", {1, 1, 0, 0, 0, 0, 0, 0, 0, -4}, {{{1.9, 0, 50}, true}, {{2.1, 0, 0}, false}});
    Check("GQ", {0, 0, 0, 1, 0, 0, 0, 0, 0, -1}, {{{0.5, 1.9, 0}, true}, {{0.5, 2.1, 0}, false}});
    // GQ's E is yz and F is zx: 2 yz <= 1.
    Check("GQ", {0, 0, 0, 0, 2, 0, 0, 0, 0, -1}, {{{5, 0.7, 0.7}, true}, {{0, 0.8, 0.8}, false}});
    // TZ x y z A B C: a ring of tube radius 1 around the z axis at distance 5.
    Check("TZ", {0, 0, 0, 5, 1, 1},
          {{{5.9, 0, 0}, true}, {{0, -4.1, 0.1}, true}, {{0, 0, 0}, false}, {{5, 0, 1.1}, false}});
    Check("TX", {1, 0, 0, 3, 0.5, 1},
          {{{1.4, 0, 3}, true}, {{1.6, 0, 3}, false}, {{1, 3.9, 0}, true}});
    Check("TY", {0, 0, 0, 3, 1, 1}, {{{3, 0.9, 0}, true}, {{0, 0, 3.5}, true}, {{0, 0, 0}, false}});
}

TEST(McnpSurface, AxisymmetricSurfacesByPoints)
{
    // Two points of one radius: a cylinder; of two radii: the cone through them.
    Check("X", {0, 2, 5, 2}, {{{100, 1.9, 0}, true}, {{0, 2.1, 0}, false}});
    Check("Z", {0, 1, 2, 3}, {{{0, 1.9, 1}, true}, {{0, 2.1, 1}, false}, {{0, 0, -2}, false}});
    // Two points at one coordinate: the plane there.
    Check("Y", {3, 1, 3, 2}, {{{0, 2.9, 0}, true}, {{0, 3.1, 0}, false}});
    // Three points of the sphere of radius 2 about the origin.
    Check("X", {-2, 0, 0, 2, 2, 0},
          {{{1.9, 0, 0}, true}, {{0, 1.9, 0}, true}, {{0, 0, 2.1}, false}});
    const auto sphere = Make("X", {-2, 0, 0, 2, 2, 0});
    EXPECT_NEAR(sphere->Box().m_Hi[1], 2, 1e-12);
    EXPECT_EQ(Refusal("X", {1, 1, 1, 2, 3, 3}),
              "two of the three points have the same axial coordinate");
}

TEST(McnpSurface, MacrobodiesAndTheirFacetsInTheirNumbering)
{
    const std::vector<double> rpp = {-1, 1, -2, 2, -3, 3};
    Check("RPP", rpp, {{{0.9, 1.9, 2.9}, true}, {{1.1, 0, 0}, false}});
    // 1 +x, 2 -x, 3 +y, 4 -y, 5 +z, 6 -z: each negative toward the inside.
    const CVector out[6] = {{1.1, 0, 0},  {-1.1, 0, 0}, {0, 2.1, 0},
                            {0, -2.1, 0}, {0, 0, 3.1},  {0, 0, -3.1}};
    for (int f = 1; f <= 6; ++f)
        Check("RPP", rpp, {{{0, 0, 0}, true}, {out[f - 1], false}, {out[f - 1] * -1, true}}, f);
    EXPECT_EQ(FacetCount("RPP", 6), 6);

    // BOX at the origin with edges along x (2), y (3), z (4).
    const std::vector<double> box = {0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4};
    Check("BOX", box, {{{1.9, 2.9, 3.9}, true}, {{2.1, 1, 1}, false}});
    Check("BOX", box, {{{1.9, 0, 0}, true}, {{2.1, 0, 0}, false}}, 1);
    Check("BOX", box, {{{0.1, 0, 0}, true}, {{-0.1, 0, 0}, false}}, 2);
    Check("BOX", box, {{{0, 0, 3.9}, true}, {{0, 0, 4.1}, false}}, 5);
    // Nine parameters: infinite along the third edge, four facets.
    Check("BOX", {0, 0, 0, 2, 0, 0, 0, 3, 0}, {{{1, 1, 100}, true}, {{1, 3.1, 0}, false}});
    EXPECT_EQ(FacetCount("BOX", 9), 4);
    EXPECT_EQ(Refusal("BOX", {0, 0, 0, 2, 0, 0, 0, 3, 0}, 5), "BOX has facets 1 to 4, not 5");

    // RCC along z from z = 1, height 4, radius 2: 1 the side, 2 the top, 3 the base.
    const std::vector<double> rcc = {0, 0, 1, 0, 0, 4, 2};
    Check("RCC", rcc, {{{1.9, 0, 4.9}, true}, {{0, 0, 5.1}, false}, {{0, 0, 0.9}, false}});
    Check("RCC", rcc, {{{0, 1.9, 100}, true}, {{2.1, 0, 3}, false}}, 1);
    Check("RCC", rcc, {{{9, 0, 4.9}, true}, {{0, 0, 5.1}, false}}, 2);
    Check("RCC", rcc, {{{9, 0, 1.1}, true}, {{0, 0, 0.9}, false}}, 3);
    // An oblique RCC along (1, 1, 0): its side about that axis.
    Check("RCC", {0, 0, 0, 3, 3, 0, 1},
          {{{2, 4, 0}, false}, {{2, 2, 0.9}, true}, {{9, 9, 0.9}, true}}, 1);

    // TRC from radius 2 at z = 0 to 1 at z = 2: its cone's apex at z = 4, the lower sheet.
    const std::vector<double> trc = {0, 0, 0, 0, 0, 2, 2, 1};
    Check("TRC", trc, {{{1.4, 0, 1}, true}, {{1.6, 0, 1}, false}});
    Check("TRC", trc, {{{1.4, 0, 1}, true}, {{1.6, 0, 1}, false}, {{0.4, 0, 6}, false}}, 1);

    // REC with semi-axes 3 along x and (10 parameters) 1 across.
    const std::vector<double> rec = {0, 0, 0, 0, 0, 5, 3, 0, 0, 1};
    Check("REC", rec, {{{2.9, 0, 1}, true}, {{0, 1.1, 1}, false}, {{0, 0.9, 4.9}, true}});
    Check("REC", rec, {{{2.9, 0, -10}, true}, {{0, 1.1, 1}, false}}, 1);

    // WED: base triangle (0,0)-(2,0)-(0,2), height 1. 1 the slant face, 2 the face on the first
    // edge (y = 0), 3 on the second (x = 0), 4 the top, 5 the base.
    const std::vector<double> wed = {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1};
    Check("WED", wed, {{{0.9, 0.9, 0.5}, true}, {{1.1, 1.1, 0.5}, false}});
    Check("WED", wed, {{{0.9, 0.9, 0}, true}, {{1.1, 1.1, 0}, false}}, 1);
    Check("WED", wed, {{{1, 0.1, 0}, true}, {{1, -0.1, 0}, false}}, 2);
    Check("WED", wed, {{{0.1, 1, 0}, true}, {{-0.1, 1, 0}, false}}, 3);
    Check("WED", wed, {{{0, 0, 0.9}, true}, {{0, 0, 1.1}, false}}, 4);
    Check("WED", wed, {{{0, 0, 0.1}, true}, {{0, 0, -0.1}, false}}, 5);

    // RHP: a hexagon of apothem 1 (r along x), height 2; nine parameters give s and t.
    const std::vector<double> hex = {0, 0, 0, 0, 0, 2, 1, 0, 0};
    Check("RHP", hex,
          {{{0.9, 0, 1}, true}, {{1.1, 0, 1}, false}, {{0, 1.1, 1}, true}, {{0, 1.2, 1}, false}});
    Check("HEX", hex, {{{0.9, 0, 1}, true}, {{1.1, 0, 1}, false}}, 1);
    Check("HEX", hex, {{{-0.9, 0, 1}, true}, {{-1.1, 0, 1}, false}}, 2);
    // s is r turned by 60 degrees: the side facing (0.5, 0.866).
    Check("HEX", hex, {{{0.45, 0.78, 1}, true}, {{0.55, 0.95, 1}, false}}, 3);
    Check("HEX", hex, {{{0, 0, 1.9}, true}, {{0, 0, 2.1}, false}}, 7);
    Check("HEX", hex, {{{0, 0, 0.1}, true}, {{0, 0, -0.1}, false}}, 8);
    const auto prism = Make("RHP", hex);
    EXPECT_NEAR(prism->Box().m_Hi[1], 2 / std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(prism->Box().m_Hi[0], 1, 1e-9);

    // ARB: a unit cube; facets in the order of its faces.
    const std::vector<double> arb = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0,    1,    0,    0,    0,    1,
                                     1, 0, 1, 1, 1, 1, 0, 1, 1, 1234, 5678, 1265, 2376, 3487, 1584};
    Check("ARB", arb, {{{0.5, 0.5, 0.5}, true}, {{1.1, 0.5, 0.5}, false}});
    Check("ARB", arb, {{{0.5, 0.5, 0.1}, true}, {{0.5, 0.5, -0.1}, false}}, 1);
    Check("ARB", arb, {{{0.5, 0.5, 0.9}, true}, {{0.5, 0.5, 1.1}, false}}, 2);

    Check("SPH", {0, 0, 0, 2}, {{{0, 1.9, 0}, true}, {{0, 2.1, 0}, false}});
    // ELL by foci and major radius, and by centre, major axis vector and minor radius.
    Check("ELL", {-1, 0, 0, 1, 0, 0, 2},
          {{{1.9, 0, 0}, true}, {{2.1, 0, 0}, false}, {{0, 1.7, 0}, true}, {{0, 1.8, 0}, false}});
    Check("ELL", {0, 0, 0, 0, 0, 3, -1},
          {{{0, 0, 2.9}, true}, {{0, 0, 3.1}, false}, {{0.9, 0, 0}, true}, {{1.1, 0, 0}, false}});
    EXPECT_EQ(FacetCount("SPH", 4), 0);
    EXPECT_EQ(Refusal("SPH", {0, 0, 0, 1}, 1), "SPH has no facets");
}

TEST(McnpSurface, PlacementMovesTheSurfaceAndBadParametersAreRefused)
{
    // A cylinder along z moved by 5 along x, then one turned so its axis lies along x.
    const auto moved = Make("CZ", {1}, 0, CTransform::Translation({5, 0, 0}));
    EXPECT_TRUE(moved->Inside({5.9, 0, 100}));
    EXPECT_FALSE(moved->Inside({0, 0, 0}));
    const double turn[3][3] = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
    const auto turned = Make("CZ", {1}, 0, CTransform::Affine(turn, {}));
    EXPECT_TRUE(turned->Inside({100, 0, 0.9}));
    EXPECT_FALSE(turned->Inside({0, 0, 1.1}));
    // A placed facet composes its own frame with the placement.
    const auto facet = Make("RCC", {0, 0, 0, 0, 0, 1, 1}, 1, CTransform::Translation({0, 10, 0}));
    EXPECT_TRUE(facet->Inside({0, 10.9, 0}));
    EXPECT_FALSE(facet->Inside({0, 0, 0}));

    EXPECT_EQ(Refusal("S", {0, 0, 1}), "S needs 4 parameters, not 3");
    EXPECT_EQ(Refusal("P", {1, 2, 3}), "P needs 4 or 9 parameters, not 3");
    EXPECT_EQ(Refusal("X", {1}), "X needs 2, 4 or 6 parameters, not 1");
    EXPECT_EQ(Refusal("SO", {-1}), "the radius -1 must be positive");
    EXPECT_EQ(Refusal("KZ", {0, 1, 2}), "the sheet 2 must be 1, -1, 0 (both) or left out");
    EXPECT_EQ(Refusal("P", {0, 0, 0, 1, 1, 1, 2, 2, 2}), "the three points lie on a line");
    EXPECT_EQ(Refusal("TZ", {0, 0, 0, 5, 0, 1}), "the semi-axis B 0 must be positive");
    EXPECT_EQ(Refusal("RCC", {0, 0, 0, 0, 0, 0, 1}), "the height vector has zero length");
    EXPECT_EQ(Refusal("QQ", {1}), "unknown surface type QQ");
    EXPECT_FALSE(IsSurfaceType("px"));
    EXPECT_TRUE(IsSurfaceType("PX") && IsSurfaceType("C/Y") && IsMacrobody("RHP"));
    EXPECT_FALSE(IsMacrobody("SO"));
}
