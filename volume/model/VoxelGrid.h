// The one cartesian voxel grid of the plug-in and its statistics. Every loader writes into it,
// the display side reads it. Values are addressed [ix][iy][iz] and stored in one block, x fastest.
#pragma once
#include "volume/model/VoxelArray.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace volumira3d
{
// A voxel (ix, iy, iz), or a corner or extent counted in voxels.
using CIndex3 = std::array<int, 3>;

class CVoxelGrid
{
public:
    static constexpr double InitialRangeMin = 1e10;
    static constexpr double InitialRangeMax = -1e10;

    CVoxelGrid();
    virtual ~CVoxelGrid();
    CVoxelGrid(const CVoxelGrid&) = delete;
    CVoxelGrid& operator=(const CVoxelGrid&) = delete;

    // Releases the values; the range goes back to its start values and the maximum's indices
    // to 0; the run figures go to the defaults of a file without a run header (weight 1, one
    // primary, particle 0). The bin counts follow the (now empty) arrays so that nobody indexes
    // past them, and origin and bin sizes go to 0 with them: a cleared grid shows no geometry.
    void ClearDataSet();
    // How often the data set was cleared: a load that failed after clearing left no data set.
    std::uint64_t ClearCount() const { return m_ClearCount; }
    // Range back to its start values, both index triples to 0.
    void ResetStatistics();
    // Builds m_Voxels as nx x ny x nz zeros (or unset values, for a loader that writes them all)
    // and sets the bin counts. Refuses (false, error set, nothing allocated) counts below 1 or a
    // grid larger than the memory this machine has free.
    bool AllocateGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz, std::string& error,
                      EVoxelStart start = EVoxelStart::Zeros);
    bool HasGrid() const { return !m_Voxels.empty(); }
    std::int64_t VoxelCount() const;

    // Statistics of one stored value; 0 takes no part. Strict comparisons: among equal extremes
    // the first one stored keeps its indices.
    void UpdateStatistics(double value, int ix, int iy, int iz);
    void StoreValue(int ix, int iy, int iz, double value)
    {
        m_Voxels.data()[m_Voxels.Index(ix, iy, iz)] = value;
        if (value != 0) UpdateStatistics(value, ix, iy, iz);
    }
    bool InGrid(std::int64_t ix, std::int64_t iy, std::int64_t iz) const
    {
        return ix >= 0 && iy >= 0 && iz >= 0 && ix < m_NrXBins && iy < m_NrYBins && iz < m_NrZBins;
    }
    // Multiplies every stored value by factor.
    void ScaleValues(double factor);
    // Smallest and largest non-zero value (1e15 and 1e-15 when there is none).
    void ScanExtremes(double& min, double& max) const;

    // Where index i (a bin edge; fractions lie between the edges) lies along an axis, from
    // m_GridMin: i times the width for even bins, the file's own edges for uneven ones.
    double Offset(int axis, double index) const;
    double Edge(int axis, std::int64_t i) const
    {
        return m_GridMin[axis] + Offset(axis, double(i));
    }
    // The bins along an axis (0 x, 1 y, 2 z).
    std::int32_t BinCount(int axis) const
    {
        return axis == 0 ? m_NrXBins : axis == 1 ? m_NrYBins : m_NrZBins;
    }
    // The bin along an axis whose edges hold the coordinate (lower edge inclusive), kept inside
    // the grid.
    int BinAt(int axis, double coordinate) const;
    // An axis of uneven bins: n + 1 ascending edges. m_GridMin becomes the first, m_BinWidth the
    // mean width (so that count times width is the extent); bins equal to a millionth of their
    // width keep the even form.
    void SetEdges(int axis, const std::vector<double>& edges);
    bool Uneven(int axis) const { return !m_Edges[axis].empty(); }
    bool Uneven() const { return Uneven(0) || Uneven(1) || Uneven(2); }
    const std::vector<double>& Edges(int axis) const { return m_Edges[axis]; }

    // The plug-in's one lock, shared by the threads of the parallel mapping.
    void Lock();
    void Unlock();

    VoxelArray m_Voxels;
    std::int32_t m_NrXBins = 0, m_NrYBins = 0, m_NrZBins = 0;
    double m_GridMin[3] = {0, 0, 0};
    double m_BinWidth[3] = {0, 0, 0};
    double m_RangeMin = InitialRangeMin;
    double m_RangeMax = InitialRangeMax;
    double m_MinDataValIndices[3] = {0, 0, 0};
    double m_MaxDataValIndices[3] = {0, 0, 0};
    double m_Normalization = 1.0;
    bool m_DataLoaded = false;
    double m_TotalWeight = 1; // run figures: defaults for formats without a run header
    std::int32_t m_GenParticle = 0;
    std::int32_t m_NrOfParticles = 1;

private:
    std::uint64_t m_ClearCount = 0;
    std::vector<double> m_Edges[3]; // empty: even bins
    struct CLock;
    CLock* m_pLock;
};

// Bytes of memory this machine can still give (MemAvailable; physical memory as fallback).
std::uint64_t AvailableMemory();
// Bytes a grid of these counts takes.
double GridBytes(std::int64_t nx, std::int64_t ny, std::int64_t nz);
} // namespace volumira3d
