// "Data extraction": which projection plane a plane extraction reads.
#pragma once
#include "platform/Dialog.h"

namespace volumira3d
{
enum : int
{
    IDD_DATA_SRC = 1600,
    IDC_DATA_SRC_PLANE = 1601,
};

const CDlgTemplate& DataSrcTemplate();

class CDataSrcDlg : public CDialog
{
public:
    explicit CDataSrcDlg(int plane, CDialog* pParent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int m_Plane; // 0 XY, 1 YZ, 2 ZX
};
} // namespace volumira3d
