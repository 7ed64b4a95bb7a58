#include "isodump/LogDlg.h"

#include "platform/SafeWrite.h"

#include "isodump/IsodumpSettings.h"
#include "platform/UiServices.h"

#include <fstream>

namespace isodump
{
namespace
{
const CDlgTemplate& LogTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_LOG, "Log window", 400, 280)
            .Add(K::Edit, IDC_LOG_TEXT, "", 7, 7, 386, 244, ES_MULTILINE | ES_READONLY)
            .Add(K::Button, IDC_LOG_SAVE, "Save", 285, 259, 50, 14)
            .Add(K::Button, IDOK, "OK", 343, 259, 50, 14, BS_DEFPUSHBUTTON);
    return t;
}
} // namespace

bool WriteResultFile(const std::string& path, const std::string& text, const std::tm& utc)
{
    CSafeOutput file(path);
    std::ostream& out = file.Stream();
    out << "# Date : " << utc.tm_mday << '.' << utc.tm_mon + 1 << '.' << utc.tm_year + 1900 << '\n'
        << "# Time: " << utc.tm_hour << ':' << utc.tm_min << ':' << utc.tm_sec << '\n'
        << text << '\n';
    return file.Commit();
}

CLogDlg::CLogDlg(std::string text, CProfile* pProfile, CDialog* pParent)
    : CDialog(LogTemplate(), pParent), m_Text(std::move(text)), m_pProfile(pProfile)
{
    OnClicked(IDC_LOG_SAVE, &CLogDlg::OnSave);
}

BOOL CLogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_LOG_TEXT, m_Text);
    return TRUE;
}

void CLogDlg::OnSave()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    CFileDialog dlg(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Result file (*.txt)|*.txt|All Files (*.*)|*.*|", this);
    CIsodumpSettings settings(m_pProfile);
    const std::string folder = settings.GetResultPath();
    dlg.SetInitialDir(folder);
    if (dlg.DoModal() != IDOK) return;
    settings.SetResultPath(folder);
    if (!WriteResultFile(dlg.GetPathName(), m_Text, utc))
    {
        AfxMessageBox("Sorry, can't write to file!", MB_ICONERROR);
        return;
    }
    AfxMessageBox("Results saved", MB_ICONINFORMATION);
}
} // namespace isodump
