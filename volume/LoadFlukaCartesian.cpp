#include "platform/Clock.h"
#include "platform/UiServices.h"
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

// Values per block of z-planes: whole planes are stored column by column, so that every z-column
// of the grid is touched once per block instead of once per value.
constexpr long long BlockValues = 1 << 19;

void ReportTooFewValues(long values, long long bins)
{
    AfxMessageBox(Format("Sorry but only %ld values were read for %ld bins. A highly trained bunch "
                         "of monkeys has been sent out to investigate this problem!\nPlease check "
                         "your input data in the meantime.",
                         values, static_cast<long>(bins)),
                  MB_ICONWARNING);
}

// Each value takes at least one character and one separator (the last needs no separator).
bool FileCanHold(const CFlukaStorage& storage, double bins)
{
    const double rest = double(storage.m_In.Size() - storage.m_In.Position());
    return bins <= (rest + 1) / 2;
}

// Reads the next values of the file in pieces of records.
class CValueSource
{
public:
    explicit CValueSource(CFlukaStorage& storage) : m_Storage(storage) {}
    bool Next(double& value)
    {
        if (m_Next == m_Storage.m_Data.size())
        {
            if (!m_Storage.ReadMore(CVolumeLoader::ChunkRecords)) return false;
            m_Next = 0;
        }
        value = m_Storage.m_Data[m_Next++].m_Value;
        return true;
    }

private:
    CFlukaStorage& m_Storage;
    size_t m_Next = 0;
};

// Copies the values of a block of z-planes in file order into block (x fastest), through the
// statistics; stops early when the values run out or one overflows with the normalization.
long long FillBlock(CValueSource& source, CVoxelGrid& grid, int iz0, long long count,
                    std::vector<double>& block, bool& overflow)
{
    const int nx = grid.m_NrXBins, ny = grid.m_NrYBins;
    int ix = 0, iy = 0, iz = iz0;
    for (long long i = 0; i < count; ++i)
    {
        double raw = 0;
        if (!source.Next(raw)) return i;
        const double value = raw * grid.m_Normalization;
        if (!std::isfinite(value))
        {
            overflow = true;
            return i;
        }
        block[static_cast<size_t>(i)] = value;
        if (value != 0) grid.UpdateStatistics(value, ix, iy, iz);
        if (++ix == nx)
        {
            ix = 0;
            if (++iy == ny) iy = 0, ++iz;
        }
    }
    return count;
}

// Writes the first count values of a block (planes iz0 ..) into the grid, column by column.
void StoreBlock(CVoxelGrid& grid, int iz0, int planes, long long count,
                const std::vector<double>& block)
{
    const long long plane = static_cast<long long>(grid.m_NrXBins) * grid.m_NrYBins;
    for (int iy = 0; iy < grid.m_NrYBins; ++iy)
        for (int ix = 0; ix < grid.m_NrXBins; ++ix)
        {
            VoxelColumn& column = grid.m_Voxels[ix][iy];
            const long long at = static_cast<long long>(iy) * grid.m_NrXBins + ix;
            for (int b = 0; b < planes && b * plane + at < count; ++b)
                column[static_cast<size_t>(iz0 + b)] = block[static_cast<size_t>(b * plane + at)];
        }
}
// Values in the data block beyond the bins the header announces. The block ends at the first
// word (an error block, the next binning); the "1" that FLUKA writes in front of a further
// binning is not a value.
long long SurplusValues(CFlukaStorage& storage, long long bins)
{
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
        LogError(storage.m_Error);
        AfxMessageBox(Format("Up to %ld records were read before an error occured.\nCheck whether "
                             "the next value really has a valid format and that for example the E "
                             "in the exponential notation is not missing, as it can be the case "
                             "with very small or large numbers written out by FLUKA!",
                             static_cast<long>(storage.m_NrOfRecords)),
                      MB_ICONWARNING);
        return false;
    }
    const long long nx = storage.GetNX(), ny = storage.GetNY(), nz = storage.GetNZ();
    if (!FileCanHold(storage, double(nx) * double(ny) * double(nz)))
    {
        ReportProblem(Format("The header announces %lld x %lld x %lld bins, but the rest of the "
                             "file cannot hold that many values.",
                             nx, ny, nz),
                      MB_ICONWARNING);
        return false;
    }
    const long long bins = nx * ny * nz;
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!PrepareGrid(nx, ny, nz, storage.m_In.Size())) return false;
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", long(bins), 0));
    const DWORD start = GetTickCount();
    const long long plane = nx * ny;
    const int blockPlanes = static_cast<int>(std::clamp(BlockValues / plane, 1LL, nz));
    std::vector<double> block(static_cast<size_t>(blockPlanes * plane));
    CValueSource source(storage);
    long long consumed = 0;
    for (int iz0 = 0; iz0 < nz; iz0 += blockPlanes)
    {
        const int planes = static_cast<int>(std::min<long long>(blockPlanes, nz - iz0));
        bool overflow = false;
        const long long got = FillBlock(source, m_Grid, iz0, planes * plane, block, overflow);
        StoreBlock(m_Grid, iz0, planes, got, block);
        consumed += got;
        if (overflow)
        {
            ReportProblem(Format("Value %lld times the normalization factor exceeds the range of "
                                 "numbers.",
                                 consumed + 1),
                          MB_ICONWARNING);
            return false;
        }
        if (got < planes * plane)
        {
            ReportTooFewValues(static_cast<long>(consumed), bins);
            return false;
        }
        progress.Update(long(bins), static_cast<int>(consumed * 100 / bins));
    }
    if (const long long surplus = SurplusValues(storage, bins); surplus > 0)
    {
        ReportProblem(Format("The data block holds %lld values more than the %lld bins that the "
                             "header announces.",
                             surplus, bins),
                      MB_ICONWARNING);
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
