#include "host/ViewSettings.h"

#include "platform/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
constexpr const char* Section = "View";
constexpr double GradientSpread = 0.14; // each end differs from the chosen colour by 14 %

CVector Scaled(const CVector& c, double factor)
{
    return {std::clamp(c.x * factor, 0.0, 1.0), std::clamp(c.y * factor, 0.0, 1.0),
            std::clamp(c.z * factor, 0.0, 1.0)};
}

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// "#rrggbb"; false for anything else.
bool ParseHex(const std::string& text, CVector& rgb)
{
    unsigned r, g, b;
    char tail;
    if (text.size() != 7 || std::sscanf(text.c_str(), "#%2x%2x%2x%c", &r, &g, &b, &tail) != 3)
        return false;
    rgb = {r / 255.0, g / 255.0, b / 255.0};
    return true;
}

std::string Hex(const CVector& rgb)
{
    char buf[8];
    auto byte = [](double v)
    { return static_cast<unsigned>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", byte(rgb.x), byte(rgb.y), byte(rgb.z));
    return buf;
}
} // namespace

CVector CViewSettings::BackgroundTop() const
{
    return Scaled(m_Background, 1 + GradientSpread);
}

CVector CViewSettings::BackgroundBottom() const
{
    return Scaled(m_Background, 1 - GradientSpread);
}

void CViewSettings::Load(const CProfile& profile)
{
    ParseHex(profile.GetProfileString(Section, "Background"), m_Background);
    m_Axes = profile.GetProfileInt(Section, "Axes", m_Axes) != 0;
    m_BoundingBox = profile.GetProfileInt(Section, "BoundingBox", m_BoundingBox) != 0;
}

bool CViewSettings::Save(CProfile& profile) const
{
    return profile.WriteProfileString(Section, "Background", Hex(m_Background)) &&
           profile.WriteProfileInt(Section, "Axes", m_Axes) &&
           profile.WriteProfileInt(Section, "BoundingBox", m_BoundingBox);
}

double RelativeLuminance(const CVector& rgb)
{
    return 0.2126 * Linear(rgb.x) + 0.7152 * Linear(rgb.y) + 0.0722 * Linear(rgb.z);
}

double ContrastRatio(const CVector& a, const CVector& b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
