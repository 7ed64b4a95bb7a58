#include "geometry/Box.h"

#include <algorithm>
#include <cmath>

CBox CBox::Of(const CVector& lo, const CVector& hi)
{
    CBox b;
    b.m_Lo[0] = lo.x, b.m_Lo[1] = lo.y, b.m_Lo[2] = lo.z;
    b.m_Hi[0] = hi.x, b.m_Hi[1] = hi.y, b.m_Hi[2] = hi.z;
    return b;
}

CBox CBox::Around(const std::vector<CVector>& points)
{
    CVector lo = points.front(), hi = points.front();
    for (const CVector& p : points)
        lo = CVector::Min(lo, p), hi = CVector::Max(hi, p);
    return Of(lo, hi);
}

CBox CBox::Empty()
{
    CBox b;
    for (int a = 0; a < 3; ++a)
        b.m_Lo[a] = Inf, b.m_Hi[a] = -Inf;
    return b;
}

bool CBox::IsEmpty() const
{
    for (int a = 0; a < 3; ++a)
        if (!(m_Lo[a] <= m_Hi[a])) return true;
    return false;
}

bool CBox::IsFinite() const
{
    for (int a = 0; a < 3; ++a)
        if (!std::isfinite(m_Lo[a]) || !std::isfinite(m_Hi[a])) return false;
    return true;
}

CBox CBox::Intersect(const CBox& o) const
{
    CBox b;
    for (int a = 0; a < 3; ++a)
        b.m_Lo[a] = std::max(m_Lo[a], o.m_Lo[a]), b.m_Hi[a] = std::min(m_Hi[a], o.m_Hi[a]);
    return b;
}

CBox CBox::Union(const CBox& o) const
{
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    CBox b;
    for (int a = 0; a < 3; ++a)
        b.m_Lo[a] = std::min(m_Lo[a], o.m_Lo[a]), b.m_Hi[a] = std::max(m_Hi[a], o.m_Hi[a]);
    return b;
}

double CBox::Volume() const
{
    if (IsEmpty()) return 0;
    return (m_Hi[0] - m_Lo[0]) * (m_Hi[1] - m_Lo[1]) * (m_Hi[2] - m_Lo[2]);
}
