#include "volume/averaging/CalcFLUKAAverageDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/averaging/UserDefWeightsDlg.h"
#include "volume/model/VolumeSettings.h"

namespace volumira3d
{
namespace
{
constexpr const char* Operations[] = {"Average", "Ratio", "Sum", "Difference", "Multiply"};
constexpr int ProgressRange = 1000;
} // namespace

const CDlgTemplate& CalcFLUKAAverageTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_CALC_AVERAGE, "Average FLUKA outputs", 360, 300)
            .Label("Data files", 7, 7, 100, 8)
            .Add(K::ListBox, IDC_AVG_FILES, "", 7, 17, 220, 80)
            .Add(K::Button, IDC_AVG_ADD, "Add", 233, 17, 120, 14)
            .Add(K::Button, IDC_AVG_REMOVE, "Remove", 233, 35, 120, 14)
            .Add(K::Button, IDC_AVG_REMOVE_ALL, "Remove all", 233, 53, 120, 14)
            .Add(K::Button, IDC_AVG_WEIGHTS, "Set user defined normalization", 233, 71, 120, 14)
            .Label("Result file", 7, 104, 60, 8)
            .Add(K::Edit, IDC_AVG_RESULT, "", 7, 114, 320, 14)
            .Add(K::Button, IDC_AVG_RESULT_BROWSE, "...", 333, 114, 20, 14)
            .Add(K::CheckBox, IDC_AVG_CALC_ERROR, "Calculate error", 7, 134, 120, 10)
            .Add(K::CheckBox, IDC_AVG_INDIVIDUAL_WEIGHTS, "Consider individual weights from files",
                 130, 134, 150, 10)
            .Label("Data options", 7, 152, 50, 8)
            .Add(K::ComboBox, IDC_AVG_OPERATION_CHOICE, "", 60, 150, 90, 80)
            .Add(K::Button, IDC_AVG_RUN, "Average", 156, 149, 60, 14)
            .Add(K::ListView, IDC_AVG_LOG, "", 7, 170, 346, 90)
            .Add(K::Progress, IDC_AVG_PROGRESS, "", 7, 265, 346, 10)
            .Add(K::Button, IDCANCEL, "Close", 303, 280, 50, 14);
    return t;
}

CCalcFLUKAAverageDlg::CCalcFLUKAAverageDlg(CVolumeSettings* pSettings, CDialog* pParent)
    : CDialog(CalcFLUKAAverageTemplate(), pParent), m_pSettings(pSettings)
{
    OnClicked(IDC_AVG_ADD, &CCalcFLUKAAverageDlg::OnAdd);
    OnClicked(IDC_AVG_REMOVE, &CCalcFLUKAAverageDlg::OnRemove);
    OnClicked(IDC_AVG_REMOVE_ALL, &CCalcFLUKAAverageDlg::OnRemoveAll);
    OnClicked(IDC_AVG_WEIGHTS, &CCalcFLUKAAverageDlg::OnWeights);
    OnClicked(IDC_AVG_RESULT_BROWSE, &CCalcFLUKAAverageDlg::OnBrowseResult);
    OnClicked(IDC_AVG_RUN, &CCalcFLUKAAverageDlg::OnRun);
}

void CCalcFLUKAAverageDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AVG_FILES, m_FileList);
    DDX_Control(pDX, IDC_AVG_LOG, m_Log);
    DDX_Control(pDX, IDC_AVG_PROGRESS, m_Progress);
    DDX_Text(pDX, IDC_AVG_RESULT, m_ResultFile);
    DDX_Check(pDX, IDC_AVG_CALC_ERROR, m_CalculateError);
    DDX_Check(pDX, IDC_AVG_INDIVIDUAL_WEIGHTS, m_IndividualWeights);
    DDX_CBIndex(pDX, IDC_AVG_OPERATION_CHOICE, m_Operation);
}

BOOL CCalcFLUKAAverageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AppendSystemMenuItem(IDM_ERROR_PROPAGATION, "Calculate error propagation...");
    m_Log.InsertColumn(0, "Message", LVCFMT_LEFT, 560);
    m_Progress.SetRange32(0, ProgressRange);
    CComboBox operations(this, IDC_AVG_OPERATION_CHOICE);
    for (const char* name : Operations)
        operations.AddString(name);
    FillFileList();
    UpdateData(FALSE);
    return TRUE;
}

int CCalcFLUKAAverageDlg::AddLine(const std::string& text, int icon)
{
    const int index = m_Log.InsertItem(m_Log.GetItemCount(), text, icon);
    m_Log.EnsureVisible(index);
    UiBackend().Refresh();
    return index;
}

