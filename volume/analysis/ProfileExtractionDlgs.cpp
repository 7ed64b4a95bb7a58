#include "volume/analysis/ProfileExtractionDlgs.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/analysis/NewPlotProfileDlg.h"

namespace volumira3d
{
namespace
{
const char* const PlaneItems[3] = {"XY", "YZ", "ZX"};
const char* const AxisItems[3] = {"X", "Y", "Z"};

void FillCombo(CDialog* pDlg, int id, const char* const (&items)[3])
{
    CComboBox combo(pDlg, id);
    combo.ResetContent();
    for (const char* item : items)
        combo.AddString(item);
}

bool Accepted(const CCheckResult& check)
{
    if (check.Ok()) return true;
    AfxMessageBox(check.m_Text, check.m_Icon);
    return false;
}
} // namespace

const CDlgTemplate& ProfileExtractionTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_PROFILE_EXTRACTION, "Data profile extraction", 220, 90)
            .Label("Plot title:", 7, 9, 60, 8)
            .Add(K::Edit, IDC_PROFILE_TITLE, "", 90, 7, 123, 12)
            .Label("Source projection plane:", 7, 27, 80, 8)
            .Add(K::ComboBox, IDC_PROFILE_SOURCE, "", 90, 25, 50, 60)
            .Label("Intersection plane:", 7, 45, 80, 8)
            .Add(K::ComboBox, IDC_PROFILE_INTERSECTION, "", 90, 43, 50, 60)
            .Add(K::Button, IDC_PROFILE_PLOT, "Plot", 55, 69, 50, 14)
            .Add(K::Button, IDOK, "Save", 109, 69, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 163, 69, 50, 14);
    return t;
}

CProfileExtractionDlg::CProfileExtractionDlg(const CVoxelGrid& grid, const CDisplayState& state,
                                             CDialog* pParent)
    : CDialog(ProfileExtractionTemplate(), pParent), m_Grid(grid), m_State(state)
{
    OnClicked(IDC_PROFILE_PLOT, &CProfileExtractionDlg::OnPlot);
}

BOOL CProfileExtractionDlg::OnInitDialog()
{
    FillCombo(this, IDC_PROFILE_SOURCE, PlaneItems);
    FillCombo(this, IDC_PROFILE_INTERSECTION, PlaneItems);
    return CDialog::OnInitDialog();
}

void CProfileExtractionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PROFILE_TITLE, m_Title);
    DDX_CBIndex(pDX, IDC_PROFILE_SOURCE, m_Source);
    DDX_CBIndex(pDX, IDC_PROFILE_INTERSECTION, m_Intersection);
}

bool CProfileExtractionDlg::TakeChecked()
{
    if (!UpdateData(TRUE)) return false;
    if (m_Source < 0 || m_Intersection < 0) return false;
    return Accepted(CheckProfile(m_State, m_Source, m_Intersection));
}

void CProfileExtractionDlg::OnOK()
{
    if (TakeChecked()) EndDialog(IDOK);
}

void CProfileExtractionDlg::OnPlot()
{
    if (!TakeChecked()) return;
    CNewPlotProfileDlg(GetParent(), m_Source, m_Intersection, m_Title)
        .PlotProfile(m_Grid, m_State, m_UnitText);
}

const CDlgTemplate& AvgProfileExtractionTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_AVG_PROFILE_EXTRACTION, "Averaged profile extraction", 260, 170)
            .Label("Source projection plane:", 7, 9, 90, 8)
            .Add(K::ComboBox, IDC_PROFILE_SOURCE, "", 110, 7, 50, 60)
            .Label("Intersection plane:", 7, 27, 90, 8)
            .Add(K::ComboBox, IDC_PROFILE_INTERSECTION, "", 110, 25, 50, 60)
            .Label("Averaging direction U:", 7, 45, 90, 8)
            .Add(K::ComboBox, IDC_AVG_U_DIR, "", 110, 43, 40, 60)
            .Label("+", 156, 45, 8, 8)
            .Add(K::Edit, IDC_AVG_U_PLUS, "", 166, 43, 30, 12)
            .Label("-", 202, 45, 8, 8)
            .Add(K::Edit, IDC_AVG_U_MINUS, "", 212, 43, 30, 12)
            .Label("Averaging direction V:", 7, 63, 90, 8)
            .Add(K::ComboBox, IDC_AVG_V_DIR, "", 110, 61, 40, 60)
            .Label("+", 156, 63, 8, 8)
            .Add(K::Edit, IDC_AVG_V_PLUS, "", 166, 61, 30, 12)
            .Label("-", 202, 63, 8, 8)
            .Add(K::Edit, IDC_AVG_V_MINUS, "", 212, 61, 30, 12)
            .Label("No. of averaging bins in the profile direction - ", 7, 83, 160, 8)
            .Add(K::Edit, IDC_AVG_PROFILE_DIR, "", 170, 81, 16, 12, ES_READONLY)
            .Add(K::Edit, IDC_AVG_BINS_ALONG, "", 192, 81, 50, 12)
            .Label("Plot title:", 7, 103, 60, 8)
            .Add(K::Edit, IDC_PROFILE_TITLE, "", 110, 101, 132, 12)
            .Add(K::Button, IDC_PROFILE_PLOT, "Plot", 95, 149, 50, 14)
            .Add(K::Button, IDOK, "Save", 149, 149, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 203, 149, 50, 14);
    return t;
}

