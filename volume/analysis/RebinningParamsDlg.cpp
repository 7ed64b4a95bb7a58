#include "volume/analysis/RebinningParamsDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/model/VoxelGrid.h"

#include <string>

namespace volumira3d
{
const CDlgTemplate& RebinningParamsTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t = []
    {
        auto d = CDlgTemplate::Dialog(IDD_REBINNING, "Rebinning parameters", 250, 100);
        const char* axes[3] = {"X", "Y", "Z"};
        for (int a = 0; a < 3; ++a)
        {
            const int y = 7 + 18 * a;
            d.Label(std::string(axes[a]) + " bin size:", 7, y + 2, 40, 8)
                .Add(K::Edit, IDC_REBIN_SIZE_X + a, "", 48, y, 50, 12, ES_READONLY)
                .Label(std::string("old # ") + axes[a] + " bins:", 102, y + 2, 45, 8)
                .Add(K::Edit, IDC_REBIN_OLD_X + a, "", 148, y, 30, 12, ES_READONLY)
                .Label(std::string("new # ") + axes[a] + " bins:", 182, y + 2, 32, 8)
                .Add(K::Edit, IDC_REBIN_NEW_X + a, "", 214, y, 30, 12);
        }
        d.Add(K::Button, IDOK, "Save", 140, 79, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 194, 79, 50, 14);
        return d;
    }();
    return t;
}

CRebinningParamsDlg::CRebinningParamsDlg(const CVoxelGrid& grid, CDialog* pParent)
    : CDialog(RebinningParamsTemplate(), pParent), m_BinSize{grid.m_BinWidth[0], grid.m_BinWidth[1],
                                                             grid.m_BinWidth[2]},
      m_OldBins{grid.m_NrXBins, grid.m_NrYBins, grid.m_NrZBins}, m_NewBins(m_OldBins)
{
}

void CRebinningParamsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int a = 0; a < 3; ++a)
    {
        if (!pDX->m_SaveAndValidate) // shown only; the grid's own counts are kept
        {
            DDX_Text(pDX, IDC_REBIN_SIZE_X + a, m_BinSize[a]);
            DDX_Text(pDX, IDC_REBIN_OLD_X + a, m_OldBins[a]);
        }
        DDX_Text(pDX, IDC_REBIN_NEW_X + a, m_NewBins[a]);
        DDV_MinMaxInt(pDX, m_NewBins[a], 1, 1000000);
    }
}

void CRebinningParamsDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    const std::string problem = CheckRebinning(m_OldBins, m_NewBins);
    if (!problem.empty())
    {
        AfxMessageBox(problem, MB_ICONERROR);
        return;
    }
    EndDialog(IDOK);
}
} // namespace volumira3d
