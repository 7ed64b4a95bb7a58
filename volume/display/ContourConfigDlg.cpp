#include "volume/display/ContourConfigDlg.h"

#include "common/ColorPicker.h"
#include "platform/DataExchange.h"

#include <cmath>

namespace volumira3d
{
const CDlgTemplate& ContourConfigTemplate()
{
    static const CDlgTemplate t = []
    {
        auto d = CDlgTemplate::Dialog(IDD_CONTOUR_CONFIG, "Threshold configuration", 230, 140);
        using K = ECtrlKind;
        d.Label("A contour will be drawn to outline regions that are above and below the entered "
                "threshold values.",
                7, 7, 216, 18);
        const char* names[3] = {"Primary threshold", "Secondary threshold", "Tertiary threshold"};
        for (int i = 0; i < 3; ++i)
        {
            const int y = 30 + 18 * i;
            d.Add(K::CheckBox, IDC_THRESHOLD_ENABLE1 + i, names[i], 7, y + 1, 90, 10)
                .Add(K::Edit, IDC_THRESHOLD_VALUE1 + i, "", 100, y, 90, 12)
                .Custom(CColorPickerKind::KindName, IDC_THRESHOLD_COLOR1 + i, 196, y, 20, 12,
                        WS_DISABLED);
        }
        d.Add(K::CheckBox, IDC_SHOW_IN_LEGEND, "Show in legend", 7, 88, 100, 10)
            .Add(K::CheckBox, IDC_OVERLAY_GEOMETRY, "Overlay on top of geometry", 7, 101, 120, 10)
            .Add(K::Button, IDOK, "OK", 117, 120, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 173, 120, 50, 14);
        return d;
    }();
    return t;
}

CContourConfigDlg::CContourConfigDlg(CDialog* pParent) : CDialog(ContourConfigTemplate(), pParent)
{
    ColorPickerKind(); // the colour boxes need their kind registered
    m_Thresholds[0].m_Enabled = true;
    for (int i = 0; i < CDisplayState::ThresholdCount; ++i)
        MapCommand(IDC_THRESHOLD_ENABLE1 + i, BN_CLICKED, [this, i] { OnEnable(i); });
}

BOOL CContourConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < CDisplayState::ThresholdCount; ++i)
    {
        const CVector& c = m_Colors[i];
        CColorPicker box;
        box.Attach(this, IDC_THRESHOLD_COLOR1 + i);
        box.SetColor(RGB(int(c.x * 255), int(c.y * 255), int(c.z * 255)));
    }
    RefreshControls();
    return TRUE;
}

void CContourConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < CDisplayState::ThresholdCount; ++i)
    {
        DDX_Check(pDX, IDC_THRESHOLD_ENABLE1 + i, m_Thresholds[i].m_Enabled);
        DDX_Text(pDX, IDC_THRESHOLD_VALUE1 + i, m_Thresholds[i].m_Value);
    }
    DDX_Check(pDX, IDC_SHOW_IN_LEGEND, m_ShowInLegend);
    DDX_Check(pDX, IDC_OVERLAY_GEOMETRY, m_Overlay);
}

void CContourConfigDlg::OnEnable(int index)
{
    m_Thresholds[index].m_Enabled = IsDlgButtonChecked(IDC_THRESHOLD_ENABLE1 + index) != 0;
    RefreshControls();
}

void CContourConfigDlg::RefreshControls()
{
    for (int i = 0; i < CDisplayState::ThresholdCount; ++i)
        EnableDlgItem(IDC_THRESHOLD_VALUE1 + i, IsDlgButtonChecked(IDC_THRESHOLD_ENABLE1 + i) != 0);
}
} // namespace volumira3d
