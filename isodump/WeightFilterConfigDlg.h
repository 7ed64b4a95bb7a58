// The configuration dialog both point-cloud viewers build on: the colour editor with the weight
// filter block below it (the range shown, the loaded data's range and a Reset that takes it
// over). A viewer adds its own settings from dialog unit 218 down.
#pragma once
#include "common/ConfigDlg.h"

namespace isodump
{
namespace weightfilter
{
enum : int
{
    IDC_CFG_FILTERMIN = 1040,
    IDC_CFG_FILTERMAX = 1041,
    IDC_CFG_DATAMIN = 1042,
    IDC_CFG_DATAMAX = 1043,
    IDC_CFG_RESETFILTER = 1044,
};
} // namespace weightfilter

class CWeightFilterConfigDlg : public CConfigDlg
{
public:
    // The colour editor and the weight filter block.
    static CDlgTemplate Template();

    void DoDataExchange(CDataExchange* pDX) override;

    double m_FilterMin = 1e30, m_FilterMax = 1e-30;
    double m_DataMinWeight = 0, m_DataMaxWeight = 0;

protected:
    CWeightFilterConfigDlg(const CDlgTemplate& tmpl, CDialog* pParent);

private:
    void OnResetFilter();
};
} // namespace isodump
