// "Arbitrary averaging volume": the voxel counts of the probing box on either side of the
// crossing point along x, y and z, each 0 .. 10000.
#pragma once
#include "platform/Dialog.h"
#include "volume/analysis/GridAnalysis.h"

namespace volumira3d
{
enum : int
{
    IDD_AVG_VOLUME_CONFIG = 1690,
    IDC_AVG_MINUS_X = 1691,
    IDC_AVG_PLUS_X = 1692,
    IDC_AVG_MINUS_Y = 1693,
    IDC_AVG_PLUS_Y = 1694,
    IDC_AVG_MINUS_Z = 1695,
    IDC_AVG_PLUS_Z = 1696,
};

const CDlgTemplate& AvgVolumeConfigTemplate();

class CAvgVolumeConfigDlg : public CDialog
{
public:
    CAvgVolumeConfigDlg(const CIndex3& minus, const CIndex3& plus, CDialog* pParent = nullptr);
    void DoDataExchange(CDataExchange* pDX) override;

    CIndex3 m_Minus, m_Plus;
};
} // namespace volumira3d
