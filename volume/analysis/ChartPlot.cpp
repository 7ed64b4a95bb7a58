#include "volume/analysis/ChartPlot.h"

#include <cairo.h>
#include <plplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace volumira3d
{
namespace
{
// The viewport in normalised device coordinates (y grows upwards).
constexpr double AreaLeft = 0.13, AreaRight = 0.95, AreaBottom = 0.14, AreaTop = 0.84;

// The first colour of the office palette: every profile has one series.
constexpr int SeriesColor[3] = {79, 129, 189};
enum : int
{
    ColorBackground = 0,
    ColorInk = 1,
    ColorSeries = 2,
};

struct CPlotPoints
{
    std::vector<double> m_X, m_Y, m_Value; // axis units; m_Value is the y the data says
};

// A point a logarithmic axis cannot show, or any non-finite one, is left out.
bool ToAxis(double v, bool logarithmic, double& out)
{
    if (!std::isfinite(v) || (logarithmic && v <= 0)) return false;
    out = logarithmic ? std::log10(v) : v;
    return std::isfinite(out);
}

CPlotPoints PlotPoints(const CChartContent& content, const CChartSeries& series)
{
    CPlotPoints points;
    const size_t n = std::min(series.m_X.size(), series.m_Y.size());
    for (size_t i = 0; i < n; ++i)
    {
        double x, y;
        if (!ToAxis(series.m_X[i], content.m_LogX, x) || !ToAxis(series.m_Y[i], content.m_LogY, y))
            continue;
        points.m_X.push_back(x);
        points.m_Y.push_back(y);
        points.m_Value.push_back(series.m_Y[i]);
    }
    return points;
}

// Whole decades around a logarithmic range; 5 % margin around a linear one.
void Widen(double& lo, double& hi, bool logarithmic)
{
    if (logarithmic)
    {
        lo = std::floor(lo);
        hi = std::ceil(hi);
        if (hi <= lo) hi = lo + 1;
        return;
    }
    if (hi <= lo)
    {
        const double half = lo == 0 ? 1 : std::abs(lo) * 0.5;
        lo -= half;
        hi += half;
        return;
    }
    const double margin = (hi - lo) * 0.05;
    lo -= margin;
    hi += margin;
}

// PLplot asks on the terminal for a device it does not know: make sure it knows ours.
bool HasExtCairo()
{
    const char* menu[256];
    const char* names[256];
    const char** pMenu = menu;
    const char** pNames = names;
    int count = 256;
    plgDevs(&pMenu, &pNames, &count);
    for (int i = 0; i < count; ++i)
        if (names[i] && std::strcmp(names[i], "extcairo") == 0) return true;
    return false;
}

// Each value just above its dot.
void Labels(const CPlotPoints& points, const CChartRange& view)
{
    const double above = (view.m_YMax - view.m_YMin) * 0.035;
    plschr(0, 0.6);
    char text[32];
    for (size_t i = 0; i < points.m_X.size(); ++i)
    {
        // PLplot clips lines to the plot area but not text.
        if (points.m_X[i] < view.m_XMin || points.m_X[i] > view.m_XMax ||
            points.m_Y[i] < view.m_YMin || points.m_Y[i] > view.m_YMax)
            continue;
        std::snprintf(text, sizeof text, "%.3g", points.m_Value[i]);
        plptex(points.m_X[i], points.m_Y[i] + above, 1, 0, 0.5, text);
    }
    plschr(0, 1);
}

void DrawSeries(const CChartContent& content, const CChartSeries& series, const CChartRange& view)
{
    CPlotPoints points = PlotPoints(content, series);
    const int n = static_cast<int>(points.m_X.size());
    if (n == 0) return;
    plcol0(ColorSeries);
    plwidth(2);
    if (n > 1) plline(n, points.m_X.data(), points.m_Y.data());
    // A filled dot per point, drawn as text: PLplot's own symbols are hollow or tiny.
    plschr(0, 0.8);
    plstring(n, points.m_X.data(), points.m_Y.data(), "\u25CF");
    plschr(0, 1);
    plwidth(1);
    plcol0(ColorInk);
    if (content.m_ShowLabels) Labels(points, view);
}

void DrawFrame(const CChartContent& content, const CChartRange& range)
{
    plcol0(ColorInk);
    plvpor(AreaLeft, AreaRight, AreaBottom, AreaTop);
    plwind(range.m_XMin, range.m_XMax, range.m_YMin, range.m_YMax);
    plbox(content.m_LogX ? "bcnstvl" : "bcnstv", 0, 0, content.m_LogY ? "bcnstvl" : "bcnstv", 0, 0);
    plmtex("t", 2.6, 0.5, 0.5, content.m_Title.c_str());
    plschr(0, 0.8);
    plmtex("t", 1.0, 0.5, 0.5, content.m_SubTitle.c_str());
    plschr(0, 1);
    plmtex("b", 3.0, 0.5, 0.5, content.m_XTitle.c_str());
    plmtex("l", 5.0, 0.5, 0.5, content.m_YTitle.c_str());
}

// One stream of our own, made current for the drawing and ended after it.
class CPlotStream
{
public:
    CPlotStream(cairo_t* cr, int width, int height)
    {
        plgstrm(&m_Previous);
        plmkstrm(&m_Stream);
        plsdev("extcairo");
        char geometry[48];
        std::snprintf(geometry, sizeof geometry, "%dx%d", width, height);
        plsetopt("geometry", geometry);
        plscol0(ColorBackground, 255, 255, 255);
        plscol0(ColorInk, 0, 0, 0);
        plscol0(ColorSeries, SeriesColor[0], SeriesColor[1], SeriesColor[2]);
        plinit();
        pl_cmd(PLESC_DEVINIT, cr);
        pladv(0);
    }
    ~CPlotStream()
    {
        plend1();
        plsstrm(m_Previous);
    }
    CPlotStream(const CPlotStream&) = delete;
    CPlotStream& operator=(const CPlotStream&) = delete;

private:
    PLINT m_Previous = 0, m_Stream = 0;
};
} // namespace

CChartRange ChartRangeOf(const CChartContent& content)
{
    double xLo = INFINITY, xHi = -INFINITY, yLo = INFINITY, yHi = -INFINITY;
    for (const CChartSeries& series : content.m_Series)
    {
        const CPlotPoints points = PlotPoints(content, series);
        for (size_t i = 0; i < points.m_X.size(); ++i)
        {
            xLo = std::min(xLo, points.m_X[i]);
            xHi = std::max(xHi, points.m_X[i]);
            yLo = std::min(yLo, points.m_Y[i]);
            yHi = std::max(yHi, points.m_Y[i]);
        }
    }
    CChartRange range;
    if (xLo > xHi) return range;
    Widen(xLo, xHi, content.m_LogX);
    Widen(yLo, yHi, content.m_LogY);
    return {xLo, xHi, yLo, yHi};
}

CChartArea ChartPlotArea(int width, int height)
{
    return {AreaLeft * width, (1 - AreaTop) * height, AreaRight * width, (1 - AreaBottom) * height};
}

bool PaintChart(cairo_t* cr, int width, int height, const CChartContent& content,
                const CChartRange& view)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    // The drivers PLplot found do not change while the program runs.
    static const bool hasDevice = HasExtCairo();
    if (width < 2 || height < 2 || !hasDevice) return false;
    if (!(view.m_XMax > view.m_XMin) || !(view.m_YMax > view.m_YMin)) return false;
    CPlotStream stream(cr, width, height);
    DrawFrame(content, view);
    for (const CChartSeries& series : content.m_Series)
        DrawSeries(content, series, view);
    return true;
}
} // namespace volumira3d
