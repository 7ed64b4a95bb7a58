// Analysis of the loaded grid around the point where the three slice planes cross: box means,
// probing, line profiles, averaged profiles, octant means and rebinning. Works on the grid and
// the display state only, so that the dialogs just wire controls to it.
#pragma once
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <string>
#include <vector>

namespace volumira3d
{
class CDisplayState;

// The crossing voxel corner (x, y, z) from the sliders of the YZ, ZX and XY planes.
CIndex3 CrossingPoint(const CDisplayState& state);
// The axis two different planes share (the profile axis), -1 when the planes are equal.
int CommonAxis(int plane1, int plane2);

struct CBoxMean
{
    double m_Average = 0;
    double m_RelError = 0; // population standard deviation relative to the mean; 0 for a mean 0
    long long m_Count = 0;
};

// Mean over indices corner - minus .. corner + plus - 1 per axis, zeros included. False when the
// box leaves the grid or is empty along an axis (both counts 0 would give 0 / 0).
bool GetAverageFromArbitraryVolume(const CVoxelGrid& grid, const CIndex3& corner,
                                   const CIndex3& minus, const CIndex3& plus, CBoxMean& mean);
// Mean and relative deviation of an explicit index box [lo, hi) per axis; false when empty.
bool BoxMean(const CVoxelGrid& grid, const CIndex3& lo, const CIndex3& hi, CBoxMean& mean);

// One probing result: the value (or mean), the deviation in percent and the probed index box
// [m_Lo, m_Hi] (inclusive) for the grey frame.
struct CProbeResult
{
    double m_Value = 0;
    double m_DeviationPercent = 0;
    CIndex3 m_Lo{0, 0, 0};
    CIndex3 m_Hi{0, 0, 0};
};
enum EProbeCell : int
{
    ProbeAverage8 = 8,
    ProbeArbitrary = 9
};
// Cells 0..7 and "Average 8"; indices limited to the grid. False without a grid.
bool ProbeCell(const CVoxelGrid& grid, const CIndex3& corner, int cell, CProbeResult& result);
// The voxels of the arbitrary averaging box around corner (minus and plus voxels on either side,
// neither below 0), lo to hi inclusive; false when the box leaves the grid or is empty along an
// axis.
bool ArbitraryBoxVoxels(const CVoxelGrid& grid, const CIndex3& corner, const CIndex3& minus,
                        const CIndex3& plus, CIndex3& lo, CIndex3& hi);
// "Arbitrary avg.": false where ArbitraryBoxVoxels is.
bool ProbeBox(const CVoxelGrid& grid, const CIndex3& corner, const CIndex3& minus,
              const CIndex3& plus, CProbeResult& result);

struct CProfilePoint
{
    double m_Position = 0; // lower bin edge along the profile axis
    double m_Value = 0;
    double m_RelError = 0;
    CIndex3 m_Voxel{0, 0, 0}; // the voxel (plain profile) or the box corner (averaged)
};
using CProfileData = std::vector<CProfilePoint>;

// Values along the line where the two planes cross; empty when the planes are equal.
CProfileData ExtractProfile(const CVoxelGrid& grid, const CDisplayState& state, int source,
                            int intersection);

struct CAvgProfileRequest
{
    int m_Source = 0, m_Intersection = 1;
    int m_UDir = 0, m_UMinus = 1, m_UPlus = 1;
    int m_VDir = 2, m_VMinus = 1, m_VPlus = 1;
    int m_BinsAlong = 1;
};
// Boxes of m_BinsAlong bins stepped along the profile axis; the display state is not changed.
CProfileData ExtractAveragedProfile(const CVoxelGrid& grid, const CDisplayState& state,
                                    const CAvgProfileRequest& request);

struct CCheckResult
{
    std::string m_Text; // empty: accepted
    unsigned m_Icon = 0;
    bool Ok() const { return m_Text.empty(); }
};
// The checks of the averaged-profile dialog in their order; the first failure is returned.
CCheckResult CheckAvgProfile(const CVoxelGrid& grid, const CDisplayState& state,
                             const CAvgProfileRequest& request);
// The two checks of the plain profile dialog.
CCheckResult CheckProfile(const CDisplayState& state, int source, int intersection);

// When any value is at or below 1e-15 all are multiplied by 1e15; true when scaled (the y-axis
// title then gets " x 1E-15").
bool ScaleTinyValues(std::vector<double>& values);
// The x-axis title of a plane pair.
std::string ProfileAxisTitle(int source, int intersection);

struct COctant
{
    CIndex3 m_Lo{0, 0, 0}, m_Hi{0, 0, 0}; // index box [lo, hi)
    bool m_Empty = true;
    double m_Mean = 0;
};
struct COctantSummary
{
    std::array<COctant, 8> m_Octants;
    int m_Filled = 0;
    double m_Mean = 0;         // mean of the non-empty octants' means
    double m_SharePercent = 0; // population deviation of those means over m_Mean, 0 when it is 0
};
// Octant n has bit 0 for the upper x half, bit 1 for upper y, bit 2 for upper z.
COctantSummary OctantMeans(const CVoxelGrid& grid, const CIndex3& corner);

// "Locate max. value" / "Locate min. value": moves the three sliders to the voxel that held the
// extreme when the data were loaded and switches all planes on. False (nothing changed) without
// a grid or when the stored indices lie outside it.
bool LocateExtreme(const CVoxelGrid& grid, CDisplayState& state, bool maximum);

// "" when every old count divides by the new one, else the message of the first axis that does
// not.
std::string CheckRebinning(const CIndex3& oldCounts, const CIndex3& newCounts);
// Fills out with block means of grid; false (out untouched) when the counts do not divide.
bool Rebin(const CVoxelGrid& grid, const CIndex3& newCounts, CVoxelGrid& out, std::string& error);
} // namespace volumira3d
