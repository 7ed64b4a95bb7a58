#include "common/FileSystem.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/XYZAsciiIO.h"
#include "volume/formats/XYZRecordSource.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/Extremes.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <omp.h>

#include <cmath>
#include <numeric>

namespace volumira3d
{
namespace
{
using CXYZStorage = CDataStorage<CXYZAsciiIO<>>;

// Stores, in file order, the records whose y index lies in [from, to) and that fit the grid and
// stay finite when normalised; the number stored. order is the file place of the first record.
long long StoreRecords(CVoxelGrid& grid, const std::vector<CXYZRecord>& records, int from, int to,
                       long long order, CExtremes& extremes)
{
    long long stored = 0;
    double* const voxels = grid.m_Voxels.data();
    for (const CXYZRecord& record : records)
    {
        const double value = record.m_Value * grid.m_Normalization;
        if (record.m_IndexY < from || record.m_IndexY >= to ||
            !grid.InGrid(record.m_IndexX, record.m_IndexY, record.m_IndexZ) ||
            !std::isfinite(value))
            continue;
        voxels[grid.m_Voxels.Index(size_t(record.m_IndexX), size_t(record.m_IndexY),
                                   size_t(record.m_IndexZ))] = value;
        extremes.Add(value, order + (&record - records.data()), record.m_IndexX, record.m_IndexY,
                     record.m_IndexZ);
        ++stored;
    }
    return stored;
}

// The records of one window into the grid, every thread storing the rows of the y range it owns
// (rows lie apart in memory, x fastest); the number of records stored.
long long StoreWindow(CVoxelGrid& grid, const std::vector<CXYZRecord>& records, long long order)
{
    const int threads = std::max(1, std::min(omp_get_max_threads(), int(grid.m_NrYBins)));
    std::vector<CExtremes> parts(static_cast<size_t>(threads));
    std::vector<long long> stored(static_cast<size_t>(threads));
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t)
        stored[size_t(t)] = StoreRecords(
            grid, records, int(std::int64_t(grid.m_NrYBins) * t / threads),
            int(std::int64_t(grid.m_NrYBins) * (t + 1) / threads), order, parts[size_t(t)]);
    CExtremes all;
    for (const CExtremes& part : parts)
        all.Merge(part);
    all.EnterInto(grid);
    return std::accumulate(stored.begin(), stored.end(), 0LL);
}

// What reading the records gave: how many, how many were stored, the lines skipped.
struct CXYZFill
{
    long long m_Records = 0, m_Stored = 0;
    std::int64_t m_BadRecords = 0;
    std::uint64_t m_FirstBadLine = 0;
};

// Parsed in parallel from a mapping of the file; record by record when it cannot be mapped. The
// progress line counts the records read so far and the share of the file.
CXYZFill FillFromText(CXYZStorage& storage, CVoxelGrid& grid, CProgressLine& progress)
{
    CXYZFill fill;
    CXYZRecordSource parallel(storage.m_FileName, storage.m_In.Position());
    if (parallel.Opened())
    {
        for (const std::vector<CXYZRecord>* records = nullptr; parallel.Next(records);)
        {
            fill.m_Stored += StoreWindow(grid, *records, fill.m_Records);
            fill.m_Records += static_cast<long long>(records->size());
            progress.Update(long(fill.m_Records), parallel.Percent());
        }
        fill.m_BadRecords = parallel.BadRecords();
        fill.m_FirstBadLine = parallel.FirstBadLine();
        return fill;
    }
    std::vector<CXYZRecord> records;
    while (storage.ReadMore(CVolumeLoader::ChunkRecords))
    {
        records.clear();
        for (const CVoxelData& record : storage.m_Data)
            records.push_back({record.m_Value, record.m_IndexX, record.m_IndexY, record.m_IndexZ});
        fill.m_Stored += StoreWindow(grid, records, fill.m_Records);
        fill.m_Records += static_cast<long long>(records.size());
    }
    fill.m_BadRecords = storage.m_BadRecords;
    fill.m_FirstBadLine = storage.m_FirstBadLine;
    return fill;
}

class CXYZLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);
};
} // namespace

bool CXYZLoad::Load(const std::string& path)
{
    CXYZStorage storage(path);
    if (!storage.BeginRead())
    {
        m_Loader.LogError(storage.m_Error);
        return false;
    }
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(storage.GetNX(), storage.GetNY(), storage.GetNZ(), FileBytes(path)))
        return false;
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", 0L, 0));
    const DWORD start = GetTickCount();
    const CXYZFill fill = FillFromText(storage, m_Grid, progress);
    storage.EndRead();
    const long records = static_cast<long>(fill.m_Records);
    progress.SetText(Format("Mapping %ld bins to XYZ...", records));
    m_Loader.LogElapsed(start);
    if (fill.m_BadRecords > 0)
        m_Loader.ReportProblem(
            Format("%lld line(s) could not be read as \"ix iy iz value\" and were "
                   "skipped (the first is line %llu).",
                   static_cast<long long>(fill.m_BadRecords),
                   static_cast<unsigned long long>(fill.m_FirstBadLine)),
            MB_ICONWARNING);
    if (const long rejected = static_cast<long>(fill.m_Records - fill.m_Stored); rejected > 0)
        m_Loader.ReportProblem(
            Format("%ld of %ld records were skipped: their indices lie outside the "
                   "%d x %d x %d grid or their value overflows.",
                   rejected, records, storage.GetNX(), storage.GetNY(), storage.GetNZ()),
            MB_ICONWARNING);
    storage.GetOrigin(m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]);
    m_Grid.m_BinWidth[0] = storage.GetDX();
    m_Grid.m_BinWidth[1] = storage.GetDY();
    m_Grid.m_BinWidth[2] = storage.GetDZ();
    return true;
}

bool LoadXYZ(CVolumeLoader& loader, const std::string& path)
{
    return CXYZLoad(loader).Load(path);
}
} // namespace volumira3d
