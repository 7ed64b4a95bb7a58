#include "isodump/PointCloudDlg.h"

#include "common/TextCase.h"
#include "common/VtkExport.h"
#include "isodump/IsodumpSettings.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace isodump
{
using namespace pointcloud;

std::string LowerExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    return LowerCase(ext);
}

CDlgTemplate CPointCloudDlg::Template(int id, std::string caption,
                                      const std::function<void(CDlgTemplate&)>& addLists,
                                      std::initializer_list<COption> options)
{
    using K = ECtrlKind;
    CDlgTemplate d = CDlgTemplate::Dialog(id, std::move(caption), 320, 262)
                         .Label("Data file", 7, 7, 100, 8)
                         .Add(K::Edit, IDC_FILENAME, "", 7, 17, 226, 14)
                         .Add(K::Button, IDC_BROWSE, "...", 237, 17, 20, 14)
                         .Add(K::Button, IDC_LOAD, "Load", 261, 17, 52, 14)
                         .Add(K::CheckBox, IDC_VISUALIZE, "Visualize", 7, 37, 60, 16, BS_PUSHLIKE)
                         .Add(K::Button, IDC_CLEAR, "Clear", 71, 37, 50, 16)
                         .Add(K::Button, IDC_CONFIGURE, "Configure", 125, 37, 60, 16)
                         .Add(K::Button, IDC_STATISTICS, "Statistics", 189, 37, 60, 16);
    addLists(d);
    d.Add(K::Button, IDC_CHECKALL, "Check all", 7, 193, 73, 14)
        .Add(K::Button, IDC_UNCHECKALL, "Uncheck all", 84, 193, 73, 14)
        .Label("Drawing mode", 163, 60, 100, 8)
        .Add(K::ComboBox, IDC_MODE, "", 163, 70, 150, 60);
    int y = 90;
    for (const COption& option : options)
    {
        d.Add(K::CheckBox, option.m_Id, option.m_Text, 163, y, 150, 10);
        y += 14;
    }
    d.Add(K::Progress, IDC_PROGRESS, "", 7, 214, 306, 10)
        .Add(K::Button, IDCANCEL, "Close", 263, 240, 50, 14);
    return d;
}

CPointCloudDlg::CPointCloudDlg(CDlgTemplate tmpl, CPointCloudSetup setup, CHostInterface* pHost,
                               CProfile* pProfile)
    : CDialog(std::move(tmpl)), m_pHost(pHost), m_pProfile(pProfile), m_Setup(std::move(setup))
{
    OnClicked(IDC_BROWSE, &CPointCloudDlg::OnBrowse);
    OnClicked(IDC_LOAD, &CPointCloudDlg::OnLoad);
    OnClicked(IDC_CLEAR, &CPointCloudDlg::OnClear);
    OnClicked(IDC_VISUALIZE, &CPointCloudDlg::OnVisualize);
    MapCommand(IDC_MODE, CBN_SELCHANGE, &CPointCloudDlg::OnMode);
    OnClicked(IDC_TRANSPARENT, &CPointCloudDlg::OnTransparent);
    OnClicked(IDC_WEIGHTFILTER, &CPointCloudDlg::OnWeightFilter);
    OnClicked(IDC_CHECKALL, &CPointCloudDlg::OnCheckAll);
    OnClicked(IDC_UNCHECKALL, &CPointCloudDlg::OnUncheckAll);
    OnClicked(IDC_CONFIGURE, &CPointCloudDlg::OnConfigure);
    OnClicked(IDC_STATISTICS, &CPointCloudDlg::OnStatistics);
}

void CPointCloudDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_Progress);
    DDX_Text(pDX, IDC_FILENAME, m_FileName);
    DDX_CBIndex(pDX, IDC_MODE, Display().m_Mode);
}

BOOL CPointCloudDlg::OnInitDialog()
{
    CComboBox mode(this, IDC_MODE);
    for (const char* text : m_Setup.m_Modes)
        mode.AddString(text);
    CDialog::OnInitDialog();
    AppendSystemMenuItem(IDM_EXPORT_VTK, ExportVtkMenuText);
    RefreshControls();
    return TRUE;
}

void CPointCloudDlg::OnSysCommand(UINT nID)
{
    if (nID == IDM_EXPORT_VTK) ExportVtk();
}

void CPointCloudDlg::Redraw()
{
    if (m_pHost) m_pHost->RedrawView();
}

void CPointCloudDlg::OnBrowse()
{
    CFileDialog dlg(TRUE, m_Setup.m_DefaultExt, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    m_Setup.m_Filter, this);
    CIsodumpSettings settings(m_pProfile);
    const std::string folder = settings.GetImportPath(m_Setup.m_ProfileSection);
    dlg.SetInitialDir(folder);
    const bool chosen = dlg.DoModal() == IDOK;
    settings.SetImportPath(m_Setup.m_ProfileSection, folder);
    if (!chosen) return;
    m_FileName = dlg.GetPathName();
    OnFileChosen();
    SetDlgItemText(IDC_FILENAME, m_FileName);
}

void CPointCloudDlg::OnLoad()
{
    if (!UpdateData(TRUE)) return;
    CWaitCursor wait;
    m_Visualize = false;
    const bool read = ReadData(&m_Progress);
    wait.End();
    if (!read)
        AfxMessageBox("Error reading data", MB_ICONERROR);
    else
    {
        OnDataRead();
        ReportWarnings();
    }
    RefreshControls();
    Redraw();
}

int CPointCloudDlg::OpenFromHost(const std::string& path, std::string& message)
{
    m_FileName = path;
    UpdateData(FALSE);
    OnLoad();
    if (!HasData())
    {
        message = "Error reading data";
        return -1;
    }
    SetAllVisible(true);
    CheckDlgButton(pointcloud::IDC_VISUALIZE, 1);
    OnVisualize();
    ShowWindow(SW_SHOW);
    return 1;
}

void CPointCloudDlg::ReportWarnings()
{
    const std::vector<std::string>& warnings = Warnings();
    if (warnings.empty()) return;
    const size_t count = WarningCount();
    std::string text = Format("%zu problem(s) while reading the file:", count);
    for (size_t i = 0; i < std::min<size_t>(warnings.size(), 5); ++i)
        text += "\n" + warnings[i];
    if (count > 5) text += "\n...";
    AfxMessageBox(text, MB_ICONWARNING);
}

void CPointCloudDlg::OnClear()
{
    ClearData();
    m_Visualize = false;
    Redraw();
    RefreshControls();
}

void CPointCloudDlg::OnMode()
{
    const int last = static_cast<int>(m_Setup.m_Modes.size()) - 1;
    Display().m_Mode = std::clamp(CComboBox(this, IDC_MODE).GetCurSel(), 0, last);
    Redraw();
}

void CPointCloudDlg::OnTransparent()
{
    Display().m_Transparent = IsDlgButtonChecked(IDC_TRANSPARENT) != 0;
    Redraw();
}

void CPointCloudDlg::OnWeightFilter()
{
    Display().m_Filter = IsDlgButtonChecked(IDC_WEIGHTFILTER) != 0;
    Redraw();
}

bool CPointCloudDlg::RequireData(const char* message)
{
    if (HasData()) return true;
    AfxMessageBox(message, MB_ICONINFORMATION);
    return false;
}

void CPointCloudDlg::RefreshControls()
{
    UpdateData(FALSE);
    FillLists();
    CheckDlgButton(IDC_VISUALIZE, m_Visualize ? 1 : 0);
}
} // namespace isodump
