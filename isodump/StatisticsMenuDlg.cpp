#include "isodump/StatisticsMenuDlg.h"

namespace isodump
{
namespace
{
const CDlgTemplate& MenuTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_STATISTICS;
        d.m_Caption = "Particle statistics";
        d.m_Width = 200;
        d.m_Height = 90;
        using K = ECtrlKind;
        d.Label("Please select the type of information that is requested", 7, 7, 186, 16)
            .Add(K::Button, IDC_STAT_BYTYPE, "By particle type", 7, 30, 90, 14)
            .Add(K::Button, IDC_STAT_BYENERGY, "By Energy", 103, 30, 90, 14)
            .Add(K::Button, IDOK, "OK", 143, 69, 50, 14, BS_DEFPUSHBUTTON);
        return d;
    }();
    return t;
}
} // namespace

CStatisticsMenuDlg::CStatisticsMenuDlg(Report byType, Report byEnergy, CDialog* pParent)
    : CDialog(MenuTemplate(), pParent), m_ByType(std::move(byType)), m_ByEnergy(std::move(byEnergy))
{
    MapCommand(IDC_STAT_BYTYPE, BN_CLICKED, [this] { m_ByType(*this); });
    MapCommand(IDC_STAT_BYENERGY, BN_CLICKED, [this] { m_ByEnergy(*this); });
}
} // namespace isodump
