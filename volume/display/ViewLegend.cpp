#include "volume/display/ViewLegend.h"

#include "common/CairoText.h"
#include "common/GlOverlay.h"
#include "volume/display/PlotLegend.h"

#include <cairo.h>

#include <algorithm>
#include <memory>

namespace volumira3d
{
namespace
{
constexpr int FontPixels = 12, BarWidth = 18, Margin = 10, LabelGap = 6;
constexpr int MinViewHeight = 160;

// The bar's block colours, taken from the legend's picture (its blocks lie along x).
void PaintBar(cairo_t* cr, const CPlotLegend& legend, double left, double bottom, double length)
{
    for (const CLegendPicture::CRect& r : legend.m_Picture.m_Rects)
    {
        const double y0 = bottom - r.x0 / CPlotLegend::BarLength * length;
        const double y1 = bottom - r.x1 / CPlotLegend::BarLength * length;
        cairo_rectangle(cr, left, std::min(y0, y1), BarWidth, std::abs(y1 - y0) + 0.5);
        cairo_set_source_rgb(cr, ((r.m_Rgb >> 16) & 255) / 255.0, ((r.m_Rgb >> 8) & 255) / 255.0,
                             (r.m_Rgb & 255) / 255.0);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, left + 0.5, bottom - length + 0.5, BarWidth - 1, length - 1);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

double TextWidth(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}
} // namespace

int ViewLegendBarPixels(int viewHeight)
{
    return std::clamp(viewHeight * 6 / 10, 120, 520);
}

std::vector<std::string> ViewLegendLabels(const CPlotLegend& legend, int barPixels)
{
    const size_t n = legend.m_LegendEntries.size();
    // Every second label when they would stand closer than one and a half lines.
    const size_t step = n > 1 && double(barPixels) / double(n - 1) < 1.5 * FontPixels ? 2 : 1;
    std::vector<std::string> labels;
    for (size_t i = 0; i < n; ++i)
    {
        std::string label = LegendLabel(legend.m_LegendEntries[i].m_Value);
        if (!legend.m_ExpNotation && !label.empty())
        {
            std::string base, exponent;
            SplitRaisedLabel(label, base, exponent);
            label = base + "^" + exponent;
        }
        // The last always; with every second, not the one just below it.
        const bool shown = i + 1 == n || (i % step == 0 && !(step == 2 && i + 2 == n));
        labels.push_back(shown ? label : "");
    }
    return labels;
}

void DrawViewLegend(const CPlotLegend& legend, int width, int height)
{
    const size_t n = legend.m_LegendEntries.size();
    if (n < 2 || legend.m_Picture.m_Rects.empty() || height < MinViewHeight || width < 200) return;
    const int bar = ViewLegendBarPixels(height);
    const auto labels = ViewLegendLabels(legend, bar);
    using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
    const int w = 150, h = bar + 2 * FontPixels;
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h), cairo_surface_destroy);
    cairo_t* cr = cairo_create(surface.get());
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, FontPixels);
    // Right to left: the unit text turned along the edge, the labels, the bar.
    const double unitX = w - 4, barBottom = h - FontPixels;
    if (!legend.m_Title.empty())
    {
        cairo_save(cr);
        cairo_translate(cr, unitX, barBottom - bar / 2.0 + TextWidth(cr, legend.m_Title) / 2);
        cairo_rotate(cr, -1.5707963267948966);
        OutlinedCairoText(cr, 0, 0, legend.m_Title);
        cairo_restore(cr);
    }
    double widest = 0;
    for (const std::string& label : labels)
        widest = std::max(widest, TextWidth(cr, label));
    const double labelsRight = unitX - FontPixels - 4;
    const double barLeft = labelsRight - widest - LabelGap - BarWidth;
    PaintBar(cr, legend, barLeft, barBottom, bar);
    for (size_t i = 0; i < n; ++i)
    {
        if (labels[i].empty()) continue;
        const double y = barBottom - bar * double(i) / double(n - 1);
        cairo_move_to(cr, barLeft + BarWidth, y);
        cairo_line_to(cr, barLeft + BarWidth + 3, y);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        cairo_stroke(cr);
        OutlinedCairoText(cr, barLeft + BarWidth + LabelGap, y + FontPixels * 0.35, labels[i]);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return;
    // Centred on the right edge, clear of the scale bar below.
    BlendImageOverView(cairo_image_surface_get_data(surface.get()), w, h,
                       cairo_image_surface_get_stride(surface.get()), width - w - Margin,
                       std::max(Margin + 40, (height - h) / 2), width, height);
}
} // namespace volumira3d
