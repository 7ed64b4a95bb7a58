#include "cloud/McplSamplingDlg.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

namespace nebulo3d
{
namespace
{
CDlgTemplate SamplingTemplate(std::uint64_t particles, double megabytes)
{
    using K = ECtrlKind;
    const std::string text = Format("The file holds %llu particles; all of them take about "
                                    "%.0f MB of memory.",
                                    static_cast<unsigned long long>(particles), megabytes);
    return CDlgTemplate::Dialog(IDD_MCPL_SAMPLING, "MCPL particles", 260, 84)
        .Label(text, 7, 7, 246, 16)
        .Label("Read", 7, 30, 60, 8)
        .Add(K::ComboBox, IDC_MCPL_WHICH, "", 70, 28, 110, 50)
        .Label("N", 7, 48, 60, 8)
        .Add(K::Edit, IDC_MCPL_N, "", 70, 46, 70, 14)
        .Add(K::Button, IDOK, "OK", 149, 64, 50, 14, BS_DEFPUSHBUTTON)
        .Add(K::Button, IDCANCEL, "Cancel", 203, 64, 50, 14);
}
} // namespace

CMcplSamplingDlg::CMcplSamplingDlg(std::uint64_t particles, double megabytes, CDialog* pParent)
    : CDialog(SamplingTemplate(particles, megabytes), pParent)
{
}

BOOL CMcplSamplingDlg::OnInitDialog()
{
    CComboBox which(this, IDC_MCPL_WHICH);
    for (const char* text : {"All particles", "Every N-th particle", "First N particles"})
        which.AddString(text);
    return CDialog::OnInitDialog();
}

void CMcplSamplingDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_MCPL_WHICH, m_Which);
    DDX_Text(pDX, IDC_MCPL_N, m_N);
    DDV_MinMaxUInt(pDX, m_N, 1, 4000000000u);
}

CMcplReader::SamplingQuestion CMcplSamplingDlg::Question(CDialog* pParent)
{
    return [pParent](std::uint64_t particles, double megabytes, CMcplSampling& sampling)
    {
        CMcplSamplingDlg dlg(particles, megabytes, pParent);
        if (dlg.DoModal() != IDOK) return false;
        using M = CMcplSampling::EMode;
        sampling.m_Mode = dlg.m_Which == 1 ? M::EveryNth : dlg.m_Which == 2 ? M::FirstN : M::All;
        sampling.m_N = dlg.m_N;
        return true;
    };
}
} // namespace nebulo3d
