// Monte Carlo estimates over a geometry: a region's volume from random points in its box, and a
// check of a box for points in no region and points in two.
#pragma once
#include "geometry/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

struct CVolumeEstimate
{
    double m_Volume = 0;
    double m_Error = 0; // one standard deviation
    std::int64_t m_Points = 0;
};

// False when the region is unbounded (its box reaches infinity) or points is not positive.
bool EstimateRegionVolume(const CGeometry& geometry, int region, std::int64_t points,
                          std::uint64_t seed, CVolumeEstimate& estimate);

struct CGeometryProblem
{
    int m_Regions[2] = {-1, -1}; // both -1: undefined space; else the two regions that overlap
    std::int64_t m_Points = 0;
    CVector m_Example;
};

// Samples the centres of a grid of cells x cells x cells over the box (bounded: else nothing is
// sampled): undefined points first, then each overlapping pair of regions, each with its count
// and one example.
// Why a geometry cannot be checked: none of its regions is bounded.
inline constexpr const char* NoExtentMessage =
    "the geometry has no bounded region: there is no extent to sample";

// How the host says what it found (batch and window alike): "12.5 cm3 +- 0.3 (10000 points)",
// "undefined at 40 points, e.g. (1, 2, 3)" or "overlap A B at ...", and the all-clear.
std::string VolumeText(const CVolumeEstimate& estimate);
std::string ProblemText(const CGeometry& geometry, const CGeometryProblem& problem);
std::string NoProblemText(int cells);

std::vector<CGeometryProblem> CheckGeometry(const CGeometry& geometry, const CBox& box, int cells);
