#include "volume/analysis/DataSrcDlg.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"

namespace volumira3d
{
const CDlgTemplate& DataSrcTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_DATA_SRC, "Data extraction", 200, 70)
            .Label("Please select the projection plane as the data source", 7, 7, 186, 8)
            .Add(K::ComboBox, IDC_DATA_SRC_PLANE, "", 7, 22, 60, 60)
            .Add(K::Button, IDOK, "OK", 89, 49, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 143, 49, 50, 14);
    return t;
}

CDataSrcDlg::CDataSrcDlg(int plane, CDialog* pParent)
    : CDialog(DataSrcTemplate(), pParent), m_Plane(plane)
{
}

BOOL CDataSrcDlg::OnInitDialog()
{
    CComboBox planes(this, IDC_DATA_SRC_PLANE);
    planes.ResetContent();
    for (const char* name : {"XY", "YZ", "ZX"})
        planes.AddString(name);
    return CDialog::OnInitDialog();
}

void CDataSrcDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_DATA_SRC_PLANE, m_Plane);
}
} // namespace volumira3d
