// Resampling of a cylindrical mesh onto the cartesian grid: every voxel takes the value of the
// bin that holds its centre; voxels outside the mesh stay 0, which is drawn as a hole and takes
// no part in the statistics. The cylinder may lie along any direction; the grid is aligned with
// the world axes and covers it.
#pragma once
#include "common/Vector.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace volumira3d
{
class CVoxelGrid;

// Bins in r (distance from the axis), phi (radians about the axis, counter-clockwise seen from
// the axis's tip, 0 along m_Reference) and t (along the axis from m_Origin). Edges ascend; a bin
// holds its lower edge, not its upper one. Values are indexed (it * nphi + iphi) * nr + ir.
struct CCylinderMesh
{
    CVector m_Origin;
    CVector m_Axis{0, 0, 1};      // unit length
    CVector m_Reference{1, 0, 0}; // unit length, perpendicular to the axis
    std::vector<double> m_R, m_Phi, m_T;

    // The bin (index into the values) that holds point p, or -1.
    long long BinAt(const CVector& p) const;
};

// The common width of bins that are all equal (to a thousandth of it), else 0.
double EvenWidth(const std::vector<double>& edges);
double NarrowestBin(const std::vector<double>& edges);
// Equal bins from lo to hi (count of them), the last edge exactly hi; only the first `keep` of
// them when keep is given (a point beyond lies in no bin).
std::vector<double> EvenEdges(double lo, double hi, long long count, long long keep = -1);

// The grid that covers a mesh: voxels of `resolution` across the axis; along an axis that is a
// world axis, the t bins themselves (uneven ones as the grid's edges of that axis).
struct CCylinderGridPlan
{
    std::int64_t m_Count[3] = {0, 0, 0};
    double m_Min[3] = {0, 0, 0};
    double m_Width[3] = {0, 0, 0};
    std::vector<double> m_Edges[3]; // empty: even voxels of m_Width
};
// False (error set) for a mesh whose edges do not ascend, a resolution that is not a positive
// width, or a grid of more than maxPerAxis voxels along an axis.
bool PlanCylinderGrid(const CCylinderMesh& mesh, double resolution, double maxPerAxis,
                      CCylinderGridPlan& plan, std::string& error);

// Fills every voxel of the allocated grid (counts, origin and widths as planned) from values, of
// which the first `count` were read (the bins after them give 0), and takes the statistics. The
// planes are filled on the OpenMP threads, a slab at a time; progress(percent) comes after each.
void ResampleCylinder(const CCylinderMesh& mesh, const std::vector<double>& values, long long count,
                      CVoxelGrid& grid, const std::function<void(int)>& progress = {});
} // namespace volumira3d
