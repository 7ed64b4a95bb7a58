// How the host's view looks: background, orientation aids and the data's bounding box. The window
// keeps them in the host's own profile ($XDG_CONFIG_HOME/Wendrik/Tessaron.ini); batch runs start
// from the defaults so that their renders do not depend on a user's settings.
#pragma once
#include "common/Vector.h"

class CProfile;

struct CViewSettings
{
    // A mid grey: black, the dark blue and the yellow of the standard colour table all keep a
    // contrast ratio of at least 2 against every shade of the gradient made from it.
    static constexpr double DefaultGrey = 0.58;

    CVector m_Background{DefaultGrey, DefaultGrey, DefaultGrey};
    bool m_Axes = true; // the axis triad and the scale bar
    bool m_BoundingBox = false;

    // The background runs from a lighter shade at the top to a darker one at the bottom.
    CVector BackgroundTop() const;
    CVector BackgroundBottom() const;

    // Values missing from the profile, or unreadable there, keep their defaults.
    void Load(const CProfile& profile);
    bool Save(CProfile& profile) const;
};

// The WCAG 2 relative luminance of an sRGB colour (components 0..1) and the contrast ratio of two
// colours (1 to 21).
double RelativeLuminance(const CVector& rgb);
double ContrastRatio(const CVector& a, const CVector& b);
