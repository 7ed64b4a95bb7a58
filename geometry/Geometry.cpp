#include "geometry/Geometry.h"

int CGeometry::BodyIndex(const std::string& name) const
{
    for (size_t i = 0; i < m_Bodies.size(); ++i)
        if (m_Bodies[i]->m_Name == name) return static_cast<int>(i);
    return -1;
}

int CGeometry::RegionIndex(const std::string& name) const
{
    for (size_t i = 0; i < m_Regions.size(); ++i)
        if (m_Regions[i].m_Name == name) return static_cast<int>(i);
    return -1;
}

int CGeometry::MaterialIndex(const std::string& name)
{
    for (size_t i = 0; i < m_Materials.size(); ++i)
        if (m_Materials[i] == name) return static_cast<int>(i);
    m_Materials.push_back(name);
    return static_cast<int>(m_Materials.size()) - 1;
}

bool CGeometry::Holds(int index, const CVector& p) const
{
    const CExprNode& node = m_Nodes[static_cast<size_t>(index)];
    bool holds = false;
    switch (node.m_Kind)
    {
    case CExprNode::EKind::Body:
        holds = m_Bodies[static_cast<size_t>(node.m_Body)]->Inside(p);
        break;
    case CExprNode::EKind::And:
        holds = true;
        for (const int child : node.m_Children)
            if (!Holds(child, p))
            {
                holds = false;
                break;
            }
        break;
    case CExprNode::EKind::Or:
        for (const int child : node.m_Children)
            if (Holds(child, p))
            {
                holds = true;
                break;
            }
        break;
    }
    return holds != node.m_Negated;
}

bool CGeometry::InRegion(int region, const CVector& p) const
{
    const CRegion& r = m_Regions[static_cast<size_t>(region)];
    return r.m_Box.Contains(p) && Holds(r.m_Root, p);
}

int CGeometry::RegionsAt(const CVector& p, int* out, int max) const
{
    int count = 0;
    for (size_t i = 0; i < m_Regions.size() && count < max; ++i)
        if (InRegion(static_cast<int>(i), p)) out[count++] = static_cast<int>(i);
    return count;
}

int CGeometry::RegionAt(const CVector& p) const
{
    int region = -1;
    return RegionsAt(p, &region, 1) ? region : -1;
}

bool CGeometry::IsOutside(const CVector& p) const
{
    for (const int root : m_Outside)
        if (Holds(root, p)) return true;
    return false;
}

// A negated node may hold anywhere but a negated body only outside it; an And holds only inside
// each child's box, and its bodies may clip that box further.
CBox CGeometry::NodeBox(int index) const
{
    const CExprNode& node = m_Nodes[static_cast<size_t>(index)];
    const auto body = [&](const CExprNode& n) -> const CBody&
    { return *m_Bodies[static_cast<size_t>(n.m_Body)]; };
    if (node.m_Kind == CExprNode::EKind::Body)
        return node.m_Negated ? body(node).ComplementBox() : body(node).Box();
    if (node.m_Negated) return CBox();
    if (node.m_Kind == CExprNode::EKind::Or)
    {
        CBox box = CBox::Empty();
        for (const int child : node.m_Children)
            box = box.Union(NodeBox(child));
        return box;
    }
    CBox box;
    for (const int child : node.m_Children)
        box = box.Intersect(NodeBox(child));
    for (const int child : node.m_Children)
        if (const CExprNode& c = m_Nodes[static_cast<size_t>(child)];
            c.m_Kind == CExprNode::EKind::Body && !c.m_Negated)
            box = body(c).Clip(box);
    return box;
}

void CGeometry::ComputeBoxes()
{
    for (CRegion& r : m_Regions)
        r.m_Box = NodeBox(r.m_Root);
}

CBox CGeometry::Bounds() const
{
    CBox box = CBox::Empty();
    for (const CRegion& r : m_Regions)
        if (r.m_Box.IsFinite() && !r.m_Box.IsEmpty()) box = box.Union(r.m_Box);
    return box;
}

CBox CGeometry::InnerBounds() const
{
    CBox box = CBox::Empty();
    for (size_t i = 0; i < m_Regions.size(); ++i)
        if (m_Regions[i].m_Box.IsFinite() && !m_Regions[i].m_Box.IsEmpty() &&
            MaterialName(static_cast<int>(i)) != "BLCKHOLE")
            box = box.Union(m_Regions[i].m_Box);
    return box.IsEmpty() ? Bounds() : box;
}

std::string CGeometry::Summary() const
{
    return std::to_string(m_Bodies.size()) + " bodies, " + std::to_string(m_Regions.size()) +
           " regions, " + std::to_string(m_Materials.size()) + " materials";
}

std::string CGeometry::MaterialName(int region) const
{
    const int m = m_Regions[static_cast<size_t>(region)].m_Material;
    return m < 0 ? "unassigned" : m_Materials[static_cast<size_t>(m)];
}

std::string CGeometry::DisplayName(int region) const
{
    return m_RegionPrefix + m_Regions[static_cast<size_t>(region)].m_Name;
}
