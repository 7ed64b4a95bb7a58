// Text drawn over a 3D view with cairo: a dark outline and a light fill, readable over any scene.
// Header only, for the libraries that draw with cairo (the host, Volumira3D).
#pragma once
#include <cairo.h>

#include <string>

// The text's base line starts at (x, y) of the current path's transformation.
inline void OutlinedCairoText(cairo_t* cr, double x, double y, const std::string& text)
{
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}