CAvgProfileExtractionDlg::CAvgProfileExtractionDlg(const CVoxelGrid& grid,
                                                   const CDisplayState& state, CDialog* pParent)
    : CDialog(AvgProfileExtractionTemplate(), pParent), m_Grid(grid), m_State(state)
{
    MapCommand(IDC_PROFILE_SOURCE, CBN_SELCHANGE, &CAvgProfileExtractionDlg::OnPlanesChanged);
    MapCommand(IDC_PROFILE_INTERSECTION, CBN_SELCHANGE, &CAvgProfileExtractionDlg::OnPlanesChanged);
    OnClicked(IDC_PROFILE_PLOT, &CAvgProfileExtractionDlg::OnPlot);
}

BOOL CAvgProfileExtractionDlg::OnInitDialog()
{
    FillCombo(this, IDC_PROFILE_SOURCE, PlaneItems);
    FillCombo(this, IDC_PROFILE_INTERSECTION, PlaneItems);
    FillCombo(this, IDC_AVG_U_DIR, AxisItems);
    FillCombo(this, IDC_AVG_V_DIR, AxisItems);
    CDialog::OnInitDialog();
    OnPlanesChanged();
    return TRUE;
}

void CAvgProfileExtractionDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    CAvgProfileRequest& r = m_Request;
    DDX_CBIndex(pDX, IDC_PROFILE_SOURCE, r.m_Source);
    DDX_CBIndex(pDX, IDC_PROFILE_INTERSECTION, r.m_Intersection);
    DDX_CBIndex(pDX, IDC_AVG_U_DIR, r.m_UDir);
    DDX_Text(pDX, IDC_AVG_U_PLUS, r.m_UPlus);
    DDX_Text(pDX, IDC_AVG_U_MINUS, r.m_UMinus);
    DDX_CBIndex(pDX, IDC_AVG_V_DIR, r.m_VDir);
    DDX_Text(pDX, IDC_AVG_V_PLUS, r.m_VPlus);
    DDX_Text(pDX, IDC_AVG_V_MINUS, r.m_VMinus);
    DDX_Text(pDX, IDC_AVG_BINS_ALONG, r.m_BinsAlong);
    DDX_Text(pDX, IDC_PROFILE_TITLE, m_Title);
}

void CAvgProfileExtractionDlg::OnPlanesChanged()
{
    const int source = CComboBox(this, IDC_PROFILE_SOURCE).GetCurSel();
    const int intersection = CComboBox(this, IDC_PROFILE_INTERSECTION).GetCurSel();
    const int axis = CommonAxis(source, intersection);
    SetDlgItemText(IDC_AVG_PROFILE_DIR, axis < 0 ? "" : AxisItems[axis]);
}

bool CAvgProfileExtractionDlg::TakeChecked()
{
    if (!UpdateData(TRUE)) return false;
    if (m_Request.m_Source < 0 || m_Request.m_Intersection < 0 || m_Request.m_UDir < 0 ||
        m_Request.m_VDir < 0)
        return false;
    return Accepted(CheckAvgProfile(m_Grid, m_State, m_Request));
}

void CAvgProfileExtractionDlg::OnOK()
{
    if (TakeChecked()) EndDialog(IDOK);
}

void CAvgProfileExtractionDlg::OnPlot()
{
    if (!TakeChecked()) return;
    CNewPlotProfileDlg(GetParent(), m_Request, m_Title).PlotProfile(m_Grid, m_State, m_UnitText);
}
} // namespace volumira3d
