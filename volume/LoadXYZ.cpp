#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/LoadLog.h"
#include "volume/VolumeLoader.h"
#include "volume/VoxelGrid.h"
#include "volume/XYZAsciiIO.h"

namespace volumira3d
{
bool CVolumeLoader::LoadXYZ(const std::string& path)
{
    CDataStorage<CXYZAsciiIO<>> storage(path);
    if (!storage.Read())
    {
        LogError(storage.m_Error);
        return false;
    }
    m_Grid.ClearDataSet();
    m_Grid.ResetStatistics();
    m_Log.AddLine("Preparing voxel structure...");
    if (!PrepareGrid(storage.GetNX(), storage.GetNY(), storage.GetNZ(), FileBytes(path)))
        return false;
    const long records = static_cast<long>(storage.m_Data.size());
    CProgressLine progress(m_Log, Format("Mapping %ld bins to XYZ... %d%%", records, 0));
    progress.SetText(Format("Mapping %ld bins to XYZ...", records));
    const DWORD start = GetTickCount();
    long rejected = 0;
    for (const CVoxelData& record : storage.m_Data)
    {
        double value = 0;
        if (!m_Grid.InGrid(record.m_IndexX, record.m_IndexY, record.m_IndexZ) ||
            !Normalised(record.m_Value, value))
        {
            ++rejected;
            continue;
        }
        m_Grid.StoreValue(record.m_IndexX, record.m_IndexY, record.m_IndexZ, value);
    }
    LogElapsed(start);
    if (storage.m_BadRecords > 0)
        ReportProblem(Format("%lld line(s) could not be read as \"ix iy iz value\" and were "
                             "skipped (the first is line %llu).",
                             static_cast<long long>(storage.m_BadRecords),
                             static_cast<unsigned long long>(storage.m_FirstBadLine)),
                      MB_ICONWARNING);
    if (rejected > 0)
        ReportProblem(Format("%ld of %ld records were skipped: their indices lie outside the "
                             "%d x %d x %d grid or their value overflows.",
                             rejected, records, storage.GetNX(), storage.GetNY(), storage.GetNZ()),
                      MB_ICONWARNING);
    storage.GetOrigin(m_Grid.m_GridMin[0], m_Grid.m_GridMin[1], m_Grid.m_GridMin[2]);
    m_Grid.m_BinWidth[0] = storage.GetDX();
    m_Grid.m_BinWidth[1] = storage.GetDY();
    m_Grid.m_BinWidth[2] = storage.GetDZ();
    return true;
}
} // namespace volumira3d
