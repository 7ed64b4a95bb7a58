// The host's geometry on the enabled planes of the data (host interface 2.4): the region
// boundaries through the middle of each plane's layer, asked of the host once per geometry and
// plane position, drawn one pixel wide, each piece black or white, whichever stands out against
// the colour of the cell it crosses. Drawn only while the data are not moved by the settings
// transformation.
#pragma once
#include "common/Vector.h"
#include "frame/HostApi.h"

#include <vector>

namespace volumira3d
{
class CVoxelGrid;
class CDisplayState;

class CGeometryOverlay
{
public:
    // Cells across a plane when the host traces it.
    static constexpr int TraceCells = 400;

    // The outline of a plane (0 XY, 1 YZ, 2 ZX) as point pairs in the world, at the plane's
    // drawn position; traced again only when the geometry or the plane moved.
    const std::vector<CVector>& Outline(CHostGeometryView& view, const CVoxelGrid& grid,
                                        const CDisplayState& state, int plane);
    void Draw(CHostGeometryView* pView, const CVoxelGrid& grid, const CDisplayState& state);
    // Black over a light colour, white over a dark one.
    static CVector ContrastColor(const CVector& under);
    // Whether the data lie in the world as their grid says (no settings transformation).
    static bool Untransformed(const CDisplayState& state);

private:
    struct CPlaneOutline
    {
        int m_Revision = -1;
        int m_Layer = -1;
        double m_Lo[2] = {0, 0}, m_Hi[2] = {0, 0};
        std::vector<CVector> m_Segments;
    };
    CPlaneOutline m_Planes[3];
};
} // namespace volumira3d
