#include "volume/SettingsDlg.h"

#include "platform/DataExchange.h"
#include "volume/display/Transform.h"

namespace volumira3d
{
namespace
{
void AddField(CDlgTemplate& d, const char* label, int id, int x, int y)
{
    d.Label(label, x, y + 2, 50, 8).Add(ECtrlKind::Edit, id, "", x + 52, y, 50, 12);
}
} // namespace

const CDlgTemplate& SettingsTemplate()
{
    static const CDlgTemplate t = []
    {
        auto d = CDlgTemplate::Dialog(IDD_SETTINGS, "Settings...", 240, 220);
        using K = ECtrlKind;
        d.Add(K::CheckBox, IDC_SET_EXP_NOTATION, "Use scientific E notation in legend", 7, 7, 180,
              10)
            .Add(K::CheckBox, IDC_SET_PLANE_BORDERS, "Show plane borders", 7, 20, 120, 10)
            .Add(K::CheckBox, IDC_SET_ENFORCE_OVERLAY, "Enforce overlay", 7, 33, 120, 10)
            .Label("Read ahead cache size", 7, 50, 90, 8)
            .Add(K::Edit, IDC_SET_CACHE, "", 100, 48, 60, 12, ES_NUMBER)
            .Add(K::GroupBox, -1, "Transformation matrix applied before visualization", 7, 66, 226,
                 64);
        AddField(d, "Tx", IDC_SET_TX, 12, 78);
        AddField(d, "Ty", IDC_SET_TY, 12, 94);
        AddField(d, "Tz", IDC_SET_TZ, 12, 110);
        AddField(d, "X (deg)", IDC_SET_RX, 122, 78);
        AddField(d, "Y (deg)", IDC_SET_RY, 122, 94);
        AddField(d, "Z (deg)", IDC_SET_RZ, 122, 110);
        d.Add(K::GroupBox, -1, "Surface plots", 7, 134, 226, 40);
        AddField(d, "Extrusion offset", IDC_SET_EXTRUSION_OFFSET, 12, 144);
        AddField(d, "Extrusion scaling factor", IDC_SET_EXTRUSION_SCALE, 12, 158);
        d.Label("Cylinder voxel size (cm, 0: ring width)", 7, 182, 140, 8)
            .Add(K::Edit, IDC_SET_CYLINDER_VOXEL, "", 150, 180, 50, 12);
        d.Add(K::Button, IDOK, "OK", 127, 200, 50, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 183, 200, 50, 14);
        return d;
    }();
    return t;
}

CSettingsDlg::CSettingsDlg(CDialog* pParent) : CDialog(SettingsTemplate(), pParent) {}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SET_EXP_NOTATION, m_ExpNotation);
    DDX_Check(pDX, IDC_SET_PLANE_BORDERS, m_ShowPlaneBorders);
    DDX_Check(pDX, IDC_SET_ENFORCE_OVERLAY, m_EnforceOverlay);
    DDX_Text(pDX, IDC_SET_CACHE, m_ReadAheadCache);
    const int translationIds[3] = {IDC_SET_TX, IDC_SET_TY, IDC_SET_TZ};
    const int angleIds[3] = {IDC_SET_RX, IDC_SET_RY, IDC_SET_RZ};
    for (int a = 0; a < 3; ++a)
        DDX_Text(pDX, translationIds[a], m_Translation[a]);
    for (int a = 0; a < 3; ++a)
    {
        DDX_Text(pDX, angleIds[a], m_Angles[a]);
        DDV_MinMaxDouble(pDX, m_Angles[a], -360, 360);
    }
    DDX_Text(pDX, IDC_SET_EXTRUSION_OFFSET, m_ExtrusionOffset);
    DDX_Text(pDX, IDC_SET_EXTRUSION_SCALE, m_ExtrusionScale);
    DDV_MinMaxDouble(pDX, m_ExtrusionScale, 0, 1e7);
    DDX_Text(pDX, IDC_SET_CYLINDER_VOXEL, m_CylinderVoxel);
    DDV_MinMaxDouble(pDX, m_CylinderVoxel, 0, 1e7);
}

void CSettingsDlg::SetTransform(const CMatrix& m)
{
    RecoverTranslation(m, m_Translation);
    RecoverAngles(m, m_Angles);
}

CMatrix CSettingsDlg::GetTransform() const
{
    return MakeTransform(m_Translation, m_Angles);
}
} // namespace volumira3d
