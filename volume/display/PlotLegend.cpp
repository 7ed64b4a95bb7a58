#include "volume/display/PlotLegend.h"

#include "volume/display/DisplayWnd.h"
#include "volume/model/ColorLUT.h"
#include "volume/model/DisplayState.h"

#include "platform/Win.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace volumira3d
{
std::uint32_t RgbOf(const CVector& c)
{
    auto byte = [](double f) { return std::uint32_t(std::clamp(f, 0.0, 1.0) * 255.0); };
    return byte(c.x) << 16 | byte(c.y) << 8 | byte(c.z);
}

std::string LegendLabel(double value)
{
    if (!std::isfinite(value)) return "";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.1e", value);
    std::string text(buf);
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // The exponent's sign is the one after the "e"; its digits are kept to two at least.
    const size_t e = text.find('e');
    if (e == std::string::npos || e + 2 >= text.size()) return text;
    std::string digits = text.substr(e + 2);
    while (digits.size() > 2 && digits[0] == '0')
        digits.erase(0, 1);
    return text.substr(0, e + 2) + digits;
}

void SplitRaisedLabel(const std::string& label, std::string& base, std::string& exponent)
{
    const size_t e = label.find('e');
    if (e == std::string::npos)
    {
        base = label;
        exponent.clear();
        return;
    }
    base = label.substr(0, e) + "x10";
    exponent = label.substr(e + 1);
}

void CPlotLegend::SetRange(double min, double max, int n, const CColorLUT* palette)
{
    m_LegendEntries.clear();
    m_pPalette = palette;
    if (n < 1) return;
    const std::vector<double> values = LegendBoundaries(min, max, n, m_Linear == 0);
    for (int i = 0; i <= n; ++i)
        m_LegendEntries.emplace_back(i, values[static_cast<size_t>(i)]);
    PrepareWindow();
}

void CPlotLegend::PrepareWindow()
{
    int width = 0, height = 0;
    if (!m_pWnd || !m_pWnd->DeviceSize(width, height) || width < 1 || height < 1) return;
    // World units are square on the screen, so that text widths can be estimated.
    const double worldHeight = (ExtentX1 - ExtentX0) * height / width;
    const double centre = 0.5 * (ExtentY0 + ExtentY1);
    const CWorldRect extent{ExtentX0, centre - 0.5 * worldHeight, ExtentX1,
                            centre + 0.5 * worldHeight};
    m_pWnd->SetTotalExtent(extent);
    m_pWnd->SetWindow(extent);
}

void CPlotLegend::Publish()
{
    if (!m_pWnd) return;
    auto colorref = [](std::uint32_t rgb)
    { return RGB(int(rgb >> 16), int((rgb >> 8) & 0xff), int(rgb & 0xff)); };
    m_pWnd->DeleteAll();
    m_pWnd->OpenSegment(1, 0);
    for (const auto& r : m_Picture.m_Rects)
        m_pWnd->FilledRect({r.x0, r.y0}, {r.x1, r.y1}, colorref(r.m_Rgb));
    m_pWnd->OpenSegment(2, 1);
    for (const auto& l : m_Picture.m_Lines)
        m_pWnd->Line({l.x0, l.y0}, {l.x1, l.y1}, colorref(l.m_Rgb), l.m_Width);
    for (const auto& t : m_Picture.m_Texts)
    {
        const double x = t.m_Centred ? t.x - 0.5 * TextWidth(t.m_Text, t.m_Height) : t.x;
        m_pWnd->Text({x, t.y}, t.m_Text, t.m_Height, colorref(t.m_Rgb));
    }
    m_pWnd->CloseSegment();
    m_pWnd->Redraw();
}

void CPlotLegend::SetThresholds(int count, const CThreshold* thresholds, const CVector* colours)
{
    m_ThresholdCount = count;
    m_pThresholds = thresholds;
    m_pThresholdColors = colours;
}

double CPlotLegend::EntryX(size_t i) const
{
    const size_t n = m_LegendEntries.size() - 1;
    return BarLength * double(i) / double(n);
}

void CPlotLegend::DrawLegend(bool nonInterpolated)
{
    m_Picture = CLegendPicture();
    if (!m_pPalette || m_LegendEntries.size() < 2) return Publish();
    DrawBlocks(nonInterpolated);
    DrawLabels();
    DrawThresholdMarkers();
    if (!m_Title.empty())
        m_Picture.m_Texts.push_back({0, TitleBaseline, LabelHeight, m_Title, 0x000000, false});
    Publish();
}

void CPlotLegend::DrawBlocks(bool nonInterpolated)
{
    const int size = m_pPalette->Size();
    if (size < 1) return;
    const int blocks = nonInterpolated ? int(m_LegendEntries.size()) - 1 : size;
    for (int i = 0; i < blocks; ++i)
    {
        const int entry = nonInterpolated ? i * size / blocks : i;
        const double x0 = BarLength * i / blocks, x1 = BarLength * (i + 1) / blocks;
        m_Picture.m_Rects.push_back(
            {x0, BarBottom, x1, BarTop, RgbOf(m_pPalette->m_LUT[static_cast<size_t>(entry)])});
    }
}

void CPlotLegend::DrawLabel(double x, double baseline, double value, std::uint32_t rgb)
{
    const std::string label = LegendLabel(value);
    if (label.empty()) return;
    if (m_ExpNotation)
    {
        m_Picture.m_Texts.push_back({x, baseline, LabelHeight, label, rgb, true});
        return;
    }
    std::string base, exponent;
    SplitRaisedLabel(label, base, exponent);
    // Base and exponent together are centred on x; the exponent sits raised behind the base.
    const double baseWidth = TextWidth(base, LabelHeight);
    const double expWidth = TextWidth(exponent, ExponentHeight);
    const double left = x - 0.5 * (baseWidth + expWidth);
    m_Picture.m_Texts.push_back({left, baseline, LabelHeight, base, rgb, false});
    m_Picture.m_Texts.push_back(
        {left + baseWidth, baseline + 0.5 * LabelHeight, ExponentHeight, exponent, rgb, false});
}

void CPlotLegend::DrawLabels()
{
    // Two staggered rows under the bar, so that neighbouring labels never overlap.
    for (size_t i = 0; i < m_LegendEntries.size(); ++i)
    {
        const double x = EntryX(i);
        const bool even = i % 2 == 0;
        m_Picture.m_Lines.push_back({x, BarBottom - (even ? 1.5 : 6), x, BarBottom, 0x000000, 1});
        DrawLabel(x, even ? EvenBaseline : OddBaseline, m_LegendEntries[i].m_Value, 0x000000);
    }
}

void CPlotLegend::DrawThresholdMarkers()
{
    if (!m_ShowThresholds || !m_pThresholds) return;
    for (int t = 0; t < m_ThresholdCount; ++t)
    {
        if (!m_pThresholds[t].m_Enabled) continue;
        const double v = m_pThresholds[t].m_Value;
        for (size_t i = 0; i + 1 < m_LegendEntries.size(); ++i)
        {
            const double lo = m_LegendEntries[i].m_Value, hi = m_LegendEntries[i + 1].m_Value;
            if (!(v >= lo && v < hi)) continue;
            const double x = EntryX(i) + (v - lo) / (hi - lo) * (EntryX(i + 1) - EntryX(i));
            const std::uint32_t rgb = m_pThresholdColors ? RgbOf(m_pThresholdColors[t]) : 0;
            m_Picture.m_Lines.push_back({x, BarBottom, x, BarTop + 1.5, rgb, 2});
            DrawLabel(x, BarTop + 2, v, rgb);
            break;
        }
    }
}
} // namespace volumira3d
