// A profile request for the chart window (not a window itself): which planes, whether averaged
// and how, and the plot title. PlotProfile computes the profile and shows it in "Chart".
#pragma once
#include "volume/analysis/ChartPlot.h"
#include "volume/analysis/GridAnalysis.h"

#include <string>

class CDialog;

namespace volumira3d
{
class CVoxelGrid;
class CDisplayState;

class CNewPlotProfileDlg
{
public:
    // A plain profile: not averaged, directions -1, counts 0 and one bin along the profile.
    CNewPlotProfileDlg(CDialog* pMainDlg, int source, int intersection, std::string title);
    CNewPlotProfileDlg(CDialog* pMainDlg, const CAvgProfileRequest& request, std::string title);
    virtual ~CNewPlotProfileDlg() = default;

    // The chart of the profile: series "Series1", the x-axis title of the plane pair and yTitle
    // (with " x 1E-15" when the values were scaled up).
    CChartContent Chart(const CVoxelGrid& grid, const CDisplayState& state,
                        const std::string& yTitle) const;
    // Shows the chart window modally.
    void PlotProfile(const CVoxelGrid& grid, const CDisplayState& state,
                     const std::string& yTitle) const;

    CDialog* m_pMainDlg;
    bool m_Averaged;
    CAvgProfileRequest m_Request;
    std::string m_Title;
};
} // namespace volumira3d
