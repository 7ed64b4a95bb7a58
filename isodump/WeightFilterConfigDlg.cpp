#include "isodump/WeightFilterConfigDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"

namespace isodump
{
using namespace weightfilter;

CDlgTemplate CWeightFilterConfigDlg::Template()
{
    using K = ECtrlKind;
    CDlgTemplate d = ColorEditorTemplate();
    d.Add(K::GroupBox, -1, "Weight filter", 7, 164, 316, 48)
        .Label("Show particles with weights >=", 14, 178, 110, 8)
        .Add(K::Edit, IDC_CFG_FILTERMIN, "", 126, 176, 70, 14)
        .Label("and <=", 202, 178, 30, 8)
        .Add(K::Edit, IDC_CFG_FILTERMAX, "", 234, 176, 70, 14)
        .Label("Data:", 14, 196, 40, 8)
        .Add(K::Edit, IDC_CFG_DATAMIN, "", 126, 194, 70, 14, ES_READONLY)
        .Add(K::Edit, IDC_CFG_DATAMAX, "", 234, 194, 70, 14, ES_READONLY)
        .Add(K::Button, IDC_CFG_RESETFILTER, "Reset", 60, 194, 50, 14);
    return d;
}

CWeightFilterConfigDlg::CWeightFilterConfigDlg(const CDlgTemplate& tmpl, CDialog* pParent)
    : CConfigDlg(tmpl, pParent)
{
    m_TMax = 1; // the hidden track settings must pass their range checks
    OnClicked(IDC_CFG_RESETFILTER, &CWeightFilterConfigDlg::OnResetFilter);
}

void CWeightFilterConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CConfigDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CFG_FILTERMIN, m_FilterMin);
    DDX_Text(pDX, IDC_CFG_FILTERMAX, m_FilterMax);
    DDX_Text(pDX, IDC_CFG_DATAMIN, m_DataMinWeight);
    DDX_Text(pDX, IDC_CFG_DATAMAX, m_DataMaxWeight);
}

void CWeightFilterConfigDlg::OnResetFilter()
{
    m_FilterMin = m_DataMinWeight;
    m_FilterMax = m_DataMaxWeight;
    SetDlgItemText(IDC_CFG_FILTERMIN, Format("%.15g", m_FilterMin));
    SetDlgItemText(IDC_CFG_FILTERMAX, Format("%.15g", m_FilterMax));
}
} // namespace isodump
