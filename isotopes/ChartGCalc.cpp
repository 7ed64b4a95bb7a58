#include "isotopes/ChartGCalc.h"

#include <algorithm>
#include <cmath>

namespace nuclira3d
{
int CChartGCalc::UsableHeight(int clientHeight, bool valueLabels, bool barLabels)
{
    return clientHeight - 20 - (valueLabels ? LabelHeight : 0) - (barLabels ? LabelHeight : 0);
}

int CChartGCalc::BaseLine(int clientHeight, bool barLabels)
{
    return clientHeight - (barLabels ? 30 : 20);
}

int CChartGCalc::RowStart(int clientWidth, int nrBars)
{
    return (clientWidth - BarPitch * nrBars) / 2;
}

double CChartGCalc::ScaleMaximum(double maximum)
{
    return maximum == 0 || std::isnan(maximum) ? 1.0 : maximum;
}

int CChartGCalc::BarHeight(int usableHeight, double value, double maximum)
{
    const double h = usableHeight * value / ScaleMaximum(maximum);
    if (!(h > 0)) return 0;
    return static_cast<int>(std::min<double>(h, std::max(usableHeight, 0)));
}

int CChartGCalc::HitIndex(double x, int rowStart, double scale, int nrBars)
{
    if (!(scale > 0)) return -1;
    const double at = std::floor((x - rowStart * scale) / (BarPitch * scale));
    return at >= 0 && at < nrBars ? static_cast<int>(at) : -1;
}
} // namespace nuclira3d
