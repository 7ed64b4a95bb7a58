// "Rebinning parameters": new bin counts for the rebinned FLUKA USRBIN file. "Save" refuses
// counts that do not divide the old ones and keeps the dialog open.
#pragma once
#include "platform/Dialog.h"
#include "volume/analysis/GridAnalysis.h"

namespace volumira3d
{
enum : int
{
    IDD_REBINNING = 1620,
    IDC_REBIN_SIZE_X = 1621, // three consecutive ids each: X, Y, Z
    IDC_REBIN_OLD_X = 1624,
    IDC_REBIN_NEW_X = 1627,
};

const CDlgTemplate& RebinningParamsTemplate();

class CRebinningParamsDlg : public CDialog
{
public:
    CRebinningParamsDlg(const CVoxelGrid& grid, CDialog* pParent = nullptr);
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    double m_BinSize[3];
    CIndex3 m_OldBins;
    CIndex3 m_NewBins;
};
} // namespace volumira3d
