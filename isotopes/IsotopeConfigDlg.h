// The configuration dialog of the isotope viewer: the shared colour editor with the weight
// filter range and the general scaling factor of the emitters' size.
#pragma once
#include "common/ConfigDlg.h"

namespace nuclira3d
{
enum : int
{
    IDC_CFG_FILTERMIN = 1040,
    IDC_CFG_FILTERMAX = 1041,
    IDC_CFG_DATAMIN = 1042,
    IDC_CFG_DATAMAX = 1043,
    IDC_CFG_RESETFILTER = 1044,
    IDC_CFG_SCALE = 1045,
};

class CIsotopeConfigDlg : public CConfigDlg
{
public:
    explicit CIsotopeConfigDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    double m_FilterMin = 1e30, m_FilterMax = 1e-30;
    double m_DataMinWeight = 0, m_DataMaxWeight = 0;
    float m_ScaleFactor = 1.0f;

private:
    void OnResetFilter();
};
} // namespace nuclira3d
