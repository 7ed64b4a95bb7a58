// The display settings both point-cloud viewers share; their render routines read them.
#pragma once

namespace isodump
{
struct CPointDisplay
{
    int m_Mode = 0; // 0 draws points in both viewers
    bool m_Transparent = false;
    bool m_Filter = false;
    double m_FilterMin = 1e30, m_FilterMax = 1e-30;

    bool Passes(double weight) const
    {
        return !m_Filter || (m_FilterMin <= weight && weight <= m_FilterMax);
    }
};
} // namespace isodump
