#include "volume/analysis/GridAnalysis.h"

#include "platform/Win.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
const char* const AxisLetters[3] = {"X", "Y", "Z"};

int Clamp(int index, int count)
{
    return std::clamp(index, 0, std::max(count - 1, 0));
}

double Relative(double deviation, double mean)
{
    return mean == 0 ? 0 : deviation / mean;
}

const char* const ExceedsU =
    "Sorry, but the selected averaging dimensions in U exceed the data dimensions! Please check "
    "the number of bins that should be used for calculating the average profile.";
const char* const ExceedsV =
    "Sorry, but the selected averaging dimensions in V exceed the data dimensions! Please check "
    "the number of bins that should be used for calculating the average profile.";

bool FitsSlider(int position, int count, int minus, int plus)
{
    const int lo = 0;
    const int hi = std::max(count - 1, lo + 1);
    return position - minus >= lo && position + plus <= hi;
}

// The arbitrary averaging box around corner, hi exclusive.
void ArbitraryBox(const CIndex3& corner, const CIndex3& minus, const CIndex3& plus, CIndex3& lo,
                  CIndex3& hi)
{
    for (int a = 0; a < 3; ++a)
    {
        lo[a] = corner[a] - minus[a];
        hi[a] = corner[a] + plus[a];
    }
}

// The box lo..hi (hi exclusive) lies in the grid and holds a voxel along every axis.
bool BoxInGrid(const CVoxelGrid& grid, const CIndex3& lo, const CIndex3& hi)
{
    for (int a = 0; a < 3; ++a)
        if (lo[a] < 0 || hi[a] > grid.BinCount(a) || lo[a] >= hi[a]) return false;
    return true;
}
} // namespace

CIndex3 CrossingPoint(const CDisplayState& state)
{
    return {state.m_PlaneLayer[PlaneYZ], state.m_PlaneLayer[PlaneZX], state.m_PlaneLayer[PlaneXY]};
}

int CommonAxis(int plane1, int plane2)
{
    const int n1 = PlaneNormal(plane1), n2 = PlaneNormal(plane2);
    if (n1 < 0 || n2 < 0 || n1 == n2) return -1;
    return 3 - n1 - n2;
}

bool BoxMean(const CVoxelGrid& grid, const CIndex3& lo, const CIndex3& hi, CBoxMean& mean)
{
    if (!BoxInGrid(grid, lo, hi)) return false;
    double sum = 0;
    long long count = 0;
    for (int ix = lo[0]; ix < hi[0]; ++ix)
        for (int iy = lo[1]; iy < hi[1]; ++iy)
            for (int iz = lo[2]; iz < hi[2]; ++iz, ++count)
                sum += grid.m_Voxels[ix][iy][iz];
    const double average = sum / double(count);
    double squares = 0;
    for (int ix = lo[0]; ix < hi[0]; ++ix)
        for (int iy = lo[1]; iy < hi[1]; ++iy)
            for (int iz = lo[2]; iz < hi[2]; ++iz)
                squares += std::pow(grid.m_Voxels[ix][iy][iz] - average, 2);
    mean.m_Average = average;
    mean.m_RelError = Relative(std::sqrt(squares / double(count)), average);
    mean.m_Count = count;
    return true;
}

bool GetAverageFromArbitraryVolume(const CVoxelGrid& grid, const CIndex3& corner,
                                   const CIndex3& minus, const CIndex3& plus, CBoxMean& mean)
{
    CIndex3 lo, hi;
    ArbitraryBox(corner, minus, plus, lo, hi);
    return BoxMean(grid, lo, hi, mean);
}

