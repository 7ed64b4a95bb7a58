#include "volume/model/ColorLUT.h"

#include "volume/model/Matrix.h"

#include <algorithm>
#include <iterator>

namespace volumira3d
{
void CColorLUT::SetPivot(int index, CVector colour)
{
    colour.x = std::min(colour.x, 1.0);
    colour.y = std::min(colour.y, 1.0);
    colour.z = std::min(colour.z, 1.0);
    m_Pivots[index] = colour;
}

void CColorLUT::ClearPivots()
{
    m_Pivots.clear();
    m_LUT.clear();
}

bool CColorLUT::BuildLUT()
{
    m_LUT.clear();
    if (m_Pivots.empty()) return true;
    if (m_Pivots.begin()->first != 0)
    {
        ReportAssertion("m_Pivots.begin()->first == 0");
        return false;
    }
    m_LUT.reserve(static_cast<size_t>(m_Pivots.rbegin()->first));
    for (auto next = std::next(m_Pivots.begin()), it = m_Pivots.begin(); next != m_Pivots.end();
         it = next++)
    {
        const int k0 = it->first, k1 = next->first;
        const CVector step = (next->second - it->second) / double(k1 - k0);
        for (int k = k0; k < k1; ++k)
            m_LUT.push_back(it->second + step * double(k - k0));
    }
    return true;
}

const CVector& CColorLUT::GetColor(int i) const
{
    static const CVector black;
    if (i < 0 || i >= Size())
    {
        ReportAssertion("i >= 0 && i < m_LUT.size()");
        return black;
    }
    return m_LUT[static_cast<size_t>(i)];
}

bool CColorLUT::FindPivot(int key, CVector& colour) const
{
    const auto it = m_Pivots.find(key);
    if (it == m_Pivots.end()) return false;
    colour = it->second;
    return true;
}
} // namespace volumira3d
