// The geometry the host shows under the plug-ins' data: the model read from an input, its three
// section planes (x, y, z) and their outlines, traced again only when a plane moves.
#pragma once
#include "frame/HostApi.h"
#include "geometry/Geometry.h"
#include "geometry/Section.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

class CHostGeometry : public CHostGeometryView
{
public:
    struct CSection
    {
        bool m_On = false;
        double m_Position = 0;
    };

    // Reads the file; on failure the geometry shown stays as it was. Errors or notes for the log.
    bool Load(const std::string& path, std::vector<std::string>& errors,
              std::vector<std::string>& notes);
    bool Loaded() const { return !m_Model.m_Regions.empty(); }
    const CGeometry& Model() const { return m_Model; }
    const std::string& Path() const { return m_Path; }
    // The box of the bounded regions other than black holes; false when there is none.
    bool Bounds(CVector& min, CVector& max) const;

    const CSection& Section(int axis) const { return m_Sections[axis]; }
    void SetSection(int axis, bool on, double position);
    // The outline of a section plane (empty when it is off).
    const std::vector<CSectionSegment>& Outline(int axis) const;
    // An outline ready to draw as GL lines: three floats and four colour bytes per point.
    struct CDrawable
    {
        std::vector<float> m_Points;
        std::vector<unsigned char> m_Colors;
        int m_Trace = -1; // the tracing it was made from
    };
    const CDrawable& Drawable(int axis) const;
    // The outlines of the sections that are on, as VRML97 line sets in their colours.
    void WriteVrml(std::ostream& os) const;
    // The colour a boundary segment is drawn in: the material of the side that has one (other
    // than vacuum and black hole), the first side's otherwise.
    CVector SegmentColor(const CSectionSegment& segment) const;
    CVector MaterialColor(int material) const;
    // The materials that regions have, with their colours, in the order they were assigned.
    std::vector<std::pair<std::string, CVector>> MaterialLegend() const;

    // CHostGeometryView
    int Revision() override { return m_Revision; }
    bool RegionAt(const CVector& p, std::string& region, std::string& material) override;
    void BoundarySegments(int axis, double position, const double lo[2], const double hi[2],
                          int cells, std::vector<CVector>& segments) override;

    // Grid cells across a section: fine enough that a circle is round at the view's size.
    static constexpr int SectionCells = 400;

private:
    CGeometry m_Model;
    std::string m_Path;
    CSection m_Sections[3];
    // Traced when first asked for after a change.
    mutable std::vector<CSectionSegment> m_Outlines[3];
    mutable CDrawable m_Drawables[3];
    mutable bool m_Traced[3] = {false, false, false};
    mutable int m_Traces[3] = {0, 0, 0}; // tracings made of each section
    int m_Revision = 0;
};
