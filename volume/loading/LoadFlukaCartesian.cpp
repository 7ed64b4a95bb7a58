#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/FlukaValueSource.h"
#include "volume/formats/FlukaXYZAsciiIO.h"
#include "volume/loading/CartesianFill.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

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

// The records behind the bins when reading record by record. The fill has read (and warned
// about) the values in the bins; counting the rest must not repeat its warning.
CRestOfBlock RestOfStorage(CFlukaStorage& storage, long long bins)
{
    storage.m_NotationWarned = true;
    CRestOfBlock rest;
    rest.m_Last = storage.m_Data.empty() ? 0 : storage.m_Data.back().m_Value;
    while (storage.ReadMore(CVolumeLoader::ChunkRecords))
        rest.m_Last = storage.m_Data.back().m_Value;
    rest.m_Values = storage.m_NrOfRecords - bins;
    storage.m_In.ReadLine(rest.m_StopLine);
    return rest;
}

// Values in the data block beyond the bins the header announces. The block ends at the first
// word (an error block, the next binning); the "1" that FLUKA writes in front of a further
// binning is not a value.
long long SurplusValues(const CRestOfBlock& rest)
{
    const bool nextBinning =
        rest.m_Last == 1 && rest.m_StopLine.find("binning") != std::string::npos;
    return rest.m_Values > 0 && nextBinning ? rest.m_Values - 1 : rest.m_Values;
}

// The grid filled, and the values beyond its bins once it is complete.
struct CTextFill
{
    CFillResult m_Fill;
    long long m_Surplus = 0;
};

// Parsed in parallel from a mapping of the file; record by record when it cannot be mapped.
CTextFill FillFromText(CFlukaStorage& storage, CVoxelGrid& grid, CProgressLine& progress)
{
    CTextFill result;
    CFlukaValueSource parallel(storage.m_FileName, storage.m_In.Position(), grid.m_Normalization,
                               CVolumeLoader::ChunkRecords);
    if (parallel.Opened())
    {
        result.m_Fill = FillCartesian(parallel, grid, progress);
        if (result.m_Fill.Complete(grid)) result.m_Surplus = SurplusValues(parallel.Rest());
        return result;
    }
    CStorageSource source(storage, grid.m_Normalization, CVolumeLoader::ChunkRecords);
    result.m_Fill = FillCartesian(source, grid, progress);
    if (result.m_Fill.Complete(grid))
        result.m_Surplus = SurplusValues(RestOfStorage(storage, grid.VoxelCount()));
    return result;
}

class CFlukaCartesianLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);
};
} // namespace

bool CFlukaCartesianLoad::Load(const std::string& path)
{
    CFlukaStorage storage(path);
    if (!m_Loader.ChooseFlukaTextBinning(path, EFlukaBinning::Cartesian, storage.m_BinningIndex))
        return false;
    if (!storage.BeginRead())
    {
        // The header was refused: no value has been read, whatever its notation.
        m_Loader.LogError(storage.m_Error);
        return false;
    }
    const long long nx = storage.GetNX(), ny = storage.GetNY(), nz = storage.GetNZ();
    if (!FileCanHold(storage, double(nx) * double(ny) * double(nz)))
    {
        m_Loader.ReportProblem(
            Format("The header announces %lld x %lld x %lld bins, but the rest of the "
                   "file cannot hold that many values.",
                   nx, ny, nz),
            MB_ICONERROR);
        return false;
    }
    const long long bins = nx * ny * nz;
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    // The fill writes every voxel, zeros after a short file included.
    if (!m_Loader.PrepareGrid(nx, ny, nz, storage.m_In.Size(), EVoxelStart::Unset)) return false;
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", long(bins), 0));
    const DWORD start = GetTickCount();
    const CTextFill text = FillFromText(storage, m_Grid, progress);
    const CFillResult& fill = text.m_Fill;
    if (fill.m_Overflow)
    {
        m_Loader.ReportProblem(
            Format("Value %lld times the normalization factor exceeds the range of "
                   "numbers.",
                   fill.m_Consumed + 1),
            MB_ICONERROR);
        return false;
    }
    if (!fill.Complete(m_Grid))
    {
        m_Loader.LogError(Format("Only %lld of %lld values could be read.", fill.m_Consumed, bins));
        m_Loader.ShowProblem(TooFewValues(static_cast<long>(fill.m_Consumed), bins), MB_ICONERROR);
        return false;
    }
    if (text.m_Surplus > 0)
    {
        m_Loader.ReportProblem(
            Format("The data block holds %lld values more than the %lld bins that the "
                   "header announces.",
                   text.m_Surplus, bins),
            MB_ICONERROR);
        return false;
    }
    storage.EndRead();
    m_Loader.LogElapsed(start);
    storage.GetOrigin(m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]);
    m_Grid.m_BinWidth[0] = storage.GetDX();
    m_Grid.m_BinWidth[1] = storage.GetDY();
    m_Grid.m_BinWidth[2] = storage.GetDZ();
    m_Grid.m_TotalWeight = storage.m_TotalWeight;
    m_Grid.m_GenParticle = storage.m_GenParticle;
    m_Grid.m_NrOfParticles = storage.m_NrOfParticles;
    return true;
}

bool LoadFlukaCartesian(CVolumeLoader& loader, const std::string& path)
{
    return CFlukaCartesianLoad(loader).Load(path);
}
} // namespace volumira3d
