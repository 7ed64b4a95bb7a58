#include "isotopes/WeightStatConfigDlg.h"

#include "isodump/HistogramForm.h"
#include "platform/Controls.h"

namespace nuclira3d
{
namespace
{
constexpr isodump::CHistogramFormIds WeightStatIds{IDC_WS_MIN, IDC_WS_MAX, IDC_WS_BINS,
                                                   IDC_WS_BINNING};

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
    isodump::FillBinningChoice(*this, WeightStatIds, "linear", "logarithmic");
    return CDialog::OnInitDialog();
}

void CWeightStatConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    isodump::ExchangeHistogramForm(
        pDX, WeightStatIds,
        {m_Settings.m_Min, m_Settings.m_Max, m_Settings.m_Bins, m_Settings.m_Binning},
        MaxHistogramBins);
}
} // namespace nuclira3d