bool ProbeCell(const CVoxelGrid& grid, const CIndex3& corner, int cell, CProbeResult& result)
{
    // Offsets of the eight voxels touching the corner, in the order of the "Cell" combo box.
    static const int offsets[8][3] = {{0, 0, 0},  {-1, 0, 0},  {-1, 0, -1},  {0, 0, -1},
                                      {0, -1, 0}, {-1, -1, 0}, {-1, -1, -1}, {0, -1, -1}};
    if (!grid.HasGrid() || cell < 0 || cell > ProbeAverage8) return false;
    const int first = cell == ProbeAverage8 ? 0 : cell;
    const int last = cell == ProbeAverage8 ? 7 : cell;
    std::vector<double> values;
    result.m_Lo = {grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    result.m_Hi = {0, 0, 0};
    for (int c = first; c <= last; ++c)
    {
        CIndex3 v;
        for (int a = 0; a < 3; ++a)
        {
            v[a] = Clamp(corner[a] + offsets[c][a], grid.BinCount(a));
            result.m_Lo[a] = std::min(result.m_Lo[a], v[a]);
            result.m_Hi[a] = std::max(result.m_Hi[a], v[a]);
        }
        values.push_back(grid.m_Voxels[v[0]][v[1]][v[2]]);
    }
    double sum = 0, squares = 0;
    for (double v : values)
        sum += v;
    const double mean = sum / double(values.size());
    for (double v : values)
        squares += (v - mean) * (v - mean);
    result.m_Value = mean;
    result.m_DeviationPercent = 100 * Relative(std::sqrt(squares / double(values.size())), mean);
    return true;
}

bool ArbitraryBoxVoxels(const CVoxelGrid& grid, const CIndex3& corner, const CIndex3& minus,
                        const CIndex3& plus, CIndex3& lo, CIndex3& hi)
{
    for (int a = 0; a < 3; ++a)
        if (minus[a] < 0 || plus[a] < 0) return false;
    CIndex3 end;
    ArbitraryBox(corner, minus, plus, lo, end);
    if (!BoxInGrid(grid, lo, end)) return false;
    for (int a = 0; a < 3; ++a)
        hi[a] = end[a] - 1;
    return true;
}

bool ProbeBox(const CVoxelGrid& grid, const CIndex3& corner, const CIndex3& minus,
              const CIndex3& plus, CProbeResult& result)
{
    CBoxMean mean;
    if (!ArbitraryBoxVoxels(grid, corner, minus, plus, result.m_Lo, result.m_Hi) ||
        !GetAverageFromArbitraryVolume(grid, corner, minus, plus, mean))
        return false;
    result.m_Value = mean.m_Average;
    result.m_DeviationPercent = 100 * mean.m_RelError;
    return true;
}

CProfileData ExtractProfile(const CVoxelGrid& grid, const CDisplayState& state, int source,
                            int intersection)
{
    CProfileData profile;
    const int axis = CommonAxis(source, intersection);
    if (axis < 0 || !grid.HasGrid()) return profile;
    CIndex3 voxel = CrossingPoint(state);
    for (int a = 0; a < 3; ++a)
        voxel[a] = Clamp(voxel[a], grid.BinCount(a));
    for (int i = 0; i < grid.BinCount(axis); ++i)
    {
        voxel[axis] = i;
        CProfilePoint point;
        point.m_Position = grid.Edge(axis, i);
        point.m_Value = grid.m_Voxels[voxel[0]][voxel[1]][voxel[2]];
        point.m_Voxel = voxel;
        profile.push_back(point);
    }
    return profile;
}

CProfileData ExtractAveragedProfile(const CVoxelGrid& grid, const CDisplayState& state,
                                    const CAvgProfileRequest& r)
{
    CProfileData profile;
    const int axis = CommonAxis(r.m_Source, r.m_Intersection);
    if (axis < 0 || r.m_BinsAlong < 1 || r.m_UDir < 0 || r.m_UDir > 2 || r.m_VDir < 0 ||
        r.m_VDir > 2)
        return profile;
    CIndex3 minus{0, 0, 0}, plus{r.m_BinsAlong, r.m_BinsAlong, r.m_BinsAlong};
    minus[r.m_UDir] = r.m_UMinus;
    plus[r.m_UDir] = r.m_UPlus;
    minus[r.m_VDir] = r.m_VMinus;
    plus[r.m_VDir] = r.m_VPlus;
    CIndex3 corner = CrossingPoint(state);
    const int n = grid.BinCount(axis);
    for (int k = 0; k <= n - r.m_BinsAlong; k += r.m_BinsAlong)
    {
        corner[axis] = k;
        CBoxMean mean;
        if (!GetAverageFromArbitraryVolume(grid, corner, minus, plus, mean)) return CProfileData();
        CProfilePoint point;
        point.m_Position = grid.Edge(axis, k);
        point.m_Value = mean.m_Average;
        point.m_RelError = mean.m_RelError;
        point.m_Voxel = corner;
        profile.push_back(point);
    }
    return profile;
}

CCheckResult CheckProfile(const CDisplayState& state, int source, int intersection)
{
    if (PlaneNormal(source) < 0 || PlaneNormal(intersection) < 0)
        return {"Please select a source and an intersection plane.", MB_ICONINFORMATION};
    if (source == intersection)
        return {"You cannot intersect the source plane with itself!", MB_ICONINFORMATION};
    if (!state.m_PlaneEnabled[source] || !state.m_PlaneEnabled[intersection])
        return {"Extraction is only possible for enabled projection planes!", MB_ICONINFORMATION};
    return {};
}

CCheckResult CheckAvgProfile(const CVoxelGrid& grid, const CDisplayState& state,
                             const CAvgProfileRequest& r)
{
    if (r.m_UMinus < 0 || r.m_UPlus < 0 || r.m_VMinus < 0 || r.m_VPlus < 0)
        return {ExceedsV, MB_ICONERROR};
    if (r.m_BinsAlong < 1)
        return {"Sorry, but at least 1 bin must be used along the profile direction!",
                MB_ICONERROR};
    if (CCheckResult planes = CheckProfile(state, r.m_Source, r.m_Intersection); !planes.Ok())
        return planes;
    if (r.m_UDir < 0 || r.m_UDir > 2 || r.m_VDir < 0 || r.m_VDir > 2)
        return {"Please select both averaging directions.", MB_ICONINFORMATION};
    if (r.m_UDir == r.m_VDir)
        return {"Horizontal & vertical averaging axes must be different!", MB_ICONINFORMATION};
    const int axis = CommonAxis(r.m_Source, r.m_Intersection);
    if (r.m_UDir == axis || r.m_VDir == axis)
    {
        const int across[3][2] = {{1, 2}, {0, 2}, {0, 1}};
        return {std::string("With the current projection/intersection planes only ") +
                    AxisLetters[across[axis][0]] + " or " + AxisLetters[across[axis][1]] +
                    " can be selected as U/V averaging directions!",
                MB_ICONERROR};
    }
    if (r.m_BinsAlong > grid.BinCount(axis))
        return {"Number of averaging bins along the profile direction exceeds the available data!",
                MB_ICONINFORMATION};
    // An empty box along an axis would average nothing (0 / 0).
    const CIndex3 corner = CrossingPoint(state);
    if (r.m_UMinus + r.m_UPlus < 1 ||
        !FitsSlider(corner[r.m_UDir], grid.BinCount(r.m_UDir), r.m_UMinus, r.m_UPlus))
        return {ExceedsU, MB_ICONERROR};
    if (r.m_VMinus + r.m_VPlus < 1 ||
        !FitsSlider(corner[r.m_VDir], grid.BinCount(r.m_VDir), r.m_VMinus, r.m_VPlus))
        return {ExceedsV, MB_ICONERROR};
    return {};
}

bool ScaleTinyValues(std::vector<double>& values)
{
    if (std::none_of(values.begin(), values.end(), [](double v) { return v <= 1e-15; }))
        return false;
    for (double& v : values)
        v *= 1e15;
    return true;
}

std::string ProfileAxisTitle(int source, int intersection)
{
    const int axis = CommonAxis(source, intersection);
    if (axis < 0) return "X-axis";
    return std::string(AxisLetters[axis]) + " - direction / cm";
}

COctantSummary OctantMeans(const CVoxelGrid& grid, const CIndex3& corner)
{
    COctantSummary summary;
    const CIndex3 counts{grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    double sum = 0;
    for (int n = 0; n < 8; ++n)
    {
        COctant& octant = summary.m_Octants[n];
        for (int a = 0; a < 3; ++a)
        {
            const int split = std::clamp(corner[a], 0, counts[a]);
            const bool upper = (n >> a) & 1;
            octant.m_Lo[a] = upper ? split : 0;
            octant.m_Hi[a] = upper ? counts[a] : split;
        }
        CBoxMean mean;
        octant.m_Empty = !BoxMean(grid, octant.m_Lo, octant.m_Hi, mean);
        if (octant.m_Empty) continue;
        octant.m_Mean = mean.m_Average;
        sum += mean.m_Average;
        ++summary.m_Filled;
    }
    if (summary.m_Filled == 0) return summary;
    summary.m_Mean = sum / summary.m_Filled;
    double squares = 0;
    for (const COctant& octant : summary.m_Octants)
        if (!octant.m_Empty) squares += std::pow(octant.m_Mean - summary.m_Mean, 2);
    summary.m_SharePercent = 100 * Relative(std::sqrt(squares / summary.m_Filled), summary.m_Mean);
    return summary;
}

bool LocateExtreme(const CVoxelGrid& grid, CDisplayState& state, bool maximum)
{
    const double* indices = maximum ? grid.m_MaxDataValIndices : grid.m_MinDataValIndices;
    if (!grid.HasGrid() ||
        !grid.InGrid(std::int64_t(indices[0]), std::int64_t(indices[1]), std::int64_t(indices[2])))
        return false;
    state.m_PlaneLayer[PlaneYZ] = int(indices[0]);
    state.m_PlaneLayer[PlaneZX] = int(indices[1]);
    state.m_PlaneLayer[PlaneXY] = int(indices[2]);
    state.m_PlaneEnabled[0] = state.m_PlaneEnabled[1] = state.m_PlaneEnabled[2] = true;
    return true;
}

std::string CheckRebinning(const CIndex3& oldCounts, const CIndex3& newCounts)
{
    for (int a = 0; a < 3; ++a)
        if (newCounts[a] < 1 || oldCounts[a] % newCounts[a] != 0)
            return std::string("The old number of ") + AxisLetters[a] +
                   " bins must be divisable by the new number without remainder!";
    return "";
}

bool Rebin(const CVoxelGrid& grid, const CIndex3& newCounts, CVoxelGrid& out, std::string& error)
{
    const CIndex3 oldCounts{grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins};
    error = CheckRebinning(oldCounts, newCounts);
    if (!error.empty()) return false;
    if (!out.AllocateGrid(newCounts[0], newCounts[1], newCounts[2], error)) return false;
    CIndex3 block;
    for (int a = 0; a < 3; ++a)
    {
        block[a] = oldCounts[a] / newCounts[a];
        out.m_GridMin[a] = grid.m_GridMin[a];
        out.m_BinWidth[a] = grid.m_BinWidth[a] * block[a];
        // Uneven bins keep every block-th edge.
        std::vector<double> edges;
        for (int i = 0; grid.Uneven(a) && i <= newCounts[a]; ++i)
            edges.push_back(grid.Edge(a, i * block[a]));
        out.SetEdges(a, edges);
    }
    for (int ix = 0; ix < newCounts[0]; ++ix)
        for (int iy = 0; iy < newCounts[1]; ++iy)
            for (int iz = 0; iz < newCounts[2]; ++iz)
            {
                const CIndex3 lo{ix * block[0], iy * block[1], iz * block[2]};
                const CIndex3 hi{lo[0] + block[0], lo[1] + block[1], lo[2] + block[2]};
                CBoxMean mean;
                BoxMean(grid, lo, hi, mean);
                out.StoreValue(ix, iy, iz, mean.m_Average);
            }
    out.m_TotalWeight = grid.m_TotalWeight;
    out.m_NrOfParticles = grid.m_NrOfParticles;
    out.m_GenParticle = grid.m_GenParticle;
    out.m_DataLoaded = true;
    return true;
}
} // namespace volumira3d
