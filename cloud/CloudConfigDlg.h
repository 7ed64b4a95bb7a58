// The configuration dialog of the cloud viewer: the shared colour editor with the weight filter
// range, the direction scaling factor and the arrow switch in place of the track settings.
#pragma once
#include "common/ConfigDlg.h"

namespace nebulo3d
{
enum : int
{
    IDC_CFG_FILTERMIN = 1040,
    IDC_CFG_FILTERMAX = 1041,
    IDC_CFG_DATAMIN = 1042,
    IDC_CFG_DATAMAX = 1043,
    IDC_CFG_RESETFILTER = 1044,
    IDC_CFG_DIRSCALE = 1045,
    IDC_CFG_ARROWS = 1046,
};

class CCloudConfigDlg : public CConfigDlg
{
public:
    explicit CCloudConfigDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    double m_FilterMin = 1e30, m_FilterMax = 1e-30;
    double m_DataMinWeight = 0, m_DataMaxWeight = 0;
    double m_DirectionScale = 10.0;
    bool m_DrawArrows = false;

private:
    void OnResetFilter();
};
} // namespace nebulo3d
