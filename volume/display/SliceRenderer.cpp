#include "volume/display/SliceRenderer.h"

#include "volume/analysis/DataProbe.h"
#include "volume/display/Transform.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace volumira3d
{
namespace
{
std::uint32_t PackRgba(const CVector& c, double alpha)
{
    auto byte = [](double f) { return std::uint32_t(std::lround(std::clamp(f, 0.0, 1.0) * 255)); };
    // Bytes in memory order r, g, b, a on a little-endian machine.
    return byte(c.x) | byte(c.y) << 8 | byte(c.z) << 16 | byte(alpha) << 24;
}

// A sphere of 3 slices and 2 stacks around the origin: unit directions of its 6 triangles.
const float* SphereDirections()
{
    static float dirs[6 * 3 * 3];
    static const bool made = []
    {
        const double pi = 3.14159265358979323846;
        float ring[3][3];
        for (int s = 0; s < 3; ++s)
        {
            ring[s][0] = float(-std::sin(2 * pi * s / 3));
            ring[s][1] = float(std::cos(2 * pi * s / 3));
            ring[s][2] = 0;
        }
        const float top[3] = {0, 0, 1}, bottom[3] = {0, 0, -1};
        float* p = dirs;
        auto put = [&p](const float* v) { p = std::copy(v, v + 3, p); };
        for (int s = 0; s < 3; ++s)
        {
            put(top);
            put(ring[s]);
            put(ring[(s + 1) % 3]);
            put(bottom);
            put(ring[(s + 1) % 3]);
            put(ring[s]);
        }
        return true;
    }();
    (void)made;
    return dirs;
}
} // namespace

CSliceRenderer::CSliceRenderer(const CVoxelGrid& grid, const CDisplayState& state)
    : m_Grid(grid), m_State(state), m_Mapping(0, 0, false, 0)
{
}

CSliceRenderer::CAxes CSliceRenderer::Axes(int plane)
{
    static constexpr CAxes axes[3] = {{0, 1, 2}, {1, 2, 0}, {0, 2, 1}};
    return axes[plane];
}

bool CSliceRenderer::ValidPlane(int plane) const
{
    if (plane < 0 || plane > 2)
    {
        ReportAssertion("Plane >= 0 && Plane <= 2");
        return false;
    }
    return m_Grid.HasGrid();
}

int CSliceRenderer::Layer(int plane) const
{
    return m_State.Layer(plane, m_Grid);
}

double CSliceRenderer::Value(const CAxes& a, int layer, int iu, int iv) const
{
    int idx[3];
    idx[a.u] = iu;
    idx[a.v] = iv;
    idx[a.n] = layer;
    return m_Grid.m_Voxels[static_cast<size_t>(idx[0])][static_cast<size_t>(idx[1])]
                          [static_cast<size_t>(idx[2])];
}

template <class F> void CSliceRenderer::ForEachCell(int plane, F&& f) const
{
    const VoxelArray& voxels = m_Grid.m_Voxels;
    const int layer = Layer(plane);
    const int nx = m_Grid.m_NrXBins, ny = m_Grid.m_NrYBins, nz = m_Grid.m_NrZBins;
    switch (plane)
    {
    case PlaneXY:
        for (int i = 0; i < nx; ++i)
        {
            const ConstVoxelPlane p = voxels[size_t(i)];
            for (int j = 0; j < ny; ++j)
                f(i, j, p[size_t(j)][size_t(layer)]);
        }
        break;
    case PlaneYZ:
        for (int j = 0; j < ny; ++j)
        {
            const ConstVoxelColumn c = voxels[size_t(layer)][size_t(j)];
            for (int k = 0; k < nz; ++k)
                f(j, k, c[size_t(k)]);
        }
        break;
    default:
        for (int i = 0; i < nx; ++i)
        {
            const ConstVoxelColumn c = voxels[size_t(i)][size_t(layer)];
            for (int k = 0; k < nz; ++k)
                f(i, k, c[size_t(k)]);
        }
        break;
    }
}

void CSliceRenderer::PrepareColors()
{
    m_Mapping = m_State.Mapping(m_Grid);
    const int n = m_State.m_LUT.Size();
    m_Rgba.resize(static_cast<size_t>(n));
    const double alpha = m_State.Alpha();
    for (int i = 0; i < n; ++i)
        m_Rgba[static_cast<size_t>(i)] =
            PackRgba(m_State.m_LUT.m_LUT[static_cast<size_t>(i)], alpha);
}

void CSliceRenderer::ClearBuffers()
{
    m_Vertices.clear();
    m_Colors.clear();
    m_Normals.clear();
}

void CSliceRenderer::AddVertex(const CAxes& a, double pu, double pv, double pn)
{
    float p[3];
    p[a.u] = float(pu);
    p[a.v] = float(pv);
    p[a.n] = float(pn);
    m_Vertices.insert(m_Vertices.end(), p, p + 3);
}

void CSliceRenderer::DrawArrays(unsigned mode, const float* vertices, const std::uint32_t* colors,
                                const float* normals, size_t count)
{
    if (count == 0) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    if (colors)
    {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors);
    }
    if (normals)
    {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals);
    }
    glDrawArrays(mode, 0, static_cast<GLsizei>(count));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void CSliceRenderer::Flush(unsigned mode)
{
    DrawArrays(mode, m_Vertices.data(), m_Colors.empty() ? nullptr : m_Colors.data(),
               m_Normals.empty() ? nullptr : m_Normals.data(), m_Vertices.size() / 3);
    ClearBuffers();
}

