// "Average FLUKA outputs": the list of FLUKA USRBIN text files and their user normalisations, the
// result file, and the operation run on them (average, ratio, sum, difference, product; the
// error propagation from the window menu). The work itself is CFlukaAverager's; this dialog
// wires the controls and shows its log and progress.
#pragma once
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "volume/averaging/FlukaAverager.h"
#include "volume/model/LoadLog.h"

#include <map>
#include <string>
#include <vector>

namespace volumira3d
{
class CVolumeSettings;

enum : int
{
    IDD_CALC_AVERAGE = 1500,
    IDC_AVG_FILES = 1501,
    IDC_AVG_ADD = 1502,
    IDC_AVG_REMOVE = 1503,
    IDC_AVG_REMOVE_ALL = 1504,
    IDC_AVG_WEIGHTS = 1505,
    IDC_AVG_RESULT = 1506,
    IDC_AVG_RESULT_BROWSE = 1507,
    IDC_AVG_CALC_ERROR = 1508,
    IDC_AVG_INDIVIDUAL_WEIGHTS = 1509,
    IDC_AVG_OPERATION_CHOICE = 1510,
    IDC_AVG_RUN = 1511,
    IDC_AVG_LOG = 1512,
    IDC_AVG_PROGRESS = 1513,
    IDM_ERROR_PROPAGATION = 0x0030,
};

const CDlgTemplate& CalcFLUKAAverageTemplate();

class CCalcFLUKAAverageDlg : public CDialog, public ILoadLog
{
public:
    CCalcFLUKAAverageDlg(CVolumeSettings* pSettings, CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSysCommand(UINT nID) override;

    int AddLine(const std::string& text, int icon = IconInformation) override;
    void SetLine(int index, const std::string& text) override;

    std::vector<std::string> m_Files;
    std::map<std::string, double> m_UserNormalization;
    std::string m_ResultFile;
    bool m_CalculateError = false;
    bool m_IndividualWeights = true;
    int m_Operation = 0; // index into "Average", "Ratio", "Sum", "Difference", "Multiply"

private:
    void OnAdd();
    void OnRemove();
    void OnRemoveAll();
    void OnWeights();
    void OnBrowseResult();
    void OnRun();
    void RunOperation(EAverageOperation operation, const std::string& averageFile = "");
    void AddFile(const std::string& path);
    void FillFileList();

    CVolumeSettings* m_pSettings;
    CListBox m_FileList;
    CListCtrl m_Log;
    CProgressCtrl m_Progress;
};
} // namespace volumira3d
