// "Data profile extraction" and "Averaged profile extraction": which line to extract and how to
// average around it. Both check their fields (in the order users know) and keep the dialog open
// on a failure; "Save" closes with IDOK, "Plot" shows the profile in the chart window and keeps
// the dialog open.
#pragma once
#include "platform/Dialog.h"
#include "volume/analysis/GridAnalysis.h"

#include <string>

namespace volumira3d
{
enum : int
{
    IDD_PROFILE_EXTRACTION = 1640,
    IDC_PROFILE_TITLE = 1641,
    IDC_PROFILE_SOURCE = 1642,
    IDC_PROFILE_INTERSECTION = 1643,
    IDC_PROFILE_PLOT = 1644,
    IDD_AVG_PROFILE_EXTRACTION = 1660,
    IDC_AVG_U_DIR = 1661,
    IDC_AVG_U_PLUS = 1662,
    IDC_AVG_U_MINUS = 1663,
    IDC_AVG_V_DIR = 1664,
    IDC_AVG_V_PLUS = 1665,
    IDC_AVG_V_MINUS = 1666,
    IDC_AVG_BINS_ALONG = 1667,
    IDC_AVG_PROFILE_DIR = 1668,
};

const CDlgTemplate& ProfileExtractionTemplate();
const CDlgTemplate& AvgProfileExtractionTemplate();

class CProfileExtractionDlg : public CDialog
{
public:
    CProfileExtractionDlg(const CVoxelGrid& grid, const CDisplayState& state,
                          CDialog* pParent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    std::string m_Title;
    int m_Source = 0, m_Intersection = 1;
    std::string m_UnitText; // the chart's y-axis title

private:
    bool TakeChecked();
    void OnPlot();
    const CVoxelGrid& m_Grid;
    const CDisplayState& m_State;
};

class CAvgProfileExtractionDlg : public CDialog
{
public:
    CAvgProfileExtractionDlg(const CVoxelGrid& grid, const CDisplayState& state,
                             CDialog* pParent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    CAvgProfileRequest m_Request;
    std::string m_Title;
    std::string m_UnitText; // the chart's y-axis title

private:
    bool TakeChecked();
    void OnPlot();
    void OnPlanesChanged();
    const CVoxelGrid& m_Grid;
    const CDisplayState& m_State;
};
} // namespace volumira3d