void CSliceRenderer::FlushLines(const CVector& colour, float width, double alpha)
{
    glColor4d(colour.x, colour.y, colour.z, alpha);
    glLineWidth(width);
    m_Colors.clear();
    Flush(GL_LINES);
    glLineWidth(1);
}

void CSliceRenderer::PushTransform() const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]);
    double m[16];
    RowMajor(m_State.m_Transform, m);
    glMultMatrixd(m);
}

void CSliceRenderer::PopTransform() const
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void CSliceRenderer::DrawScene()
{
    if (!m_Grid.m_DataLoaded || !m_Grid.HasGrid() || !m_State.AnyPlaneEnabled()) return;
    PrepareColors();
    // Planes are seen from both sides; another plug-in may have left face culling on.
    const bool culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    if (m_State.m_EnforceOverlay) glDisable(GL_DEPTH_TEST);
    PushTransform();
    // The cloud is one block for all planes: drawn once, not once per plane.
    if (m_State.IsPointCloud()) DrawCloud();
    for (int plane = 0; plane < 3; ++plane)
    {
        if (!m_State.m_PlaneEnabled[plane]) continue;
        if (!m_State.IsPointCloud()) DrawPlane(plane);
        DrawThresholds(plane);
        if (m_State.m_ShowPlaneBorders) DrawBorder(plane);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    DrawIntersections();
    DrawProbeBox();
    PopTransform();
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0, 0);
    glEnable(GL_DEPTH_TEST);
    glLineWidth(1);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    if (culling) glEnable(GL_CULL_FACE);
}

void CSliceRenderer::DrawOverlay()
{
    if (!m_Grid.m_DataLoaded || !m_Grid.HasGrid() || !m_State.AnyPlaneEnabled()) return;
    if (!m_State.m_OverlayThresholds || !m_State.m_EmphasizeThresholds) return;
    PrepareColors();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    PushTransform();
    for (int plane = 0; plane < 3; ++plane)
        if (m_State.m_PlaneEnabled[plane]) DrawThresholds(plane);
    PopTransform();
    glEnable(GL_DEPTH_TEST);
}

void CSliceRenderer::DrawPlane(int plane)
{
    if (!ValidPlane(plane)) return;
    if (m_Rgba.size() != size_t(m_State.m_LUT.Size())) PrepareColors();
    switch (m_State.m_DisplayMode)
    {
    case ColorPlot:
        return DrawColorPlot(plane);
    case SmoothColorPlot:
        return DrawSmoothPlot(plane, false);
    case ContourPlot:
        return DrawContours(plane, false);
    case SurfacePlot:
        return DrawSmoothPlot(plane, true);
    case BoundaryColorPlot:
        DrawColorPlot(plane);
        return DrawContours(plane, true);
    case PointCloud:
    case ShadedCloud:
        return DrawCloud();
    default:
    {
        static const std::string condition =
            "m_DisplayMode >= 0 && m_DisplayMode < " + std::to_string(DisplayModeCount);
        ReportAssertion(condition.c_str());
    }
    }
}

