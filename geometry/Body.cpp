#include "geometry/Body.h"

#include "platform/UiServices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace
{
using P = const std::vector<double>&;

CVector V3(P p, size_t at)
{
    return {p[at], p[at + 1], p[at + 2]};
}

double Dot(const CVector& a, const CVector& b)
{
    return CVector::Dot(a, b);
}

double Norm2(const CVector& a)
{
    return Dot(a, a);
}

// The corners of the parallelepiped at v spanned by a, b and c.
std::vector<CVector> Corners(const CVector& v, const CVector& a, const CVector& b, const CVector& c)
{
    std::vector<CVector> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back(v + a * (i & 1) + b * ((i >> 1) & 1) + c * ((i >> 2) & 1));
    return corners;
}

// Two vectors are perpendicular to the printed precision.
bool Perpendicular(const CVector& a, const CVector& b)
{
    return std::abs(Dot(a, b)) <= 1e-6 * std::sqrt(Norm2(a) * Norm2(b));
}

class CRpp : public CBody
{
public:
    explicit CRpp(P p) : m_Lo(p[0], p[2], p[4]), m_Hi(p[1], p[3], p[5]) {}
    bool InsideLocal(const CVector& q) const override
    {
        return q.x >= m_Lo.x && q.x <= m_Hi.x && q.y >= m_Lo.y && q.y <= m_Hi.y && q.z >= m_Lo.z &&
               q.z <= m_Hi.z;
    }
    CBox LocalBox() const override { return CBox::Of(m_Lo, m_Hi); }

private:
    CVector m_Lo, m_Hi;
};

// BOX, and WED/RAW (the half with u + v <= 1): a vertex and three perpendicular edges.
class CParallelepiped : public CBody
{
public:
    CParallelepiped(P p, bool wedge)
        : m_V(V3(p, 0)), m_E{V3(p, 3), V3(p, 6), V3(p, 9)}, m_Wedge(wedge)
    {
    }
    bool InsideLocal(const CVector& q) const override
    {
        const CVector d = q - m_V;
        double u[3];
        for (int i = 0; i < 3; ++i)
        {
            u[i] = Dot(d, m_E[i]) / Norm2(m_E[i]);
            if (u[i] < 0 || u[i] > 1) return false;
        }
        return !m_Wedge || u[0] + u[1] <= 1;
    }
    CBox LocalBox() const override { return CBox::Around(Corners(m_V, m_E[0], m_E[1], m_E[2])); }

private:
    CVector m_V;
    CVector m_E[3];
    bool m_Wedge;
};

class CSphere : public CBody
{
public:
    explicit CSphere(P p) : m_C(V3(p, 0)), m_R(p[3]) {}
    bool InsideLocal(const CVector& q) const override { return Norm2(q - m_C) <= m_R * m_R; }
    CBox LocalBox() const override
    {
        return CBox::Of(m_C - CVector(m_R, m_R, m_R), m_C + CVector(m_R, m_R, m_R));
    }

private:
    CVector m_C;
    double m_R;
};

// RCC, REC and TRC: a base centre, a height vector and a cross-section that may shrink along it.
class CCylinder : public CBody
{
public:
    // Circular: radius r0 at the base, r1 at the top.
    CCylinder(const CVector& base, const CVector& h, double r0, double r1)
        : m_B(base), m_H(h), m_R0(r0), m_R1(r1)
    {
    }
    // Elliptic (REC): semi-axis vectors a1 and a2.
    CCylinder(const CVector& base, const CVector& h, const CVector& a1, const CVector& a2)
        : m_B(base), m_H(h), m_A1(a1), m_A2(a2), m_Elliptic(true)
    {
    }
    bool InsideLocal(const CVector& q) const override
    {
        const CVector d = q - m_B;
        const double t = Dot(d, m_H) / Norm2(m_H);
        if (t < 0 || t > 1) return false;
        if (m_Elliptic)
        {
            const double u = Dot(d, m_A1) / Norm2(m_A1), v = Dot(d, m_A2) / Norm2(m_A2);
            return u * u + v * v <= 1;
        }
        const double r = m_R0 + (m_R1 - m_R0) * t;
        return Norm2(d - m_H * t) <= r * r;
    }
    CBox LocalBox() const override
    {
        CBox box = CBox::Empty();
        for (const CVector& end : {m_B, m_B + m_H})
        {
            double reach[3];
            for (int a = 0; a < 3; ++a)
            {
                const double ha = (&m_H.x)[a], hh = Norm2(m_H);
                // The extent of a circle of radius r across the axis: r sqrt(1 - (h_a/|h|)^2);
                // of an ellipse: sqrt(a1_a^2 + a2_a^2).
                reach[a] = m_Elliptic
                               ? std::hypot((&m_A1.x)[a], (&m_A2.x)[a])
                               : std::max(m_R0, m_R1) * std::sqrt(std::max(0.0, 1 - ha * ha / hh));
            }
            const CVector r(reach[0], reach[1], reach[2]);
            box = box.Union(CBox::Of(end - r, end + r));
        }
        return box;
    }

private:
    CVector m_B, m_H, m_A1, m_A2;
    double m_R0 = 0, m_R1 = 0;
    bool m_Elliptic = false;
};

class CEllipsoid : public CBody
{
public:
    explicit CEllipsoid(P p) : m_F1(V3(p, 0)), m_F2(V3(p, 3)), m_L(p[6]) {}
    bool InsideLocal(const CVector& q) const override
    {
        return (q - m_F1).Length() + (q - m_F2).Length() <= m_L;
    }
    CBox LocalBox() const override
    {
        const CVector c = (m_F1 + m_F2) * 0.5;
        const double h = m_L / 2;
        return CBox::Of(c - CVector(h, h, h), c + CVector(h, h, h));
    }

private:
    CVector m_F1, m_F2;
    double m_L;
};

// A half-space n.q <= d (XYP, XZP, YZP, PLA) or a convex polyhedron of such (ARB).
class CPlanes : public CBody
{
public:
    void Add(const CVector& n, double d) { m_Planes.push_back({n, d}); }
    void SetBox(const CBox& box) { m_LocalBox = box; }
    void SetComplementBox(const CBox& box) { m_LocalComplement = box; }
    CBox LocalComplementBox() const override { return m_LocalComplement; }
    bool InsideLocal(const CVector& q) const override
    {
        for (const auto& [n, d] : m_Planes)
            if (Dot(n, q) > d) return false;
        return true;
    }
    CBox LocalBox() const override { return m_LocalBox; }

private:
    std::vector<std::pair<CVector, double>> m_Planes;
    CBox m_LocalBox, m_LocalComplement;
};

// XCC/YCC/ZCC and XEC/YEC/ZEC: infinite along one axis, an ellipse across it.
class CInfiniteCylinder : public CBody
{
public:
    CInfiniteCylinder(int axis, double a, double b, double la, double lb)
        : m_U((axis + 1) % 3), m_V((axis + 2) % 3), m_A(a), m_B(b), m_La(la), m_Lb(lb)
    {
        // FLUKA's order across the axis: x: y z, y: z x, z: x y.
    }
    bool InsideLocal(const CVector& q) const override
    {
        const double u = ((&q.x)[m_U] - m_A) / m_La, v = ((&q.x)[m_V] - m_B) / m_Lb;
        return u * u + v * v <= 1;
    }
    CBox LocalBox() const override
    {
        CBox box;
        box.m_Lo[m_U] = m_A - m_La, box.m_Hi[m_U] = m_A + m_La;
        box.m_Lo[m_V] = m_B - m_Lb, box.m_Hi[m_V] = m_B + m_Lb;
        return box;
    }

private:
    int m_U, m_V;
    double m_A, m_B, m_La, m_Lb;
};

class CQuadric : public CBody
{
public:
    explicit CQuadric(P p) { std::copy(p.begin(), p.end(), m_A.begin()); }
    bool InsideLocal(const CVector& q) const override
    {
        const auto& a = m_A;
        return a[0] * q.x * q.x + a[1] * q.y * q.y + a[2] * q.z * q.z + a[3] * q.x * q.y +
                   a[4] * q.x * q.z + a[5] * q.y * q.z + a[6] * q.x + a[7] * q.y + a[8] * q.z +
                   a[9] <=
               0;
    }
    CBox LocalBox() const override { return CBox(); }

private:
    std::array<double, 10> m_A{};
};

using CMaker = std::function<std::unique_ptr<CBody>(P, std::string&)>;

std::unique_ptr<CBody> Refuse(std::string& error, const std::string& text)
{
    error = text;
    return nullptr;
}

std::unique_ptr<CBody> MakeRpp(P p, std::string& e)
{
    for (int a = 0; a < 3; ++a)
        if (!(p[2 * a] < p[2 * a + 1]))
            return Refuse(e, Format("the %c extent %g to %g has zero or negative length", "xyz"[a],
                                    p[2 * a], p[2 * a + 1]));
    return std::make_unique<CRpp>(p);
}

std::unique_ptr<CBody> MakeParallelepiped(P p, std::string& e, bool wedge)
{
    const CVector a = V3(p, 3), b = V3(p, 6), c = V3(p, 9);
    if (Norm2(a) == 0 || Norm2(b) == 0 || Norm2(c) == 0)
        return Refuse(e, "an edge vector has zero length");
    if (!Perpendicular(a, b) || !Perpendicular(a, c) || !Perpendicular(b, c))
        return Refuse(e, "the edge vectors are not perpendicular");
    return std::make_unique<CParallelepiped>(p, wedge);
}

std::unique_ptr<CBody> MakeCircular(P p, std::string& e, bool cone)
{
    const CVector h = V3(p, 3);
    if (Norm2(h) == 0) return Refuse(e, "the height vector has zero length");
    if (!(p[6] > 0)) return Refuse(e, Format("the radius %g must be positive", p[6]));
    if (cone && !(p[7] >= 0))
        return Refuse(e, Format("the top radius %g must not be negative", p[7]));
    return std::make_unique<CCylinder>(V3(p, 0), h, p[6], cone ? p[7] : p[6]);
}

std::unique_ptr<CBody> MakeRec(P p, std::string& e)
{
    const CVector h = V3(p, 3), a1 = V3(p, 6), a2 = V3(p, 9);
    if (Norm2(h) == 0 || Norm2(a1) == 0 || Norm2(a2) == 0)
        return Refuse(e, "the height or a semi-axis vector has zero length");
    if (!Perpendicular(h, a1) || !Perpendicular(h, a2) || !Perpendicular(a1, a2))
        return Refuse(e, "the height and semi-axis vectors are not perpendicular");
    return std::make_unique<CCylinder>(V3(p, 0), h, a1, a2);
}

std::unique_ptr<CBody> MakeEll(P p, std::string& e)
{
    if (!(p[6] > (V3(p, 0) - V3(p, 3)).Length()))
        return Refuse(e, Format("the length %g of the major axis must exceed the distance of the "
                                "foci",
                                p[6]));
    return std::make_unique<CEllipsoid>(p);
}

std::unique_ptr<CBody> MakeAxisPlane(P p, int axis)
{
    auto body = std::make_unique<CPlanes>();
    CVector n;
    (&n.x)[axis] = 1;
    body->Add(n, p[0]);
    CBox box, complement;
    box.m_Hi[axis] = p[0];
    complement.m_Lo[axis] = p[0];
    body->SetBox(box);
    body->SetComplementBox(complement);
    return body;
}

std::unique_ptr<CBody> MakePla(P p, std::string& e)
{
    const CVector n = V3(p, 0);
    if (Norm2(n) == 0) return Refuse(e, "the normal vector has zero length");
    auto body = std::make_unique<CPlanes>();
    body->Add(n, Dot(n, V3(p, 3)));
    return body;
}

std::vector<CVector> ArbVertices(P p)
{
    std::vector<CVector> v;
    for (int i = 0; i < 8; ++i)
        v.push_back(V3(p, 3 * i));
    return v;
}

// ARB: every one of the six faces is used.
std::unique_ptr<CBody> MakeArb(P p, std::string& e)
{
    std::vector<int> unused;
    const auto planes = ArbFacePlanes(p, unused, e);
    if (planes.empty()) return nullptr;
    if (!unused.empty())
        return Refuse(e, Format("face %d (0) has fewer than three vertices", unused.front() + 1));
    return MakeConvexBody(planes, CBox::Around(ArbVertices(p)));
}

std::unique_ptr<CBody> MakeInfiniteCylinder(P p, std::string& e, int axis, bool elliptic)
{
    const double la = p[2], lb = elliptic ? p[3] : p[2];
    if (!(la > 0) || !(lb > 0))
        return Refuse(e, Format("the %s %g must be positive", elliptic ? "semi-axis" : "radius",
                                la > 0 ? lb : la));
    return std::make_unique<CInfiniteCylinder>(axis, p[0], p[1], la, lb);
}

struct CBodyType
{
    const char* m_Name;
    size_t m_Params;
    CMaker m_Make;
};

// Every body type, its parameter count and how it is made.
const std::vector<CBodyType>& BodyTypes()
{
    static const std::vector<CBodyType> types = {
        {"RPP", 6, MakeRpp},
        {"BOX", 12, [](P p, std::string& e) { return MakeParallelepiped(p, e, false); }},
        {"WED", 12, [](P p, std::string& e) { return MakeParallelepiped(p, e, true); }},
        {"RAW", 12, [](P p, std::string& e) { return MakeParallelepiped(p, e, true); }},
        {"SPH", 4,
         [](P p, std::string& e) -> std::unique_ptr<CBody>
         {
             if (!(p[3] > 0)) return Refuse(e, Format("the radius %g must be positive", p[3]));
             return std::make_unique<CSphere>(p);
         }},
        {"RCC", 7, [](P p, std::string& e) { return MakeCircular(p, e, false); }},
        {"TRC", 8, [](P p, std::string& e) { return MakeCircular(p, e, true); }},
        {"REC", 12, MakeRec},
        {"ELL", 7, MakeEll},
        {"ARB", 30, MakeArb},
        {"XYP", 1, [](P p, std::string&) { return MakeAxisPlane(p, 2); }},
        {"XZP", 1, [](P p, std::string&) { return MakeAxisPlane(p, 1); }},
        {"YZP", 1, [](P p, std::string&) { return MakeAxisPlane(p, 0); }},
        {"PLA", 6, MakePla},
        {"XCC", 3, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 0, false); }},
        {"YCC", 3, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 1, false); }},
        {"ZCC", 3, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 2, false); }},
        {"XEC", 4, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 0, true); }},
        {"YEC", 4, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 1, true); }},
        {"ZEC", 4, [](P p, std::string& e) { return MakeInfiniteCylinder(p, e, 2, true); }},
        {"QUA", 10, [](P p, std::string&) { return std::make_unique<CQuadric>(p); }},
    };
    return types;
}