void CCalcFLUKAAverageDlg::SetLine(int index, const std::string& text)
{
    m_Log.SetItemText(index, 0, text);
}

void CCalcFLUKAAverageDlg::FillFileList()
{
    m_FileList.ResetContent();
    for (const std::string& path : m_Files)
        m_FileList.AddString(path);
}

void CCalcFLUKAAverageDlg::AddFile(const std::string& path)
{
    m_Files.push_back(path);
    m_UserNormalization.emplace(path, 1.0);
}

void CCalcFLUKAAverageDlg::OnAdd()
{
    UpdateData(TRUE);
    CFileDialog dlg(TRUE, "usrbin", nullptr,
                    OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT,
                    "FLUKA cartesian USRBIN (*.usrbin)|*.usrbin|FLUKA RZ symmetric USRBIN "
                    "(*.rz)|*.rz|FLUKA R-Phi-Z USRBIN (*.rpz)|*.rpz|All Files (*.*)|*.*|",
                    this);
    if (m_pSettings) dlg.SetInitialDir(m_pSettings->GetPath(CVolumeSettings::EPath::AverageInput));
    if (dlg.DoModal() != IDOK) return;
    AddFile(dlg.GetPathName());
    if (m_pSettings)
        m_pSettings->SetPath(CVolumeSettings::EPath::AverageInput, dlg.GetFolderPath());
    if (m_Files.size() == 1) m_ResultFile = m_Files.front() + ".avg";
    FillFileList();
    UpdateData(FALSE);
}

void CCalcFLUKAAverageDlg::OnRemove()
{
    const int selected = m_FileList.GetCurSel();
    if (selected < 0 || selected >= static_cast<int>(m_Files.size())) return;
    m_Files.erase(m_Files.begin() + selected);
    FillFileList();
}

void CCalcFLUKAAverageDlg::OnRemoveAll()
{
    m_Files.clear();
    FillFileList();
}

void CCalcFLUKAAverageDlg::OnWeights()
{
    CUserDefWeightsDlg dlg(&m_Files, &m_UserNormalization, m_pSettings, this);
    dlg.DoModal();
}

void CCalcFLUKAAverageDlg::OnBrowseResult()
{
    UpdateData(TRUE);
    CFileDialog dlg(FALSE, "avg", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Average result file (*.avg)|*.avg|All Files (*.*)|*.*|", this);
    if (m_pSettings) dlg.SetInitialDir(m_pSettings->GetPath(CVolumeSettings::EPath::AverageResult));
    if (dlg.DoModal() != IDOK) return;
    m_ResultFile = dlg.GetPathName();
    if (m_pSettings) m_pSettings->SetPath(CVolumeSettings::EPath::AverageResult, m_ResultFile);
    UpdateData(FALSE);
}

void CCalcFLUKAAverageDlg::OnRun()
{
    UpdateData(TRUE);
    const int choice = m_Operation >= 0 && m_Operation < 5 ? m_Operation : 0;
    RunOperation(static_cast<EAverageOperation>(choice));
}

void CCalcFLUKAAverageDlg::OnSysCommand(UINT nID)
{
    if (nID != IDM_ERROR_PROPAGATION) return;
    UpdateData(TRUE);
    CFileDialog dlg(TRUE, "avg", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "FLUKA average USRBIN (*.avg)|*.avg|All Files (*.*)|*.*|", this);
    const bool chosen = dlg.DoModal() == IDOK && !dlg.GetPathName().empty();
    RunOperation(EAverageOperation::ErrorPropagation, chosen ? dlg.GetPathName() : "");
}

void CCalcFLUKAAverageDlg::RunOperation(EAverageOperation operation, const std::string& averageFile)
{
    m_Log.DeleteAllItems();
    const int index = static_cast<int>(operation);
    if (index > 0 && index < 5) SetDlgItemText(IDC_AVG_RUN, Operations[index]);
    std::vector<CAverageInput> inputs;
    for (const std::string& path : m_Files)
        inputs.push_back({path, m_UserNormalization[path]});
    CAverageOptions options;
    options.m_Operation = operation;
    options.m_CalculateError = m_CalculateError;
    options.m_IndividualWeights = m_IndividualWeights;
    options.m_ReadAhead = m_pSettings ? size_t(m_pSettings->GetReadAheadBuffer()) : 10240;
    options.m_AverageFile = averageFile;
    CWaitCursor wait;
    m_Progress.SetPos(0);
    CFlukaAverager averager(*this, [this](double done)
                            { m_Progress.SetPos(static_cast<int>(done * ProgressRange)); });
    averager.Run(inputs, m_ResultFile, options);
    SetDlgItemText(IDC_AVG_RUN, Operations[0]);
}
} // namespace volumira3d
