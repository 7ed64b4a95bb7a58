#include "host/HostGeometry.h"

#include "geometry/GeometryFormats.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

bool CHostGeometry::Load(const std::string& path, std::vector<std::string>& errors,
                         std::vector<std::string>& notes)
{
    CGeometry read;
    if (!ReadGeometry(path, read, errors, notes)) return false;
    m_Model = std::move(read);
    m_Path = path;
    ++m_Revision;
    CVector min, max;
    const bool bounded = Bounds(min, max);
    const CVector centre = bounded ? (min + max) * 0.5 : CVector();
    for (int a = 0; a < 3; ++a)
    {
        m_Sections[a] = {true, (&centre.x)[a]};
        m_Traced[a] = false;
    }
    return true;
}

bool CHostGeometry::Bounds(CVector& min, CVector& max) const
{
    const CBox box = m_Model.InnerBounds();
    if (box.IsEmpty()) return false;
    min = box.Lo(), max = box.Hi();
    return true;
}

void CHostGeometry::SetSection(int axis, bool on, double position)
{
    CSection& s = m_Sections[axis];
    if (s.m_On == on && s.m_Position == position) return;
    s = {on, position};
    m_Traced[axis] = false;
}

const std::vector<CSectionSegment>& CHostGeometry::Outline(int axis) const
{
    if (m_Traced[axis]) return m_Outlines[axis];
    m_Outlines[axis].clear();
    m_Traced[axis] = true;
    ++m_Traces[axis];
    CVector min, max;
    if (!m_Sections[axis].m_On || !Bounds(min, max)) return m_Outlines[axis];
    CSectionPlane plane;
    plane.m_Axis = axis;
    plane.m_Position = m_Sections[axis].m_Position;
    for (int k = 0; k < 2; ++k)
    {
        const int a = (axis + 1 + k) % 3;
        // A margin of one cell so that the outermost boundary is inside the grid.
        const double lo = (&min.x)[a], hi = (&max.x)[a], margin = (hi - lo) / SectionCells;
        plane.m_Lo[k] = lo - margin, plane.m_Hi[k] = hi + margin;
    }
    m_Outlines[axis] = TraceSection(m_Model, plane, SectionCells);
    return m_Outlines[axis];
}

const CHostGeometry::CDrawable& CHostGeometry::Drawable(int axis) const
{
    const auto& segments = Outline(axis);
    CDrawable& d = m_Drawables[axis];
    if (d.m_Trace == m_Traces[axis]) return d;
    d.m_Trace = m_Traces[axis];
    d.m_Points.clear();
    d.m_Colors.clear();
    const auto byte = [](double v)
    { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    for (const CSectionSegment& s : segments)
    {
        const CVector c = SegmentColor(s);
        for (const CVector& p : {s.m_A, s.m_B})
        {
            d.m_Points.insert(d.m_Points.end(), {float(p.x), float(p.y), float(p.z)});
            d.m_Colors.insert(d.m_Colors.end(), {byte(c.x), byte(c.y), byte(c.z), 255});
        }
    }
    return d;
}

CVector CHostGeometry::MaterialColor(int material) const
{
    static const std::array<CVector, 10> palette = {{{0.9, 0.1, 0.1},
                                                     {0.1, 0.5, 1.0},
                                                     {0.1, 0.8, 0.2},
                                                     {1.0, 0.6, 0.0},
                                                     {0.7, 0.2, 0.9},
                                                     {0.0, 0.8, 0.8},
                                                     {0.9, 0.9, 0.1},
                                                     {1.0, 0.4, 0.7},
                                                     {0.6, 0.4, 0.2},
                                                     {0.5, 0.7, 0.3}}};
    if (material < 0) return {0.6, 0.6, 0.6};
    const std::string& name = m_Model.m_Materials[static_cast<size_t>(material)];
    if (name == "BLCKHOLE") return {0.1, 0.1, 0.1};
    if (CGeometry::IsVoid(name)) return {0.8, 0.8, 0.8};
    return palette[static_cast<size_t>(material) % palette.size()];
}

std::vector<std::pair<std::string, CVector>> CHostGeometry::MaterialLegend() const
{
    std::vector<std::pair<std::string, CVector>> legend;
    for (size_t m = 0; m < m_Model.m_Materials.size(); ++m)
        legend.emplace_back(m_Model.m_Materials[m], MaterialColor(static_cast<int>(m)));
    return legend;
}

CVector CHostGeometry::SegmentColor(const CSectionSegment& segment) const
{
    const auto material = [&](int region)
    { return region < 0 ? -1 : m_Model.m_Regions[static_cast<size_t>(region)].m_Material; };
    for (const int region : segment.m_Regions)
    {
        const int m = material(region);
        if (m < 0) continue;
        const std::string& name = m_Model.m_Materials[static_cast<size_t>(m)];
        if (name != "BLCKHOLE" && !CGeometry::IsVoid(name)) return MaterialColor(m);
    }
    return MaterialColor(material(segment.m_Regions[0]));
}

bool CHostGeometry::RegionAt(const CVector& p, std::string& region, std::string& material)
{
    const int r = m_Model.RegionAt(p);
    if (r < 0) return false;
    region = m_Model.DisplayName(r);
    material = m_Model.MaterialName(r);
    return true;
}

void CHostGeometry::BoundarySegments(int axis, double position, const double lo[2],
                                     const double hi[2], int cells, std::vector<CVector>& segments)
{
    if (axis < 0 || axis > 2 || cells < 2 || cells > 4096) return;
    CSectionPlane plane;
    plane.m_Axis = axis;
    plane.m_Position = position;
    for (int k = 0; k < 2; ++k)
        plane.m_Lo[k] = lo[k], plane.m_Hi[k] = hi[k];
    for (const CSectionSegment& s : TraceSection(m_Model, plane, cells))
    {
        segments.push_back(s.m_A);
        segments.push_back(s.m_B);
    }
}

void CHostGeometry::WriteVrml(std::ostream& os) const
{
    if (!Loaded()) return;
    char buf[128];
    for (int axis = 0; axis < 3; ++axis)
    {
        const auto& segments = Outline(axis);
        if (segments.empty()) continue;
        os << "Shape {\n  geometry IndexedLineSet {\n    coord Coordinate { point [\n";
        for (const CSectionSegment& s : segments)
            for (const CVector& p : {s.m_A, s.m_B})
            {
                std::snprintf(buf, sizeof buf, "      %.6g %.6g %.6g,\n", p.x, p.y, p.z);
                os << buf;
            }
        os << "    ] }\n    coordIndex [\n";
        for (size_t i = 0; i < segments.size(); ++i)
            os << "      " << 2 * i << ", " << 2 * i + 1 << ", -1,\n";
        os << "    ]\n    color Color { color [\n";
        for (const CSectionSegment& s : segments)
        {
            const CVector c = SegmentColor(s);
            std::snprintf(buf, sizeof buf, "      %.3g %.3g %.3g,\n", c.x, c.y, c.z);
            os << buf;
        }
        os << "    ] }\n    colorPerVertex FALSE\n  }\n}\n";
    }
}
