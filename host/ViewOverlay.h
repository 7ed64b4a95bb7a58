// The view's orientation aids, drawn flat over the 3D scene after everything else: an axis triad
// with x, y, z labels in the lower left corner, a scale bar in centimetres in the lower right
// and, with a geometry shown, the legend of its materials' colours in the upper left. Views too
// small to hold them (thumbnails) get none.
#pragma once
#include "host/Camera.h"

#include <string>
#include <utility>
#include <vector>

class CViewOverlay
{
public:
    // The triad's x, y and z colours (0..255), away from the pure colours of the standard table.
    static constexpr unsigned char AxisColors[3][3] = {
        {230, 60, 50}, {50, 190, 60}, {60, 110, 240}};
    static constexpr int MinViewSide = 120;

    // Draws into the current GL context, whose viewport is width x height.
    static void Draw(const CCamera& camera, int width, int height);
    // A swatch and a name per material, at most MaxLegendRows of them (then "and N more").
    static void DrawMaterialLegend(const std::vector<std::pair<std::string, CVector>>& materials,
                                   int width, int height);
    static constexpr int MaxLegendRows = 16;
    // A line of text centred over the top of the view.
    static void DrawTitle(const std::string& title, int width, int height);

    // The longest 1, 2 or 5 x 10^n not longer than maxLength (> 0).
    static double NiceLength(double maxLength);
    // "10 cm", "0.5 cm", "2000 cm".
    static std::string LengthLabel(double cm);
    // The side of the triad's square and the size of the scale bar's image in this view.
    static int TriadSide(int width, int height);
};
