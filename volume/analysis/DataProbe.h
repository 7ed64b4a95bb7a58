// Data probing around the point where the three planes cross: which voxels are probed, their
// value and deviation, and the reset of an "Arbitrary avg." box that leaves the grid. Works on
// the grid and the display state; the main dialog shows the results and the messages.
#pragma once
#include "volume/analysis/GridAnalysis.h"

#include <string>

namespace volumira3d
{
class CVoxelGrid;
class CDisplayState;

extern const char* const ProbeBoxExceedsMessage;

// Probing is on, data are loaded and all three planes are shown.
bool ProbingActive(const CVoxelGrid& grid, const CDisplayState& state);

// The probed voxels as an inclusive index box, without averaging them (for the grey frame);
// false while probing is inactive or when the arbitrary box leaves the grid.
bool ProbedBox(const CVoxelGrid& grid, const CDisplayState& state, CIndex3& lo, CIndex3& hi);

enum class EProbeStatus
{
    Inactive,
    Probed,
    BoxReset, // the arbitrary box left the grid: counts back to (1, 1, 1), the cell to "1"
};
// Probes as the state says; after a reset the result is that of cell "1".
EProbeStatus Probe(const CVoxelGrid& grid, CDisplayState& state, CProbeResult& result);

// The texts of the fields "Cell", "Value" and "Error %".
std::string ProbeCellText(const CProbeResult& result);
std::string ProbeValueText(const CProbeResult& result);
std::string ProbeErrorText(const CProbeResult& result);
} // namespace volumira3d