const CBodyType* FindType(const std::string& type)
{
    for (const CBodyType& t : BodyTypes())
        if (type == t.m_Name) return &t;
    return nullptr;
}
} // namespace

CBox MapBox(const CBox& local, const CTransform& map)
{
    if (local.IsEmpty()) return local;
    if (local.IsFinite())
    {
        std::vector<CVector> corners;
        const CVector lo = local.Lo(), d = local.Hi() - lo;
        for (const CVector& c : Corners(lo, {d.x, 0, 0}, {0, d.y, 0}, {0, 0, d.z}))
            corners.push_back(map.Apply(c));
        return CBox::Around(corners);
    }
    if (!map.IsAxisAligned()) return CBox();
    // Each side moves along its own axis; infinite ones stay where they are.
    CBox box;
    const CVector lo = map.Apply(CVector()), one = map.Apply({1, 1, 1}) - lo;
    for (int a = 0; a < 3; ++a)
    {
        const double o = (&lo.x)[a], f = (&one.x)[a];
        box.m_Lo[a] = std::isfinite(local.m_Lo[a]) ? o + f * local.m_Lo[a] : -CBox::Inf;
        box.m_Hi[a] = std::isfinite(local.m_Hi[a]) ? o + f * local.m_Hi[a] : CBox::Inf;
    }
    return box;
}

