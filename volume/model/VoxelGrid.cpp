#include "volume/model/VoxelGrid.h"

#include "platform/UiServices.h"

#include <omp.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <new>
#include <sstream>

namespace volumira3d
{
struct CVoxelGrid::CLock
{
    CLock() { omp_init_lock(&m_Lock); }
    ~CLock() { omp_destroy_lock(&m_Lock); }
    omp_lock_t m_Lock;
};

CVoxelGrid::CVoxelGrid() : m_pLock(new CLock) {}

CVoxelGrid::~CVoxelGrid()
{
    delete m_pLock;
}

void CVoxelGrid::Lock()
{
    omp_set_lock(&m_pLock->m_Lock);
}
void CVoxelGrid::Unlock()
{
    omp_unset_lock(&m_pLock->m_Lock);
}

void CVoxelGrid::ClearDataSet()
{
    CVoxelArray().swap(m_Voxels);
    m_NrXBins = m_NrYBins = m_NrZBins = 0;
    std::fill(std::begin(m_GridMin), std::end(m_GridMin), 0.0);
    std::fill(std::begin(m_BinWidth), std::end(m_BinWidth), 0.0);
    for (auto& edges : m_Edges)
        edges.clear();
    ++m_ClearCount;
    m_RangeMin = InitialRangeMin;
    m_RangeMax = InitialRangeMax;
    std::fill(std::begin(m_MaxDataValIndices), std::end(m_MaxDataValIndices), 0.0);
    // Formats without a run header must not inherit the last FLUKA file's figures.
    m_TotalWeight = 1;
    m_NrOfParticles = 1;
    m_GenParticle = 0;
}

double CVoxelGrid::Offset(int axis, double index) const
{
    const std::vector<double>& edges = m_Edges[axis];
    if (edges.empty()) return index * m_BinWidth[axis];
    const double last = double(edges.size() - 1);
    const double at = std::clamp(index, 0.0, last);
    const size_t lo = std::min(static_cast<size_t>(at), edges.size() - 2);
    return edges[lo] + (at - double(lo)) * (edges[lo + 1] - edges[lo]) - edges.front();
}

void CVoxelGrid::SetEdges(int axis, const std::vector<double>& edges)
{
    m_Edges[axis].clear();
    if (edges.size() < 2) return;
    const double bins = double(edges.size() - 1);
    m_GridMin[axis] = edges.front();
    m_BinWidth[axis] = (edges.back() - edges.front()) / bins;
    for (size_t i = 1; i < edges.size(); ++i)
        if (std::abs(edges[i] - edges[i - 1] - m_BinWidth[axis]) > 1e-6 * m_BinWidth[axis])
        {
            m_Edges[axis] = edges;
            return;
        }
}

void CVoxelGrid::ResetStatistics()
{
    m_RangeMin = InitialRangeMin;
    m_RangeMax = InitialRangeMax;
    std::fill(std::begin(m_MinDataValIndices), std::end(m_MinDataValIndices), 0.0);
    std::fill(std::begin(m_MaxDataValIndices), std::end(m_MaxDataValIndices), 0.0);
}

std::int64_t CVoxelGrid::VoxelCount() const
{
    return std::int64_t(m_NrXBins) * m_NrYBins * m_NrZBins;
}

double GridBytes(std::int64_t nx, std::int64_t ny, std::int64_t nz)
{
    return double(nx) * double(ny) * double(nz) * sizeof(double);
}

std::uint64_t AvailableMemory()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kb = 0;
    std::string unit;
    while (meminfo >> key >> kb >> unit)
        if (key == "MemAvailable:") return kb * 1024;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? std::uint64_t(pages) * std::uint64_t(pageSize) : 0;
}

bool CVoxelGrid::AllocateGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz, std::string& error,
                              EVoxelStart start)
{
    constexpr std::int64_t maxCount = 0x7fffffff;
    if (nx < 1 || ny < 1 || nz < 1 || nx > maxCount || ny > maxCount || nz > maxCount)
    {
        error = Format("Invalid grid size %lld x %lld x %lld: every axis needs at least 1 bin.",
                       static_cast<long long>(nx), static_cast<long long>(ny),
                       static_cast<long long>(nz));
        return false;
    }
    const double needed = GridBytes(nx, ny, nz);
    const double available = double(AvailableMemory());
    if (needed > available)
    {
        error = Format("The grid of %lld x %lld x %lld bins would need %.1f MB of memory, but "
                       "only %.1f MB are available.",
                       static_cast<long long>(nx), static_cast<long long>(ny),
                       static_cast<long long>(nz), needed / 1e6, available / 1e6);
        return false;
    }
    try
    {
        CVoxelArray voxels(static_cast<size_t>(nx), static_cast<size_t>(ny),
                           static_cast<size_t>(nz), start);
        m_Voxels.swap(voxels);
    }
    catch (const std::bad_alloc&)
    {
        error = Format("Not enough memory for a grid of %lld x %lld x %lld bins.",
                       static_cast<long long>(nx), static_cast<long long>(ny),
                       static_cast<long long>(nz));
        return false;
    }
    m_NrXBins = static_cast<std::int32_t>(nx);
    m_NrYBins = static_cast<std::int32_t>(ny);
    m_NrZBins = static_cast<std::int32_t>(nz);
    return true;
}

void CVoxelGrid::UpdateStatistics(double value, int ix, int iy, int iz)
{
    if (value == 0) return;
    if (m_RangeMin > value)
    {
        m_MinDataValIndices[0] = ix;
        m_MinDataValIndices[1] = iy;
        m_MinDataValIndices[2] = iz;
        m_RangeMin = value;
    }
    if (value > m_RangeMax)
    {
        m_MaxDataValIndices[0] = ix;
        m_MaxDataValIndices[1] = iy;
        m_MaxDataValIndices[2] = iz;
        m_RangeMax = value;
    }
}

void CVoxelGrid::ScaleValues(double factor)
{
    double* values = m_Voxels.data();
    for (size_t i = 0, n = m_Voxels.Count(); i < n; ++i)
        values[i] *= factor;
}

void CVoxelGrid::ScanExtremes(double& min, double& max) const
{
    min = 1e15;
    max = 1e-15;
    const double* values = m_Voxels.data();
    for (size_t i = 0, n = m_Voxels.Count(); i < n; ++i)
    {
        if (values[i] == 0) continue;
        min = std::min(min, values[i]);
        max = std::max(max, values[i]);
    }
}
int CVoxelGrid::BinAt(int axis, double coordinate) const
{
    int lo = 0, hi = BinCount(axis) - 1;
    while (lo < hi)
    {
        const int mid = (lo + hi + 1) / 2;
        if (Edge(axis, mid) <= coordinate)
            lo = mid;
        else
            hi = mid - 1;
    }
    return std::max(lo, 0);
}
} // namespace volumira3d
