#include "isodump/IsodumpSettings.h"

#include "platform/Profile.h"

namespace
{
constexpr const char* ImportPathKey = "ImportPath";
constexpr const char* ResultSection = "Result";
constexpr const char* ResultPathKey = "ResultPath";
} // namespace

namespace isodump
{
std::string CIsodumpSettings::GetImportPath(const char* section) const
{
    return m_pProfile ? m_pProfile->GetProfileString(section, ImportPathKey, "") : "";
}

void CIsodumpSettings::SetImportPath(const char* section, const std::string& folder)
{
    if (m_pProfile) m_pProfile->WriteProfileString(section, ImportPathKey, folder);
}

std::string CIsodumpSettings::GetResultPath() const
{
    return m_pProfile ? m_pProfile->GetProfileString(ResultSection, ResultPathKey, "") : "";
}

void CIsodumpSettings::SetResultPath(const std::string& folder)
{
    if (m_pProfile) m_pProfile->WriteProfileString(ResultSection, ResultPathKey, folder);
}
} // namespace isodump
