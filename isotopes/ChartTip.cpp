#include "isotopes/ChartTip.h"

#include "isotopes/ChartGCalc.h"
#include "platform/UiServices.h"

namespace nuclira3d
{
std::string ChartTipText(const std::string& label, double value, double maximum, bool percentages)
{
    if (!percentages) return Format("%s\n%0.04f\n\n", label.c_str(), value);
    return Format("%s\n%0.04f\n%0.02f%%\n", label.c_str(), value,
                  value * 100 / CChartGCalc::ScaleMaximum(maximum));
}

void CChartTip::Show(const std::string& text)
{
    m_Text = text;
    if (m_Canvas.IsAttached()) m_Canvas.SetTooltip(text);
}
} // namespace nuclira3d
