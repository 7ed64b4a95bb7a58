// The probing controls of the main dialog: "Enable data probing", the "Cell" choice with the
// "Arbitrary averaging volume" box, the probed voxel, value and deviation fields, and
// "&Find max. value" with its menu. They wire the dialog's controls to the display state; the
// probing itself is in DataProbe.
#pragma once
#include "common/Vector.h"
#include "platform/Dialog.h"

#include <functional>
#include <string>

namespace volumira3d
{
class CVoxelGrid;
class CDisplayState;
struct CProbeResult;

// The probing rows of the main dialog's template, from y on (two rows of 16 units).
void AddProbingControls(CDlgTemplate& d, int y);

class CProbingControls
{
public:
    // moved runs when a locate command has set the slider positions in the state: the dialog
    // moves its sliders and refreshes its controls, these included. changed runs after every
    // change of what is drawn.
    CProbingControls(CDialog& dlg, const CVoxelGrid& grid, CDisplayState& state,
                     std::function<void()> moved, std::function<void()> changed);
    // Fills the "Cell" list; call from OnInitDialog.
    void Init();
    // Enabling by the loaded data and the probing switch, check box and cell from the state.
    void Refresh();
    // Probes at the current crossing and shows the result; a box that left the grid is reported
    // and reset.
    void Update();
    // Names the region at a point in the world for the region field ("" for none).
    void SetRegionLookup(std::function<std::string(const CVector&)> regionAt)
    {
        m_RegionAt = std::move(regionAt);
    }

private:
    void OnDataProbing();
    void OnProbeCell();
    void OnFindMax();
    void Locate(bool maximum);
    // The middle of the probed cells in the world.
    CVector Centre(const CProbeResult& result) const;

    CDialog& m_Dlg;
    const CVoxelGrid& m_Grid;
    CDisplayState& m_State;
    std::function<void()> m_Moved, m_Changed;
    std::function<std::string(const CVector&)> m_RegionAt;
};
} // namespace volumira3d
