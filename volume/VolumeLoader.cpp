#include "volume/VolumeLoader.h"

#include "platform/Clock.h"
#include "platform/UiServices.h"
#include "volume/LoadLog.h"
#include "volume/VoxelGrid.h"

#include <cmath>

namespace volumira3d
{
bool CVolumeLoader::PrepareGrid(std::int64_t nx, std::int64_t ny, std::int64_t nz)
{
    std::string error;
    if (m_Grid.AllocateGrid(nx, ny, nz, error)) return true;
    ReportProblem(error, MB_ICONERROR);
    return false;
}

bool CVolumeLoader::Normalised(double raw, double& value) const
{
    value = raw * m_Grid.m_Normalization;
    return std::isfinite(value);
}

void CVolumeLoader::LogElapsed(DWORD startTicks)
{
    m_Log.AddLine(Format("Time elapsed %lf s", (GetTickCount() - startTicks) / 1000.0));
}

void CVolumeLoader::LogError(const std::string& text)
{
    m_Log.AddLine(text, ILoadLog::IconError);
}

void CVolumeLoader::ReportProblem(const std::string& text, UINT icon)
{
    LogError(text);
    AfxMessageBox(text, icon);
}
} // namespace volumira3d
