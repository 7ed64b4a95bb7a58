#include "cloud/EnergyHistoDlg.h"

#include "cloud/ParticleDataReader.h"
#include "isodump/HistogramForm.h"
#include "isodump/LogDlg.h"
#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

namespace nebulo3d
{
namespace
{
constexpr isodump::CHistogramFormIds HistoIds{IDC_HIST_MIN, IDC_HIST_MAX, IDC_HIST_BINS,
                                              IDC_HIST_BINNING};

const CDlgTemplate& HistoTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_ENERGYHISTO, "Energy histogram", 250, 120)
            .Label("Minimum energy (standard unit of your data - GeV for FLUKA)", 7, 7, 160, 16)
            .Add(K::Edit, IDC_HIST_MIN, "", 173, 7, 70, 14)
            .Label("Maximum energy (standard unit of your data - GeV for FLUKA)", 7, 27, 160, 16)
            .Add(K::Edit, IDC_HIST_MAX, "", 173, 27, 70, 14)
            .Label("Binning", 7, 49, 100, 8)
            .Add(K::ComboBox, IDC_HIST_BINNING, "", 173, 47, 70, 40)
            .Label("Number of bins", 7, 67, 100, 8)
            .Add(K::Edit, IDC_HIST_BINS, "", 173, 65, 70, 14)
            .Add(K::Button, IDC_HIST_CALCULATE, "Calculate", 135, 99, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Close", 193, 99, 50, 14);
    return t;
}
} // namespace

CEnergyHistoDlg::CEnergyHistoDlg(const CParticleDataReader& reader, CProfile* pProfile,
                                 CDialog* pParent)
    : CDialog(HistoTemplate(), pParent), m_MinEnergy(reader.m_MinEnergy),
      m_MaxEnergy(reader.m_MaxEnergy), m_Reader(reader), m_pProfile(pProfile)
{
    OnClicked(IDC_HIST_CALCULATE, &CEnergyHistoDlg::OnCalculate);
}

BOOL CEnergyHistoDlg::OnInitDialog()
{
    isodump::FillBinningChoice(*this, HistoIds, "Logarithmic", "Linear");
    return CDialog::OnInitDialog();
}

void CEnergyHistoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    isodump::ExchangeHistogramForm(pDX, HistoIds, {m_MinEnergy, m_MaxEnergy, m_Bins, m_Binning},
                                   MaxHistogramBins);
}

void CEnergyHistoDlg::OnCalculate()
{
    if (!UpdateData(TRUE)) return;
    const CHistogramSettings settings{m_MinEnergy, m_MaxEnergy, m_Binning == 0, m_Bins};
    const EHistogramCheck check = CheckHistogram(settings);
    if (check != EHistogramCheck::Ok)
    {
        AfxMessageBox(HistogramMessage(check), MB_ICONWARNING);
        return;
    }
    isodump::CLogDlg log(HistogramReport(m_Reader, settings), m_pProfile, this);
    log.DoModal();
}
} // namespace nebulo3d
