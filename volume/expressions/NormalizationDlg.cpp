#include "volume/expressions/NormalizationDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/expressions/PropTreeExpression.h"

#include <cmath>

namespace volumira3d
{
const CDlgTemplate& NormalizationTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_NORMALIZATION, "Normalization", 240, 80)
            .Label("Normalization factor*", 7, 9, 80, 8)
            .Add(K::Edit, IDC_NORMALIZATION_FACTOR, "", 90, 7, 143, 14)
            .Label("Mathematical expressions like \"(5.3 * 3600 / 24) - 500\" can be entered as "
                   "well.",
                   7, 28, 226, 16)
            .Add(K::Button, IDOK, "OK", 129, 59, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 183, 59, 50, 14);
    return t;
}

CNormalizationDlg::CNormalizationDlg(CDialog* pParent) : CDialog(NormalizationTemplate(), pParent)
{
}

void CNormalizationDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NORMALIZATION_FACTOR, m_FactorText);
}

void CNormalizationDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    std::string syntaxError;
    const double factor = EvaluateExpression(m_FactorText, &syntaxError);
    if (!syntaxError.empty())
    {
        AfxMessageBox("Sorry, the mathematical expression \"" + m_FactorText +
                          "\" could not be read. Please re-enter a valid normalization factor or "
                          "expression",
                      MB_ICONINFORMATION);
        return;
    }
    if (factor == 0)
    {
        AfxMessageBox("Sorry, the mathematical expression was evaluated to 0 which is invalid. "
                      "Please re-enter a valid normalization factor or expression",
                      MB_ICONINFORMATION);
        return;
    }
    if (!std::isfinite(factor))
    {
        AfxMessageBox("Sorry, the mathematical expression does not evaluate to a finite number. "
                      "Please re-enter a valid normalization factor or expression",
                      MB_ICONINFORMATION);
        return;
    }
    if (m_FactorText.find_first_of("+-/*^SQRTPOW()") != std::string::npos)
        AfxMessageBox(Format("The normalization factor evaluated to = %lE", factor),
                      MB_ICONINFORMATION);
    m_Factor = factor;
    EndDialog(IDOK);
}
} // namespace volumira3d
