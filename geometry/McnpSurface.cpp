#include "geometry/McnpSurface.h"

#include "platform/UiServices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace
{
using P = const std::vector<double>&;
using CBodyPtr = std::unique_ptr<CBody>;
// The coefficients of a quadric in the order xx yy zz xy xz yz x y z 1.
using CCoefficients = std::array<double, 10>;
using CPlane = std::pair<CVector, double>; // n.q <= d

CVector V3(P p, size_t at)
{
    return {p[at], p[at + 1], p[at + 2]};
}

double Dot(const CVector& a, const CVector& b)
{
    return CVector::Dot(a, b);
}

double Component(const CVector& v, int axis)
{
    return (&v.x)[axis];
}

CVector Unit(int axis)
{
    CVector u;
    (&u.x)[axis] = 1;
    return u;
}

// The two axes across an axis, in the order the cards give their coordinates (x: y z, y: x z,
// z: x y).
std::pair<int, int> Across(int axis)
{
    return axis == 0 ? std::pair(1, 2) : axis == 1 ? std::pair(0, 2) : std::pair(0, 1);
}

class CQuadricSide : public CBody
{
public:
    CQuadricSide(const CCoefficients& a, const CBox& box, const CBox& complement = CBox())
        : m_A(a), m_LocalBox(box), m_Complement(complement)
    {
    }
    // A cone about a line along an axis: its apex and squared slope bound it across wherever
    // its extent along the axis is bounded.
    void SetCone(int axis, const CVector& apex, double t2)
    {
        m_Cone = true, m_ConeAxis = axis, m_ConeApex = apex, m_ConeT2 = t2;
    }
    // One sheet of a cone: only where sign (q[axis] - apex) >= 0.
    void SetSheet(int axis, double apex, int sign)
    {
        m_SheetAxis = axis, m_Apex = apex, m_Sheet = sign;
        if (sign > 0) m_LocalBox.m_Lo[axis] = apex;
        if (sign < 0) m_LocalBox.m_Hi[axis] = apex;
    }
    CBox LocalComplementBox() const override { return m_Complement; }
    CBox ClipLocal(const CBox& within) const override
    {
        CBox box = within.Intersect(m_LocalBox);
        const int k = m_ConeAxis;
        if (!m_Cone || box.IsEmpty() || !std::isfinite(box.m_Lo[k]) || !std::isfinite(box.m_Hi[k]))
            return box;
        const double apex = Component(m_ConeApex, k);
        const double reach = std::sqrt(m_ConeT2) *
                             std::max(std::abs(box.m_Lo[k] - apex), std::abs(box.m_Hi[k] - apex));
        const auto [u, v] = Across(k);
        for (const int a : {u, v})
        {
            box.m_Lo[a] = std::max(box.m_Lo[a], Component(m_ConeApex, a) - reach);
            box.m_Hi[a] = std::min(box.m_Hi[a], Component(m_ConeApex, a) + reach);
        }
        return box;
    }
    bool InsideLocal(const CVector& q) const override
    {
        const auto& a = m_A;
        const double f = a[0] * q.x * q.x + a[1] * q.y * q.y + a[2] * q.z * q.z + a[3] * q.x * q.y +
                         a[4] * q.x * q.z + a[5] * q.y * q.z + a[6] * q.x + a[7] * q.y +
                         a[8] * q.z + a[9];
        return f <= 0 && (m_Sheet == 0 || m_Sheet * (Component(q, m_SheetAxis) - m_Apex) >= 0);
    }
    CBox LocalBox() const override { return m_LocalBox; }

private:
    CCoefficients m_A;
    CBox m_LocalBox, m_Complement;
    int m_SheetAxis = 0, m_Sheet = 0;
    double m_Apex = 0;
    bool m_Cone = false;
    int m_ConeAxis = 0;
    CVector m_ConeApex;
    double m_ConeT2 = 0;
};

class CTorusSide : public CBody
{
public:
    CTorusSide(int axis, const CVector& c, double a, double b, double r)
        : m_Axis(axis), m_C(c), m_A(a), m_B(b), m_R(r)
    {
    }
    bool InsideLocal(const CVector& q) const override
    {
        const CVector d = q - m_C;
        const auto [u, v] = Across(m_Axis);
        const double along = Component(d, m_Axis) / m_B;
        const double across = (std::hypot(Component(d, u), Component(d, v)) - m_A) / m_R;
        return along * along + across * across <= 1;
    }
    CBox LocalBox() const override
    {
        CBox box;
        for (int a = 0; a < 3; ++a)
        {
            const double reach = a == m_Axis ? m_B : m_A + m_R;
            box.m_Lo[a] = Component(m_C, a) - reach, box.m_Hi[a] = Component(m_C, a) + reach;
        }
        return box;
    }

private:
    int m_Axis;
    CVector m_C;
    double m_A, m_B, m_R;
};

// The side n.q <= d; a plane normal to an axis bounds its box on that axis.
CBodyPtr PlaneSide(const CVector& n, double d)
{
    CCoefficients a{};
    a[6] = n.x, a[7] = n.y, a[8] = n.z, a[9] = -d;
    CBox box, complement;
    const int nonzero = (n.x != 0) + (n.y != 0) + (n.z != 0);
    for (int k = 0; k < 3 && nonzero == 1; ++k)
        if (const double nk = Component(n, k); nk > 0)
            box.m_Hi[k] = complement.m_Lo[k] = d / nk;
        else if (nk < 0)
            box.m_Lo[k] = complement.m_Hi[k] = d / nk;
    return std::make_unique<CQuadricSide>(a, box, complement);
}

// The plane through p0 with normal +-n whose negative side holds the point inside.
CBodyPtr Facing(const CVector& n, const CVector& p0, const CVector& inside)
{
    const CVector m = Dot(n, inside - p0) > 0 ? n * -1 : n;
    return PlaneSide(m, Dot(m, p0));
}

CBodyPtr SphereSide(const CVector& c, double r)
{
    const CCoefficients a = {1, 1, 1, 0, 0, 0, -2 * c.x, -2 * c.y, -2 * c.z, Dot(c, c) - r * r};
    return std::make_unique<CQuadricSide>(a, CBox::Of(c - CVector(r, r, r), c + CVector(r, r, r)));
}

// The cylinder or cone about a line parallel to an axis through c: the points whose squared
// distance from the line is at most r2 + t2 (q_axis - c_axis)^2.
CCoefficients AxialQuadric(int axis, const CVector& c, double r2, double t2)
{
    CCoefficients a{};
    const auto [u, v] = Across(axis);
    a[u] = a[v] = 1, a[axis] = -t2;
    for (int k = 0; k < 3; ++k)
        a[6 + k] = k == axis ? 2 * t2 * Component(c, k) : -2 * Component(c, k);
    a[9] = Component(c, u) * Component(c, u) + Component(c, v) * Component(c, v) -
           t2 * Component(c, axis) * Component(c, axis) - r2;
    return a;
}

CBodyPtr CylinderSide(int axis, const CVector& c, double r)
{
    CBox box;
    const auto [u, v] = Across(axis);
    for (const int k : {u, v})
        box.m_Lo[k] = Component(c, k) - r, box.m_Hi[k] = Component(c, k) + r;
    return std::make_unique<CQuadricSide>(AxialQuadric(axis, c, r * r, 0), box);
}

// sheet 0: both sheets; +1 / -1: the one on the positive or negative side of the apex.
CBodyPtr ConeSide(int axis, const CVector& apex, double t2, int sheet)
{
    auto body = std::make_unique<CQuadricSide>(AxialQuadric(axis, apex, 0, t2), CBox());
    body->SetCone(axis, apex, t2);
    if (sheet) body->SetSheet(axis, Component(apex, axis), sheet);
    return body;
}

CBodyPtr Refuse(std::string& error, const std::string& text)
{
    error = text;
    return nullptr;
}

bool Positive(double value, const char* what, std::string& error)
{
    if (value > 0) return true;
    error = Format("the %s %g must be positive", what, value);
    return false;
}

// A unit vector perpendicular to the unit vector h.
CVector Perpendicular(const CVector& h)
{
    const CVector other = std::abs(h.x) < 0.9 ? CVector(1, 0, 0) : CVector(0, 1, 0);
    const CVector p = CVector::Cross(h, other);
    return p / p.Length();
}

// The solution of the three equations n_i . p = d_i (the rows independent).
CVector Solve(const CPlane& a, const CPlane& b, const CPlane& c)
{
    const CVector bc = CVector::Cross(b.first, c.first), ca = CVector::Cross(c.first, a.first),
                  ab = CVector::Cross(a.first, b.first);
    return (bc * a.second + ca * b.second + ab * c.second) / Dot(a.first, bc);
}

// What a maker returns: the body in its own frame, and the frame it is placed by.
struct CMade
{
    CBodyPtr m_Body;
    CTransform m_Frame;
};

using CMaker = std::function<CMade(P, int facet, std::string& error)>;

CMade Plain(CBodyPtr body)
{
    return {std::move(body), CTransform()};
}

// A body of the combinatorial geometry, for the macrobodies both codes share.
CMade Solid(const char* type, P p, std::string& e)
{
    return Plain(MakeBody(type, p, e));
}

CMade MakePlane(P p, std::string& e)
{
    if (p.size() == 4)
    {
        const CVector n = V3(p, 0);
        if (Dot(n, n) == 0) return Plain(Refuse(e, "the normal (A, B, C) is zero"));
        return Plain(PlaneSide(n, p[3]));
    }
    // Three points: the origin on the negative side, or, for a plane through it, the far point
    // of the z, then the y, then the x axis on the positive side.
    const CVector a = V3(p, 0), b = V3(p, 3), c = V3(p, 6);
    CVector n = CVector::Cross(b - a, c - a);
    if (Dot(n, n) == 0) return Plain(Refuse(e, "the three points lie on a line"));
    const double d = Dot(n, a);
    const double key = d != 0 ? d : n.z != 0 ? n.z : n.y != 0 ? n.y : n.x;
    if (key < 0) n = n * -1;
    return Plain(PlaneSide(n, Dot(n, a)));
}

// The sphere at c (the card's numbers, those it leaves out zero).
CMade MakeSphere(const CVector& c, double r, std::string& e)
{
    if (!Positive(r, "radius", e)) return {};
    return Plain(SphereSide(c, r));
}

CMade MakeCone(int axis, const CVector& apex, P rest, std::string& e)
{
    const double t2 = rest[0];
    const double sheet = rest.size() > 1 ? rest[1] : 0;
    if (!Positive(t2, "squared tangent t^2", e)) return {};
    if (sheet != 0 && sheet != 1 && sheet != -1)
        return Plain(Refuse(e, Format("the sheet %g must be 1, -1, 0 (both) or left out", sheet)));
    return Plain(ConeSide(axis, apex, t2, static_cast<int>(sheet)));
}

CMade MakeSq(P p, std::string&)
{
    const CVector c = V3(p, 7);
    CCoefficients a{};
    a[9] = p[6];
    bool ellipsoid = true;
    double reach2 = -p[6];
    for (int k = 0; k < 3; ++k)
    {
        const double A = p[k], D = p[3 + k], ck = Component(c, k);
        a[k] = A;
        a[6 + k] = -2 * A * ck + 2 * D;
        a[9] += A * ck * ck - 2 * D * ck;
        ellipsoid = ellipsoid && A > 0;
        if (A > 0) reach2 += D * D / A;
    }
    CBox box;
    for (int k = 0; ellipsoid && k < 3; ++k)
    {
        // Completing the squares: sum A_k (u_k + D_k / A_k)^2 <= reach2.
        const double centre = Component(c, k) - p[3 + k] / p[k];
        const double half = std::sqrt(std::max(0.0, reach2) / p[k]);
        box.m_Lo[k] = centre - half, box.m_Hi[k] = centre + half;
    }
    return Plain(std::make_unique<CQuadricSide>(a, box));
}

CMade MakeGq(P p, std::string&)
{
    // A x2 + B y2 + C z2 + D xy + E yz + F zx + G x + H y + J z + K.
    const CCoefficients a = {p[0], p[1], p[2], p[3], p[5], p[4], p[6], p[7], p[8], p[9]};
    return Plain(std::make_unique<CQuadricSide>(a, CBox()));
}

CMade MakeTorus(int axis, P p, std::string& e)
{
    if (!Positive(p[3], "major radius A", e) || !Positive(p[4], "semi-axis B", e) ||
        !Positive(p[5], "semi-axis C", e))
        return {};
    return Plain(std::make_unique<CTorusSide>(axis, V3(p, 0), p[3], p[4], p[5]));
}

// X, Y, Z: a surface symmetric about the axis through one, two or three points (coordinate on
// the axis, distance from it); its negative side is toward the axis.
CMade MakeByPoints(int axis, P p, std::string& e)
{
    const size_t n = p.size() / 2;
    for (size_t i = 0; i < n; ++i)
        if (p[2 * i + 1] < 0)
            return Plain(
                Refuse(e, Format("the distance %g from the axis is negative", p[2 * i + 1])));
    const double x1 = p[0], r1 = p[1];
    if (n == 1 || (n == 2 && p[2] == x1)) return Plain(PlaneSide(Unit(axis), x1));
    if (n == 2)
    {
        const double x2 = p[2], r2 = p[3];
        CVector on;
        if (r1 == r2) return Plain(CylinderSide(axis, on, r1));
        const double slope = (r2 - r1) / (x2 - x1), apex = x1 - r1 / slope;
        (&on.x)[axis] = apex;
        // The sheet that holds the two points.
        return Plain(ConeSide(axis, on, slope * slope, (x1 + x2) / 2 > apex ? 1 : -1));
    }
    // r^2 = a x^2 + b x + c through the three points.
    const double x[3] = {p[0], p[2], p[4]}, r[3] = {p[1], p[3], p[5]};
    if (x[0] == x[1] || x[0] == x[2] || x[1] == x[2])
        return Plain(Refuse(e, "two of the three points have the same axial coordinate"));
    double coef[3] = {0, 0, 0}; // a, b, c by Lagrange interpolation of r^2
    for (int i = 0; i < 3; ++i)
    {
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        const double w = r[i] * r[i] / ((x[i] - x[j]) * (x[i] - x[k]));
        coef[0] += w, coef[1] -= w * (x[j] + x[k]), coef[2] += w * x[j] * x[k];
    }
    CCoefficients a{};
    const auto [u, v] = Across(axis);
    a[u] = a[v] = 1, a[axis] = -coef[0], a[6 + axis] = -coef[1], a[9] = -coef[2];
    CBox box;
    const double disc = coef[1] * coef[1] - 4 * coef[0] * coef[2];
    if (coef[0] < 0 && disc > 0)
    {
        // A closed surface: between the roots on the axis, out to its widest.
        const double s = std::sqrt(disc), lo = (-coef[1] + s) / (2 * coef[0]),
                     hi = (-coef[1] - s) / (2 * coef[0]);
        const double reach = std::sqrt(coef[2] - coef[1] * coef[1] / (4 * coef[0]));
        box.m_Lo[axis] = std::min(lo, hi), box.m_Hi[axis] = std::max(lo, hi);
        for (const int k : {u, v})
            box.m_Lo[k] = -reach, box.m_Hi[k] = reach;
    }
    return Plain(std::make_unique<CQuadricSide>(a, box));
}

// The facets of a body with a base v, a height h and a side: 1 the side, 2 the top, 3 the base.
CMade AxialFacet(P p, int facet, const std::function<CMade()>& side)
{
    const CVector v = V3(p, 0), h = V3(p, 3);
    if (facet == 2) return Plain(Facing(h, v + h, v));
    if (facet == 3) return Plain(Facing(h, v, v + h));
    return side();
}

CTransform AxisFrame(const CVector& v, const CVector& h)
{
    const CVector e3 = h / h.Length(), e1 = Perpendicular(e3);
    return CTransform::Frame(v, e1, CVector::Cross(e3, e1), e3);
}

CMade MakeRcc(P p, int facet, std::string& e)
{
    if (!facet) return Solid("RCC", p, e);
    return AxialFacet(
        p, facet,
        [&] {
            return CMade{CylinderSide(2, CVector(), p[6]), AxisFrame(V3(p, 0), V3(p, 3))};
        });
}

CMade MakeTrc(P p, int facet, std::string& e)
{
    if (!facet) return Solid("TRC", p, e);
    return AxialFacet(
        p, facet,
        [&]
        {
            const double r1 = p[6], r2 = p[7], height = V3(p, 3).Length();
            const CTransform frame = AxisFrame(V3(p, 0), V3(p, 3));
            if (r1 == r2) return CMade{CylinderSide(2, CVector(), r1), frame};
            const double slope = (r2 - r1) / height;
            return CMade{ConeSide(2, CVector(0, 0, -r1 / slope), slope * slope, slope > 0 ? 1 : -1),
                         frame};
        });
}

// REC with 10 parameters gives the minor semi-axis as a length across h and the major one.
std::vector<double> RecWithVectors(P p)
{
    if (p.size() == 12) return p;
    const CVector h = V3(p, 3), a1 = V3(p, 6);
    CVector a2 = CVector::Cross(h, a1);
    a2 = a2 * (p[9] / std::max(a2.Length(), 1e-300));
    std::vector<double> full(p.begin(), p.begin() + 9);
    full.insert(full.end(), {a2.x, a2.y, a2.z});
    return full;
}

CMade MakeRec(P given, int facet, std::string& e)
{
    const std::vector<double> p = RecWithVectors(given);
    if (!facet) return Solid("REC", p, e);
    const CVector a1 = V3(p, 6), a2 = V3(p, 9);
    if (a1.Length() == 0 || a2.Length() == 0)
        return Plain(Refuse(e, "a semi-axis vector has zero length"));
    return AxialFacet(
        p, facet,
        [&]
        {
            const double l1 = a1.Length(), l2 = a2.Length();
            CCoefficients a{};
            a[0] = 1 / (l1 * l1), a[1] = 1 / (l2 * l2), a[9] = -1;
            return CMade{
                std::make_unique<CQuadricSide>(
                    a, CBox::Of({-l1, -l2, -CBox::Inf}, {l1, l2, CBox::Inf})),
                CTransform::Frame(V3(p, 0), a1 / l1, a2 / l2, V3(p, 3) / V3(p, 3).Length())};
        });
}

// The six planes of BOX (9 parameters: the first four, infinite along the third edge) and RPP.
std::vector<CBodyPtr> BoxFacets(const CVector& v, const CVector (&edge)[3], int edges)
{
    std::vector<CBodyPtr> facets;
    for (int i = 0; i < edges; ++i)
    {
        facets.push_back(Facing(edge[i], v + edge[i], v));
        facets.push_back(Facing(edge[i], v, v + edge[i]));
    }
    return facets;
}

CMade Facet(std::vector<CBodyPtr> facets, int facet)
{
    return Plain(std::move(facets[static_cast<size_t>(facet - 1)]));
}

CMade MakeRpp(P p, int facet, std::string& e)
{
    if (!facet) return Solid("RPP", p, e);
    const CVector lo(p[0], p[2], p[4]), hi(p[1], p[3], p[5]);
    const CVector d = hi - lo;
    const CVector edge[3] = {{d.x, 0, 0}, {0, d.y, 0}, {0, 0, d.z}};
    return Facet(BoxFacets(lo, edge, 3), facet);
}

CMade MakeBox(P p, int facet, std::string& e)
{
    const CVector v = V3(p, 0),
                  edge[3] = {V3(p, 3), V3(p, 6), p.size() == 12 ? V3(p, 9) : CVector()};
    const int edges = p.size() == 12 ? 3 : 2;
    if (facet) return Facet(BoxFacets(v, edge, edges), facet);
    if (edges == 3) return Solid("BOX", p, e);
    std::vector<CPlane> planes;
    for (int i = 0; i < 2; ++i)
    {
        if (edge[i].Length() == 0) return Plain(Refuse(e, "an edge vector has zero length"));
        planes.emplace_back(edge[i], Dot(edge[i], v + edge[i]));
        planes.emplace_back(edge[i] * -1, -Dot(edge[i], v));
    }
    return Plain(MakeConvexBody(planes, CBox()));
}

CMade MakeEll(P p, std::string& e)
{
    if (p[6] > 0)
    {
        // Foci and the major radius.
        std::vector<double> fluka(p);
        fluka[6] = 2 * p[6];
        return Solid("ELL", fluka, e);
    }
    // Centre, major semi-axis vector and minor radius.
    const CVector c = V3(p, 0), a = V3(p, 3);
    const double major = a.Length(), minor = -p[6];
    if (!Positive(minor, "minor radius", e)) return {};
    if (!(major > minor))
        return Plain(Refuse(
            e, Format("the major semi-axis %g must exceed the minor radius %g", major, minor)));
    const CVector f = a * (std::sqrt(major * major - minor * minor) / major);
    const CVector f1 = c - f, f2 = c + f;
    return Solid("ELL", {f1.x, f1.y, f1.z, f2.x, f2.y, f2.z, 2 * major}, e);
}

CMade MakeWed(P p, int facet, std::string& e)
{
    if (!facet) return Solid("WED", p, e);
    const CVector v = V3(p, 0), a1 = V3(p, 3), a2 = V3(p, 6), a3 = V3(p, 9);
    switch (facet)
    {
    case 1: // the slant face between the ends of a1 and a2
        return Plain(Facing(CVector::Cross(a2 - a1, a3), v + a1, v));
    case 2: // the face spanned by a1 and a3
        return Plain(Facing(CVector::Cross(a1, a3), v, v + a2));
    case 3: // the face spanned by a2 and a3
        return Plain(Facing(CVector::Cross(a2, a3), v, v + a1));
    case 4:
        return Plain(Facing(CVector::Cross(a1, a2), v + a3, v));
    default:
        return Plain(Facing(CVector::Cross(a1, a2), v, v + a3));
    }
}

// RHP/HEX: base v, height h, the vectors r, s, t from the axis to the middle of three adjacent
// sides (9 parameters: s and t are r turned by 60 and 120 degrees about h). Facets 1-6: r, -r,
// s, -s, t, -t; 7 the top; 8 the base.
CMade MakeHex(P p, int facet, std::string& e)
{
    const CVector v = V3(p, 0), h = V3(p, 3), r = V3(p, 6);
    if (h.Length() == 0 || r.Length() == 0)
        return Plain(Refuse(e, "the height or the first side vector has zero length"));
    CVector s, t;
    if (p.size() == 15)
        s = V3(p, 9), t = V3(p, 12);
    else
    {
        const CVector across = CVector::Cross(h / h.Length(), r);
        const double c60 = 0.5, s60 = std::sqrt(3.0) / 2;
        s = r * c60 + across * s60, t = r * -c60 + across * s60;
    }
    std::vector<CPlane> planes;
    for (const CVector& side : {r, r * -1, s, s * -1, t, t * -1})
        planes.emplace_back(side, Dot(side, v + side));
    planes.emplace_back(h, Dot(h, v + h));
    planes.emplace_back(h * -1, -Dot(h, v));
    if (facet)
        return Plain(PlaneSide(planes[static_cast<size_t>(facet - 1)].first,
                               planes[static_cast<size_t>(facet - 1)].second));
    // The corners where adjacent sides meet, at the base and the top.
    const int ring[6] = {0, 2, 4, 1, 3, 5};
    const CPlane base(h, Dot(h, v));
    std::vector<CVector> corners;
    for (int i = 0; i < 6; ++i)
    {
        const CPlane& a = planes[static_cast<size_t>(ring[i])];
        const CPlane& b = planes[static_cast<size_t>(ring[(i + 1) % 6])];
        if (std::abs(Dot(base.first, CVector::Cross(a.first, b.first))) < 1e-12)
            return Plain(Refuse(e, "two side vectors are parallel"));
        const CVector c = Solve(base, a, b);
        corners.push_back(c);
        corners.push_back(c + h);
    }
    return Plain(MakeConvexBody(planes, CBox::Around(corners)));
}

CMade MakeArb(P p, int facet, std::string& e)
{
    if (!facet) return Solid("ARB", p, e);
    std::vector<int> unused;
    const std::vector<CPlane> planes = ArbFacePlanes(p, unused, e);
    if (planes.empty()) return {};
    if (std::find(unused.begin(), unused.end(), facet - 1) != unused.end())
        return Plain(Refuse(e, Format("face %d is not used (0)", facet)));
    const int before = static_cast<int>(
        std::count_if(unused.begin(), unused.end(), [&](int u) { return u < facet - 1; }));
    const CPlane& plane = planes[static_cast<size_t>(facet - 1 - before)];
    return Plain(PlaneSide(plane.first, plane.second));
}

struct CSurfaceType
{
    std::string m_Name;
    std::vector<size_t> m_Counts; // the parameter counts it takes
    int m_Facets;                 // 0: a plain surface or a macrobody without facets
    bool m_Macrobody;
    std::function<int(size_t)> m_FacetsFor; // when the count changes the facets (BOX)
    CMaker m_Make;
};

CSurfaceType Surface(std::string name, std::vector<size_t> counts,
                     std::function<CMade(P, std::string&)> make)
{
    return {std::move(name),
            std::move(counts),
            0,
            false,
            nullptr,
            [make](P p, int, std::string& e) { return make(p, e); }};
}

CSurfaceType Macrobody(const char* name, std::vector<size_t> counts, int facets, CMaker make)
{
    return {name, std::move(counts), facets, true, nullptr, std::move(make)};
}

std::vector<CSurfaceType> AxisFamily(const char* names, std::vector<size_t> counts,
                                     const std::function<CMade(int, P, std::string&)>& make)
{
    // names: three names separated by blanks, for x, y and z.
    std::vector<CSurfaceType> family;
    const std::string all(names);
    size_t at = 0;
    for (int axis = 0; axis < 3; ++axis)
    {
        const size_t end = all.find(' ', at);
        family.push_back(Surface(all.substr(at, end - at), counts,
                                 [make, axis](P p, std::string& e) { return make(axis, p, e); }));
        at = end + 1;
    }
    return family;
}

const std::vector<CSurfaceType>& SurfaceTypes()
{
    static const std::vector<CSurfaceType> types = []
    {
        std::vector<CSurfaceType> t = {
            Surface("P", {4, 9}, MakePlane),
            Surface("SO", {1}, [](P p, std::string& e) { return MakeSphere({}, p[0], e); }),
            Surface("S", {4}, [](P p, std::string& e) { return MakeSphere(V3(p, 0), p[3], e); }),
            Surface("SQ", {10}, MakeSq),
            Surface("GQ", {10}, MakeGq),
            Macrobody("RPP", {6}, 6, MakeRpp),
            {"BOX", {9, 12}, 6, true, [](size_t n) { return n == 12 ? 6 : 4; }, MakeBox},
            Macrobody("SPH", {4}, 0, [](P p, int, std::string& e) { return Solid("SPH", p, e); }),
            Macrobody("RCC", {7}, 3, MakeRcc),
            Macrobody("TRC", {8}, 3, MakeTrc),
            Macrobody("REC", {10, 12}, 3, MakeRec),
            Macrobody("ELL", {7}, 0, [](P p, int, std::string& e) { return MakeEll(p, e); }),
            Macrobody("WED", {12}, 5, MakeWed),
            Macrobody("RHP", {9, 15}, 8, MakeHex),
            Macrobody("HEX", {9, 15}, 8, MakeHex),
            Macrobody("ARB", {30}, 6, MakeArb),
        };
        const auto add = [&t](std::vector<CSurfaceType> family)
        { t.insert(t.end(), family.begin(), family.end()); };
        add(AxisFamily("PX PY PZ", {1},
                       [](int a, P p, std::string&) { return Plain(PlaneSide(Unit(a), p[0])); }));
        add(AxisFamily("SX SY SZ", {2},
                       [](int a, P p, std::string& e)
                       { return MakeSphere(Unit(a) * p[0], p[1], e); }));
        add(AxisFamily("C/X C/Y C/Z", {3},
                       [](int a, P p, std::string& e) -> CMade
                       {
                           if (!Positive(p[2], "radius", e)) return {};
                           CVector c;
                           const auto [u, v] = Across(a);
                           (&c.x)[u] = p[0], (&c.x)[v] = p[1];
                           return Plain(CylinderSide(a, c, p[2]));
                       }));
        add(AxisFamily("CX CY CZ", {1},
                       [](int a, P p, std::string& e) -> CMade
                       {
                           if (!Positive(p[0], "radius", e)) return {};
                           return Plain(CylinderSide(a, CVector(), p[0]));
                       }));
        add(AxisFamily("K/X K/Y K/Z", {4, 5},
                       [](int a, P p, std::string& e) {
                           return MakeCone(a, V3(p, 0), {p.begin() + 3, p.end()}, e);
                       }));
        add(AxisFamily("KX KY KZ", {2, 3},
                       [](int a, P p, std::string& e) {
                           return MakeCone(a, Unit(a) * p[0], {p.begin() + 1, p.end()}, e);
                       }));
        add(AxisFamily("TX TY TZ", {6}, MakeTorus));
        add(AxisFamily("X Y Z", {2, 4, 6}, MakeByPoints));
        return t;
    }();
    return types;
}

const CSurfaceType* FindType(const std::string& name)
{
    for (const CSurfaceType& t : SurfaceTypes())
        if (name == t.m_Name) return &t;
    return nullptr;
}

std::string CountsText(const std::vector<size_t>& counts)
{
    std::string text;
    for (size_t i = 0; i < counts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == counts.size() ? " or " : ", ") + std::to_string(counts[i]);
    return text;
}
} // namespace

