// "Isodump reader": the user picks the cooling time whose records are read.
#pragma once
#include "platform/Dialog.h"

#include <string>
#include <vector>

namespace isodump
{
enum : int
{
    IDD_ISODUMP = 2100,
    IDC_ISO_TIMES = 1001,
};

class CIsodumpReaderDlg : public CDialog
{
public:
    // The labels are the caller's and must outlive the dialog.
    explicit CIsodumpReaderDlg(const std::vector<std::string>& labels, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    int m_CoolingTime = 0; // 1-based once OK was pressed

private:
    const std::vector<std::string>& m_Labels;
};
} // namespace isodump
