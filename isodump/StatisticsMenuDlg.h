// "Particle statistics": the user picks which report of the loaded data to see.
#pragma once
#include "platform/Dialog.h"

#include <functional>

namespace isodump
{
enum : int
{
    IDD_STATISTICS = 2102,
    IDC_STAT_BYTYPE = 1001,
    IDC_STAT_BYENERGY = 1002,
};

class CStatisticsMenuDlg : public CDialog
{
public:
    using Report = std::function<void(CDialog& menu)>;
    CStatisticsMenuDlg(Report byType, Report byEnergy, CDialog* pParent = nullptr);

private:
    Report m_ByType, m_ByEnergy;
};
} // namespace isodump
