#include "host/ViewOverlay.h"

#include "common/CairoText.h"
#include "common/GlOverlay.h"

#include <GL/gl.h>
#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>

namespace
{
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

constexpr int Margin = 8;     // from the view's edges
constexpr int BarHeight = 40; // the scale bar's image
const char* const AxisNames[3] = {"x", "y", "z"};

Surface NewSurface(int width, int height)
{
    return Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                   cairo_surface_destroy);
}

void SetColor(cairo_t* cr, const unsigned char* rgb)
{
    cairo_set_source_rgb(cr, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0);
}

// A label readable on any background: dark outline, light fill.
void OutlinedText(cairo_t* cr, double x, double y, const std::string& text)
{
    OutlinedCairoText(cr, x, y, text);
}

void CenteredText(cairo_t* cr, double cx, double cy, const std::string& text)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    OutlinedText(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing, text);
}

void PaintTriad(cairo_t* cr, const CCamera& camera, int side)
{
    const CVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const double c = side / 2.0, length = side * 0.3;
    // Far axes first, so that the nearest is drawn on top.
    std::array<int, 3> order = {0, 1, 2};
    std::sort(order.begin(), order.end(),
              [&](int a, int b) {
                  return CVector::Dot(axes[a], camera.Forward()) >
                         CVector::Dot(axes[b], camera.Forward());
              });
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, std::max(10.0, side * 0.15));
    for (int i : order)
    {
        const double dx = CVector::Dot(axes[i], camera.Right()),
                     dy = -CVector::Dot(axes[i], camera.Up());
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + dx * length, c + dy * length);
        SetColor(cr, CViewOverlay::AxisColors[i]);
        cairo_set_line_width(cr, std::max(3.0, side * 0.045));
        cairo_stroke(cr);
        // The label sits beyond the tip; an axis seen end-on gets it beside the centre.
        const double n = std::hypot(dx, dy);
        double lx = side * 0.1, ly = -side * 0.1;
        if (n > 0.15)
        {
            const double reach = n * length + side * 0.11;
            lx = dx / n * reach;
            ly = dy / n * reach;
        }
        CenteredText(cr, c + lx, c + ly, AxisNames[i]);
    }
}

void PaintScaleBar(cairo_t* cr, int width, double barPixels, const std::string& label)
{
    const double right = width - 6, left = right - barPixels, y = BarHeight - 10;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, left, y - 6);
    cairo_line_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_line_to(cr, right, y - 6);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 13);
    CenteredText(cr, (left + right) / 2, y - 16, label);
}

// Blends a premultiplied image over the viewport with its lower left corner at (x, y).
void Composite(cairo_surface_t* surface, int x, int y, int viewWidth, int viewHeight)
{
    cairo_surface_flush(surface);
    BlendImageOverView(cairo_image_surface_get_data(surface),
                       cairo_image_surface_get_width(surface),
                       cairo_image_surface_get_height(surface),
                       cairo_image_surface_get_stride(surface), x, y, viewWidth, viewHeight);
}

template <class Paint> void DrawPiece(int w, int h, int x, int y, int viewW, int viewH, Paint paint)
{
    Surface surface = NewSurface(w, h);
    cairo_t* cr = cairo_create(surface.get());
    paint(cr);
    cairo_destroy(cr);
    if (cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS)
        Composite(surface.get(), x, y, viewW, viewH);
}
} // namespace

int CViewOverlay::TriadSide(int width, int height)
{
    return std::clamp(std::min(width, height) / 5, 60, 110);
}

double CViewOverlay::NiceLength(double maxLength)
{
    const double decade = std::pow(10.0, std::floor(std::log10(maxLength)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * decade <= maxLength * (1 + 1e-9)) return step * decade;
    return decade;
}

std::string CViewOverlay::LengthLabel(double cm)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g cm", cm);
    return buf;
}

void CViewOverlay::Draw(const CCamera& camera, int width, int height)
{
    if (std::min(width, height) < MinViewSide) return;
    const int side = TriadSide(width, height);
    DrawPiece(side, side, Margin, Margin, width, height,
              [&](cairo_t* cr) { PaintTriad(cr, camera, side); });
    const double unitsPerPixel = camera.UnitsPerPixel(height);
    const int maxBar = std::min(160, width / 4);
    if (!(unitsPerPixel > 0) || !std::isfinite(unitsPerPixel)) return;
    const double length = NiceLength(maxBar * unitsPerPixel);
    const double barPixels = length / unitsPerPixel;
    const int barWidth = maxBar + 12;
    DrawPiece(barWidth, BarHeight, width - Margin - barWidth, Margin, width, height,
              [&](cairo_t* cr) { PaintScaleBar(cr, barWidth, barPixels, LengthLabel(length)); });
}

void CViewOverlay::DrawMaterialLegend(const std::vector<std::pair<std::string, CVector>>& materials,
                                      int width, int height)
{
    if (materials.empty() || std::min(width, height) < MinViewSide) return;
    constexpr int Row = 17, Swatch = 12;
    const size_t shown = std::min<size_t>(materials.size(), MaxLegendRows);
    const bool more = materials.size() > shown;
    const int rows = static_cast<int>(shown) + (more ? 1 : 0);
    const int w = std::min(220, width / 2), h = rows * Row + 6;
    DrawPiece(w, h, Margin, height - Margin - h, width, height,
              [&](cairo_t* cr)
              {
                  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                         CAIRO_FONT_WEIGHT_BOLD);
                  cairo_set_font_size(cr, 12);
                  for (size_t i = 0; i < shown; ++i)
                  {
                      const double y = 3 + Row * double(i);
                      const CVector& c = materials[i].second;
                      cairo_rectangle(cr, 1.5, y + 2.5, Swatch, Swatch);
                      cairo_set_source_rgb(cr, c.x, c.y, c.z);
                      cairo_fill_preserve(cr);
                      cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
                      cairo_set_line_width(cr, 1);
                      cairo_stroke(cr);
                      OutlinedText(cr, Swatch + 7, y + 13, materials[i].first);
                  }
                  if (more)
                  {
                      char text[48];
                      std::snprintf(text, sizeof text, "and %zu more", materials.size() - shown);
                      OutlinedText(cr, 2, 3 + Row * double(shown) + 13, text);
                  }
              });
}

void CViewOverlay::DrawTitle(const std::string& title, int width, int height)
{
    if (std::min(width, height) < MinViewSide) return;
    constexpr int TitleHeight = 28;
    DrawPiece(width, TitleHeight, 0, height - TitleHeight, width, height,
              [&](cairo_t* cr)
              {
                  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                                         CAIRO_FONT_WEIGHT_BOLD);
                  cairo_set_font_size(cr, 16);
                  CenteredText(cr, width / 2.0, TitleHeight / 2.0 + 2, title);
              });
}
