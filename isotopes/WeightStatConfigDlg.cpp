#include "isotopes/WeightStatConfigDlg.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"

namespace nuclira3d
{
namespace
{
const CDlgTemplate& WeightStatTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_WEIGHTSTAT, "Weight statistics", 200, 110)
            .Label("Minimum weight:", 7, 9, 80, 8)
            .Add(K::Edit, IDC_WS_MIN, "", 95, 7, 98, 14)
            .Label("Maximum weight:", 7, 27, 80, 8)
            .Add(K::Edit, IDC_WS_MAX, "", 95, 25, 98, 14)
            .Label("Number of bins:", 7, 45, 80, 8)
            .Add(K::Edit, IDC_WS_BINS, "", 95, 43, 98, 14)
            .Label("Binning type:", 7, 63, 80, 8)
            .Add(K::ComboBox, IDC_WS_BINNING, "", 95, 61, 98, 40)
            .Add(K::Button, IDOK, "OK", 85, 89, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 143, 89, 50, 14);
    return t;
}
} // namespace

CWeightStatConfigDlg::CWeightStatConfigDlg(const CWeightStatSettings& defaults, CDialog* pParent)
    : CDialog(WeightStatTemplate(), pParent), m_Settings(defaults)
{
}

BOOL CWeightStatConfigDlg::OnInitDialog()
{
    CComboBox binning(this, IDC_WS_BINNING);
    binning.AddString("linear");
    binning.AddString("logarithmic");
    return CDialog::OnInitDialog();
}

void CWeightStatConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_WS_MIN, m_Settings.m_Min);
    DDX_Text(pDX, IDC_WS_MAX, m_Settings.m_Max);
    DDX_Text(pDX, IDC_WS_BINS, m_Settings.m_Bins);
    DDV_MinMaxUInt(pDX, m_Settings.m_Bins, 1, MaxHistogramBins);
    DDX_CBIndex(pDX, IDC_WS_BINNING, m_Settings.m_Binning);
}
} // namespace nuclira3d
