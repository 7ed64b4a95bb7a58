#include "volume/formats/Records.h"

#include "platform/UiServices.h"
#include "volume/formats/TextScanner.h"

#include <cmath>

namespace volumira3d
{
bool ExtractRecord(CTextScanner& in, CVoxelData& record)
{
    return in.Extract(record.m_IndexX) && in.Extract(record.m_IndexY) &&
           in.Extract(record.m_IndexZ) && in.Extract(record.m_Value);
}

void WarnBrokenNotation(double mantissa, double exponent)
{
    AfxMessageBox(Format("WARNING: We have encountered a value in the format %lf%lf which is "
                         "NOT a valid scientific notation!\nPlease report this to the authors "
                         "of the data. In succession Volumix3D is correcting the notation "
                         "silently to allow for further processing.",
                         mantissa, exponent),
                  MB_ICONWARNING);
}

bool ExtractRecord(CTextScanner& in, CFlukaData& record, bool& notationWarned)
{
    double mantissa = 0;
    if (!in.Extract(mantissa)) return false;
    const int next = in.Peek();
    if (next != '-' && next != '+')
    {
        record.m_Value = mantissa;
        record.m_NotationWarned = notationWarned;
        return true;
    }
    double exponent = 0;
    if (!in.Extract(exponent)) return false;
    if (!notationWarned)
    {
        WarnBrokenNotation(mantissa, exponent);
        notationWarned = true;
    }
    record.m_Value = mantissa * std::pow(10.0, exponent);
    record.m_NotationWarned = true;
    // An exponent beyond the range of double cannot be represented: the value is unreadable.
    return std::isfinite(record.m_Value);
}

bool ExtractRecord(CTextScanner& in, CMCNPXData& record)
{
    return in.Extract(record.m_Value);
}

std::ostream& operator<<(std::ostream& os, const CVoxelData& record)
{
    return os << record.m_IndexX << ' ' << record.m_IndexY << ' ' << record.m_IndexZ << ' '
              << record.m_Value << '\n';
}

std::ostream& operator<<(std::ostream& os, const CFlukaData& record)
{
    return os << record.m_Value << '\n';
}

std::ostream& operator<<(std::ostream& os, const CMCNPXData& record)
{
    return os << record.m_Value << '\n';
}
} // namespace volumira3d
