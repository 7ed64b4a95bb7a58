#include "volume/analysis/ExtractionWriters.h"

#include "volume/model/VoxelGrid.h"

#include <cstdio>
#include <ostream>

namespace volumira3d
{
namespace
{
const char* const AxisNames[3] = {"X", "Y", "Z"};

std::string Printf(const char* format, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

double Value(const CVoxelGrid& grid, const CIndex3& v)
{
    return grid.m_Voxels[v[0]][v[1]][v[2]];
}

int LimitedLayer(const CVoxelGrid& grid, int axis, int layer)
{
    return std::max(0, std::min(layer, grid.BinCount(axis) - 1));
}

void WritePlaneLines(std::ostream& os, const CVoxelGrid& grid, int plane, int layer)
{
    const CPlaneAxes p = AxesOf(plane);
    const int f = p.m_First, s = p.m_Second, x = p.m_Fixed;
    const double at = grid.Edge(x, layer);
    os << "Projection plane: " << p.m_Name << "\n";
    os << "Min extension: " << AxisNames[f] << ": " << grid.m_GridMin[f] << ", " << AxisNames[s]
       << ": " << grid.m_GridMin[s] << " at " << AxisNames[x] << ": " << at << "\n";
    os << "Max extension: " << AxisNames[f] << ": " << grid.Edge(f, grid.BinCount(f)) << ", "
       << AxisNames[s] << ": " << grid.Edge(s, grid.BinCount(s)) << " at " << AxisNames[x] << ": "
       << at << "\n";
    os << "Bin size: " << grid.m_BinWidth[f] << "," << grid.m_BinWidth[s] << "\n\n";
}

CIndex3 PlaneVoxel(const CPlaneAxes& p, int layer, int i, int j)
{
    CIndex3 v;
    v[p.m_Fixed] = layer;
    v[p.m_First] = i;
    v[p.m_Second] = j;
    return v;
}

void WriteRange(std::ostream& os, const CVoxelGrid& grid, const char* what, int axis)
{
    os << "The " << what << " resemble the values going from " << AxisNames[axis] << ": "
       << grid.m_GridMin[axis] << ", to " << AxisNames[axis] << ": "
       << grid.Edge(axis, grid.BinCount(axis)) << "\n";
}

void WriteBoxLabel(std::ostream& os, const CVoxelGrid& grid, const CIndex3& lo, const CIndex3& hi)
{
    os << "(X: " << grid.Edge(0, lo[0]) << " --> " << grid.Edge(0, hi[0])
       << ", Y: " << grid.Edge(1, lo[1]) << " --> " << grid.Edge(1, hi[1])
       << ", Z: " << grid.Edge(2, lo[2]) << " --> " << grid.Edge(2, hi[2]) << ")";
}

void WriteCoordinateLine(std::ostream& os, const CVoxelGrid& grid, int axis)
{
    const int n = grid.BinCount(axis);
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "      %s coordinate: from %11.4E to %11.4E cm, %5d bins ( %11.4E  cm wide)\n",
                  AxisNames[axis], grid.m_GridMin[axis], grid.Edge(axis, n), n,
                  grid.m_BinWidth[axis]);
    os << buf;
}
} // namespace

std::tm LocalNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    return now;
}

void WriteCommentHeader(std::ostream& os, const std::tm& now, const char* prefix)
{
    char date[64], time[64];
    std::snprintf(date, sizeof date, "%d.%d.%d", now.tm_mday, now.tm_mon + 1, now.tm_year + 1900);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
    os << "* Data extraction by Tessaron/Volumix3D\n";
    os << "* Created: " << date << "\n";
    os << "* At: " << time << "\n";
    os << prefix << "\n";
}

CPlaneAxes AxesOf(int plane)
{
    switch (plane)
    {
    case 1:
        return {1, 2, 0, "YZ"};
    case 2:
        return {0, 2, 1, "XZ"};
    default:
        return {0, 1, 2, "XY"};
    }
}