void CBody::Place(const CTransform& toWorld)
{
    m_ToWorld = toWorld;
    m_ToLocal = toWorld.Inverse();
    m_Placed = !toWorld.IsIdentity();
    m_Box = MapBox(LocalBox(), toWorld);
    m_ComplementBox = MapBox(LocalComplementBox(), toWorld);
}

CBox CBody::Clip(const CBox& within) const
{
    if (!m_Placed) return ClipLocal(within);
    return MapBox(ClipLocal(MapBox(within, m_ToLocal)), m_ToWorld)
        .Intersect(within)
        .Intersect(m_Box);
}

std::unique_ptr<CBody> MakeConvexBody(const std::vector<std::pair<CVector, double>>& planes,
                                      const CBox& box)
{
    auto body = std::make_unique<CPlanes>();
    for (const auto& [n, d] : planes)
        body->Add(n, d);
    body->SetBox(box);
    return body;
}

// Each face a number whose digits are its vertices (a 0 for the fourth of a triangle).
std::vector<std::pair<CVector, double>> ArbFacePlanes(const std::vector<double>& p,
                                                      std::vector<int>& unused, std::string& e)
{
    const std::vector<CVector> v = ArbVertices(p);
    CVector centre;
    for (const CVector& q : v)
        centre = centre + q * 0.125;
    std::vector<std::pair<CVector, double>> planes;
    const auto fail = [&e](const std::string& text)
    {
        e = text;
        return std::vector<std::pair<CVector, double>>();
    };
    for (int f = 0; f < 6; ++f)
    {
        const double code = p[24 + f];
        if (code != std::floor(code) || code < 0 || code > 8888)
            return fail(Format("face %d (%g) is not a list of vertex numbers", f + 1, code));
        if (code == 0)
        {
            unused.push_back(f);
            continue;
        }
        std::vector<int> corners;
        for (int c = static_cast<int>(code); c > 0; c /= 10)
            if (c % 10 > 8)
                return fail(Format("face %d (%g) names a vertex beyond 8", f + 1, code));
            else if (c % 10 > 0)
                corners.push_back(c % 10 - 1);
        if (corners.size() < 3)
            return fail(Format("face %d (%g) has fewer than three vertices", f + 1, code));
        const CVector& a = v[corners[0]];
        CVector n = CVector::Cross(v[corners[1]] - a, v[corners[2]] - a);
        if (Norm2(n) == 0)
            return fail(Format("face %d (%g) has its vertices on a line", f + 1, code));
        if (Dot(n, centre - a) > 0) n = n * -1;
        planes.emplace_back(n, Dot(n, a));
    }
    return planes;
}

bool IsBodyType(const std::string& type)
{
    return FindType(type) != nullptr;
}

size_t BodyParameterCount(const std::string& type)
{
    const CBodyType* t = FindType(type);
    return t ? t->m_Params : 0;
}

std::unique_ptr<CBody> MakeBody(const std::string& type, const std::vector<double>& params,
                                std::string& error)
{
    const CBodyType* t = FindType(type);
    if (!t) return Refuse(error, "unknown body type " + type);
    if (params.size() != t->m_Params)
        return Refuse(error, Format("%s needs %zu parameters, not %zu", t->m_Name, t->m_Params,
                                    params.size()));
    for (const double v : params)
        if (!std::isfinite(v)) return Refuse(error, "a parameter is not a finite number");
    std::unique_ptr<CBody> body = t->m_Make(params, error);
    if (body)
    {
        body->m_Type = t->m_Name;
        body->Finish();
    }
    return body;
}
