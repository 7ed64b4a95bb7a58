// "Normalization": asks for one factor, as a number or a formula. 0, a value that is not a finite
// number, and a formula that does not parse are refused with a message; the dialog stays open.
#pragma once
#include "platform/Dialog.h"

#include <string>

namespace volumira3d
{
enum : int
{
    IDD_NORMALIZATION = 1200,
    IDC_NORMALIZATION_FACTOR = 1201,
};

const CDlgTemplate& NormalizationTemplate();

class CNormalizationDlg : public CDialog
{
public:
    explicit CNormalizationDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    std::string m_FactorText = "1.0";
    double m_Factor = 1.0; // the evaluated factor after OK
};
} // namespace volumira3d
