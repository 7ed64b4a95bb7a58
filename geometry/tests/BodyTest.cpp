// Each body against points inside, outside and a hair (1e-9 cm) on either side of its surface,
// its box, and the transformations that place bodies, each with a point worked out by hand.
#include "geometry/Body.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<CBody> Make(const std::string& type, const std::vector<double>& params)
{
    std::string error;
    auto body = MakeBody(type, params, error);
    EXPECT_TRUE(body) << type << ": " << error;
    return body;
}

struct CProbe
{
    CVector m_Point;
    bool m_Inside;
};

constexpr double Hair = 1e-9;

void Check(const std::string& type, const std::vector<double>& params,
           const std::vector<CProbe>& probes)
{
    SCOPED_TRACE(type);
    const auto body = Make(type, params);
    ASSERT_TRUE(body);
    for (const CProbe& p : probes)
    {
        EXPECT_EQ(body->Inside(p.m_Point), p.m_Inside)
            << p.m_Point.x << " " << p.m_Point.y << " " << p.m_Point.z;
        if (p.m_Inside && body->Box().IsFinite())
        {
            EXPECT_TRUE(body->Box().Contains(p.m_Point));
        }
    }
}
} // namespace

TEST(Body, EachTypeHoldsItsInsideAndNotItsOutside)
{
    const double e = Hair;
    Check("RPP", {-1, 2, -3, 4, -5, 6},
          {{{0, 0, 0}, true},
           {{2 - e, 4, 6}, true},
           {{2 + e, 0, 0}, false},
           {{0, -3 - e, 0}, false}});
    // A box turned 45 degrees about z: edges (1, 1, 0), (-2, 2, 0), (0, 0, 3).
    Check(
        "BOX", {0, 0, 0, 1, 1, 0, -2, 2, 0, 0, 0, 3},
        {{{0.5, 1.5, 1}, true}, {{0, 0, 0}, true}, {{1, 0, 0}, false}, {{0, 1e-3, 3 + e}, false}});
    Check(
        "SPH", {1, 2, 3, 2},
        {{{1, 2, 5 - e}, true}, {{1, 2, 5 + e}, false}, {{3 - e, 2, 3}, true}, {{0, 0, 0}, false}});
    // Along (0, 0, 4) from (0, 0, 1), radius 2.
    Check("RCC", {0, 0, 1, 0, 0, 4, 2},
          {{{2 - e, 0, 3}, true},
           {{2 + e, 0, 3}, false},
           {{0, 0, 5 + e}, false},
           {{0, 0, 1}, true},
           {{1.4, 1.4, 2}, true},
           {{1.5, 1.5, 2}, false}});
    // Semi-axes 3 along x and 1 along y.
    Check("REC", {0, 0, 0, 0, 0, 2, 3, 0, 0, 0, 1, 0},
          {{{3 - e, 0, 1}, true},
           {{3 + e, 0, 1}, false},
           {{0, 1 + e, 1}, false},
           {{0, 0, -e}, false}});
    // Radius 2 at z = 0 shrinking to 1 at z = 4: 1.5 at z = 2.
    Check("TRC", {0, 0, 0, 0, 0, 4, 2, 1},
          {{{1.5 - e, 0, 2}, true},
           {{1.5 + e, 0, 2}, false},
           {{0, 0, 4}, true},
           {{1.2, 0, 4}, false}});
    // Foci at x = -3 and 3, major axis 10: semi-axes 5 and 4.
    Check("ELL", {-3, 0, 0, 3, 0, 0, 10},
          {{{5 - e, 0, 0}, true},
           {{5 + e, 0, 0}, false},
           {{0, 4 - e, 0}, true},
           {{0, 0, 4 + e}, false}});
    // The half of the unit box with x + y <= 1.
    Check("WED", {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1},
          {{{0.5 - e, 0.5, 0.5}, true}, {{0.5 + e, 0.5, 0.5}, false}, {{0.9, 0.05, 0.99}, true}});
    Check("XYP", {2}, {{{100, -100, 2 - e}, true}, {{0, 0, 2 + e}, false}});
    Check("XZP", {2}, {{{0, 2 - e, 0}, true}, {{0, 2 + e, 0}, false}});
    Check("YZP", {-2}, {{{-2 - e, 5, 5}, true}, {{-2 + e, 0, 0}, false}});
    // Normal (1, 1, 0) through (1, 1, 0): inside is x + y <= 2.
    Check("PLA", {1, 1, 0, 1, 1, 0}, {{{0, 2 - e, 7}, true}, {{1, 1 + e, 0}, false}});
    Check("XCC", {1, 2, 3},
          {{{99, 1, 5 - e}, true}, {{-99, 1, 5 + e}, false}, {{0, 4 - e, 2}, true}});
    Check("YCC", {1, 2, 3}, {{{2, 7, 1}, true}, {{5 + e, 0, 1}, false}, {{2, 0, 4 - e}, true}});
    Check("ZCC", {1, 2, 3}, {{{4 - e, 2, -50}, true}, {{4 + e, 2, 0}, false}});
    Check("XEC", {0, 0, 2, 1}, {{{5, 2 - e, 0}, true}, {{5, 0, 1 + e}, false}});
    Check("YEC", {0, 0, 2, 1}, {{{0, 5, 2 - e}, true}, {{1 + e, 5, 0}, false}});
    Check("ZEC", {0, 0, 2, 1}, {{{2 - e, 0, 9}, true}, {{0, 1 + e, 9}, false}});
    // x^2 + y^2 + z^2 - 4 <= 0.
    Check("QUA", {1, 1, 1, 0, 0, 0, 0, 0, 0, -4}, {{{2 - e, 0, 0}, true}, {{0, 0, 2 + e}, false}});
    // The unit cube as an ARB, faces listed in both orientations.
    Check("ARB", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0,    1,    0,    0,    0,    1,
                  1, 0, 1, 1, 1, 1, 0, 1, 1, 4321, 5678, 1265, 3487, 1584, 2376},
          {{{0.5, 0.5, 0.5}, true},
           {{1 - e, 1 - e, 1 - e}, true},
           {{1 + e, 0.5, 0.5}, false},
           {{0.5, -e, 0.5}, false}});
}

