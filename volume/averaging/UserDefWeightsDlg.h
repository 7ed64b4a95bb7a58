// "User defined normalization": one factor per input file of the averaging tool, by which its
// values are scaled before the operation. The edit field works on the selected row only (it is
// disabled until a row is selected); 0, blank and unreadable entries are refused.
#pragma once
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <map>
#include <string>
#include <vector>

namespace volumira3d
{
class CVolumeSettings;

enum : int
{
    IDD_USER_WEIGHTS = 1400,
    IDC_WEIGHT_LIST = 1401,
    IDC_WEIGHT_EDIT = 1402,
    IDC_RESET_WEIGHTS = 1403,
};

const CDlgTemplate& UserDefWeightsTemplate();

// The text of a weight in the list and the field.
std::string WeightText(double weight);

class CUserDefWeightsDlg : public CDialog
{
public:
    // Both the file list and the weight table must be given; without them the dialog ends at
    // once with IDCANCEL.
    CUserDefWeightsDlg(const std::vector<std::string>* pFileList,
                       std::map<std::string, double>* pUserWeights, CVolumeSettings* pSettings,
                       CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void OnSelect();
    void OnEditChange();
    void OnRightClick();
    void OnResetAll();
    void FillList();
    void ShowRow(int row);
    // The field as a weight: false for blank, 0 or anything not a finite number.
    bool FieldWeight(double& weight) const;

    const std::vector<std::string>* m_pFileList;
    std::map<std::string, double>* m_pUserWeights;
    CVolumeSettings* m_pSettings;
    CListCtrl m_List;
};
} // namespace volumira3d
