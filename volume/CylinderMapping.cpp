#include "volume/CylinderMapping.h"

#include "volume/VoxelGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

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
    if (ps >= 0 && ps < halfPi)
        return {0, last, lowY, last};
    if (ps >= halfPi)
        return {0, highXY, lowY, last};
    if (ps < -halfPi)
        return {0, highXY, 1, highXY};
    return {std::max(c - k, 0), last, 1, highXY};
}

// Voxels whose corner lies farther than b from the centre are never written; leaving them out
// of the window changes nothing but the time spent.
CWindow LimitToRadius(CWindow w, int c, double b, double dx, double dy)
{
    const int mx = static_cast<int>(std::min(b / dx + 1, 1e9));
    const int my = static_cast<int>(std::min(b / dy + 1, 1e9));
    w.m_X0 = std::max(w.m_X0, c - mx);
    w.m_X1 = std::min(w.m_X1, c + mx);
    w.m_Y0 = std::max(w.m_Y0, c - my);
    w.m_Y1 = std::min(w.m_Y1, c + my);
    return w;
}

bool Before(int ix, int iy, int jx, int jy) { return ix < jx || (ix == jx && iy < jy); }
} // namespace

long long TruncateBinRatio(double length, double width)
{
    const double ratio = length / width;
    return static_cast<long long>(std::floor(ratio + std::min(0.5, ratio * 1e-4)));
}

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
        if (ix > cx)
            start = std::max<long long>(cy, start - 1);
        const double ox = (ix - cx) * dx;
        for (long long iy = start; iy < ny; ++iy)
        {
            const double oy = static_cast<double>(iy - cy) * dy;
            const double d = std::sqrt(ox * ox + oy * oy);
            if (d > b)
                break;
            if (d < a)
                continue;
            const int y = static_cast<int>(iy);
            grid.m_Voxels[ix][y][iz] = value;
            grid.m_Voxels[nx - 1 - ix][y][iz] = value;
            grid.m_Voxels[ix][ny - 1 - y][iz] = value;
            grid.m_Voxels[nx - 1 - ix][ny - 1 - y][iz] = value;
            if (firstX < 0)
                firstX = ix, firstY = y;
        }
    }
    if (value != 0 && firstX >= 0)
        grid.UpdateStatistics(value, firstX, firstY, iz);
}

void FillSector(CVoxelGrid& grid, int r, int iphi, int nphi, int iz, double value)
{
    const int n = grid.m_NrXBins;
    const int c = n / 2;
    const double dx = grid.m_BinWidth[0], dy = grid.m_BinWidth[1];
    const double a = r * dx, b = (r + 1) * dx;
    const double dphi = 2 * Pi / nphi;
    const double lo = iphi * dphi - Pi;
    const double hi = iphi == nphi - 1 ? Pi : (iphi + 1) * dphi - Pi;
    const CWindow w = LimitToRadius(QuadrantWindow(lo, dphi, n), c, b, dx, dy);
    int bestX = -1, bestY = -1;
    VoxelArray& voxels = grid.m_Voxels;
#pragma omp parallel
    {
        int firstX = -1, firstY = -1;
#pragma omp for schedule(dynamic, 1) nowait
        for (int ix = w.m_X0; ix <= w.m_X1; ++ix)
        {
            const double ox = (ix - c) * dx;
            for (int iy = w.m_Y0; iy <= w.m_Y1; ++iy)
            {
                const double oy = (iy - c) * dy;
                const double d = std::sqrt(ox * ox + oy * oy);
                if (d < a || d > b)
                    continue;
                const double angle = std::atan2(oy, ox);
                if (angle < lo || angle > hi)
                    continue;
                voxels[ix][iy][iz] = value;
                if (firstX < 0)
                    firstX = ix, firstY = iy;
            }
        }
        if (firstX >= 0)
        {
            grid.Lock();
            if (bestX < 0 || Before(firstX, firstY, bestX, bestY))
                bestX = firstX, bestY = firstY;
            grid.Unlock();
        }
    }
    if (value != 0 && bestX >= 0)
        grid.UpdateStatistics(value, bestX, bestY, iz);
}
} // namespace volumira3d
