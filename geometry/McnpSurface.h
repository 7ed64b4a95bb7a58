// The surfaces of MCNP and PHITS inputs as bodies. A surface's body is its negative side, the
// side a cell takes with "-n" (the surface itself counts as inside); a macrobody's is its inside,
// and each of its facets n.1, n.2, ... is a surface of its own whose negative side faces inward.
#pragma once
#include "geometry/Body.h"

#include <memory>
#include <string>
#include <vector>

// Whether the type (upper case: "PX", "C/Z", "RCC") names a surface or macrobody.
bool IsSurfaceType(const std::string& type);
bool IsMacrobody(const std::string& type);
// How many facets a macrobody with that many parameters has (0 for a plain surface and for the
// macrobodies without facets, SPH and ELL).
int FacetCount(const std::string& type, size_t params);
// The negative side of the surface (facet 0) or of one of its facets, written in a frame that
// toWorld places; null, with the problem in error ("S needs 4 parameters, not 3", "the radius -1
// must be positive").
std::unique_ptr<CBody> MakeSurface(const std::string& type, const std::vector<double>& params,
                                   int facet, const CTransform& toWorld, std::string& error);
