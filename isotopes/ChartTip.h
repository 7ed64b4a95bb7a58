// The tooltip of the bar chart: the text of the bar under the mouse, shown by the canvas.
#pragma once
#include "platform/Canvas.h"

#include <string>

namespace nuclira3d
{
// "%s\n%0.04f\n%0.02f%%\n" (label, value, value × 100 / maximum) with percentages, else
// "%s\n%0.04f\n\n". A maximum of 0 or not a number counts as 1, as for the bars.
std::string ChartTipText(const std::string& label, double value, double maximum, bool percentages);

class CChartTip
{
public:
    void Attach(CDialog* pDlg, int canvasId) { m_Canvas.Attach(pDlg, canvasId); }
    // Empty hides the tip.
    void Show(const std::string& text);
    const std::string& Text() const { return m_Text; }

private:
    CCanvas m_Canvas;
    std::string m_Text;
};
} // namespace nuclira3d