void CSliceRenderer::DrawColorPlot(int plane)
{
    const CAxes a = Axes(plane);
    const std::int32_t counts[3] = {m_Grid.m_NrXBins, m_Grid.m_NrYBins, m_Grid.m_NrZBins};
    const float pn = float(m_Grid.Offset(a.n, Layer(plane)));
    const size_t cells = size_t(counts[a.u]) * size_t(counts[a.v]);
    // Written in place: the largest plane has a million cells, pushed one by one they cost more
    // than drawing them.
    if (m_PlaneVertices.size() < cells * 12) m_PlaneVertices.resize(cells * 12);
    if (m_PlaneColors.size() < cells * 4) m_PlaneColors.resize(cells * 4);
    float* v = m_PlaneVertices.data();
    std::uint32_t* c = m_PlaneColors.data();
    ForEachCell(plane,
                [&](int iu, int iv, double value)
                {
                    const int index = m_Mapping.IndexForValue(value);
                    if (index < 0) return;
                    const float u0 = float(m_Grid.Offset(a.u, iu));
                    const float u1 = float(m_Grid.Offset(a.u, iu + 1));
                    const float v0 = float(m_Grid.Offset(a.v, iv));
                    const float v1 = float(m_Grid.Offset(a.v, iv + 1));
                    SetVertex(v, a, u0, v0, pn);
                    SetVertex(v + 3, a, u1, v0, pn);
                    SetVertex(v + 6, a, u1, v1, pn);
                    SetVertex(v + 9, a, u0, v1, pn);
                    v += 12;
                    std::fill(c, c + 4, m_Rgba[size_t(index)]);
                    c += 4;
                });
    DrawArrays(GL_QUADS, m_PlaneVertices.data(), m_PlaneColors.data(), nullptr,
               size_t(v - m_PlaneVertices.data()) / 3);
}

double CSliceRenderer::SurfaceHeight(double t, double halfExtent) const
{
    const double span = std::abs(m_Mapping.Hi() - m_Mapping.Lo());
    const double lifted =
        span > 0 ? std::min(halfExtent, std::abs(t - m_Mapping.Lo()) / span * halfExtent) : 0.0;
    return m_State.m_ExtrusionScale * lifted + m_State.m_ExtrusionOffset;
}

void CSliceRenderer::DrawSmoothPlot(int plane, bool surface)
{
    const CAxes a = Axes(plane);
    const std::int32_t counts[3] = {m_Grid.m_NrXBins, m_Grid.m_NrYBins, m_Grid.m_NrZBins};
    const int nu = counts[a.u], nv = counts[a.v], layer = Layer(plane);
    const double pn = m_Grid.Offset(a.n, layer);
    const double halfExtent = 0.5 * std::min(m_Grid.Offset(a.u, nu), m_Grid.Offset(a.v, nv));
    ClearBuffers();
    for (int iu = 0; iu < nu; ++iu)
        for (int iv = 0; iv < nv; ++iv)
        {
            double own = 0;
            if (!m_Mapping.Transform(Value(a, layer, iu, iv), own) || !m_Mapping.InRange(own))
                continue;
            const int cu[4] = {iu, std::min(iu + 1, nu - 1), std::min(iu + 1, nu - 1), iu};
            const int cv[4] = {iv, iv, std::min(iv + 1, nv - 1), std::min(iv + 1, nv - 1)};
            for (int c = 0; c < 4; ++c)
            {
                double t = own;
                // A neighbour that is never drawn (0, not a number) lends the cell's own value.
                if (!m_Mapping.Transform(Value(a, layer, cu[c], cv[c]), t)) t = own;
                const double lift = surface ? SurfaceHeight(t, halfExtent) : 0.0;
                const int pu = iu + (c == 1 || c == 2), pv = iv + (c >= 2);
                AddVertex(a, m_Grid.Offset(a.u, pu), m_Grid.Offset(a.v, pv), pn + lift);
                AddColor(m_Mapping.IndexOfTransformed(t));
            }
        }
    Flush(GL_QUADS);
}

double CSliceRenderer::TransformedLevel(double value) const
{
    if (!m_Mapping.IsLogarithmic() || value == 0) return value;
    return value > 0 ? std::log10(value) : std::nan("");
}

