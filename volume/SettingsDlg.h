// "Settings...": legend notation, plane borders, overlay, read-ahead cache, the transformation
// (translation and rotation angles, composed as Rx · Ry · Rz), the surface-plot extrusion and the
// voxel size that cylindrical data are resampled with.
// The caller fills the fields, runs the dialog and takes them back on OK.
#pragma once
#include "platform/Dialog.h"
#include "volume/model/Matrix.h"

namespace volumira3d
{
enum : int
{
    IDD_SETTINGS = 1300,
    IDC_SET_EXP_NOTATION = 1301,
    IDC_SET_PLANE_BORDERS = 1302,
    IDC_SET_ENFORCE_OVERLAY = 1303,
    IDC_SET_CACHE = 1304,
    IDC_SET_TX = 1305,
    IDC_SET_TY = 1306,
    IDC_SET_TZ = 1307,
    IDC_SET_RX = 1308,
    IDC_SET_RY = 1309,
    IDC_SET_RZ = 1310,
    IDC_SET_EXTRUSION_OFFSET = 1311,
    IDC_SET_EXTRUSION_SCALE = 1312,
    IDC_SET_CYLINDER_VOXEL = 1313,
};

const CDlgTemplate& SettingsTemplate();

class CSettingsDlg : public CDialog
{
public:
    explicit CSettingsDlg(CDialog* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;

    // Fields from a stored matrix (angles computed back) and the matrix of the fields.
    void SetTransform(const CMatrix& m);
    CMatrix GetTransform() const;

    bool m_ExpNotation = true;
    bool m_ShowPlaneBorders = false;
    bool m_EnforceOverlay = false;
    int m_ReadAheadCache = 10240;
    double m_Translation[3] = {0, 0, 0};
    double m_Angles[3] = {0, 0, 0}; // degrees
    double m_ExtrusionOffset = 0;
    double m_ExtrusionScale = 1;
    double m_CylinderVoxel = 0; // cm across a cylinder's axis; 0: its ring width
};
} // namespace volumira3d
