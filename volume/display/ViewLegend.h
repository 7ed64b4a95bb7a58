// The colour legend drawn into the host's 3D view (host interface 2.5, while the view asks for
// legends): a vertical colour bar along the right edge with the legend's own blocks, its labels
// in its notation and its unit text, readable at 800 x 600 (text of 12 px).
#pragma once
#include <string>
#include <vector>

namespace volumira3d
{
class CPlotLegend;

// The labels the view shows, bottom to top: the legend's own texts of its entries (every
// second one where the bar is too short for all); the raised notation as "1.5x10^+03".
std::vector<std::string> ViewLegendLabels(const CPlotLegend& legend, int barPixels);
// The bar's length in a view this many pixels high.
int ViewLegendBarPixels(int viewHeight);
// Draws the legend over the current viewport (width x height); nothing for an empty legend or
// a view too small for it.
void DrawViewLegend(const CPlotLegend& legend, int width, int height);
} // namespace volumira3d
