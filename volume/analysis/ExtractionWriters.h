// The text files of the data extraction: planes (2D matrix, indexed, preproc), profiles, octant
// and box means, COMSOL grids and rebinned FLUKA USRBIN text. Each writer returns the stream's
// state after writing, so that a full disk is reported as a failure.
#pragma once
#include "volume/analysis/GridAnalysis.h"

#include <ctime>
#include <iosfwd>
#include <string>

namespace volumira3d
{
class CVoxelGrid;

// "* Data extraction by ..." and the date and time lines, then an empty line.
void WriteCommentHeader(std::ostream& os, const std::tm& now, const char* prefix = "");

// The two in-plane axes and the fixed axis of a plane (XY, YZ, ZX); files name ZX "XZ".
struct CPlaneAxes
{
    int m_First, m_Second, m_Fixed;
    const char* m_Name;
};
CPlaneAxes AxesOf(int plane);

// The 2D matrix: one line per bin of the second in-plane axis, holding the values along the
// first in-plane axis (the "columns" of the header), tab-separated.
bool WritePlaneMatrix(std::ostream& os, const CVoxelGrid& grid, int plane, int layer,
                      const std::tm& now);
bool WritePlaneIndexed(std::ostream& os, const CVoxelGrid& grid, int plane, int layer,
                       const std::tm& now);
bool WritePlanePreproc(std::ostream& os, const CVoxelGrid& grid, int plane, int layer);
bool WriteProfileFile(std::ostream& os, const CVoxelGrid& grid, int source, int intersection,
                      int layer, const CProfileData& profile, const std::tm& now);
bool WriteAvgProfileFile(std::ostream& os, const CVoxelGrid& grid, const CAvgProfileRequest& r,
                         const CIndex3& corner, const CProfileData& profile, const std::tm& now);
bool WriteOctantFile(std::ostream& os, const CVoxelGrid& grid, const COctantSummary& summary,
                     const std::tm& now);
// False without writing when the box leaves the grid (boxFits then false).
bool WriteBoxFile(std::ostream& os, const CVoxelGrid& grid, const CIndex3& corner,
                  const CIndex3& minus, const CIndex3& plus, const std::tm& now, bool& boxFits);
bool WriteComsol(std::ostream& os, const CVoxelGrid& grid);
// The grid as FLUKA cartesian USRBIN text, readable by the cartesian loader.
bool WriteRebinnedUsrbin(std::ostream& os, const CVoxelGrid& grid, const std::tm& now);

// The local time now.
std::tm LocalNow();
} // namespace volumira3d
