#include "isodump/StatisticsMenuDlg.h"

namespace isodump
{
namespace
{
constexpr int ButtonWidth = 90, ButtonHeight = 14;

// Two report buttons per row under the prompt, OK below them.
CDlgTemplate MenuTemplate(const std::vector<CStatisticsMenuDlg::CEntry>& entries)
{
    const int rows = (static_cast<int>(entries.size()) + 1) / 2;
    CDlgTemplate d =
        CDlgTemplate::Dialog(IDD_STATISTICS, "Particle statistics", 200, 69 + 20 * rows);
    using K = ECtrlKind;
    d.Label("Please select the type of information that is requested", 7, 7, 186, 16);
    for (size_t i = 0; i < entries.size(); ++i)
    {
        const int x = i % 2 == 0 ? 7 : 103, y = 30 + 20 * static_cast<int>(i / 2);
        d.Add(K::Button, IDC_STAT_FIRST + static_cast<int>(i), entries[i].m_Caption, x, y,
              ButtonWidth, ButtonHeight);
    }
    d.Add(K::Button, IDOK, "OK", 143, d.m_Height - 21, 50, 14, BS_DEFPUSHBUTTON);
    return d;
}
} // namespace

CStatisticsMenuDlg::CStatisticsMenuDlg(Report byType, Report byEnergy, CDialog* pParent)
    : CStatisticsMenuDlg(
          {{"By particle type", std::move(byType)}, {"By Energy", std::move(byEnergy)}}, pParent)
{
}

CStatisticsMenuDlg::CStatisticsMenuDlg(std::vector<CEntry> entries, CDialog* pParent)
    : CDialog(MenuTemplate(entries), pParent), m_Entries(std::move(entries))
{
    for (size_t i = 0; i < m_Entries.size(); ++i)
        MapCommand(IDC_STAT_FIRST + static_cast<int>(i), BN_CLICKED,
                   [this, i] { m_Entries[i].m_Report(*this); });
}
} // namespace isodump
