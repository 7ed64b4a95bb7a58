// "Threshold configuration": three thresholds (value and enable switch), whether they show in
// the legend and whether they are drawn once more on top of the geometry. A value field is
// enabled only while its switch is on.
#pragma once
#include "platform/Dialog.h"
#include "volume/model/DisplayState.h"

namespace volumira3d
{
enum : int
{
    IDD_CONTOUR_CONFIG = 1400,
    IDC_THRESHOLD_VALUE1 = 1401,  // .. 1403
    IDC_THRESHOLD_ENABLE1 = 1404, // .. 1406
    IDC_THRESHOLD_COLOR1 = 1407,  // .. 1409
    IDC_SHOW_IN_LEGEND = 1410,
    IDC_OVERLAY_GEOMETRY = 1411,
};

const CDlgTemplate& ContourConfigTemplate();

class CContourConfigDlg : public CDialog
{
public:
    explicit CContourConfigDlg(CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CThreshold m_Thresholds[CDisplayState::ThresholdCount];
    CVector m_Colors[CDisplayState::ThresholdCount];
    bool m_ShowInLegend = false;
    bool m_Overlay = false;

private:
    void OnEnable(int index);
    void RefreshControls();
};
} // namespace volumira3d