bool IsSurfaceType(const std::string& type)
{
    return FindType(type) != nullptr;
}

bool IsMacrobody(const std::string& type)
{
    const CSurfaceType* t = FindType(type);
    return t && t->m_Macrobody;
}

int FacetCount(const std::string& type, size_t params)
{
    const CSurfaceType* t = FindType(type);
    if (!t) return 0;
    return t->m_FacetsFor ? t->m_FacetsFor(params) : t->m_Facets;
}

std::unique_ptr<CBody> MakeSurface(const std::string& type, const std::vector<double>& params,
                                   int facet, const CTransform& toWorld, std::string& error)
{
    const CSurfaceType* t = FindType(type);
    if (!t) return Refuse(error, "unknown surface type " + type);
    if (std::find(t->m_Counts.begin(), t->m_Counts.end(), params.size()) == t->m_Counts.end())
        return Refuse(error, Format("%s needs %s parameters, not %zu", t->m_Name.c_str(),
                                    CountsText(t->m_Counts).c_str(), params.size()));
    for (const double v : params)
        if (!std::isfinite(v)) return Refuse(error, "a parameter is not a finite number");
    const int facets = FacetCount(type, params.size());
    if (facet < 0 || facet > facets)
        return Refuse(error, facets ? Format("%s has facets 1 to %d, not %d", t->m_Name.c_str(),
                                             facets, facet)
                                    : Format("%s has no facets", t->m_Name.c_str()));
    CMade made = t->m_Make(params, facet, error);
    if (!made.m_Body) return nullptr;
    made.m_Body->m_Type = t->m_Name;
    made.m_Body->Finish();
    const CTransform place = made.m_Frame.Then(toWorld);
    if (!place.IsIdentity()) made.m_Body->Place(place);
    return std::move(made.m_Body);
}
