// The layout arithmetic of the bar chart, in pixels of its client area (y down): where the row
// of bars starts, how high a bar is, where the base line lies and which bar a point hits.
#pragma once

namespace nuclira3d
{
class CChartGCalc
{
public:
    static constexpr int BarWidth = 24, BarGap = 4, BarPitch = BarWidth + BarGap;
    static constexpr int LabelHeight = 10;

    // Client height minus 20, minus 10 for value labels and 10 for bar labels.
    static int UsableHeight(int clientHeight, bool valueLabels, bool barLabels);
    // The y of the base line: 20 pixels above the bottom, 30 with bar labels.
    static int BaseLine(int clientHeight, bool barLabels);
    // The row of n bars is centred: its first bar starts here.
    static int RowStart(int clientWidth, int nrBars);
    static int BarLeft(int rowStart, int index) { return rowStart + index * BarPitch; }
    // The maximum that scales the bars: 1 when the maximum is 0 or not a number.
    static double ScaleMaximum(double maximum);
    // usable × value / maximum, truncated; 0 for values that are not numbers or not positive.
    static int BarHeight(int usableHeight, double value, double maximum);
    // The bar under x (in window pixels, the picture shown scaled by scale), or -1. Points left
    // of the row hit nothing.
    static int HitIndex(double x, int rowStart, double scale, int nrBars);
};
} // namespace nuclira3d
