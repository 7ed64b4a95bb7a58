#include "platform/DialogPlacement.h"

#include "platform/Profile.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr const char* Section = "Dialog positions";

CRect At(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

bool Inside(const CRect& r, const CRect& screen)
{
    return r.left >= screen.left && r.top >= screen.top && r.right <= screen.right &&
           r.bottom <= screen.bottom;
}

// Slides r onto the screen; a dialog larger than the screen keeps its top left corner on it.
CRect Clamped(const CRect& r, const CRect& screen)
{
    const int left =
        std::clamp(r.left, screen.left, std::max(screen.left, screen.right - r.Width()));
    const int top = std::clamp(r.top, screen.top, std::max(screen.top, screen.bottom - r.Height()));
    return At(left, top, r.Width(), r.Height());
}
} // namespace

CRect CDialogPlacement::BesideView(int width, int height, const CRect& view, const CRect& screen)
{
    const CRect right = At(view.right + Gap, view.top, width, height);
    const CRect left = At(view.left - Gap - width, view.top, width, height);
    if (Inside(right, screen)) return right;
    if (Inside(left, screen)) return left;
    const int roomRight = screen.right - view.right, roomLeft = view.left - screen.left;
    return Clamped(roomRight >= roomLeft ? right : left, screen);
}

CRect CDialogPlacement::Place(const std::string& key, int width, int height, const CRect& view,
                              const CRect& screen) const
{
    int left, top;
    char tail;
    const std::string kept = m_Profile.GetProfileString(Section, key);
    if (std::sscanf(kept.c_str(), "%d,%d%c", &left, &top, &tail) == 2)
        if (const CRect r = At(left, top, width, height); Inside(r, screen)) return r;
    return BesideView(width, height, view, screen);
}

bool CDialogPlacement::Remember(const std::string& key, int left, int top)
{
    return m_Profile.WriteProfileString(Section, key,
                                        std::to_string(left) + "," + std::to_string(top));
}
