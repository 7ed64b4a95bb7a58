#include "volume/model/ColorMapping.h"

#include <cmath>

namespace volumira3d
{
CColorMapping::CColorMapping(double rangeMin, double rangeMax, bool logarithmic, int entries)
    : m_Entries(entries), m_Log(logarithmic)
{
    if (logarithmic && (rangeMin <= 0 || rangeMax <= 0)) return;
    m_Lo = logarithmic ? std::log10(rangeMin) : rangeMin;
    m_Hi = logarithmic ? std::log10(rangeMax) : rangeMax;
    m_Valid = entries > 0 && std::isfinite(m_Lo) && std::isfinite(m_Hi) && m_Lo <= m_Hi;
    if (m_Valid) m_Step = (m_Hi - m_Lo) / entries;
}

bool CColorMapping::Transform(double v, double& t) const
{
    if (!m_Valid || v == 0 || std::isnan(v)) return false;
    if (!m_Log)
        t = v;
    else if (v == 1.0)
        t = 1e-5;
    else
        t = std::log10(v);
    return !std::isnan(t);
}

bool CColorMapping::InRange(double t) const
{
    return t >= m_Lo && t <= m_Hi + 1e-4 * (m_Hi - m_Lo);
}

int CColorMapping::IndexOfTransformed(double t) const
{
    // An empty range (hi == lo) matches no interval: the top entry, as for t at hi.
    if (m_Step <= 0) return t >= m_Lo ? m_Entries - 1 : 0;
    if (t <= m_Lo) return 0;
    double guess = std::floor((t - m_Lo) / m_Step);
    if (guess >= m_Entries) return m_Entries - 1;
    int i = static_cast<int>(guess);
    // The quotient may land one off a boundary; the boundaries themselves decide.
    if (i > 0 && m_Lo + i * m_Step > t) --i;
    if (i + 1 < m_Entries && m_Lo + (i + 1) * m_Step <= t) ++i;
    return i;
}

int CColorMapping::IndexForValue(double v) const
{
    double t = 0;
    if (!Transform(v, t) || !InRange(t)) return -1;
    return IndexOfTransformed(t);
}
} // namespace volumira3d
