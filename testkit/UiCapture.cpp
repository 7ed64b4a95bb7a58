#include "testkit/UiCapture.h"

namespace testkit
{
CHeadlessBackend& Ui()
{
    return CHeadlessBackend::Instance();
}

std::vector<std::string> MessageTexts(bool withIcon)
{
    return Ui().MessageTexts(withIcon);
}

bool Shown(const std::string& prefix, const std::string& icon)
{
    for (const auto& m : Ui().Messages())
        if (m.m_Text.rfind(prefix, 0) == 0 && (icon.empty() || m.Icon() == icon)) return true;
    return false;
}
} // namespace testkit
