// A combinatorial geometry: bodies, regions made of them, and the materials assigned to the
// regions. A region is a union of zones, a zone an intersection of bodies taken inside (+) or
// outside (-) and of parenthesised sub-expressions. Classification is exact: a point is in a
// region when the region's expression holds there; each region's box prunes the search.
#pragma once
#include "geometry/Body.h"

#include <memory>
#include <string>
#include <vector>

// One node of a region expression: a body, or all (And) or any (Or) of its children; negated
// nodes hold where their content does not.
struct CExprNode
{
    enum class EKind
    {
        Body,
        And,
        Or
    };
    EKind m_Kind = EKind::And;
    bool m_Negated = false;
    int m_Body = -1;
    std::vector<int> m_Children;
};

struct CRegion
{
    std::string m_Name;
    int m_Root = -1;     // its expression
    int m_Material = -1; // index into the materials; -1: none assigned
    bool m_Lattice = false;
    CBox m_Box; // holds every point of the region (sides at infinity where unbounded)
    int m_Line = 0;
};

class CGeometry
{
public:
    // The index of the body or region of that name; -1 when there is none.
    int BodyIndex(const std::string& name) const;
    int RegionIndex(const std::string& name) const;
    // Adds a material name once; its index.
    int MaterialIndex(const std::string& name);

    bool InRegion(int region, const CVector& p) const;
    // The regions that hold p, at most max of them, into out; their count.
    int RegionsAt(const CVector& p, int* out, int max) const;
    // The first region holding p, or -1.
    int RegionAt(const CVector& p) const;
    // Whether p is in the outside world an input declares (MCNP's zero-importance cells): no
    // region, yet not undefined.
    bool IsOutside(const CVector& p) const;
    // Works out each region's box from its expression (after the expressions are in).
    void ComputeBoxes();
    // The box of the regions that are bounded (empty when none is).
    CBox Bounds() const;
    // The same without the black-hole regions, which in FLUKA wrap the problem far outside it;
    // Bounds() when nothing else is bounded.
    CBox InnerBounds() const;
    // "12 bodies, 5 regions, 3 materials".
    std::string Summary() const;
    // "VACUUM", the material's name, or "unassigned".
    std::string MaterialName(int region) const;
    // The material of an MCNP or PHITS cell without one.
    static constexpr const char* VoidCell = "void";
    // Whether a material is empty space: FLUKA's VACUUM, a void cell.
    static bool IsVoid(const std::string& material)
    {
        return material == "VACUUM" || material == VoidCell;
    }
    // The region as a window names it: "TARGET", "cell 10".
    std::string DisplayName(int region) const;

    std::vector<std::unique_ptr<CBody>> m_Bodies;
    std::vector<CExprNode> m_Nodes;
    std::vector<CRegion> m_Regions;
    std::vector<std::string> m_Materials;
    std::string m_RegionPrefix; // "cell " where the input calls its regions cells
    std::vector<int> m_Outside; // the expressions of the outside world

private:
    bool Holds(int node, const CVector& p) const;
    CBox NodeBox(int node) const;
};
