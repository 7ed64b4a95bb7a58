// Resampling of cylindrical FLUKA binnings onto the square x-y planes of the grid: one file value
// fills a ring (R-Z) or a sector of a ring (R-Phi-Z) of one z-plane.
#pragma once
#include <vector>

namespace volumira3d
{
class CVoxelGrid;

// Fills ring r of plane iz around the grid's centre corner with value: one quadrant is scanned
// and mirrored into the other three. Both radius bounds are inclusive, and rings are filled in
// increasing r, so a corner exactly on a boundary takes the outer ring's value. The statistics
// see the value once, at the first voxel written.
void FillRing(CVoxelGrid& grid, int r, int iz, double value);

// A sector of an R-Phi-Z plane: its angles (both bounds inclusive; the last sector ends at +pi)
// and the search window derived from the quadrant of its start angle (row 0 is in none).
struct CSectorWindow
{
    double m_Lo = 0, m_Hi = 0;
    int m_X0 = 0, m_X1 = -1, m_Y0 = 0, m_Y1 = -1;
};
// The first count of the nphi sectors of an n x n plane (count defaults to all).
std::vector<CSectorWindow> SectorWindows(int n, int nphi, int count = -1);

// Fills plane iz with the values of an R-Phi-Z plane, values[iphi * nr + ir] for ring off + ir,
// of which the first count were read; windows holds the sectors those values reach. The result is
// that of filling sector after sector, ring after ring, each value into the voxels of its window
// whose corner lies in its annulus and sector (bounds inclusive, so a later value wins on a
// boundary): each voxel keeps the last value that would write it. The x indices are shared among
// the OpenMP threads (dynamic schedule, chunks of one). The statistics see each value once, at the
// first voxel in scan order that its fill writes; the threads merge those under the grid's lock.
void FillSectorPlane(CVoxelGrid& grid, const std::vector<double>& values, long count, int nr,
                     int off, int nphi, int iz, const std::vector<CSectorWindow>& windows);

} // namespace volumira3d
