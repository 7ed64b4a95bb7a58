#include "volume/analysis/NewPlotProfileDlg.h"

#include "volume/analysis/NewChartDlg.h"

namespace volumira3d
{
namespace
{
constexpr const char* SeriesName = "Series1";

CAvgProfileRequest PlainRequest(int source, int intersection)
{
    CAvgProfileRequest r;
    r.m_Source = source;
    r.m_Intersection = intersection;
    r.m_UDir = r.m_VDir = -1;
    r.m_UMinus = r.m_UPlus = r.m_VMinus = r.m_VPlus = 0;
    r.m_BinsAlong = 1;
    return r;
}
} // namespace

CNewPlotProfileDlg::CNewPlotProfileDlg(CDialog* pMainDlg, int source, int intersection,
                                       std::string title)
    : m_pMainDlg(pMainDlg), m_Averaged(false), m_Request(PlainRequest(source, intersection)),
      m_Title(std::move(title))
{
}

CNewPlotProfileDlg::CNewPlotProfileDlg(CDialog* pMainDlg, const CAvgProfileRequest& request,
                                       std::string title)
    : m_pMainDlg(pMainDlg), m_Averaged(true), m_Request(request), m_Title(std::move(title))
{
}

CChartContent CNewPlotProfileDlg::Chart(const CVoxelGrid& grid, const CDisplayState& state,
                                        const std::string& yTitle) const
{
    const CProfileData profile =
        m_Averaged ? ExtractAveragedProfile(grid, state, m_Request)
                   : ExtractProfile(grid, state, m_Request.m_Source, m_Request.m_Intersection);
    CChartSeries series{SeriesName, {}, {}};
    for (const CProfilePoint& p : profile)
    {
        series.m_X.push_back(p.m_Position);
        series.m_Y.push_back(p.m_Value);
    }
    CChartContent chart;
    chart.m_Title = m_Title;
    chart.m_XTitle = ProfileAxisTitle(m_Request.m_Source, m_Request.m_Intersection);
    chart.m_YTitle = yTitle;
    if (ScaleTinyValues(series.m_Y)) chart.m_YTitle += " x 1E-15";
    chart.m_Series.push_back(std::move(series));
    return chart;
}

void CNewPlotProfileDlg::PlotProfile(const CVoxelGrid& grid, const CDisplayState& state,
                                     const std::string& yTitle) const
{
    CChartContent chart = Chart(grid, state, yTitle);
    CNewChartDlg dlg("X-axis", "Y-axis", m_pMainDlg);
    dlg.SetTitle(chart.m_Title);
    dlg.SetAxisTitles(chart.m_XTitle, chart.m_YTitle);
    dlg.AddSeries(SeriesName);
    CChartSeries& series = chart.m_Series.front();
    dlg.SetSeriesPoints(SeriesName, std::move(series.m_X), std::move(series.m_Y));
    dlg.DoModal();
}
} // namespace volumira3d
