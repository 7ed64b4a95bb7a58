// A bar as the statistics hand it to the chart dialog.
#pragma once
#include "platform/Win.h"

#include <string>

namespace nuclira3d
{
struct CBarObject
{
    std::string m_Label;
    float m_Value = 0;
    COLORREF m_Color = 0;
};

const COLORREF IsotopeBarColor = RGB(255, 0, 0);
const COLORREF WeightBarColor = RGB(0, 0, 128);
} // namespace nuclira3d
