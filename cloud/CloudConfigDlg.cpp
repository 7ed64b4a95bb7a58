#include "cloud/CloudConfigDlg.h"

#include "platform/DataExchange.h"

namespace nebulo3d
{
namespace
{
// The colour editor and the weight filter with the cloud's settings below them.
const CDlgTemplate& CloudConfigTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        isodump::CWeightFilterConfigDlg::Template()
            .Label("General direction scaling factor", 7, 220, 116, 8)
            .Add(K::Edit, IDC_CFG_DIRSCALE, "", 126, 218, 70, 14)
            .Add(K::CheckBox, IDC_CFG_ARROWS, "Draw arrows", 234, 220, 80, 10);
    return t;
}
} // namespace

CCloudConfigDlg::CCloudConfigDlg(CDialog* pParent)
    : CWeightFilterConfigDlg(CloudConfigTemplate(), pParent)
{
}

void CCloudConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CWeightFilterConfigDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CFG_DIRSCALE, m_DirectionScale);
    DDV_MinMaxDouble(pDX, m_DirectionScale, 0, 1e7);
    DDX_Check(pDX, IDC_CFG_ARROWS, m_DrawArrows);
}
} // namespace nebulo3d
