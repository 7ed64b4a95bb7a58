#include "volume/model/VolumeSettings.h"

#include "common/NumberScan.h"
#include "platform/Profile.h"
#include "platform/UiServices.h"

#include <algorithm>

namespace volumira3d
{
namespace
{
constexpr const char* PathSection = "Volumix3DPath";

const char* PathKey(CVolumeSettings::EPath key)
{
    using E = CVolumeSettings::EPath;
    switch (key)
    {
    case E::Input:
        return "Input";
    case E::Data:
        return "data";
    case E::AverageInput:
        return "AverageInput";
    case E::AverageResult:
        return "AverageResult";
    case E::RebinnedUSRBIN:
        return "RebinnedUSRBIN";
    case E::ColorLUT:
        return "ColorLUT";
    case E::Image:
        return "Image";
    }
    return "";
}
} // namespace

std::string CVolumeSettings::GetPath(EPath key) const
{
    return m_pProfile ? m_pProfile->GetProfileString(PathSection, PathKey(key), "") : "";
}

void CVolumeSettings::SetPath(EPath key, const std::string& value)
{
    if (m_pProfile) m_pProfile->WriteProfileString(PathSection, PathKey(key), value);
}

bool CVolumeSettings::GetExpNotation() const
{
    return !m_pProfile || m_pProfile->GetProfileInt("Legend", "ExpNotation", 1) != 0;
}

void CVolumeSettings::SetExpNotation(bool exp)
{
    if (m_pProfile) m_pProfile->WriteProfileInt("Legend", "ExpNotation", exp ? 1 : 0);
}

int CVolumeSettings::GetColumnWidth(const char* section, int column, int def) const
{
    return m_pProfile ? m_pProfile->GetProfileInt(section, "Col" + std::to_string(column), def)
                      : def;
}

void CVolumeSettings::SetColumnWidth(const char* section, int column, int width)
{
    if (m_pProfile) m_pProfile->WriteProfileInt(section, "Col" + std::to_string(column), width);
}

int CVolumeSettings::GetReadAheadBuffer() const
{
    const int size =
        m_pProfile ? m_pProfile->GetProfileInt("Cache", "ReadAheadBuffer", 10240) : 10240;
    return std::max(size, 1);
}

void CVolumeSettings::SetReadAheadBuffer(int size)
{
    if (m_pProfile) m_pProfile->WriteProfileInt("Cache", "ReadAheadBuffer", std::max(size, 1));
}

double CVolumeSettings::GetCylinderVoxel() const
{
    if (!m_pProfile) return 0;
    double value = 0;
    const bool read = ReadNumberField(m_pProfile->GetProfileString("Cylinder", "VoxelSize", "0"),
                                      value) == EFieldProblem::None;
    return read && value > 0 ? value : 0;
}

void CVolumeSettings::SetCylinderVoxel(double cm)
{
    if (m_pProfile)
        m_pProfile->WriteProfileString("Cylinder", "VoxelSize", Format("%.17g", std::max(cm, 0.0)));
}
} // namespace volumira3d
