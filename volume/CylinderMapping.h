// Resampling of cylindrical FLUKA binnings onto the square x-y planes of the grid: one file value
// fills a ring (R-Z) or a sector of a ring (R-Phi-Z) of one z-plane.
#pragma once

namespace volumira3d
{
class CVoxelGrid;

// Fills ring r of plane iz around the grid's centre corner with value: one quadrant is scanned
// and mirrored into the other three. Both radius bounds are inclusive, and rings are filled in
// increasing r, so a corner exactly on a boundary takes the outer ring's value. The statistics
// see the value once, at the first voxel written.
void FillRing(CVoxelGrid& grid, int r, int iz, double value);

// Fills the part of ring r between the angles of sector iphi (of nphi sectors covering -pi .. pi)
// of plane iz. The x indices of the search window are shared among the OpenMP threads; the
// statistics see the value once, at the first voxel in scan order, merged under the grid's lock.
void FillSector(CVoxelGrid& grid, int r, int iphi, int nphi, int iz, double value);

// Rmax / DR (or Rmin / DR) truncated, allowing for the rounding of the widths FLUKA prints with
// five digits: a ratio a hair (0.01 %, at most half a bin) below a whole number counts as that
// number, so that 32.9997 bins are 33.
long long TruncateBinRatio(double length, double width);
} // namespace volumira3d
