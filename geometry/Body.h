// The bodies of a combinatorial geometry: each tells whether a point lies inside it (the surface
// counts as inside) and the box that holds it. A body may be placed by a transformation; it then
// classifies the point taken back into the frame it was written in.
#pragma once
#include "geometry/Box.h"
#include "geometry/Transform.h"

#include <memory>
#include <string>
#include <vector>

class CBody
{
public:
    virtual ~CBody() = default;

    bool Inside(const CVector& p) const { return InsideLocal(m_Placed ? m_ToLocal.Apply(p) : p); }
    // The box in the world (sides at infinity where the body is unbounded).
    const CBox& Box() const { return m_Box; }
    // The box of the points outside the body (a half-space's other half; else everywhere).
    const CBox& ComplementBox() const { return m_ComplementBox; }
    // The box of the body's points within a box: tighter than Box() for the bodies that are
    // unbounded only across (a cone cut by two planes).
    CBox Clip(const CBox& within) const;
    // Moves the body: its points r go to toWorld(r).
    void Place(const CTransform& toWorld);
    // The factories call it once the parameters are in.
    void Finish() { m_Box = LocalBox(), m_ComplementBox = LocalComplementBox(); }

    std::string m_Name;
    std::string m_Type;

protected:
    virtual bool InsideLocal(const CVector& p) const = 0;
    virtual CBox LocalBox() const = 0;
    virtual CBox LocalComplementBox() const { return CBox(); }
    virtual CBox ClipLocal(const CBox& within) const { return within.Intersect(LocalBox()); }

private:
    CTransform m_ToLocal, m_ToWorld;
    bool m_Placed = false;
    CBox m_Box, m_ComplementBox;
};

// The box that holds the image of a box under a map (infinite where an infinite side turns).
CBox MapBox(const CBox& box, const CTransform& map);

// Whether the type names a body (RPP, SPH, ..., QUA).
bool IsBodyType(const std::string& type);
// How many parameters a body of the type has (0 for no type).
size_t BodyParameterCount(const std::string& type);
// The body of that type with those parameters; null, with the problem in error ("RCC needs 7
// parameters, not 6", "the radius must be positive"), when they do not make one.
std::unique_ptr<CBody> MakeBody(const std::string& type, const std::vector<double>& params,
                                std::string& error);

// The convex body where every n.q <= d holds, within box (its local box; infinite sides allowed).
std::unique_ptr<CBody> MakeConvexBody(const std::vector<std::pair<CVector, double>>& planes,
                                      const CBox& box);

// The face planes n.q <= d of an ARB's 30 parameters (eight vertices, six faces whose digits name
// their vertices, a 0 face unused: its plane is left out and named in unused), oriented so that
// the vertices' centre is inside; empty, with the problem in error, when a face names no plane.
std::vector<std::pair<CVector, double>> ArbFacePlanes(const std::vector<double>& params,
                                                      std::vector<int>& unused, std::string& error);
