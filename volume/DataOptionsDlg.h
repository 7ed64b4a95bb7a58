// The data options dialog (no caption): display range, scale, unit text; "Reset" fetches the
// grid's extremes, "Renormalize" scales the loaded grid by a further factor. The caller takes the
// range, scale and unit back after it closes, by whichever button.
#pragma once
#include "platform/Dialog.h"

#include <string>

namespace volumira3d
{
class CVoxelGrid;

enum : int
{
    IDD_DATAOPTIONS = 1100,
    IDC_RANGE_MIN = 1101,
    IDC_RANGE_MAX = 1102,
    IDC_BINNING = 1103,
    IDC_UNIT_TEXT = 1104,
    IDC_NORMALIZATION = 1105,
    IDC_RESET = 1106,
    IDC_RENORMALIZE = 1107,
};

// Scale modes of the "Binning" combo box.
enum : int
{
    ScaleLogarithmic = 0,
    ScaleLinear = 1,
};

const CDlgTemplate& DataOptionsTemplate();

class CDataOptionsDlg : public CDialog
{
public:
    CDataOptionsDlg(CVoxelGrid* pGrid, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    double m_Min = 0, m_Max = 0;
    int m_ScaleMode = ScaleLogarithmic;
    std::string m_UnitText;

private:
    void OnReset();
    void OnRenormalize();
    void ShowRange();
    bool EvaluateField(int id, double offered, double& value);

    CVoxelGrid* m_pGrid;
    double m_OfferedMin = 0, m_OfferedMax = 0; // what the fields were filled with
};
} // namespace volumira3d
