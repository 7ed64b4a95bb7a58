#include "cloud/IsodumpReader.h"

namespace nebulo3d
{
bool CIsodumpReader::OnRecord(const isodump::CRecord& record, int, isodump::CRecordLines&)
{
    auto p = std::make_unique<CParticle>();
    p->m_Direction = {0, 0, 1};
    p->m_Type = 1;
    p->m_Energy = 1.0;
    p->m_Visible = true;
    if (record.m_HasPosition)
    {
        p->m_Position = record.m_Position;
        p->m_Weight = record.m_Weight;
    }
    m_ExtentMin = CVector::Min(m_ExtentMin, p->m_Position);
    m_ExtentMax = CVector::Max(m_ExtentMax, p->m_Position + p->m_Direction);
    Add(std::move(p));
    return true;
}
} // namespace nebulo3d
