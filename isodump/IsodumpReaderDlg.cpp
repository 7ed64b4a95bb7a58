#include "isodump/IsodumpReaderDlg.h"

#include "platform/Controls.h"

namespace isodump
{
namespace
{
const CDlgTemplate& IsodumpTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_ISODUMP, "Isodump reader", 260, 200)
            .Label("Please select a cooling time for which the isotopes should be retrieved", 7, 7,
                   246, 16)
            .Add(K::ListBox, IDC_ISO_TIMES, "", 7, 26, 246, 90)
            .Add(K::GroupBox, -1, "", 7, 120, 246, 52)
            .Label("NOTE: All isotopes will be visualized with the color used for protons. As "
                   "they will act as isotropic sources no real direction is available. However "
                   "a default dummy direction (0,0,1) is introduced to allow for visualization "
                   "with weight scaling.",
                   12, 128, 236, 40)
            .Add(K::Button, IDOK, "OK", 145, 178, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 203, 178, 50, 14);
    return t;
}
} // namespace

CIsodumpReaderDlg::CIsodumpReaderDlg(const std::vector<std::string>& labels, CDialog* pParent)
    : CDialog(IsodumpTemplate(), pParent), m_Labels(labels)
{
}

BOOL CIsodumpReaderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CListBox list(this, IDC_ISO_TIMES);
    for (const std::string& label : m_Labels)
        list.AddString(label);
    list.SetCurSel(0);
    m_CoolingTime = 0;
    return TRUE;
}

void CIsodumpReaderDlg::OnOK()
{
    const int sel = CListBox(this, IDC_ISO_TIMES).GetCurSel();
    m_CoolingTime = (sel < 0 ? 0 : sel) + 1;
    EndDialog(IDOK);
}
} // namespace isodump
