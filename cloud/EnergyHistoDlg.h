// "Energy histogram": energy range, binning and number of bins; "Calculate" shows the histogram
// of every particle type in the log window and leaves this dialog open for another try.
#pragma once
#include "cloud/Statistics.h"
#include "platform/Dialog.h"

class CProfile;

namespace nebulo3d
{
class CParticleDataReader;

enum : int
{
    IDD_ENERGYHISTO = 1210,
    IDC_HIST_MIN = 1001,
    IDC_HIST_MAX = 1002,
    IDC_HIST_BINNING = 1003,
    IDC_HIST_BINS = 1004,
    IDC_HIST_CALCULATE = 1005,
};

class CEnergyHistoDlg : public CDialog
{
public:
    CEnergyHistoDlg(const CParticleDataReader& reader, CProfile* pProfile,
                    CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    double m_MinEnergy, m_MaxEnergy;
    int m_Binning = 0; // 0 logarithmic, 1 linear
    unsigned m_Bins = 10;

private:
    void OnCalculate();

    const CParticleDataReader& m_Reader;
    CProfile* m_pProfile;
};
} // namespace nebulo3d
