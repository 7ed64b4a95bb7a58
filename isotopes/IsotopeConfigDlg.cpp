#include "isotopes/IsotopeConfigDlg.h"

#include "platform/DataExchange.h"

namespace nuclira3d
{
namespace
{
const CDlgTemplate& IsotopeConfigTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t = []
    {
        CDlgTemplate d = isodump::CWeightFilterConfigDlg::Template();
        d.m_Height = 270;
        d.Label("General scaling factor:", 7, 220, 110, 8)
            .Add(K::Edit, IDC_CFG_SCALE, "", 126, 218, 70, 14)
            .Label("NOTE: In general the screen (pixel) size of the spheres&/boxes is set via the "
                   "SnapPointSize settings in Tessaron} It can be changed via the View - Settings "
                   "menu item.",
                   7, 238, 316, 24);
        return d;
    }();
    return t;
}
} // namespace

CIsotopeConfigDlg::CIsotopeConfigDlg(CDialog* pParent)
    : CWeightFilterConfigDlg(IsotopeConfigTemplate(), pParent)
{
}

void CIsotopeConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CWeightFilterConfigDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CFG_SCALE, m_ScaleFactor);
    DDV_MinMaxFloat(pDX, m_ScaleFactor, 0, 1e7f);
}
} // namespace nuclira3d
