#include "cloud/CloudConfigDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"

#include <algorithm>

namespace nebulo3d
{
namespace
{
// The shared template with the track-only settings hidden and the cloud's settings below the
// colour editor.
const CDlgTemplate& CloudConfigTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d = ConfigTemplate();
        const int trackOnly[] = {IDC_CFG_TRANSPARENCY_SLIDER,
                                 IDC_CFG_TRANSPARENCY,
                                 IDC_CFG_ANTIALIASING,
                                 IDC_CFG_LINEWIDTH,
                                 IDC_CFG_TIMESTEPS,
                                 IDC_CFG_FADESTEPS,
                                 IDC_CFG_ANIMATION,
                                 IDC_CFG_T0,
                                 IDC_CFG_RESET_T0,
                                 IDC_CFG_TMAX,
                                 IDC_CFG_RESET_TMAX};
        for (CCtrlTemplate& c : d.m_Controls)
        {
            const bool trackLabel = c.m_Id == -1 && c.m_Rect.top >= 72;
            if (trackLabel || std::find(std::begin(trackOnly), std::end(trackOnly), c.m_Id) !=
                                  std::end(trackOnly))
                c.m_Style |= WS_HIDDEN;
        }
        using K = ECtrlKind;
        d.Add(K::GroupBox, -1, "Weight filter", 7, 164, 316, 48)
            .Label("Show particles with weights >=", 14, 178, 110, 8)
            .Add(K::Edit, IDC_CFG_FILTERMIN, "", 126, 176, 70, 14)
            .Label("and <=", 202, 178, 30, 8)
            .Add(K::Edit, IDC_CFG_FILTERMAX, "", 234, 176, 70, 14)
            .Label("Data:", 14, 196, 40, 8)
            .Add(K::Edit, IDC_CFG_DATAMIN, "", 126, 194, 70, 14, ES_READONLY)
            .Add(K::Edit, IDC_CFG_DATAMAX, "", 234, 194, 70, 14, ES_READONLY)
            .Add(K::Button, IDC_CFG_RESETFILTER, "Reset", 60, 194, 50, 14)
            .Label("General direction scaling factor", 7, 220, 116, 8)
            .Add(K::Edit, IDC_CFG_DIRSCALE, "", 126, 218, 70, 14)
            .Add(K::CheckBox, IDC_CFG_ARROWS, "Draw arrows", 234, 220, 80, 10);
        return d;
    }();
    return t;
}
} // namespace

CCloudConfigDlg::CCloudConfigDlg(CDialog* pParent) : CConfigDlg(CloudConfigTemplate(), pParent)
{
    m_TMax = 1; // the hidden track settings must pass their range checks
    OnClicked(IDC_CFG_RESETFILTER, &CCloudConfigDlg::OnResetFilter);
}

void CCloudConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CConfigDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CFG_FILTERMIN, m_FilterMin);
    DDX_Text(pDX, IDC_CFG_FILTERMAX, m_FilterMax);
    DDX_Text(pDX, IDC_CFG_DATAMIN, m_DataMinWeight);
    DDX_Text(pDX, IDC_CFG_DATAMAX, m_DataMaxWeight);
    DDX_Text(pDX, IDC_CFG_DIRSCALE, m_DirectionScale);
    DDV_MinMaxDouble(pDX, m_DirectionScale, 0, 1e7);
    DDX_Check(pDX, IDC_CFG_ARROWS, m_DrawArrows);
}

void CCloudConfigDlg::OnResetFilter()
{
    m_FilterMin = m_DataMinWeight;
    m_FilterMax = m_DataMaxWeight;
    SetDlgItemText(IDC_CFG_FILTERMIN, Format("%.15g", m_FilterMin));
    SetDlgItemText(IDC_CFG_FILTERMAX, Format("%.15g", m_FilterMax));
}

} // namespace nebulo3d
