// The profile chart's content and its drawing: series of x against y with titles, linear or
// logarithmic axes and optional point labels. PLplot draws it (extcairo device) into a Cairo
// context; its calls are kept in ChartPlot.cpp because PLplot has global state: every drawing
// opens a stream of its own and ends it, so two charts never share one.
#pragma once
#include <string>
#include <vector>

typedef struct _cairo cairo_t; // NOLINT(bugprone-reserved-identifier): cairo's own name

namespace volumira3d
{
struct CChartSeries
{
    std::string m_Name;
    std::vector<double> m_X, m_Y;
};

struct CChartContent
{
    std::string m_Title, m_SubTitle, m_XTitle, m_YTitle;
    std::vector<CChartSeries> m_Series;
    bool m_LogX = false, m_LogY = false, m_ShowLabels = false;
};

// The axis window in axis units (decades on a logarithmic axis).
struct CChartRange
{
    double m_XMin = 0, m_XMax = 1, m_YMin = 0, m_YMax = 1;
};

// Whole decades on a logarithmic axis, a small margin on a linear one; points that a logarithmic
// axis cannot show (x or y <= 0) are left out. Without a drawable point the window is 0..1.
CChartRange ChartRangeOf(const CChartContent& content);

// The plot area in device pixels (left, top, right, bottom) of a chart of the given size.
struct CChartArea
{
    double m_Left = 0, m_Top = 0, m_Right = 0, m_Bottom = 0;
};
CChartArea ChartPlotArea(int width, int height);

// Draws the chart with the axis window view on a white background into cr; false when PLplot
// could not draw.
bool PaintChart(cairo_t* cr, int width, int height, const CChartContent& content,
                const CChartRange& view);
} // namespace volumira3d