bool WritePlaneMatrix(std::ostream& os, const CVoxelGrid& grid, int plane, int layer,
                      const std::tm& now)
{
    const CPlaneAxes p = AxesOf(plane);
    layer = LimitedLayer(grid, p.m_Fixed, layer);
    WriteCommentHeader(os, now);
    WritePlaneLines(os, grid, plane, layer);
    WriteRange(os, grid, "columns", p.m_First);
    WriteRange(os, grid, "rows", p.m_Second);
    os << "\n";
    for (int j = 0; j < grid.BinCount(p.m_Second); ++j)
    {
        for (int i = 0; i < grid.BinCount(p.m_First); ++i)
            os << Value(grid, PlaneVoxel(p, layer, i, j)) << "\t";
        os << "\n";
    }
    return bool(os.flush());
}

bool WritePlaneIndexed(std::ostream& os, const CVoxelGrid& grid, int plane, int layer,
                       const std::tm& now)
{
    const CPlaneAxes p = AxesOf(plane);
    layer = LimitedLayer(grid, p.m_Fixed, layer);
    WriteCommentHeader(os, now);
    WritePlaneLines(os, grid, plane, layer);
    for (int i = 0; i < grid.BinCount(p.m_First); ++i)
        for (int j = 0; j < grid.BinCount(p.m_Second); ++j)
            os << grid.Edge(p.m_First, i) << "\t" << grid.Edge(p.m_Second, j) << "\t"
               << Value(grid, PlaneVoxel(p, layer, i, j)) << "\n";
    return bool(os.flush());
}

bool WritePlanePreproc(std::ostream& os, const CVoxelGrid& grid, int plane, int layer)
{
    const CPlaneAxes p = AxesOf(plane);
    layer = LimitedLayer(grid, p.m_Fixed, layer);
    os << "1\n";
    for (int axis : {p.m_First, p.m_Second})
        os << grid.BinCount(axis) << " " << grid.m_GridMin[axis] << " " << grid.m_BinWidth[axis]
           << "\n";
    for (int i = 0; i < grid.BinCount(p.m_First); ++i)
        for (int j = 0; j < grid.BinCount(p.m_Second); ++j)
            os << Value(grid, PlaneVoxel(p, layer, i, j)) << "\n";
    return bool(os.flush());
}

bool WriteProfileFile(std::ostream& os, const CVoxelGrid& grid, int source, int intersection,
                      int layer, const CProfileData& profile, const std::tm& now)
{
    const CPlaneAxes p = AxesOf(source);
    WriteCommentHeader(os, now);
    WritePlaneLines(os, grid, source, LimitedLayer(grid, p.m_Fixed, layer));
    os << "Data profile extracted along the intersection with " << AxesOf(intersection).m_Name
       << "\n";
    for (const CProfilePoint& point : profile)
        os << grid.Edge(p.m_First, point.m_Voxel[p.m_First]) << "\t"
           << grid.Edge(p.m_Second, point.m_Voxel[p.m_Second]) << "\t" << point.m_Value << "\n";
    return bool(os.flush());
}

bool WriteAvgProfileFile(std::ostream& os, const CVoxelGrid& grid, const CAvgProfileRequest& r,
                         const CIndex3& corner, const CProfileData& profile, const std::tm& now)
{
    const int axis = CommonAxis(r.m_Source, r.m_Intersection);
    if (axis < 0) return false;
    WriteCommentHeader(os, now, "* ");
    os << "* Projection plane: " << AxesOf(r.m_Source).m_Name << "\n";
    os << "* Data profile extracted along the intersection with " << AxesOf(r.m_Intersection).m_Name
       << "\n";
    auto direction = [&](const char* label, int dir, int minus, int plus)
    {
        os << "* " << label << " direction: the data was averaged along the " << AxisNames[dir]
           << " axis \n* from position " << grid.Edge(dir, corner[dir] - minus) << " to position "
           << grid.Edge(dir, corner[dir] + plus) << "\n";
    };
    direction("Horizontal U", r.m_UDir, r.m_UMinus, r.m_UPlus);
    direction("Vertical V", r.m_VDir, r.m_VMinus, r.m_VPlus);
    os << "* Bin size: " << grid.m_BinWidth[axis] << "\n";
    // Relative deviations in percent, as FLUKA's own summaries give their errors.
    os << "* " << AxisNames[axis] << " axis\tvalue\t rel. deviation %\n";
    for (const CProfilePoint& point : profile)
        os << point.m_Position << "\t" << point.m_Value << "\t" << 100 * point.m_RelError << "\n";
    return bool(os.flush());
}

