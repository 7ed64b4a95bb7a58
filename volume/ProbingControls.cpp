#include "volume/ProbingControls.h"

#include "platform/Controls.h"
#include "platform/UiServices.h"
#include "volume/Volumira3DIds.h"
#include "volume/analysis/AvgVolumeConfigDlg.h"
#include "volume/analysis/DataProbe.h"
#include "volume/model/DisplayState.h"
#include "volume/model/Matrix.h"
#include "volume/model/VoxelGrid.h"

namespace volumira3d
{
namespace
{
const char* const CellItems[10] = {"1", "2", "3", "4",         "5",
                                   "6", "7", "8", "Average 8", "Arbitrary avg."};
} // namespace

void AddProbingControls(CDlgTemplate& d, int y)
{
    using K = ECtrlKind;
    d.Add(K::CheckBox, IDC_DATA_PROBING, "Enable data probing", 7, y + 1, 80, 10)
        .Label("Cell", 92, y + 2, 16, 8)
        .Add(K::ComboBox, IDC_PROBE_CELL, "", 110, y, 64, 120)
        .Add(K::Edit, IDC_PROBE_VOXEL, "", 178, y, 80, 12, ES_READONLY)
        .Label("Value", 92, y + 18, 20, 8)
        .Add(K::Edit, IDC_PROBE_VALUE, "", 114, y + 16, 60, 12, ES_READONLY)
        .Label("Error %", 178, y + 18, 28, 8)
        .Add(K::Edit, IDC_PROBE_ERROR, "", 208, y + 16, 50, 12, ES_READONLY)
        .Add(K::Edit, IDC_PROBE_REGION, "", 262, y + 16, 51, 12, ES_READONLY);
}

CProbingControls::CProbingControls(CDialog& dlg, const CVoxelGrid& grid, CDisplayState& state,
                                   std::function<void()> moved, std::function<void()> changed)
    : m_Dlg(dlg), m_Grid(grid), m_State(state), m_Moved(std::move(moved)),
      m_Changed(std::move(changed))
{
    dlg.MapCommand(IDC_DATA_PROBING, BN_CLICKED, [this] { OnDataProbing(); });
    dlg.MapCommand(IDC_PROBE_CELL, CBN_SELCHANGE, [this] { OnProbeCell(); });
    dlg.MapCommand(IDC_FIND_MAX, BN_CLICKED, [this] { OnFindMax(); });
}

void CProbingControls::Init()
{
    CComboBox cells(&m_Dlg, IDC_PROBE_CELL);
    cells.ResetContent();
    for (const char* item : CellItems)
        cells.AddString(item);
    Refresh();
}

void CProbingControls::Refresh()
{
    const bool loaded = m_Grid.m_DataLoaded;
    m_Dlg.EnableDlgItem(IDC_DATA_PROBING, loaded);
    m_Dlg.EnableDlgItem(IDC_FIND_MAX, loaded);
    for (int id :
         {IDC_PROBE_CELL, IDC_PROBE_VOXEL, IDC_PROBE_VALUE, IDC_PROBE_ERROR, IDC_PROBE_REGION})
        m_Dlg.EnableDlgItem(id, loaded && m_State.m_DataProbing);
    m_Dlg.CheckDlgButton(IDC_DATA_PROBING, m_State.m_DataProbing);
    CComboBox(&m_Dlg, IDC_PROBE_CELL).SetCurSel(m_State.m_ProbeCell);
}

void CProbingControls::Update()
{
    CProbeResult result;
    const EProbeStatus status = Probe(m_Grid, m_State, result);
    if (status == EProbeStatus::BoxReset)
    {
        AfxMessageBox(ProbeBoxExceedsMessage, MB_ICONERROR);
        CComboBox(&m_Dlg, IDC_PROBE_CELL).SetCurSel(m_State.m_ProbeCell);
    }
    const bool shown = status != EProbeStatus::Inactive;
    m_Dlg.SetDlgItemText(IDC_PROBE_VOXEL, shown ? ProbeCellText(result) : "");
    m_Dlg.SetDlgItemText(IDC_PROBE_VALUE, shown ? ProbeValueText(result) : "");
    m_Dlg.SetDlgItemText(IDC_PROBE_ERROR, shown ? ProbeErrorText(result) : "");
    m_Dlg.SetDlgItemText(IDC_PROBE_REGION, shown && m_RegionAt ? m_RegionAt(Centre(result)) : "");
}

CVector CProbingControls::Centre(const CProbeResult& result) const
{
    const auto middle = [&](int a)
    { return (m_Grid.Edge(a, result.m_Lo[a]) + m_Grid.Edge(a, result.m_Hi[a] + 1)) / 2; };
    return {middle(0), middle(1), middle(2)};
}

void CProbingControls::OnDataProbing()
{
    m_State.m_DataProbing = m_Dlg.IsDlgButtonChecked(IDC_DATA_PROBING) != 0;
    Refresh();
    Update();
    m_Changed();
}

void CProbingControls::OnProbeCell()
{
    const int cell = CComboBox(&m_Dlg, IDC_PROBE_CELL).GetCurSel();
    if (cell < 0 || cell > ProbeArbitrary) return;
    m_State.m_ProbeCell = cell;
    if (cell == ProbeArbitrary)
    {
        CAvgVolumeConfigDlg box(m_State.m_AvgMinusDelta, m_State.m_AvgPlusDelta, &m_Dlg);
        if (box.DoModal() == IDOK)
        {
            m_State.m_AvgMinusDelta = box.m_Minus;
            m_State.m_AvgPlusDelta = box.m_Plus;
        }
    }
    Update();
    m_Changed();
}

void CProbingControls::OnFindMax()
{
    const UINT chosen = TrackPopupMenu(
        &m_Dlg, IDC_FIND_MAX,
        {{IDM_LOCATE_MAX, "Locate max. value"}, {IDM_LOCATE_MIN, "Locate min. value"}});
    if (chosen != 0) Locate(chosen == IDM_LOCATE_MAX);
}

void CProbingControls::Locate(bool maximum)
{
    if (!LocateExtreme(m_Grid, m_State, maximum))
    {
        ReportAssertion(maximum ? "m_MaxDataValIndices[0] >= 0 && m_MaxDataValIndices[1] >= 0 && "
                                  "m_MaxDataValIndices[2] >= 0"
                                : "m_MinDataValIndices[0] >= 0 && m_MinDataValIndices[1] >= 0 && "
                                  "m_MinDataValIndices[2] >= 0");
        return;
    }
    m_State.m_DataProbing = true;
    m_Moved();
    m_Changed();
}
} // namespace volumira3d
