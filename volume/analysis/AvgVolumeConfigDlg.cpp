#include "volume/analysis/AvgVolumeConfigDlg.h"

#include "platform/DataExchange.h"

namespace volumira3d
{
namespace
{
constexpr int MaxVoxels = 10000;
const char* const Labels[6] = {"# voxels in -X", "# voxels in +X", "# voxels in -Y",
                               "# voxels in +Y", "# voxels in -Z", "# voxels in +Z"};
} // namespace

const CDlgTemplate& AvgVolumeConfigTemplate()
{
    static const CDlgTemplate t = []
    {
        auto d = CDlgTemplate::Dialog(IDD_AVG_VOLUME_CONFIG, "Arbitrary averaging volume", 180, 90);
        for (int i = 0; i < 6; ++i)
        {
            const int x = 7 + (i % 2) * 88, y = 9 + (i / 2) * 18;
            d.Label(Labels[i], x, y + 2, 52, 8)
                .Add(ECtrlKind::Edit, IDC_AVG_MINUS_X + i, "", x + 52, y, 30, 12);
        }
        d.Add(ECtrlKind::Button, IDOK, "OK", 69, 69, 50, 14, BS_DEFPUSHBUTTON)
            .Add(ECtrlKind::Button, IDCANCEL, "Cancel", 123, 69, 50, 14);
        return d;
    }();
    return t;
}

CAvgVolumeConfigDlg::CAvgVolumeConfigDlg(const CIndex3& minus, const CIndex3& plus,
                                         CDialog* pParent)
    : CDialog(AvgVolumeConfigTemplate(), pParent), m_Minus(minus), m_Plus(plus)
{
}

void CAvgVolumeConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int a = 0; a < 3; ++a)
    {
        DDX_Text(pDX, IDC_AVG_MINUS_X + 2 * a, m_Minus[a]);
        DDV_MinMaxInt(pDX, m_Minus[a], 0, MaxVoxels);
        DDX_Text(pDX, IDC_AVG_PLUS_X + 2 * a, m_Plus[a]);
        DDV_MinMaxInt(pDX, m_Plus[a], 0, MaxVoxels);
    }
}
} // namespace volumira3d
