#include "isotopes/BarChart.h"

#include "platform/Bmp.h"
#include "platform/SafeWrite.h"
#include "platform/UiServices.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace nuclira3d
{
namespace
{
constexpr double FontHeight = 10;

COLORREF Mix(COLORREF a, COLORREF b, double shareOfA)
{
    const auto mix = [shareOfA](int x, int y)
    { return static_cast<int>(std::lround(x * shareOfA + y * (1 - shareOfA))); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

COLORREF Darker(COLORREF c)
{
    return Mix(c, RGB(0, 0, 0), 0.6);
}

// Each component c becomes |c - by|: the frame of the chart.
COLORREF Shifted(COLORREF c, int by)
{
    return RGB(std::abs(GetRValue(c) - by), std::abs(GetGValue(c) - by),
               std::abs(GetBValue(c) - by));
}

// Text width as the canvas paints it (Cairo's default face at this size).
double TextWidth(const std::string& text)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_set_font_size(cr, FontHeight);
    cairo_text_extents_t extents{};
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return extents.x_advance;
}
} // namespace

bool CBarChart::Create(CDialog* pDlg, int canvasId)
{
    const CControlState* s = pDlg ? pDlg->FindItem(canvasId) : nullptr;
    if (!s || !s->KindState<CCanvasState>()) return false;
    m_Canvas.Attach(pDlg, canvasId);
    m_Tip.Attach(pDlg, canvasId);
    m_Canvas.SetMouseHandler([this](const CCanvasMouseEvent& e) { OnMouse(e); });
    return true;
}

void CBarChart::AddBar(const std::string& label, COLORREF color, double value)
{
    m_Bars.push_back({label, value, color});
    if (value > m_MaxValue) m_MaxValue = value;
    m_Painted = false;
}

void CBarChart::SetBkColor(COLORREF color)
{
    m_Background = color;
    m_Painted = false;
}

void CBarChart::Paint()
{
    if (m_Painted) return;
    const CCanvasState* state = m_Canvas.CanvasState();
    if (!state) return;
    const int w = state->m_Width, h = state->m_Height;
    m_PictureWidth = w;
    m_PictureHeight = h;
    m_Canvas.DeleteAll();
    // World units are the picture's pixels, y down as in the window.
    m_Canvas.SetWorldWindow(0, h, w, 0);
    m_Canvas.AddFilledRect({0, 0}, {double(w), double(h)}, m_Background);
    const COLORREF frame = Shifted(m_Background, 50);
    m_Canvas.AddLine({0.5, 0.5}, {w - 0.5, 0.5}, frame);
    m_Canvas.AddLine({w - 0.5, 0.5}, {w - 0.5, h - 0.5}, frame);
    m_Canvas.AddLine({w - 0.5, h - 0.5}, {0.5, h - 0.5}, frame);
    m_Canvas.AddLine({0.5, h - 0.5}, {0.5, 0.5}, frame);
    const int usable = UsableHeight(h, m_ShowValueLabels, m_ShowBarLabels);
    const int base = BaseLine(h, m_ShowBarLabels);
    if (m_ShowBarLabels) m_Canvas.AddFilledRect({1, double(base)}, {w - 1.0, h - 1.0}, m_LabelBand);
    const int start = RowStart(w, static_cast<int>(m_Bars.size()));
    // Only the bars inside the picture are drawn: a long row is cut at both sides.
    const int first = std::max(0, (-start) / BarPitch);
    for (int i = first; i < static_cast<int>(m_Bars.size()); ++i)
    {
        if (BarLeft(start, i) >= w) break;
        DrawBar(i, usable, base);
    }
    m_Painted = true;
}

void CBarChart::DrawBar(int index, int usable, int base)
{
    const CBar& bar = m_Bars[static_cast<size_t>(index)];
    const int x = BarLeft(RowStart(m_PictureWidth, static_cast<int>(m_Bars.size())), index);
    const int height = BarHeight(usable, bar.m_Value, m_MaxValue);
    const int top = base - height;
    if (height > 0)
    {
        m_Canvas.AddFilledRect({double(x), double(top)}, {double(x + BarWidth), double(base)},
                               Darker(bar.m_Color));
        for (int k = 1; k < BarWidth - 1 && height > 1; ++k)
        {
            const double tint = std::min(0.37 + 0.05 * (k - 1), 1.0);
            const COLORREF c =
                k < BarWidth / 2 ? Mix(bar.m_Color, RGB(255, 255, 255), tint) : bar.m_Color;
            m_Canvas.AddFilledRect({double(x + k), double(top + 1)},
                                   {double(x + k + 1), double(base)}, c);
        }
        if (height > 1)
        {
            const COLORREF blend = Mix(m_LabelBand, bar.m_Color, 0.6);
            const auto pixel = [this](int px, int py, COLORREF c) {
                m_Canvas.AddFilledRect({double(px), double(py)}, {px + 1.0, py + 1.0}, c);
            };
            pixel(x, top, m_LabelBand);
            pixel(x + BarWidth - 1, top, m_LabelBand);
            pixel(x, base - 1, blend);
            pixel(x + BarWidth - 1, base - 1, blend);
        }
    }
    if (m_ShowValueLabels)
    {
        const double shown =
            m_ValueLabelMode == 0 ? bar.m_Value * 100 / ScaleMaximum(m_MaxValue) : bar.m_Value;
        DrawLabel(Format(m_ValueLabelMode == 0 ? "%0.01f%%" : "%0.02f", shown), x,
                  top - LabelHeight);
    }
    if (m_ShowBarLabels) DrawLabel(bar.m_Label, x, base);
}

// One line, centred in a box as wide as bar and gap and 10 pixels high.
void CBarChart::DrawLabel(const std::string& text, int left, int boxTop)
{
    const double x = left + (BarPitch - TextWidth(text)) / 2 - BarGap / 2.0;
    m_Canvas.AddText({x, boxTop + LabelHeight - 1.5}, text, FontHeight, RGB(0, 0, 0));
}

double CBarChart::Scale() const
{
    const CCanvasState* state = m_Canvas.CanvasState();
    return state ? double(state->m_Width) / m_PictureWidth : 1.0;
}

std::string CBarChart::TooltipAt(double x) const
{
    const int start = RowStart(m_PictureWidth, static_cast<int>(m_Bars.size()));
    const int i = HitIndex(x, start, Scale(), static_cast<int>(m_Bars.size()));
    if (i < 0) return "";
    const CBar& bar = m_Bars[static_cast<size_t>(i)];
    return ChartTipText(bar.m_Label, bar.m_Value, m_MaxValue, m_TipPercentages);
}

void CBarChart::OnMouse(const CCanvasMouseEvent& e)
{
    m_Tip.Show(TooltipAt(e.m_Device.x));
}

bool CBarChart::SaveBitmap(std::string fileName)
{
    if (fileName.empty())
    {
        CFileDialog dlg(FALSE, "bmp", nullptr, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                        Format("%s|%s||", "Bitmap file", "*.Bmp").c_str(), m_Canvas.GetParent());
        if (dlg.DoModal() != IDOK || dlg.GetPathName().empty())
        {
            m_LastError = "Canceled by user";
            return false;
        }
        fileName = dlg.GetPathName();
    }
    Paint();
    const CCanvasState* state = m_Canvas.CanvasState();
    if (!state || !CSafeOutput(fileName).IsOpen())
    {
        m_LastError = "Cannot create file";
        return false;
    }
    std::string error;
    if (!WriteBmp(fileName, state->m_Width, state->m_Height, state->RenderRgb(), &error))
    {
        m_LastError = "Cannot write to file: " + error;
        return false;
    }
    m_LastError.clear();
    return true;
}
} // namespace nuclira3d