TEST(Body, BadParametersAreRefusedWithTheirReason)
{
    const std::pair<std::pair<std::string, std::vector<double>>, std::string> cases[] = {
        {{"RCC", {0, 0, 0, 0, 0, 1}}, "RCC needs 7 parameters, not 6"},
        {{"SPH", {0, 0, 0, 0}}, "the radius 0 must be positive"},
        {{"RCC", {0, 0, 0, 0, 0, 0, 1}}, "the height vector has zero length"},
        {{"RPP", {0, 1, 2, 2, 0, 1}}, "the y extent 2 to 2 has zero or negative length"},
        {{"BOX", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1}}, "the edge vectors are not perpendicular"},
        {{"ZCC", {0, 0, -1}}, "the radius -1 must be positive"},
        {{"ELL", {0, 0, 0, 4, 0, 0, 3}},
         "the length 3 of the major axis must exceed the distance of the foci"},
        {{"XYZ", {1}}, "unknown body type XYZ"},
    };
    for (const auto& [body, message] : cases)
    {
        std::string error;
        EXPECT_FALSE(MakeBody(body.first, body.second, error));
        EXPECT_EQ(error, message);
    }
}

namespace
{
// The world point of body point r under a ROT-DEFI about the axis (1 x, 2 y, 3 z).
CVector Rotated(int axis, double theta, double phi, const CVector& r)
{
    return CTransform::RotDefi(axis - 1, theta, phi, {0, 0, 0}).Apply(r);
}

void ExpectNear(const CVector& a, const CVector& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}
} // namespace

// By hand from the ROT-DEFI matrices (new = Theta Phi (old + offset)), with cth = 0, sth = 1:
// about x the polar angle turns in the x-y plane: (x, y, z) -> (y, -x, z), the azimuth in y-z:
// (x, z, -y); about y: polar (x, z, -y), azimuth (-z, y, x); about z: polar (-z, y, x),
// azimuth (y, -x, z).
TEST(Transform, RotDefiAboutEachAxisMovesAPointAsTheMatricesSay)
{
    const CVector r(1, 2, 3);
    ExpectNear(Rotated(1, 90, 0, r), {2, -1, 3});
    ExpectNear(Rotated(1, 0, 90, r), {1, 3, -2});
    ExpectNear(Rotated(2, 90, 0, r), {1, 3, -2});
    ExpectNear(Rotated(2, 0, 90, r), {-3, 2, 1});
    ExpectNear(Rotated(3, 90, 0, r), {-3, 2, 1});
    ExpectNear(Rotated(3, 0, 90, r), {2, -1, 3});
    // The offset is added before the rotation.
    ExpectNear(CTransform::RotDefi(2, 90, 0, {10, 0, 0}).Apply(r), {-3, 2, 11});
    // The inverse undoes it; Then composes in order.
    const CTransform t = CTransform::RotDefi(0, 30, 40, {1, 2, 3});
    ExpectNear(t.Inverse().Apply(t.Apply(r)), r);
    ExpectNear(CTransform::Translation({1, 0, 0}).Then(CTransform::Expansion(2)).Apply(r),
               {4, 4, 6});
}

TEST(Transform, APlacedBodyClassifiesInItsNewPlaceAndKeepsABoxAroundIt)
{
    // SPH at (1, 0, 0) radius 0.5, expanded 2x, translated (1, 2, 3), turned 90 degrees about z
    // (polar): centre (2, 0, 0) -> (3, 2, 3) -> (-3, 2, 3), radius 1.
    auto body = Make("SPH", {1, 0, 0, 0.5});
    body->Place(CTransform::Expansion(2)
                    .Then(CTransform::Translation({1, 2, 3}))
                    .Then(CTransform::RotDefi(2, 90, 0, {0, 0, 0})));
    EXPECT_TRUE(body->Inside({-3, 2, 3}));
    EXPECT_TRUE(body->Inside({-3, 2, 3.999}));
    EXPECT_FALSE(body->Inside({-3, 2, 4.001}));
    EXPECT_FALSE(body->Inside({1, 0, 0}));
    EXPECT_TRUE(body->Box().Contains({-3, 2, 3.999}));
    EXPECT_FALSE(body->Box().Contains({0, 0, 0}));
    // A half-space moved along its own axis keeps a side; rotated, it has none.
    auto plane = Make("XYP", {1});
    plane->Place(CTransform::Translation({0, 0, 2}));
    EXPECT_EQ(plane->Box().m_Hi[2], 3);
    EXPECT_TRUE(plane->Inside({0, 0, 3}));
    plane->Place(CTransform::RotDefi(0, 0, 90, {0, 0, 0}));
    EXPECT_FALSE(plane->Box().IsFinite());
}
