#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/CartesianFill.h"
#include "volume/FlukaValueSource.h"
#include "volume/FlukaXYZAsciiIO.h"
#include "volume/LoadLog.h"
#include "volume/VolumeLoader.h"
#include "volume/VoxelGrid.h"

#include <algorithm>
#include <cmath>

namespace volumira3d
{
namespace
{
using CFlukaStorage = CDataStorage<CFlukaXYZAsciiIO<>>;

std::string TooFewValues(long values, long long bins)
{
    return Format("Sorry but only %ld values were read for %ld bins. A highly trained bunch of "
                  "monkeys has been sent out to investigate this problem!\nPlease check your "
                  "input data in the meantime.",
                  values, static_cast<long>(bins));
}

// Each value takes at least one character and one separator (the last needs no separator).
bool FileCanHold(const CFlukaStorage& storage, double bins)
{
    const double rest = double(storage.m_In.Size() - storage.m_In.Position());
    return bins <= (rest + 1) / 2;
}

// Parsed in parallel from a mapping of the file; record by record when it cannot be mapped.
CFillResult FillFromText(CFlukaStorage& storage, CVoxelGrid& grid, CProgressLine& progress)
{
    CFlukaValueSource parallel(storage.m_FileName, storage.m_In.Position(), grid.m_Normalization,
                               CVolumeLoader::ChunkRecords);
    if (parallel.Opened()) return FillCartesian(parallel, grid, progress);
    CStorageSource source(storage, grid.m_Normalization, CVolumeLoader::ChunkRecords);
    return FillCartesian(source, grid, progress);
}

// Values in the data block beyond the bins the header announces. The block ends at the first
// word (an error block, the next binning); the "1" that FLUKA writes in front of a further
// binning is not a value.
long long SurplusValues(CFlukaStorage& storage, long long bins)
{
    // The fill has read (and warned about) the values in the bins; counting the rest again from
    // the storage must not repeat its warning.
    storage.m_NotationWarned = true;
    double last = storage.m_Data.empty() ? 0 : storage.m_Data.back().m_Value;
    while (storage.ReadMore(CVolumeLoader::ChunkRecords))
        last = storage.m_Data.back().m_Value;
    long long surplus = storage.m_NrOfRecords - bins;
    std::string rest;
    if (surplus > 0 && last == 1 && storage.m_In.ReadLine(rest) &&
        rest.find("binning") != std::string::npos)
        --surplus;
    return surplus;
}
} // namespace

bool CVolumeLoader::LoadFlukaCartesian(const std::string& path)
{
    CFlukaStorage storage(path);
    if (!storage.BeginRead())
    {
        // The header was refused: no value has been read, whatever its notation.
        LogError(storage.m_Error);
        return false;
    }
    const long long nx = storage.GetNX(), ny = storage.GetNY(), nz = storage.GetNZ();
    if (!FileCanHold(storage, double(nx) * double(ny) * double(nz)))
    {
        ReportProblem(Format("The header announces %lld x %lld x %lld bins, but the rest of the "
                             "file cannot hold that many values.",
                             nx, ny, nz),
                      MB_ICONERROR);
        return false;
    }
    const long long bins = nx * ny * nz;
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!PrepareGrid(nx, ny, nz, storage.m_In.Size())) return false;
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", long(bins), 0));
    const DWORD start = GetTickCount();
    const CFillResult fill = FillFromText(storage, m_Grid, progress);
    if (fill.m_Overflow)
    {
        ReportProblem(Format("Value %lld times the normalization factor exceeds the range of "
                             "numbers.",
                             fill.m_Consumed + 1),
                      MB_ICONERROR);
        return false;
    }
    if (!fill.Complete(m_Grid))
    {
        LogError(Format("Only %lld of %lld values could be read.", fill.m_Consumed, bins));
        ShowProblem(TooFewValues(static_cast<long>(fill.m_Consumed), bins), MB_ICONERROR);
        return false;
    }
    if (const long long surplus = SurplusValues(storage, bins); surplus > 0)
    {
        ReportProblem(Format("The data block holds %lld values more than the %lld bins that the "
                             "header announces.",
                             surplus, bins),
                      MB_ICONERROR);
        return false;
    }
    storage.EndRead();
    LogElapsed(start);
    storage.GetOrigin(m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]);
    m_Grid.m_BinWidth[0] = storage.GetDX();
    m_Grid.m_BinWidth[1] = storage.GetDY();
    m_Grid.m_BinWidth[2] = storage.GetDZ();
    m_Grid.m_TotalWeight = storage.m_TotalWeight;
    m_Grid.m_GenParticle = storage.m_GenParticle;
    m_Grid.m_NrOfParticles = storage.m_NrOfParticles;
    return true;
}
} // namespace volumira3d
