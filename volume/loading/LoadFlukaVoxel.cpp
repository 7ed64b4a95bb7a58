#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/formats/FortranRecords.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VoxelGrid.h"

#include <cmath>
#include <limits>
#include <vector>

namespace volumira3d
{
namespace
{
// The header of a FLUKA voxel file: the title record, the counts record (NX, NY, NZ first) and
// the widths record (DX, DY, DZ as doubles); then the frame of the int16 voxel record.
bool ReadVoxelHeader(CFortranRecordFile& file, std::int32_t n[3], double d[3], std::string& error)
{
    std::uint32_t length = 0;
    unsigned char counts[12], widths[24];
    if (!file.BeginRecord(length) || !file.BeginRecord(length) || !file.Read(counts, 12) ||
        !file.BeginRecord(length) || !file.Read(widths, 24))
    {
        error = file.Error();
        return false;
    }
    std::int64_t voxels = 1;
    for (int a = 0; a < 3; ++a)
    {
        n[a] = LittleInt32(counts + 4 * a);
        d[a] = LittleFloat64(widths + 8 * a);
        if (n[a] < 1 || !std::isfinite(d[a]) || !(d[a] > 0))
        {
            error = Format("The voxel file announces %d x %d x %d voxels of %g x %g x %g cm",
                           LittleInt32(counts), LittleInt32(counts + 4), LittleInt32(counts + 8),
                           LittleFloat64(widths), LittleFloat64(widths + 8),
                           LittleFloat64(widths + 16));
            return false;
        }
        voxels *= n[a]; // at most (2^31)^2 before the check below, which stops a third factor
        if (voxels > std::numeric_limits<std::int32_t>::max())
        {
            error = Format("The voxel file announces %lld voxels and more, more than a record can "
                           "hold",
                           static_cast<long long>(voxels));
            return false;
        }
    }
    if (!file.BeginRecord(length))
    {
        error = file.Error();
        return false;
    }
    if (std::uint64_t(length) != 2 * std::uint64_t(voxels))
    {
        error = Format("The voxel record at byte %llu holds %u bytes, not 2 for each of %lld "
                       "voxels",
                       static_cast<unsigned long long>(file.RecordOffset()), length,
                       static_cast<long long>(voxels));
        return false;
    }
    return true;
}

class CFlukaVoxelLoad : public CFormatLoad
{
public:
    using CFormatLoad::CFormatLoad;
    bool Load(const std::string& path);
};
} // namespace

bool CFlukaVoxelLoad::Load(const std::string& path)
{
    CFortranRecordFile file;
    std::int32_t n[3] = {0, 0, 0};
    double d[3] = {0, 0, 0};
    std::string error;
    if (!file.Open(path) || !ReadVoxelHeader(file, n, d, error))
    {
        m_Loader.LogError(error.empty() ? file.Error() : error);
        return false;
    }
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!m_Loader.PrepareGrid(n[0], n[1], n[2])) return false;
    const long bins = static_cast<long>(m_Grid.VoxelCount());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", bins, 0));
    const DWORD start = GetTickCount();
    std::vector<unsigned char> plane(2 * static_cast<size_t>(n[0]) * n[1]);
    for (int iz = 0; iz < n[2]; ++iz)
    {
        if (!file.Read(plane.data(), plane.size()))
        {
            m_Loader.LogError(file.Error());
            return false;
        }
        for (int iy = 0; iy < n[1]; ++iy)
            for (int ix = 0; ix < n[0]; ++ix)
            {
                // Kept as a double: truncating the product to 16 bits would wrap large values.
                const double raw = LittleInt16(&plane[2 * (size_t(iy) * n[0] + ix)]);
                double value = 0;
                if (!m_Loader.Normalised(raw, value))
                {
                    m_Loader.LogError(Format("Voxel (%d, %d, %d) of value %g times the "
                                             "normalization factor exceeds the range of numbers.",
                                             ix, iy, iz, raw));
                    return false;
                }
                m_Grid.StoreValue(ix, iy, iz, value);
            }
        progress.Update(bins, static_cast<int>((iz + 1) * 100LL / n[2]));
    }
    m_Loader.LogElapsed(start);
    for (int a = 0; a < 3; ++a)
    {
        m_Grid.m_GridMin[a] = 0;
        m_Grid.m_BinWidth[a] = d[a];
    }
    // A voxel file has no run: neutral values for the FLUKA header fields.
    m_Grid.m_TotalWeight = 1.0;
    m_Grid.m_GenParticle = 1;
    m_Grid.m_NrOfParticles = 1;
    return true;
}

bool LoadFlukaVoxel(CVolumeLoader& loader, const std::string& path)
{
    return CFlukaVoxelLoad(loader).Load(path);
}
} // namespace volumira3d
