// Where a plug-in's dialog opens: beside the view rather than over it, or where the user last
// left it. Positions are kept per dialog (a plug-in's main dialog, so per plug-in) in a profile
// that the application owns; rectangles are in screen pixels.
#pragma once
#include "platform/DialogTemplate.h"

#include <string>

class CProfile;

class CDialogPlacement
{
public:
    explicit CDialogPlacement(CProfile& profile) : m_Profile(profile) {}

    // The top left corner for a dialog of this size: its remembered place when the dialog would
    // be wholly on the screen there, otherwise beside the view (right, else left, else the side
    // with more room, kept on the screen).
    CRect Place(const std::string& key, int width, int height, const CRect& view,
                const CRect& screen) const;
    // Keeps the dialog's top left corner for the next time; false when it cannot be written.
    bool Remember(const std::string& key, int left, int top);

    static CRect BesideView(int width, int height, const CRect& view, const CRect& screen);

    static constexpr int Gap = 8;

private:
    CProfile& m_Profile;
};
