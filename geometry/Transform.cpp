#include "geometry/Transform.h"

#include <cmath>
#include <numbers>

namespace
{
using CMatrix = double[3][3];

void Multiply(const CMatrix& a, const CMatrix& b, CMatrix& out)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
}

// The rotation by an angle in the plane of the two axes other than `about`, in the sign
// convention of the ROT-DEFI matrices: row a = (c, s), row b = (-s, c) with (a, b) cyclic.
void AxisRotation(int about, double c, double s, CMatrix& m)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = i == j ? 1 : 0;
    const int a = (about + 1) % 3, b = (about + 2) % 3;
    m[a][a] = c, m[a][b] = s;
    m[b][a] = -s, m[b][b] = c;
}
} // namespace

CTransform CTransform::Translation(const CVector& d)
{
    CTransform t;
    t.m_T[0] = d.x, t.m_T[1] = d.y, t.m_T[2] = d.z;
    return t;
}

CTransform CTransform::Expansion(double factor)
{
    CTransform t;
    for (int i = 0; i < 3; ++i)
        t.m_M[i][i] = factor;
    return t;
}

// For a rotation "with respect to" axis j the azimuth phi turns about j itself and the polar
// angle theta about the axis before it (x: z, y: x, z: y); new = Theta * Phi * (old + offset).
CTransform CTransform::RotDefi(int axis, double theta, double phi, const CVector& offset)
{
    const double rad = std::numbers::pi / 180;
    CMatrix th, ph;
    AxisRotation((axis + 2) % 3, std::cos(theta * rad), std::sin(theta * rad), th);
    AxisRotation(axis, std::cos(phi * rad), std::sin(phi * rad), ph);
    CTransform r;
    Multiply(th, ph, r.m_M);
    return Translation(offset).Then(r);
}

CTransform CTransform::Affine(const double (&m)[3][3], const CVector& t)
{
    CTransform a = Translation(t);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            a.m_M[i][j] = m[i][j];
    return a;
}

CTransform CTransform::Frame(const CVector& origin, const CVector& e1, const CVector& e2,
                             const CVector& e3)
{
    const double m[3][3] = {{e1.x, e2.x, e3.x}, {e1.y, e2.y, e3.y}, {e1.z, e2.z, e3.z}};
    return Affine(m, origin);
}

CVector CTransform::Apply(const CVector& p) const
{
    return {m_M[0][0] * p.x + m_M[0][1] * p.y + m_M[0][2] * p.z + m_T[0],
            m_M[1][0] * p.x + m_M[1][1] * p.y + m_M[1][2] * p.z + m_T[1],
            m_M[2][0] * p.x + m_M[2][1] * p.y + m_M[2][2] * p.z + m_T[2]};
}

CTransform CTransform::Inverse() const
{
    const auto& m = m_M;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    CTransform inv;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
        {
            // Cofactor of (j, i) over the determinant.
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inv.m_M[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    for (int i = 0; i < 3; ++i)
        inv.m_T[i] = -(inv.m_M[i][0] * m_T[0] + inv.m_M[i][1] * m_T[1] + inv.m_M[i][2] * m_T[2]);
    return inv;
}

CTransform CTransform::Then(const CTransform& next) const
{
    CTransform t;
    Multiply(next.m_M, m_M, t.m_M);
    for (int i = 0; i < 3; ++i)
        t.m_T[i] = next.m_M[i][0] * m_T[0] + next.m_M[i][1] * m_T[1] + next.m_M[i][2] * m_T[2] +
                   next.m_T[i];
    return t;
}

bool CTransform::IsIdentity() const
{
    for (int i = 0; i < 3; ++i)
    {
        if (m_T[i] != 0) return false;
        for (int j = 0; j < 3; ++j)
            if (m_M[i][j] != (i == j ? 1 : 0)) return false;
    }
    return true;
}

bool CTransform::IsAxisAligned() const
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i == j ? !(m_M[i][j] > 0) : m_M[i][j] != 0) return false;
    return true;
}