void CSliceRenderer::DrawContours(int plane, bool black)
{
    const std::vector<double> levels = m_State.LegendValues(m_Grid);
    const double lower = TransformedLevel(m_Grid.m_RangeMin);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    for (size_t i = 0; i < levels.size(); ++i)
    {
        CVector colour;
        if (!black && !m_State.m_LUT.FindPivot(static_cast<int>(i), colour)) continue;
        DrawBoundaryLines(plane, lower, TransformedLevel(levels[i]), colour, black ? 1.0f : 3.0f);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void CSliceRenderer::DrawThresholds(int plane)
{
    if (!m_State.m_EmphasizeThresholds) return;
    const double lower = TransformedLevel(m_Grid.m_RangeMin);
    for (int i = 0; i < CDisplayState::ThresholdCount; ++i)
    {
        const CThreshold& t = m_State.m_Thresholds[i];
        if (t.m_Enabled)
            DrawBoundaryLines(plane, lower, TransformedLevel(t.m_Value),
                              m_State.m_ThresholdColors[i], 3.0f);
    }
}

void CSliceRenderer::DrawBoundaryLines(int plane, double lower, double level, const CVector& colour,
                                       float width)
{
    if (!ValidPlane(plane) || std::isnan(lower) || std::isnan(level)) return;
    const CAxes a = Axes(plane);
    const std::int32_t counts[3] = {m_Grid.m_NrXBins, m_Grid.m_NrYBins, m_Grid.m_NrZBins};
    const int nu = counts[a.u], nv = counts[a.v], layer = Layer(plane);
    const double pn = m_Grid.Offset(a.n, layer);
    const auto u = [&](int i) { return m_Grid.Offset(a.u, i); };
    const auto v = [&](int i) { return m_Grid.Offset(a.v, i); };
    const bool log = m_Mapping.IsLogarithmic();
    // Zero is tested before the logarithm: a value of 1 (logarithm 0) still takes part.
    auto usable = [&](double v, double& t)
    {
        if (v == 0) return false;
        t = log ? std::log10(v) : v;
        return !std::isnan(t) && t >= lower;
    };
    auto inBand = [&](double t) { return t >= lower && t < level; };
    auto crosses = [&](double p, double q)
    { return (inBand(p) && q > level) || (inBand(q) && p > level); };
    ClearBuffers();
    for (int iu = 0; iu < nu; ++iu)
        for (int iv = 0; iv < nv; ++iv)
        {
            double ta = 0, tb = 0, tc = 0;
            if (!usable(Value(a, layer, iu, iv), ta)) continue;
            if (iu + 1 < nu && usable(Value(a, layer, iu + 1, iv), tb) && crosses(ta, tb))
            {
                AddVertex(a, u(iu + 1), v(iv), pn);
                AddVertex(a, u(iu + 1), v(iv + 1), pn);
            }
            if (iv + 1 < nv && usable(Value(a, layer, iu, iv + 1), tc) && crosses(ta, tc))
            {
                AddVertex(a, u(iu), v(iv + 1), pn);
                AddVertex(a, u(iu + 1), v(iv + 1), pn);
            }
        }
    FlushLines(colour, width, 1.0);
}

void CSliceRenderer::DrawBorder(int plane)
{
    const CAxes a = Axes(plane);
    const std::int32_t counts[3] = {m_Grid.m_NrXBins, m_Grid.m_NrYBins, m_Grid.m_NrZBins};
    const double eu = m_Grid.Offset(a.u, counts[a.u]);
    const double ev = m_Grid.Offset(a.v, counts[a.v]);
    const double pn = m_Grid.Offset(a.n, Layer(plane));
    ClearBuffers();
    AddVertex(a, 0, 0, pn);
    AddVertex(a, eu, 0, pn);
    AddVertex(a, eu, ev, pn);
    AddVertex(a, 0, ev, pn);
    glColor3d(0, 0, 1);
    glLineWidth(2);
    Flush(GL_LINE_LOOP);
    glLineWidth(1);
}

void CSliceRenderer::DrawIntersections()
{
    const double ext[3] = {m_Grid.Offset(0, m_Grid.m_NrXBins), m_Grid.Offset(1, m_Grid.m_NrYBins),
                           m_Grid.Offset(2, m_Grid.m_NrZBins)};
    // The position along each axis of the plane normal to it: x of YZ, y of ZX, z of XY.
    const double at[3] = {m_Grid.Offset(0, Layer(PlaneYZ)), m_Grid.Offset(1, Layer(PlaneZX)),
                          m_Grid.Offset(2, Layer(PlaneXY))};
    const bool on[3] = {m_State.m_PlaneEnabled[PlaneYZ], m_State.m_PlaneEnabled[PlaneZX],
                        m_State.m_PlaneEnabled[PlaneXY]};
    ClearBuffers();
    for (int axis = 0; axis < 3; ++axis)
    {
        // The line along this axis lies where the planes normal to the other two axes cross.
        const int b = (axis + 1) % 3, c = (axis + 2) % 3;
        if (!on[b] || !on[c]) continue;
        float p[3];
        p[b] = float(at[b]);
        p[c] = float(at[c]);
        p[axis] = 0;
        m_Vertices.insert(m_Vertices.end(), p, p + 3);
        p[axis] = float(ext[axis]);
        m_Vertices.insert(m_Vertices.end(), p, p + 3);
    }
    FlushLines(CVector(0, 0, 0), 2.0f, 1.0);
}

// The grey frame around the probed voxels: the twelve edges of their index box.
void CSliceRenderer::DrawProbeBox()
{
    CIndex3 lo, hi;
    if (!ProbedBox(m_Grid, m_State, lo, hi)) return;
    float from[3], to[3];
    for (int a = 0; a < 3; ++a)
    {
        from[a] = float(m_Grid.Offset(a, lo[a]));
        to[a] = float(m_Grid.Offset(a, hi[a] + 1));
    }
    ClearBuffers();
    for (int axis = 0; axis < 3; ++axis)
    {
        const int b = (axis + 1) % 3, c = (axis + 2) % 3;
        for (int corner = 0; corner < 4; ++corner)
        {
            float p[3];
            p[b] = corner & 1 ? to[b] : from[b];
            p[c] = corner & 2 ? to[c] : from[c];
            p[axis] = from[axis];
            m_Vertices.insert(m_Vertices.end(), p, p + 3);
            p[axis] = to[axis];
            m_Vertices.insert(m_Vertices.end(), p, p + 3);
        }
    }
    FlushLines(CVector(0.5, 0.5, 0.5), 3.0f, 1.0);
}

void CSliceRenderer::DrawCloud()
{
    if (!m_Grid.HasGrid()) return;
    if (m_Rgba.size() != size_t(m_State.m_LUT.Size())) PrepareColors();
    const double d[3] = {m_Grid.m_BinWidth[0], m_Grid.m_BinWidth[1], m_Grid.m_BinWidth[2]};
    const double r = 0.2 * std::min({d[0], d[1], d[2]});
    // The crossing layers themselves belong to the block, so the sliders at their ends show it all.
    const int last[3] = {Layer(PlaneYZ), Layer(PlaneZX), Layer(PlaneXY)};
    const bool shaded = m_State.m_DisplayMode == ShadedCloud;
    const float* dirs = SphereDirections();
    ClearBuffers();
    for (int i = 0; i <= last[0]; ++i)
        for (int j = 0; j <= last[1]; ++j)
            for (int k = 0; k <= last[2]; ++k)
            {
                const int index =
                    m_Mapping.IndexForValue(m_Grid.m_Voxels[size_t(i)][size_t(j)][size_t(k)]);
                if (index < 0) continue;
                const double c[3] = {m_Grid.Offset(0, i + 0.5), m_Grid.Offset(1, j + 0.5),
                                     m_Grid.Offset(2, k + 0.5)};
                if (!shaded)
                {
                    m_Vertices.insert(m_Vertices.end(), {float(c[0]), float(c[1]), float(c[2])});
                    AddColor(index);
                    continue;
                }
                for (int v = 0; v < 18; ++v)
                {
                    const float* n = dirs + v * 3;
                    m_Normals.insert(m_Normals.end(), n, n + 3);
                    m_Vertices.insert(
                        m_Vertices.end(),
                        {float(c[0] + r * n[0]), float(c[1] + r * n[1]), float(c[2] + r * n[2])});
                    AddColor(index);
                }
            }
    if (shaded) return Flush(GL_TRIANGLES);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(float(std::max(r, 1.0)));
    Flush(GL_POINTS);
    glPointSize(1);
    glDisable(GL_POINT_SMOOTH);
}
} // namespace volumira3d
