#include "volume/averaging/UserDefWeightsDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/expressions/NormalizationDlg.h"
#include "volume/formats/TextScanner.h"
#include "volume/model/VolumeSettings.h"

#include <cmath>

namespace volumira3d
{
namespace
{
constexpr const char* WidthSection = "UserWeightEdit";
constexpr int DefaultWidths[2] = {560, 80};
} // namespace

std::string WeightText(double weight)
{
    return Format("%.5lg", weight);
}

const CDlgTemplate& UserDefWeightsTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_USER_WEIGHTS;
        d.m_Caption = "User defined normalization";
        d.m_Width = 420;
        d.m_Height = 230;
        using K = ECtrlKind;
        d.Label("The user can configure normalization values according to which the data of each "
                "respective file will be scaled BEFORE the requested post-processing operation "
                "is applied.",
                7, 7, 406, 16)
            .Label("By clicking on an item with the RIGHT mouse button the normalization factor "
                   "can be entered as a formula which will be evaluated.",
                   7, 26, 406, 16)
            .Add(K::ListView, IDC_WEIGHT_LIST, "", 7, 46, 406, 130)
            .Label("User defined normalization of the selected file:", 7, 184, 170, 8)
            .Add(K::Edit, IDC_WEIGHT_EDIT, "", 180, 182, 80, 14, WS_DISABLED)
            .Add(K::Button, IDC_RESET_WEIGHTS, "Reset all values", 7, 207, 70, 14)
            .Add(K::Button, IDOK, "OK", 309, 207, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 363, 207, 50, 14);
        return d;
    }();
    return t;
}

CUserDefWeightsDlg::CUserDefWeightsDlg(const std::vector<std::string>* pFileList,
                                       std::map<std::string, double>* pUserWeights,
                                       CVolumeSettings* pSettings, CDialog* pParent)
    : CDialog(UserDefWeightsTemplate(), pParent), m_pFileList(pFileList),
      m_pUserWeights(pUserWeights), m_pSettings(pSettings)
{
    MapCommand(IDC_WEIGHT_LIST, LVN_ITEMCHANGED, &CUserDefWeightsDlg::OnSelect);
    MapCommand(IDC_WEIGHT_LIST, NM_RCLICK, &CUserDefWeightsDlg::OnRightClick);
    MapCommand(IDC_WEIGHT_EDIT, EN_CHANGE, &CUserDefWeightsDlg::OnEditChange);
    OnClicked(IDC_RESET_WEIGHTS, &CUserDefWeightsDlg::OnResetAll);
}

void CUserDefWeightsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WEIGHT_LIST, m_List);
}

BOOL CUserDefWeightsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_pFileList || !m_pUserWeights)
    {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    const char* headings[2] = {"File name", "Weight"};
    for (int c = 0; c < 2; ++c)
        m_List.InsertColumn(c, headings[c], LVCFMT_LEFT,
                            m_pSettings
                                ? m_pSettings->GetColumnWidth(WidthSection, c, DefaultWidths[c])
                                : DefaultWidths[c]);
    FillList();
    return TRUE;
}

void CUserDefWeightsDlg::FillList()
{
    m_List.DeleteAllItems();
    for (size_t i = 0; i < m_pFileList->size(); ++i)
    {
        const std::string& path = (*m_pFileList)[i];
        const auto found = m_pUserWeights->emplace(path, 1.0).first;
        const int row = m_List.InsertItem(static_cast<int>(i), path);
        m_List.SetItemText(row, 1, WeightText(found->second));
    }
    EnableDlgItem(IDC_WEIGHT_EDIT, false);
    SetDlgItemText(IDC_WEIGHT_EDIT, "");
}

void CUserDefWeightsDlg::ShowRow(int row)
{
    const double weight = (*m_pUserWeights)[(*m_pFileList)[static_cast<size_t>(row)]];
    m_List.SetItemText(row, 1, WeightText(weight));
    SetDlgItemText(IDC_WEIGHT_EDIT, WeightText(weight));
}

void CUserDefWeightsDlg::OnSelect()
{
    const int row = m_List.GetSelectionMark();
    EnableDlgItem(IDC_WEIGHT_EDIT, row >= 0);
    if (row >= 0) ShowRow(row);
}

bool CUserDefWeightsDlg::FieldWeight(double& weight) const
{
    const std::string text = GetDlgItemText(IDC_WEIGHT_EDIT);
    return ParseLeadingNumber(text, weight) && std::isfinite(weight) && weight != 0;
}

void CUserDefWeightsDlg::OnEditChange()
{
    const int row = m_List.GetSelectionMark();
    double weight = 0;
    if (row < 0 || !FieldWeight(weight)) return; // kept until the entry is a valid weight
    (*m_pUserWeights)[(*m_pFileList)[static_cast<size_t>(row)]] = weight;
    m_List.SetItemText(row, 1, WeightText(weight));
}

void CUserDefWeightsDlg::OnRightClick()
{
    const int row = m_List.GetSelectionMark();
    if (row < 0) return;
    EnableDlgItem(IDC_WEIGHT_EDIT, true);
    CNormalizationDlg dlg(this);
    dlg.m_FactorText = WeightText((*m_pUserWeights)[(*m_pFileList)[static_cast<size_t>(row)]]);
    if (dlg.DoModal() != IDOK) return;
    (*m_pUserWeights)[(*m_pFileList)[static_cast<size_t>(row)]] = dlg.m_Factor;
    ShowRow(row);
}

void CUserDefWeightsDlg::OnResetAll()
{
    for (auto& entry : *m_pUserWeights)
        entry.second = 1.0;
    FillList();
}

void CUserDefWeightsDlg::OnOK()
{
    const int row = m_List.GetSelectionMark();
    double weight = 0;
    if (row >= 0 && !FieldWeight(weight))
    {
        AfxMessageBox("The user defined normalization of the selected file must be a number other "
                      "than 0.",
                      MB_ICONINFORMATION);
        return;
    }
    if (row >= 0) (*m_pUserWeights)[(*m_pFileList)[static_cast<size_t>(row)]] = weight;
    if (m_pSettings)
        for (int c = 0; c < 2; ++c)
            m_pSettings->SetColumnWidth(WidthSection, c, m_List.GetColumnWidth(c));
    EndDialog(IDOK);
}
} // namespace volumira3d
