#include "cloud/IsodumpReader.h"

namespace nebulo3d
{
bool CIsodumpReader::Read(const std::string& fileName, CProgressCtrl* pProgress)
{
    m_Loaded = isodump::ReadIsodump(fileName, pProgress, *this);
    return m_Loaded;
}

bool CIsodumpReader::ReadStream(std::istream& in, std::uint64_t size, CProgressCtrl* pProgress)
{
    m_Loaded = isodump::ReadIsodump(in, size, pProgress, *this);
    return m_Loaded;
}

void CIsodumpReader::ResetExtent()
{
    // The same start as the MCNPX table: a cloud at negative coordinates reaches the origin.
    m_ExtentMin = {1e12, 1e12, 1e12};
    m_ExtentMax = {1e-12, 1e-12, 1e-12};
}

bool CIsodumpReader::OnRecord(const isodump::CRecord& record, int, CLineReader&)
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
