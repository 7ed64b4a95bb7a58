// Draws the voxel grid into the current GL context as the display state says: the enabled planes
// in the display mode, threshold contours, plane borders and intersection lines, under the
// settings transformation. Primitives are rebuilt every frame (nothing is cached between frames)
// and handed to GL as client-side vertex arrays; the buffers are kept to spare allocations.
#pragma once
#include "common/Vector.h"
#include "volume/model/ColorMapping.h"

#include <cstdint>
#include <vector>

namespace volumira3d
{
class CVoxelGrid;
class CDisplayState;

class CSliceRenderer
{
public:
    CSliceRenderer(const CVoxelGrid& grid, const CDisplayState& state);

    // The whole scene of one render pass: nothing unless data are loaded and a plane is on.
    void DrawScene();
    // One plane (0 XY, 1 YZ, 2 ZX) in the display mode; the scene transformation must be set.
    void DrawPlane(int plane);
    // The block of voxels up to the crossing point of the three planes, as points or spheres.
    void DrawCloud();
    // The enabled thresholds' contours on one plane, while they are emphasised.
    void DrawThresholds(int plane);
    // The threshold contours of every enabled plane once more, through the geometry.
    void DrawOverlay();
    // Edges between a cell in [lower, level) and a neighbour above level (transformed values).
    void DrawBoundaryLines(int plane, double lower, double level, const CVector& colour,
                           float width);

    // Multiplies the current matrix by origin and transformation (points then relative to the
    // grid origin).
    void PushTransform() const;
    void PopTransform() const;

private:
    struct CAxes
    {
        int u, v, n;
    };
    static CAxes Axes(int plane);
    bool ValidPlane(int plane) const;
    double Value(const CAxes& a, int layer, int iu, int iv) const;
    // Calls f(iu, iv, value) for every cell of the plane at its layer, walking the nested arrays
    // in the order that suits the plane.
    template <class F> void ForEachCell(int plane, F&& f) const;
    int Layer(int plane) const;
    void PrepareColors();
    void AddVertex(const CAxes& a, double pu, double pv, double pn);
    void SetVertex(float* out, const CAxes& a, float pu, float pv, float pn) const
    {
        out[a.u] = pu;
        out[a.v] = pv;
        out[a.n] = pn;
    }
    void AddColor(int index) { m_Colors.push_back(m_Rgba[static_cast<size_t>(index)]); }
    void ClearBuffers();
    void Flush(unsigned mode);
    static void DrawArrays(unsigned mode, const float* vertices, const std::uint32_t* colors,
                           const float* normals, size_t count);
    void FlushLines(const CVector& colour, float width, double alpha);

    void DrawColorPlot(int plane);
    void DrawSmoothPlot(int plane, bool surface);
    void DrawContours(int plane, bool black);
    void DrawBorder(int plane);
    void DrawIntersections();
    void DrawProbeBox();
    double SurfaceHeight(double t, double halfExtent) const;
    double TransformedLevel(double value) const;

    const CVoxelGrid& m_Grid;
    const CDisplayState& m_State;
    CColorMapping m_Mapping;
    std::vector<std::uint32_t> m_Rgba; // table entries as RGBA bytes with the current alpha
    std::vector<float> m_Vertices;
    std::vector<float> m_Normals;
    std::vector<std::uint32_t> m_Colors;
    // The colour plot's arrays only grow: refilling a million cells must not clear them first.
    std::vector<float> m_PlaneVertices;
    std::vector<std::uint32_t> m_PlaneColors;
};
} // namespace volumira3d
