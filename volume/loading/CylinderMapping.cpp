#include "volume/loading/CylinderMapping.h"

#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace volumira3d
{
namespace
{
constexpr double Pi = std::numbers::pi;

struct CWindow
{
    int m_X0, m_X1, m_Y0, m_Y1; // inclusive
};

// The search window of the sector starting at phiStart, from the quadrant of its start angle.
CWindow QuadrantWindow(double phiStart, double dphi, int n)
{
    const int c = n / 2;
    // tan(dphi) is not a usable half-width once a sector spans a quarter turn or more (it turns
    // negative or huge); such sectors get the whole plane.
    const double t = std::tan(dphi) * n * 0.5;
    const int k = t > 0 && t < n ? std::max(static_cast<int>(t), 1) : n;
    const float ps = static_cast<float>(phiStart);
    const float halfPi = static_cast<float>(Pi / 2);
    const int last = n - 1;
    const int lowY = std::max(c - k, 1);
    const int highXY = std::min(c + k - 1, last);
    if (ps >= 0 && ps < halfPi) return {0, last, lowY, last};
    if (ps >= halfPi) return {0, highXY, lowY, last};
    if (ps < -halfPi) return {0, highXY, 1, highXY};
    return {std::max(c - k, 0), last, 1, highXY};
}

bool Before(int ix, int iy, int jx, int jy)
{
    return ix < jx || (ix == jx && iy < jy);
}
} // namespace

void FillRing(CVoxelGrid& grid, int r, int iz, double value)
{
    const int nx = grid.m_NrXBins, ny = grid.m_NrYBins;
    const int cx = nx / 2, cy = ny / 2;
    const double dx = grid.m_BinWidth[0], dy = grid.m_BinWidth[1];
    const double a = r * dx, b = (r + 1) * dx;
    long long start = static_cast<long long>(cy) + r;
    int firstX = -1, firstY = -1;
    for (int ix = cx; ix < nx; ++ix)
    {
        if (ix > cx) start = std::max<long long>(cy, start - 1);
        const double ox = (ix - cx) * dx;
        for (long long iy = start; iy < ny; ++iy)
        {
            const double oy = static_cast<double>(iy - cy) * dy;
            const double d = std::sqrt(ox * ox + oy * oy);
            if (d > b) break;
            if (d < a) continue;
            const int y = static_cast<int>(iy);
            grid.m_Voxels[ix][y][iz] = value;
            grid.m_Voxels[nx - 1 - ix][y][iz] = value;
            grid.m_Voxels[ix][ny - 1 - y][iz] = value;
            grid.m_Voxels[nx - 1 - ix][ny - 1 - y][iz] = value;
            if (firstX < 0) firstX = ix, firstY = y;
        }
    }
    if (value != 0 && firstX >= 0) grid.UpdateStatistics(value, firstX, firstY, iz);
}

std::vector<CSectorWindow> SectorWindows(int n, int nphi, int count)
{
    const double dphi = 2 * Pi / nphi;
    std::vector<CSectorWindow> windows(
        static_cast<size_t>(count < 0 ? nphi : std::min(count, nphi)));
    for (int iphi = 0; iphi < static_cast<int>(windows.size()); ++iphi)
    {
        CSectorWindow& s = windows[static_cast<size_t>(iphi)];
        s.m_Lo = iphi * dphi - Pi;
        s.m_Hi = iphi == nphi - 1 ? Pi : (iphi + 1) * dphi - Pi;
        const CWindow w = QuadrantWindow(s.m_Lo, dphi, n);
        s.m_X0 = w.m_X0, s.m_X1 = w.m_X1, s.m_Y0 = w.m_Y0, s.m_Y1 = w.m_Y1;
    }
    return windows;
}

namespace
{
// Everything the threads of one plane share.
struct CPlaneFill
{
    CVoxelGrid& m_Grid;
    const std::vector<double>& m_Values; // [iphi * nr + ir]
    long m_Count;                        // values present, a prefix of that order
    int m_NR, m_Off, m_NPhi, m_IZ;
    const std::vector<CSectorWindow>& m_Windows;
    std::vector<int> m_FirstX, m_FirstY; // per value: the first voxel its fill writes
};

// The rings whose closed annulus holds d: the neighbours of d / dx, tested with the fill's bounds.
int RingCandidates(double d, double dx, int rings[3])
{
    const long long guess = static_cast<long long>(d / dx);
    int count = 0;
    for (long long r = std::max(guess - 1, 0LL); r <= guess + 1; ++r)
        if (d >= r * dx && d <= (r + 1) * dx) rings[count++] = static_cast<int>(r);
    return count;
}

int SectorCandidates(double angle, int ix, int iy, const CPlaneFill& f, int sectors[3])
{
    const double dphi = 2 * Pi / f.m_NPhi;
    const long long guess = static_cast<long long>((angle + Pi) / dphi);
    int count = 0;
    const long long last = static_cast<long long>(f.m_Windows.size()) - 1;
    for (long long s = std::max(guess - 1, 0LL); s <= std::min(guess + 1, last); ++s)
    {
        const CSectorWindow& w = f.m_Windows[static_cast<size_t>(s)];
        if (angle >= w.m_Lo && angle <= w.m_Hi && ix >= w.m_X0 && ix <= w.m_X1 && iy >= w.m_Y0 &&
            iy <= w.m_Y1)
            sectors[count++] = static_cast<int>(s);
    }
    return count;
}

// The values (by index) whose fill writes voxel (ix, iy); the last of them is what it keeps.
int WritersOf(int ix, int iy, const CPlaneFill& f, long writers[9])
{
    const int n = f.m_Grid.m_NrXBins;
    const int c = n / 2;
    const double ox = (ix - c) * f.m_Grid.m_BinWidth[0];
    const double oy = (iy - c) * f.m_Grid.m_BinWidth[1];
    const double d = std::sqrt(ox * ox + oy * oy);
    int rings[3], sectors[3];
    const int nRings = RingCandidates(d, f.m_Grid.m_BinWidth[0], rings);
    if (nRings == 0) return 0;
    const int nSectors = SectorCandidates(std::atan2(oy, ox), ix, iy, f, sectors);
    int count = 0;
    for (int s = 0; s < nSectors; ++s)
        for (int r = 0; r < nRings; ++r)
        {
            const int ir = rings[r] - f.m_Off;
            const long k = static_cast<long>(sectors[s]) * f.m_NR + ir;
            if (ir >= 0 && ir < f.m_NR && k < f.m_Count) writers[count++] = k;
        }
    return count;
}

void NoteFirst(std::vector<int>& firstX, std::vector<int>& firstY, long k, int ix, int iy)
{
    const size_t i = static_cast<size_t>(k);
    if (firstX[i] < 0 || Before(ix, iy, firstX[i], firstY[i])) firstX[i] = ix, firstY[i] = iy;
}
} // namespace

void FillSectorPlane(CVoxelGrid& grid, const std::vector<double>& values, long count, int nr,
                     int off, int nphi, int iz, const std::vector<CSectorWindow>& windows)
{
    const int n = grid.m_NrXBins;
    CPlaneFill f{grid,
                 values,
                 count,
                 nr,
                 off,
                 nphi,
                 iz,
                 windows,
                 std::vector<int>(static_cast<size_t>(count), -1),
                 std::vector<int>(static_cast<size_t>(count), -1)};
    // Each thread notes the first voxel of every value in buffers made here: nothing may throw
    // inside the parallel region.
    const int threads = omp_get_max_threads();
    std::vector<std::vector<int>> firstX(static_cast<size_t>(threads),
                                         std::vector<int>(static_cast<size_t>(count), -1));
    std::vector<std::vector<int>> firstY(firstX);
#pragma omp parallel
    {
        const size_t t = static_cast<size_t>(omp_get_thread_num());
        bool wrote = false;
#pragma omp for schedule(dynamic, 1) nowait
        for (int ix = 0; ix < n; ++ix)
            for (int iy = 1; iy < n; ++iy) // row 0 lies in no sector's window
            {
                long writers[9];
                const int w = WritersOf(ix, iy, f, writers);
                if (w == 0) continue;
                long last = writers[0];
                for (int i = 0; i < w; ++i)
                {
                    last = std::max(last, writers[i]);
                    NoteFirst(firstX[t], firstY[t], writers[i], ix, iy);
                }
                grid.m_Voxels[ix][iy][iz] = values[static_cast<size_t>(last)];
                wrote = true;
            }
        if (wrote)
        {
            grid.Lock();
            for (long k = 0; k < count; ++k)
                if (firstX[t][static_cast<size_t>(k)] >= 0)
                    NoteFirst(f.m_FirstX, f.m_FirstY, k, firstX[t][static_cast<size_t>(k)],
                              firstY[t][static_cast<size_t>(k)]);
            grid.Unlock();
        }
    }
    // In the order of the file, each value at the first voxel its fill wrote.
    for (long k = 0; k < count; ++k)
    {
        const double value = values[static_cast<size_t>(k)];
        if (value != 0 && f.m_FirstX[static_cast<size_t>(k)] >= 0)
            grid.UpdateStatistics(value, f.m_FirstX[static_cast<size_t>(k)],
                                  f.m_FirstY[static_cast<size_t>(k)], iz);
    }
}
} // namespace volumira3d
