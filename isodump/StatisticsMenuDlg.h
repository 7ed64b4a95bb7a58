// "Particle statistics": the user picks which report of the loaded data to see. Each plug-in
// names its own reports; their buttons get the ids 1001, 1002, ... in the order given.
#pragma once
#include "platform/Dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace isodump
{
enum : int
{
    IDD_STATISTICS = 2102,
    IDC_STAT_FIRST = 1001,
    IDC_STAT_BYTYPE = 1001,
    IDC_STAT_BYENERGY = 1002,
};

class CStatisticsMenuDlg : public CDialog
{
public:
    using Report = std::function<void(CDialog& menu)>;
    struct CEntry
    {
        std::string m_Caption;
        Report m_Report;
    };
    // The particle cloud's two reports, "By particle type" and "By Energy".
    CStatisticsMenuDlg(Report byType, Report byEnergy, CDialog* pParent = nullptr);
    CStatisticsMenuDlg(std::vector<CEntry> entries, CDialog* pParent = nullptr);

private:
    std::vector<CEntry> m_Entries;
};
} // namespace isodump
