// An axis-aligned box in cm whose sides may lie at infinity (a half-space, an infinite cylinder).
#pragma once
#include "common/Vector.h"

#include <limits>
#include <vector>

struct CBox
{
    static constexpr double Inf = std::numeric_limits<double>::infinity();

    double m_Lo[3] = {-Inf, -Inf, -Inf};
    double m_Hi[3] = {Inf, Inf, Inf};

    static CBox Of(const CVector& lo, const CVector& hi);
    static CBox Empty();
    // The box of a set of points (at least one).
    static CBox Around(const std::vector<CVector>& points);
    bool IsEmpty() const;
    bool IsFinite() const;
    bool Contains(const CVector& p) const
    {
        return p.x >= m_Lo[0] && p.x <= m_Hi[0] && p.y >= m_Lo[1] && p.y <= m_Hi[1] &&
               p.z >= m_Lo[2] && p.z <= m_Hi[2];
    }
    CBox Intersect(const CBox& o) const;
    CBox Union(const CBox& o) const;
    double Volume() const;
    CVector Lo() const { return {m_Lo[0], m_Lo[1], m_Lo[2]}; }
    CVector Hi() const { return {m_Hi[0], m_Hi[1], m_Hi[2]}; }
};
