// "Weight statistics": the range, number and kind of bins of the weight histogram.
#pragma once
#include "isotopes/IsotopeStatistics.h"
#include "platform/Dialog.h"

namespace nuclira3d
{
enum : int
{
    IDD_WEIGHTSTAT = 2201,
    IDC_WS_MIN = 1001,
    IDC_WS_MAX = 1002,
    IDC_WS_BINS = 1003,
    IDC_WS_BINNING = 1004,
};

class CWeightStatConfigDlg : public CDialog
{
public:
    explicit CWeightStatConfigDlg(const CWeightStatSettings& defaults, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CWeightStatSettings m_Settings;
};
} // namespace nuclira3d
