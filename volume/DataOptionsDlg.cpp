#include "volume/DataOptionsDlg.h"

#include "platform/Controls.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/expressions/NormalizationDlg.h"
#include "volume/expressions/PropTreeExpression.h"
#include "volume/model/VoxelGrid.h"

#include <cmath>
#include <utility>

namespace volumira3d
{
const CDlgTemplate& DataOptionsTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_DATAOPTIONS, "", 250, 150)
            .Label("These values represent the minimum && the maximum values found in the dataset. "
                   "Please confirm them or enter the lowest and the highest value which will be "
                   "displayed.",
                   7, 7, 236, 26)
            .Label("Minimum value*", 7, 40, 70, 8)
            .Add(K::Edit, IDC_RANGE_MIN, "", 80, 38, 110, 14)
            .Label("Maximum value*", 7, 58, 70, 8)
            .Add(K::Edit, IDC_RANGE_MAX, "", 80, 56, 110, 14)
            .Label("Binning", 7, 76, 70, 8)
            .Add(K::ComboBox, IDC_BINNING, "", 80, 74, 110, 40)
            .Label("Unit text", 7, 94, 70, 8)
            .Add(K::Edit, IDC_UNIT_TEXT, "", 80, 92, 110, 14)
            .Label("Normalization", 7, 112, 70, 8)
            .Add(K::Edit, IDC_NORMALIZATION, "", 80, 110, 110, 14, ES_READONLY)
            .Add(K::Button, IDOK, "OK", 196, 38, 47, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDC_RESET, "Reset", 196, 56, 47, 14)
            .Add(K::Button, IDC_RENORMALIZE, "Renormalize", 196, 110, 47, 14)
            .Label("All edit fields marked with * support mathematical expressions.", 7, 132, 236,
                   8);
    return t;
}

CDataOptionsDlg::CDataOptionsDlg(CVoxelGrid* pGrid, CDialog* pParent)
    : CDialog(DataOptionsTemplate(), pParent), m_pGrid(pGrid)
{
    OnClicked(IDC_RESET, &CDataOptionsDlg::OnReset);
    OnClicked(IDC_RENORMALIZE, &CDataOptionsDlg::OnRenormalize);
}

BOOL CDataOptionsDlg::OnInitDialog()
{
    CComboBox binning(this, IDC_BINNING);
    binning.ResetContent();
    binning.AddString("Logarithmic");
    binning.AddString("Linear");
    CDialog::OnInitDialog();
    ShowRange();
    SetDlgItemText(IDC_NORMALIZATION, Format("%lg", m_pGrid ? m_pGrid->m_Normalization : 1.0));
    return TRUE;
}

void CDataOptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_BINNING, m_ScaleMode);
    DDX_Text(pDX, IDC_UNIT_TEXT, m_UnitText);
}

void CDataOptionsDlg::ShowRange()
{
    m_OfferedMin = m_Min;
    m_OfferedMax = m_Max;
    SetDlgItemText(IDC_RANGE_MIN, Format("%le", m_Min));
    SetDlgItemText(IDC_RANGE_MAX, Format("%le", m_Max));
}

// An offered value left as it was shown keeps every digit, not only the printed ones: accepting
// the data's own maximum must not put the bound below it.
bool CDataOptionsDlg::EvaluateField(int id, double offered, double& value)
{
    const std::string text = GetDlgItemText(id);
    if (text == Format("%le", offered))
    {
        value = offered;
        return true;
    }
    std::string syntaxError;
    const double result = EvaluateExpression(text, &syntaxError);
    if (syntaxError.empty() && std::isfinite(result))
    {
        value = result;
        return true;
    }
    AfxMessageBox("The expression \"" + text +
                      "\" could not be evaluated to a number. Please "
                      "re-enter it.",
                  MB_ICONINFORMATION);
    return false;
}

void CDataOptionsDlg::OnOK()
{
    double min = 0, max = 0;
    if (!UpdateData(TRUE) || !EvaluateField(IDC_RANGE_MIN, m_OfferedMin, min) ||
        !EvaluateField(IDC_RANGE_MAX, m_OfferedMax, max))
        return;
    if (min > max)
    {
        AfxMessageBox("The minimum range is larger than the maximum range. Both values were "
                      "swapped!",
                      MB_ICONINFORMATION);
        std::swap(min, max);
    }
    m_Min = min;
    m_Max = max;
    EndDialog(IDOK);
}

void CDataOptionsDlg::OnReset()
{
    if (m_pGrid) m_pGrid->ScanExtremes(m_Min, m_Max);
    ShowRange();
}

void CDataOptionsDlg::OnRenormalize()
{
    AfxMessageBox("ATTENTION: This normalization multiplier will be applied to the CURRENT form "
                  "of the data set, including any PREVIOUSLY applied normalization factors! In "
                  "order to apply the normalization to the raw data the file must be re-loaded!",
                  MB_ICONINFORMATION);
    CNormalizationDlg dlg(this);
    if (dlg.DoModal() != IDOK || !m_pGrid) return;
    m_pGrid->ScaleValues(dlg.m_Factor);
    m_pGrid->m_Normalization *= dlg.m_Factor;
    SetDlgItemText(IDC_NORMALIZATION, Format("%lg", m_pGrid->m_Normalization));
}
} // namespace volumira3d
