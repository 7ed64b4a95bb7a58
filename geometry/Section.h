// The region boundaries in a plane x, y or z = position, inside a rectangle of its two other
// axes: the plane is classified on a grid, and where two neighbouring grid points lie in
// different regions the boundary is found between them by bisection, so that a circle is round
// to a small part of a grid cell. Pieces of one boundary that meet end to end are merged where
// they stay within a hundredth of a cell of the traced line (a straight wall is one segment).
// Each segment knows the regions on its two sides.
#pragma once
#include "geometry/Geometry.h"

#include <vector>

struct CSectionPlane
{
    int m_Axis = 2; // the plane's normal: 0 x, 1 y, 2 z
    double m_Position = 0;
    // The rectangle, in the plane's axes (Axis + 1) % 3 and (Axis + 2) % 3.
    double m_Lo[2] = {-1, -1};
    double m_Hi[2] = {1, 1};
};

struct CSectionSegment
{
    CVector m_A, m_B;
    int m_Regions[2] = {-1, -1}; // -1: no region (undefined space)
};

// The boundaries on a grid of cells x cells (at least 2 each way); threads as the machine has.
std::vector<CSectionSegment> TraceSection(const CGeometry& geometry, const CSectionPlane& plane,
                                          int cells);