bool WriteOctantFile(std::ostream& os, const CVoxelGrid& grid, const COctantSummary& summary,
                     const std::tm& now)
{
    WriteCommentHeader(os, now);
    for (int n = 0; n < 8; ++n)
    {
        const COctant& octant = summary.m_Octants[n];
        os << "Octant " << n + 1 << " ";
        WriteBoxLabel(os, grid, octant.m_Lo, octant.m_Hi);
        if (octant.m_Empty)
            os << " = empty\n";
        else
            os << " = " << octant.m_Mean << "\n";
    }
    os << "\nAverage of all octants: " << summary.m_Mean << " +- " << summary.m_SharePercent << "%";
    if (summary.m_Filled < 8) os << " (" << summary.m_Filled << " non-empty octants)";
    os << "\n";
    return bool(os.flush());
}

bool WriteBoxFile(std::ostream& os, const CVoxelGrid& grid, const CIndex3& corner,
                  const CIndex3& minus, const CIndex3& plus, const std::tm& now, bool& boxFits)
{
    CBoxMean mean;
    boxFits = GetAverageFromArbitraryVolume(grid, corner, minus, plus, mean);
    if (!boxFits) return false;
    WriteCommentHeader(os, now);
    long long n = 0;
    for (int ix = corner[0] - minus[0]; ix < corner[0] + plus[0]; ++ix)
        for (int iy = corner[1] - minus[1]; iy < corner[1] + plus[1]; ++iy)
            for (int iz = corner[2] - minus[2]; iz < corner[2] + plus[2]; ++iz)
            {
                os << "Voxel " << ++n << " ";
                WriteBoxLabel(os, grid, {ix, iy, iz}, {ix + 1, iy + 1, iz + 1});
                os << " = " << grid.m_Voxels[ix][iy][iz] << "\n";
            }
    os << "\nAverage of all voxels: " << mean.m_Average << " +- " << 100 * mean.m_RelError << "%\n";
    return bool(os.flush());
}

bool WriteComsol(std::ostream& os, const CVoxelGrid& grid)
{
    os << "% Grid\n";
    for (int axis = 0; axis < 3; ++axis)
    {
        for (int i = 0; i < grid.BinCount(axis); ++i)
            os << grid.Edge(axis, i) << " ";
        os << "\n";
    }
    os << "% Data\n";
    for (int iz = 0; iz < grid.m_NrZBins; ++iz)
        for (int iy = 0; iy < grid.m_NrYBins; ++iy)
        {
            for (int ix = 0; ix < grid.m_NrXBins; ++ix)
                os << grid.m_Voxels[ix][iy][iz] << " ";
            os << "\n";
        }
    return bool(os.flush());
}

bool WriteRebinnedUsrbin(std::ostream& os, const CVoxelGrid& grid, const std::tm& now)
{
    std::string title = " *****  USRBIN rebinned by Volumix3D.";
    title += std::string(111 - title.size() - 5, ' ') + "*****";
    char line[160];
    os << title << "\n";
    std::snprintf(line, sizeof line, "           DATE: %2d/ %2d/ %4d,  TIME: %2d:%02d:%02d\n",
                  now.tm_mon + 1, now.tm_mday, now.tm_year + 1900, now.tm_hour, now.tm_min,
                  now.tm_sec);
    os << line;
    os << "           Total number of particles followed " << grid.m_NrOfParticles
       << ", for a total weight of  " << Printf("%.4E", grid.m_TotalWeight) << "\n";
    os << "   Cartesian binning n.   1  \"----     \" , generalized particle n.  "
       << grid.m_GenParticle << "\n";
    for (int axis = 0; axis < 3; ++axis)
        WriteCoordinateLine(os, grid, axis);
    os << "      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n";
    long long n = 0;
    for (int iz = 0; iz < grid.m_NrZBins; ++iz)
        for (int iy = 0; iy < grid.m_NrYBins; ++iy)
            for (int ix = 0; ix < grid.m_NrXBins; ++ix, ++n)
            {
                if (n % 10 == 0) os << (n ? "\n" : "") << "     ";
                os << Printf(" %11.4E", grid.m_Voxels[ix][iy][iz]);
            }
    os << "\n";
    return bool(os.flush());
}
} // namespace volumira3d
