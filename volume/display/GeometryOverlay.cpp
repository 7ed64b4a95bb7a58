#include "volume/display/GeometryOverlay.h"

#include "common/GlLines.h"

#include "volume/model/ColorMapping.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
constexpr int MaxPieces = 4096;

// The middle of a plane's layer along its normal: what the layer's values stand for.
double LayerMiddle(const CVoxelGrid& grid, int plane, int layer)
{
    const int n = PlaneNormal(plane);
    return (grid.Edge(n, layer) + grid.Edge(n, layer + 1)) / 2;
}

// The colour the plane shows under a point of it (grey where it shows nothing).
CVector ColorUnder(const CVoxelGrid& grid, const CDisplayState& state, const CColorMapping& map,
                   const CVector& p)
{
    const int index = map.IndexForValue(
        grid.m_Voxels[static_cast<size_t>(grid.BinAt(0, p.x))][static_cast<size_t>(
            grid.BinAt(1, p.y))][static_cast<size_t>(grid.BinAt(2, p.z))]);
    return index < 0 ? CVector(0.58, 0.58, 0.58) : state.m_LUT.m_LUT[static_cast<size_t>(index)];
}
} // namespace

bool CGeometryOverlay::Untransformed(const CDisplayState& state)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (state.m_Transform(r, c) != (r == c ? 1 : 0)) return false;
    return true;
}

CVector CGeometryOverlay::ContrastColor(const CVector& under)
{
    const double luminance = 0.2126 * under.x + 0.7152 * under.y + 0.0722 * under.z;
    return luminance > 0.35 ? CVector(0, 0, 0) : CVector(1, 1, 1);
}

const std::vector<CVector>& CGeometryOverlay::Outline(CHostGeometryView& view,
                                                      const CVoxelGrid& grid,
                                                      const CDisplayState& state, int plane)
{
    CPlaneOutline& o = m_Planes[plane];
    const int n = PlaneNormal(plane);
    const int layer = state.Layer(plane, grid);
    double lo[2], hi[2];
    for (int k = 0; k < 2; ++k)
    {
        const int a = (n + 1 + k) % 3;
        lo[k] = grid.Edge(a, 0), hi[k] = grid.Edge(a, grid.BinCount(a));
    }
    if (o.m_Revision == view.Revision() && o.m_Layer == layer && std::equal(lo, lo + 2, o.m_Lo) &&
        std::equal(hi, hi + 2, o.m_Hi))
        return o.m_Segments;
    o.m_Revision = view.Revision(), o.m_Layer = layer;
    std::copy(lo, lo + 2, o.m_Lo), std::copy(hi, hi + 2, o.m_Hi);
    o.m_Segments.clear();
    // The values of a layer stand for its middle; the lines lie on the plane as drawn.
    view.BoundarySegments(n, LayerMiddle(grid, plane, layer), lo, hi, TraceCells, o.m_Segments);
    for (CVector& p : o.m_Segments)
        (&p.x)[n] = grid.Edge(n, layer);
    return o.m_Segments;
}

void CGeometryOverlay::Draw(CHostGeometryView* pView, const CVoxelGrid& grid,
                            const CDisplayState& state)
{
    if (!pView || !grid.m_DataLoaded || !grid.HasGrid() || !Untransformed(state)) return;
    PushPlainLines(1);
    const CColorMapping map = state.Mapping(grid);
    glBegin(GL_LINES);
    for (int plane = 0; plane < 3; ++plane)
    {
        if (!state.m_PlaneEnabled[plane]) continue;
        const std::vector<CVector>& points = Outline(*pView, grid, state, plane);
        const int n = PlaneNormal(plane);
        const double layerMiddle = LayerMiddle(grid, plane, m_Planes[plane].m_Layer);
        // Pieces of half a bin, each coloured against the cell under its middle.
        const double piece =
            0.5 * std::min(grid.m_BinWidth[(n + 1) % 3], grid.m_BinWidth[(n + 2) % 3]);
        for (size_t i = 0; i + 1 < points.size(); i += 2)
        {
            const CVector a = points[i], d = points[i + 1] - a;
            const int pieces =
                std::clamp(static_cast<int>(std::ceil(d.Length() / piece)), 1, MaxPieces);
            for (int k = 0; k < pieces; ++k)
            {
                const CVector p0 = a + d * (double(k) / pieces),
                              p1 = a + d * (double(k + 1) / pieces);
                // The cell under the middle, inside the plane's layer (the plane is its face).
                CVector middle = (p0 + p1) * 0.5;
                (&middle.x)[n] = layerMiddle;
                const CVector c = ContrastColor(ColorUnder(grid, state, map, middle));
                glColor3d(c.x, c.y, c.z);
                glVertex3d(p0.x, p0.y, p0.z);
                glVertex3d(p1.x, p1.y, p1.z);
            }
        }
    }
    glEnd();
    glPopAttrib();
}
} // namespace volumira3d
