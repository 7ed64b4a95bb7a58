#include "volume/analysis/DataProbe.h"

#include "platform/UiServices.h"
#include "volume/model/DisplayState.h"
#include "volume/model/VoxelGrid.h"

namespace volumira3d
{
const char* const ProbeBoxExceedsMessage =
    "Average cannot be calculated as the averaging volume exceeds the boundaries!";

bool ProbingActive(const CVoxelGrid& grid, const CDisplayState& state)
{
    return state.m_DataProbing && grid.m_DataLoaded && grid.HasGrid() && state.m_PlaneEnabled[0] &&
           state.m_PlaneEnabled[1] && state.m_PlaneEnabled[2];
}

bool ProbedBox(const CVoxelGrid& grid, const CDisplayState& state, CIndex3& lo, CIndex3& hi)
{
    if (!ProbingActive(grid, state)) return false;
    const CIndex3 corner = CrossingPoint(state);
    if (state.m_ProbeCell != ProbeArbitrary)
    {
        CProbeResult cell;
        if (!ProbeCell(grid, corner, state.m_ProbeCell, cell)) return false;
        lo = cell.m_Lo;
        hi = cell.m_Hi;
        return true;
    }
    return ArbitraryBoxVoxels(grid, corner, state.m_AvgMinusDelta, state.m_AvgPlusDelta, lo, hi);
}

EProbeStatus Probe(const CVoxelGrid& grid, CDisplayState& state, CProbeResult& result)
{
    if (!ProbingActive(grid, state)) return EProbeStatus::Inactive;
    const CIndex3 corner = CrossingPoint(state);
    if (state.m_ProbeCell != ProbeArbitrary)
        return ProbeCell(grid, corner, state.m_ProbeCell, result) ? EProbeStatus::Probed
                                                                  : EProbeStatus::Inactive;
    if (ProbeBox(grid, corner, state.m_AvgMinusDelta, state.m_AvgPlusDelta, result))
        return EProbeStatus::Probed;
    state.m_AvgMinusDelta = state.m_AvgPlusDelta = {1, 1, 1};
    state.m_ProbeCell = 0;
    ProbeCell(grid, corner, 0, result);
    return EProbeStatus::BoxReset;
}

std::string ProbeCellText(const CProbeResult& r)
{
    if (r.m_Lo == r.m_Hi) return Format("%d, %d, %d", r.m_Lo[0], r.m_Lo[1], r.m_Lo[2]);
    return Format("%d-%d, %d-%d, %d-%d", r.m_Lo[0], r.m_Hi[0], r.m_Lo[1], r.m_Hi[1], r.m_Lo[2],
                  r.m_Hi[2]);
}

std::string ProbeValueText(const CProbeResult& r)
{
    return Format("%.4e", r.m_Value);
}

std::string ProbeErrorText(const CProbeResult& r)
{
    return Format("%.2f", r.m_DeviationPercent);
}
} // namespace volumira3d
