#include "volume/Volumira3DDlg.h"

#include "volume/display/GeometryOverlay.h"

#include "common/FileSystem.h"
#include "common/TextCase.h"
#include "common/VtkExport.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/DataOptionsDlg.h"
#include "volume/GridVtkExport.h"
#include "volume/SettingsDlg.h"
#include "volume/analysis/DataExtraction.h"
#include "volume/averaging/CalcFLUKAAverageDlg.h"
#include "volume/display/ContourConfigDlg.h"
#include "volume/display/ViewLegend.h"
#include "volume/expressions/NormalizationDlg.h"
#include "volume/loading/VolumeLoader.h"
#include "volume/model/Palettes.h"

#include <GL/gl.h>

#include <omp.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <new>

namespace volumira3d
{
namespace
{
constexpr const char* ClearQuestion =
    "Are you sure that you want to clear the current data set & the settings?";
constexpr const char* OverflowMessage =
    "Value overflow might occur as the upper bound is set below the maximum value in the data set!";
constexpr const char* LogZeroMessage =
    "0 is not allowed as a range limit in log scale. A default of 1e-12 will be set!";
constexpr const char* LogNegativeMessage =
    "Negative values are not allowed as a range limit in log scale. A default of 1e-12 will be "
    "set!";
constexpr const char* ContourPaletteMessage =
    "Contour plots are limited to 21 colors. Thus, the palette selection will be changed "
    "automatically!";

void AddPlaneRow(CDlgTemplate& d, int check, const char* label, int slider, const char* posLabel,
                 int pos, int y)
{
    using K = ECtrlKind;
    d.Add(K::CheckBox, check, label, 7, y, 60, 10)
        .Add(K::Slider, slider, "", 70, y - 2, 150, 14)
        .Label(posLabel, 224, y, 30, 8)
        .Add(K::Edit, pos, "", 256, y - 2, 57, 12, ES_READONLY);
}

void AddReadOnlyField(CDlgTemplate& d, const char* label, int id, int x, int y)
{
    d.Label(label, x, y + 2, 56, 8).Add(ECtrlKind::Edit, id, "", x + 58, y, 42, 12, ES_READONLY);
}
} // namespace

const CDlgTemplate& Volumira3DTemplate()
{
    static const CDlgTemplate t = []
    {
        auto d = CDlgTemplate::Dialog(IDD_VOLUMIRA3D, "Volumix3D", 320, 412);
        using K = ECtrlKind;
        d.Label("File name", 7, 7, 100, 8)
            .Add(K::Edit, IDC_INPUT_FILE, "", 7, 17, 226, 14)
            .Add(K::Button, IDC_BROWSE, "...", 237, 17, 20, 14)
            .Add(K::Button, IDC_LOAD_DATA, "&Load data", 261, 17, 52, 14)
            .Add(K::Button, IDC_CLEAR_DATA, "Clear data", 7, 36, 60, 14)
            .Add(K::Button, IDC_POSTPROCESS, "Post-process data", 71, 36, 76, 14)
            .Add(K::Button, IDC_LEGEND_SETTINGS, "Legend settings", 151, 36, 70, 14)
            .Add(K::CheckBox, IDC_SHOW_GEOMETRY, "Show geometry", 231, 38, 82, 10);
        AddPlaneRow(d, IDC_PLANE_XY, "XY - plane", IDC_SLIDER_Z, "Pos Z", IDC_POS_Z, 58);
        AddPlaneRow(d, IDC_PLANE_YZ, "YZ - plane", IDC_SLIDER_X, "Pos X", IDC_POS_X, 76);
        AddPlaneRow(d, IDC_PLANE_ZX, "ZX - plane", IDC_SLIDER_Y, "Pos Y", IDC_POS_Y, 94);
        d.Add(K::CheckBox, IDC_TRANSPARENT, "Transparent", 7, 112, 60, 10)
            .Add(K::Slider, IDC_TRANSPARENCY, "", 70, 110, 150, 14, WS_DISABLED)
            .Add(K::Edit, IDC_TRANSPARENCY_PERCENT, "", 224, 110, 30, 12, ES_READONLY)
            .Label("%", 256, 112, 10, 8)
            .Label("Display mode", 7, 132, 50, 8)
            .Add(K::ComboBox, IDC_DISPLAY_MODE, "", 60, 130, 96, 100)
            .Label("Palette", 164, 132, 30, 8)
            .Add(K::ComboBox, IDC_PALETTE, "", 196, 130, 60, 100)
            .Add(K::CheckBox, IDC_EMPHASIZE_THRESHOLDS, "Emphasize thresholds", 7, 150, 90, 10)
            .Add(K::CheckBox, IDC_NON_INTERPOLATED, "Enforce non-interpolated legend", 100, 150,
                 130, 10)
            .Add(K::Button, IDC_SAVE_LEGEND, "&Save legend", 253, 148, 60, 14)
            .Custom(CCanvasState::KindName, IDC_LEGEND, 7, 166, 306, 42);
        AddReadOnlyField(d, "Nr of X - bins", IDC_NR_X_BINS, 7, 214);
        AddReadOnlyField(d, "Nr of Y - bins", IDC_NR_Y_BINS, 110, 214);
        AddReadOnlyField(d, "Nr of Z - bins", IDC_NR_Z_BINS, 213, 214);
        AddReadOnlyField(d, "Origin X", IDC_ORIGIN_X, 7, 230);
        AddReadOnlyField(d, "Origin Y", IDC_ORIGIN_Y, 110, 230);
        AddReadOnlyField(d, "Origin Z", IDC_ORIGIN_Z, 213, 230);
        AddReadOnlyField(d, "Bin - size X", IDC_BIN_SIZE_X, 7, 246);
        AddReadOnlyField(d, "Bin - size Y", IDC_BIN_SIZE_Y, 110, 246);
        AddReadOnlyField(d, "Bin - size Z", IDC_BIN_SIZE_Z, 213, 246);
        AddProbingControls(d, 282);
        d.Add(K::Button, IDC_FIND_MAX, "&Find max. value", 7, 264, 70, 14, WS_DISABLED)
            .Label("Source-format", 90, 266, 50, 8)
            .Add(K::ComboBox, IDC_SOURCE_FORMAT, "", 142, 264, 90, 60, WS_DISABLED)
            .Add(K::Button, IDC_EXTRACT, "Extract", 236, 264, 50, 14, WS_DISABLED)
            .Add(K::ListView, IDC_MESSAGE_LOG, "", 7, 316, 306, 68)
            .Add(K::Button, IDCANCEL, "Close", 263, 390, 50, 14);
        return d;
    }();
    return t;
}

CVolumira3DDlg::CVolumira3DDlg(CHostInterface* pHost, CProfile* pProfile)
    : CDialog(Volumira3DTemplate()), m_pHost(pHost), m_Settings(pProfile)
{
    OnClicked(IDC_BROWSE, &CVolumira3DDlg::OnBrowse);
    OnClicked(IDC_LOAD_DATA, &CVolumira3DDlg::OnLoadData);
    OnClicked(IDC_CLEAR_DATA, &CVolumira3DDlg::OnClearData);
    OnClicked(IDC_POSTPROCESS, &CVolumira3DDlg::OnPostProcess);
    OnClicked(IDC_LEGEND_SETTINGS, &CVolumira3DDlg::OnLegendSettings);
    OnClicked(IDC_PLANE_XY, &CVolumira3DDlg::OnPlaneXY);
    OnClicked(IDC_PLANE_YZ, &CVolumira3DDlg::OnPlaneYZ);
    OnClicked(IDC_PLANE_ZX, &CVolumira3DDlg::OnPlaneZX);
    MapCommand(IDC_DISPLAY_MODE, CBN_SELCHANGE, &CVolumira3DDlg::OnDisplayMode);
    MapCommand(IDC_PALETTE, CBN_SELCHANGE, &CVolumira3DDlg::OnPalette);
    OnClicked(IDC_TRANSPARENT, &CVolumira3DDlg::OnTransparent);
    OnClicked(IDC_EMPHASIZE_THRESHOLDS, &CVolumira3DDlg::OnEmphasizeThresholds);
    OnClicked(IDC_NON_INTERPOLATED, &CVolumira3DDlg::OnNonInterpolated);
    OnClicked(IDC_SAVE_LEGEND, &CVolumira3DDlg::OnSaveLegend);
    OnClicked(IDC_EXTRACT, &CVolumira3DDlg::OnExtract);
    OnClicked(IDC_SHOW_GEOMETRY, &CVolumira3DDlg::OnShowGeometry);
    m_Probing.SetRegionLookup(
        [this](const CVector& p)
        {
            std::string region, material;
            CHostGeometryView* view = HostGeometry();
            return view && CGeometryOverlay::Untransformed(*this) &&
                           view->RegionAt(p, region, material)
                       ? region
                       : std::string();
        });
    m_Legend.SetThresholds(ThresholdCount, m_Thresholds, m_ThresholdColors);
}

void CVolumira3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MESSAGE_LOG, m_MessageLog);
    DDX_Control(pDX, IDC_SLIDER_Z, m_SliderZ);
    DDX_Control(pDX, IDC_SLIDER_X, m_SliderX);
    DDX_Control(pDX, IDC_SLIDER_Y, m_SliderY);
    DDX_Control(pDX, IDC_TRANSPARENCY, m_TransparencySlider);
    DDX_Text(pDX, IDC_INPUT_FILE, m_InputFile);
    if (pDX->m_SaveAndValidate) return;
    // The grid fields only show; they are never read back.
    int counts[3] = {m_NrXBins, m_NrYBins, m_NrZBins};
    const int countIds[3] = {IDC_NR_X_BINS, IDC_NR_Y_BINS, IDC_NR_Z_BINS};
    const int originIds[3] = {IDC_ORIGIN_X, IDC_ORIGIN_Y, IDC_ORIGIN_Z};
    const int sizeIds[3] = {IDC_BIN_SIZE_X, IDC_BIN_SIZE_Y, IDC_BIN_SIZE_Z};
    for (int a = 0; a < 3; ++a)
    {
        DDX_Text(pDX, countIds[a], counts[a]);
        DDX_Text(pDX, originIds[a], m_GridMin[a]);
        DDX_Text(pDX, sizeIds[a], m_BinWidth[a]);
    }
}

BOOL CVolumira3DDlg::OnInitDialog()
{
    CComboBox modes(this, IDC_DISPLAY_MODE), palettes(this, IDC_PALETTE);
    CComboBox formats(this, IDC_SOURCE_FORMAT);
    formats.ResetContent();
    for (const char* name : SourceFormatNames)
        formats.AddString(name);
    modes.ResetContent();
    for (const char* name : DisplayModeNames)
        modes.AddString(name);
    palettes.ResetContent();
    for (const char* name : PaletteNames)
        palettes.AddString(name);
    CDialog::OnInitDialog();
    modes.SetCurSel(m_DisplayMode);
    palettes.SetCurSel(m_Palette);
    formats.SetCurSel(SourcePlane);
    AppendSystemMenuItem(IDM_SETTINGS, "Settings...");
    AppendSystemMenuItem(IDM_EXPORT_VTK, ExportVtkMenuText);
    m_MessageLog.InsertColumn(0, "Message", LVCFMT_LEFT, 580);
    AddLine("Initializing Volumix3D...");
    AddLine(Format("Using %d cores", omp_get_num_procs()));
    m_ExpNotation = m_Settings.GetExpNotation();
    InstallPalette(m_LUT, Palette21);
    m_LegendCtrl.Attach(this, IDC_LEGEND, &m_Settings);
    m_Legend.m_pWnd = &m_LegendCtrl.Wnd();
    m_LegendCtrl.Wnd().SetTotalExtent({0, 0, 200, 20});
    m_LegendCtrl.Wnd().SetWindow({0, 0, 200, 20});
    m_Probing.Init();
    RefreshControls();
    return TRUE;
}

void CVolumira3DDlg::OnSysCommand(UINT nID)
{
    if (nID == IDM_SETTINGS) OnSettings();
    if (nID == IDM_EXPORT_VTK)
        ExportGridVtk(this, *this, GridExportInfo(m_UnitText, m_Transform), *this);
}

int CVolumira3DDlg::AddLine(const std::string& text, int icon)
{
    const int index = m_MessageLog.InsertItem(m_MessageLog.GetItemCount(), text, icon);
    m_MessageLog.EnsureVisible(index);
    UiBackend().Refresh();
    return index;
}

void CVolumira3DDlg::SetLine(int index, const std::string& text)
{
    m_MessageLog.SetItemText(index, 0, text);
}

void CVolumira3DDlg::Redraw()
{
    if (m_pHost) m_pHost->RedrawView();
}

void CVolumira3DDlg::RefreshControls()
{
    UpdateData(FALSE);
    for (int id :
         {IDC_PLANE_XY, IDC_PLANE_YZ, IDC_PLANE_ZX, IDC_SLIDER_Z, IDC_SLIDER_X, IDC_SLIDER_Y,
          IDC_LEGEND_SETTINGS, IDC_DISPLAY_MODE, IDC_TRANSPARENT, IDC_SOURCE_FORMAT, IDC_EXTRACT})
        EnableDlgItem(id, m_DataLoaded);
    EnableDlgItem(IDC_TRANSPARENCY, m_DataLoaded && m_Transparency > 0);
    EnableDlgItem(IDC_NON_INTERPOLATED, m_DisplayMode != ContourPlot);
    EnableDlgItem(IDC_SHOW_GEOMETRY, HostOffersGeometry());
    CheckDlgButton(IDC_SHOW_GEOMETRY, m_ShowGeometry);
    CheckDlgButton(IDC_PLANE_XY, m_PlaneEnabled[0]);
    CheckDlgButton(IDC_PLANE_YZ, m_PlaneEnabled[1]);
    CheckDlgButton(IDC_PLANE_ZX, m_PlaneEnabled[2]);
    CheckDlgButton(IDC_EMPHASIZE_THRESHOLDS, m_EmphasizeThresholds);
    CheckDlgButton(IDC_NON_INTERPOLATED, m_NonInterpolatedLegend);
    CComboBox(this, IDC_DISPLAY_MODE).SetCurSel(m_DisplayMode);
    CComboBox(this, IDC_PALETTE).SetCurSel(m_Palette);
    UpdatePlanePositions();
    SetDlgItemText(IDC_TRANSPARENCY_PERCENT, std::to_string(m_TransparencySlider.GetPos()));
    m_Probing.Refresh();
}

void CVolumira3DDlg::UpdatePlanePositions()
{
    TakeSliders();
    // A plane lies at the lower edge of the voxel layer its slider selects.
    SetDlgItemText(IDC_POS_Z, Format("%g", Edge(2, m_SliderZ.GetPos())));
    SetDlgItemText(IDC_POS_X, Format("%g", Edge(0, m_SliderX.GetPos())));
    SetDlgItemText(IDC_POS_Y, Format("%g", Edge(1, m_SliderY.GetPos())));
    m_Probing.Update();
}

void CVolumira3DDlg::SetSlidersFromState()
{
    m_SliderZ.SetPos(m_PlaneLayer[PlaneXY]);
    m_SliderX.SetPos(m_PlaneLayer[PlaneYZ]);
    m_SliderY.SetPos(m_PlaneLayer[PlaneZX]);
    RefreshControls();
}

void CVolumira3DDlg::OnExtract()
{
    TakeSliders();
    CDataExtraction extraction(this, *this, *this, &m_Settings);
    extraction.m_UnitText = m_UnitText;
    extraction.Run(CComboBox(this, IDC_SOURCE_FORMAT).GetCurSel());
}

void CVolumira3DDlg::TakeSliders()
{
    m_PlaneLayer[PlaneXY] = m_SliderZ.GetPos();
    m_PlaneLayer[PlaneYZ] = m_SliderX.GetPos();
    m_PlaneLayer[PlaneZX] = m_SliderY.GetPos();
}

void CVolumira3DDlg::OnHScroll(UINT, UINT, int nCtrlId)
{
    if (nCtrlId == IDC_TRANSPARENCY)
    {
        const int max = m_TransparencySlider.GetRangeMax();
        if (IsDlgButtonChecked(IDC_TRANSPARENT))
            m_Transparency = max > 0 ? double(m_TransparencySlider.GetPos()) / max : 0.0;
        SetDlgItemText(IDC_TRANSPARENCY_PERCENT, std::to_string(m_TransparencySlider.GetPos()));
    }
    else
        UpdatePlanePositions();
    Redraw();
}

void CVolumira3DDlg::TogglePlane(int plane)
{
    const int ids[3] = {IDC_PLANE_XY, IDC_PLANE_YZ, IDC_PLANE_ZX};
    m_PlaneEnabled[plane] = IsDlgButtonChecked(ids[plane]) != 0;
    UpdatePlanePositions();
    Redraw();
}

void CVolumira3DDlg::OnTransparent()
{
    if (IsDlgButtonChecked(IDC_TRANSPARENT))
    {
        const int max = m_TransparencySlider.GetRangeMax();
        m_Transparency = max > 0 ? double(m_TransparencySlider.GetPos()) / max : 0.0;
    }
    else
    {
        m_TransparencySlider.SetPos(0);
        m_Transparency = 0;
    }
    EnableDlgItem(IDC_TRANSPARENCY, IsDlgButtonChecked(IDC_TRANSPARENT) != 0);
    SetDlgItemText(IDC_TRANSPARENCY_PERCENT, std::to_string(m_TransparencySlider.GetPos()));
    Redraw();
}

void CVolumira3DDlg::OnDisplayMode()
{
    const int mode = CComboBox(this, IDC_DISPLAY_MODE).GetCurSel();
    if (mode < 0 || mode >= DisplayModeCount) return;
    m_DisplayMode = mode;
    if (mode == ContourPlot && m_Palette != Palette21)
    {
        AfxMessageBox(ContourPaletteMessage, MB_ICONINFORMATION);
        SelectPalette(Palette21);
    }
    if (IsPointCloud() && m_DataLoaded)
        std::fill(std::begin(m_PlaneEnabled), std::end(m_PlaneEnabled), true);
    RefreshControls();
    RebuildLegend();
    Redraw();
}

void CVolumira3DDlg::OnPalette()
{
    const int item = CComboBox(this, IDC_PALETTE).GetCurSel();
    if (item < 0 || item >= PaletteCount) return;
    // Contour levels take the pivots 0 .. 21 of the rainbow "21": no other palette has them.
    if (m_DisplayMode == ContourPlot && item != Palette21)
        AfxMessageBox(ContourPaletteMessage, MB_ICONINFORMATION);
    else
        SelectPalette(item);
    RefreshControls();
    RebuildLegend();
    Redraw();
}

void CVolumira3DDlg::SelectPalette(int item)
{
    m_Palette = item;
    if (item == PaletteUser)
        InstallUserPalette();
    else
        InstallPalette(m_LUT, item);
}

void CVolumira3DDlg::InstallUserPalette()
{
    CFileDialog dlg(TRUE, "*.col", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, PaletteFileFilter,
                    this);
    dlg.SetInitialDir(m_Settings.GetPath(CVolumeSettings::EPath::ColorLUT));
    if (dlg.DoModal() != IDOK)
    {
        InstallPalette(m_LUT, Palette21);
        return;
    }
    m_Settings.SetPath(CVolumeSettings::EPath::ColorLUT, dlg.GetFolderPath());
    const EPaletteFile result = ReadPaletteFile(dlg.GetPathName(), m_LUT);
    if (result != EPaletteFile::Ok) AfxMessageBox(PaletteFileMessage(result), MB_ICONERROR);
}

void CVolumira3DDlg::OnEmphasizeThresholds()
{
    m_EmphasizeThresholds = IsDlgButtonChecked(IDC_EMPHASIZE_THRESHOLDS) != 0;
    if (m_EmphasizeThresholds)
    {
        CContourConfigDlg dlg(this);
        std::copy(std::begin(m_Thresholds), std::end(m_Thresholds), dlg.m_Thresholds);
        std::copy(std::begin(m_ThresholdColors), std::end(m_ThresholdColors), dlg.m_Colors);
        dlg.m_ShowInLegend = m_ShowThresholdsInLegend;
        dlg.m_Overlay = m_OverlayThresholds;
        dlg.DoModal();
        std::copy(std::begin(dlg.m_Thresholds), std::end(dlg.m_Thresholds), m_Thresholds);
        m_ShowThresholdsInLegend = dlg.m_ShowInLegend;
        m_OverlayThresholds = dlg.m_Overlay;
        const bool any = std::any_of(std::begin(m_Thresholds), std::end(m_Thresholds),
                                     [](const CThreshold& t) { return t.m_Enabled; });
        if (!any) m_EmphasizeThresholds = false;
    }
    if (!m_EmphasizeThresholds) m_ShowThresholdsInLegend = false;
    CheckDlgButton(IDC_EMPHASIZE_THRESHOLDS, m_EmphasizeThresholds);
    m_Legend.SetThresholds(ThresholdCount, m_Thresholds, m_ThresholdColors);
    RebuildLegend();
    Redraw();
}

void CVolumira3DDlg::OnNonInterpolated()
{
    m_NonInterpolatedLegend = IsDlgButtonChecked(IDC_NON_INTERPOLATED) != 0;
    RebuildLegend();
}

bool CVolumira3DDlg::HostOffersGeometry() const
{
    return m_pHost && m_pHost->GetInterfaceVersion() >= GeometryInterfaceVersion;
}

bool CVolumira3DDlg::HostWantsLegend() const
{
    return m_pHost && m_pHost->GetInterfaceVersion() >= ViewOptionsInterfaceVersion &&
           m_pHost->GetViewOption("legend") != 0;
}

CHostGeometryView* CVolumira3DDlg::HostGeometry() const
{
    return HostOffersGeometry() ? m_pHost->GetGeometry() : nullptr;
}

void CVolumira3DDlg::OnShowGeometry()
{
    m_ShowGeometry = IsDlgButtonChecked(IDC_SHOW_GEOMETRY) != 0;
    if (m_ShowGeometry && m_DataLoaded && !CGeometryOverlay::Untransformed(*this))
        AddLine("The geometry is drawn on the planes only while the data are not transformed",
                ILoadLog::IconWarning);
    m_Probing.Update();
    Redraw();
}

void CVolumira3DDlg::OnSaveLegend()
{
    m_LegendCtrl.OnSave();
}

void CVolumira3DDlg::OnSettings()
{
    CSettingsDlg dlg(this);
    dlg.m_ExpNotation = m_ExpNotation;
    dlg.m_ShowPlaneBorders = m_ShowPlaneBorders;
    dlg.m_EnforceOverlay = m_EnforceOverlay;
    dlg.m_ReadAheadCache = m_Settings.GetReadAheadBuffer();
    dlg.SetTransform(m_Transform);
    dlg.m_ExtrusionOffset = m_ExtrusionOffset;
    dlg.m_ExtrusionScale = m_ExtrusionScale;
    dlg.m_CylinderVoxel = m_Settings.GetCylinderVoxel();
    if (dlg.DoModal() != IDOK) return;
    m_ExpNotation = dlg.m_ExpNotation;
    m_ShowPlaneBorders = dlg.m_ShowPlaneBorders;
    m_EnforceOverlay = dlg.m_EnforceOverlay;
    m_Transform = dlg.GetTransform();
    m_ExtrusionOffset = dlg.m_ExtrusionOffset;
    m_ExtrusionScale = dlg.m_ExtrusionScale;
    m_Settings.SetExpNotation(m_ExpNotation);
    m_Settings.SetReadAheadBuffer(dlg.m_ReadAheadCache);
    m_Settings.SetCylinderVoxel(dlg.m_CylinderVoxel);
    RebuildLegend();
    Redraw();
}

void CVolumira3DDlg::RebuildLegend()
{
    if (!m_DataLoaded) return;
    m_Legend.m_Linear = m_ScaleMode;
    m_Legend.m_Title = m_UnitText;
    m_Legend.m_ExpNotation = m_ExpNotation;
    m_Legend.m_ShowThresholds = m_ShowThresholdsInLegend;
    m_Legend.SetRange(m_RangeMin, m_RangeMax, LegendIntervals, &m_LUT);
    m_Legend.DrawLegend(m_NonInterpolatedLegend);
}

void CVolumira3DDlg::OnBrowse()
{
    UpdateData(TRUE);
    CFileDialog dlg(TRUE, "usrbin", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    InputFileFilter().c_str(), this);
    dlg.SetInitialDir(m_Settings.GetPath(CVolumeSettings::EPath::Input));
    if (dlg.DoModal() != IDOK) return;
    m_InputFile = dlg.GetPathName();
    m_Settings.SetPath(CVolumeSettings::EPath::Input, dlg.GetFolderPath());
    UpdateData(FALSE);
}

bool CVolumira3DDlg::AskClear()
{
    return AfxMessageBox(ClearQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CVolumira3DDlg::SaveRangeForNextLoad()
{
    m_KeepRange = true;
    m_SavedRangeMin = m_RangeMin;
    m_SavedRangeMax = m_RangeMax;
}

void CVolumira3DDlg::OnClearData()
{
    if (!AskClear())
    {
        SaveRangeForNextLoad();
        return;
    }
    ClearAll();
}

void CVolumira3DDlg::OnPostProcess()
{
    CCalcFLUKAAverageDlg dlg(&m_Settings, this);
    dlg.DoModal();
}

void CVolumira3DDlg::ClearAll()
{
    ClearDataSet();
    std::fill(std::begin(m_PlaneEnabled), std::end(m_PlaneEnabled), false);
    m_EmphasizeThresholds = false;
    m_ShowThresholdsInLegend = false;
    m_DataLoaded = false;
    m_Transparency = 0;
    CheckDlgButton(IDC_TRANSPARENT, 0);
    for (CSliderCtrl* slider : {&m_SliderZ, &m_SliderX, &m_SliderY, &m_TransparencySlider})
        slider->SetPos(0);
    Redraw();
    RefreshControls();
}

void CVolumira3DDlg::OnLoadData()
{
    UpdateData(TRUE);
    m_MessageLog.DeleteAllItems();
    if (m_InputFile.empty()) return;
    if (m_DataLoaded)
    {
        if (AskClear())
            ClearAll();
        else
            SaveRangeForNextLoad();
    }
    CNormalizationDlg normalization(this);
    if (normalization.DoModal() != IDOK)
    {
        AddLine("Loading stopped", IconError);
        return;
    }
    m_Normalization = normalization.m_Factor;
    CWaitCursor wait;
    AddLine("Reading data file...");
    const std::uint64_t clears = ClearCount();
    const bool loaded = LoadFile(m_InputFile);
    // A grid that a failed load began is no data set: every field shows the cleared grid.
    if (!loaded && ClearCount() != clears) ClearDataSet();
    if (loaded)
    {
        AfterLoad();
        m_DataLoaded = true;
        m_Transparency = 0;
        m_TransparencySlider.SetPos(0);
        CheckDlgButton(IDC_TRANSPARENT, 0);
        AddLine("Loading successful");
        RebuildLegend();
        Redraw();
    }
    RefreshControls();
}

namespace
{
constexpr const char* NotRecognized =
    "Sorry, but the file format was not recognized or the contents is corrupted!";

bool Readable(const std::string& path)
{
    return IsRegularFile(path) && std::ifstream(path, std::ios::binary).good();
}

// A log line as the second line of a box: capitalised, with a full stop.
std::string Sentence(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() != '.' && text.back() != '!') text += '.';
    return text;
}
} // namespace

// Every failure shows one box, and the box says what the log says.
bool CVolumira3DDlg::LoadFile(const std::string& path)
{
    if (!Readable(path))
    {
        const std::string text = "Cannot open " + path;
        AddLine(text, IconError);
        return StopLoading(text);
    }
    const CVolumeFormat* format = FormatFromPath(path);
    if (!format)
    {
        format = IdentifyContent(path);
        if (!format) return StopLoading("Invalid file type!");
        AddLine(std::string(format->m_IdentifiedLine));
    }
    std::string problem;
    if (RunLoader(*format, path, problem)) return true;
    if (problem.empty()) return StopLoading("");
    return StopLoading(std::string(NotRecognized) + "\n" + Sentence(problem));
}

bool CVolumira3DDlg::StopLoading(const std::string& text)
{
    m_StoppedBecause = text.empty() ? "Loading stopped" : text;
    if (!text.empty()) AfxMessageBox(text, MB_ICONERROR);
    AddLine("Loading stopped", IconError);
    return false;
}

bool CVolumira3DDlg::RunLoader(const CVolumeFormat& format, const std::string& path,
                               std::string& problem)
{
    CVolumeLoader loader(*this, *this, &m_Settings);
    loader.SetValuesOnly(m_ValuesOnly);
    try
    {
        if (loader.Load(format, path)) return true;
        problem = loader.Reported() ? "" : loader.LastError();
        if (!loader.Reported() && problem.empty()) problem = "the file could not be read";
        return false;
    }
    catch (const std::bad_alloc&)
    {
        // The loaders check sizes before they allocate; this is the last line of defence.
        ClearDataSet();
        problem = "Not enough memory to load " + path;
        AddLine(problem, IconError);
        return false;
    }
}

int CVolumira3DDlg::Claim(const std::string& path)
{
    if (!Readable(path)) return 0;
    return IdentifyContent(path) ? 2 : FormatFromPath(path) ? 1 : 0;
}

namespace
{
// "21", "hot", "Moreland": a palette by its name in the list, case aside; -1 for none.
int PaletteByName(const std::string& name)
{
    for (int i = 0; i < PaletteCount; ++i)
        if (LowerCase(PaletteNames[i]) == LowerCase(name)) return i;
    return -1;
}
} // namespace

int CVolumira3DDlg::OpenFromHost(const std::string& path, const CFileOpenOptions& options,
                                 std::string& message)
{
    if (m_DataLoaded) ClearAll();
    m_InputFile = path;
    UpdateData(FALSE);
    m_StoppedBecause.clear();
    m_ValuesOnly = true;
    OnLoadData();
    m_ValuesOnly = false;
    if (!m_DataLoaded)
    {
        message = m_StoppedBecause.empty() ? "the file was not loaded" : m_StoppedBecause;
        return -1;
    }
    const std::string planes = options.Get("planes");
    double at[3] = {0, 0, 0};
    const bool placed =
        !planes.empty() && std::sscanf(planes.c_str(), "%lf,%lf,%lf", &at[0], &at[1], &at[2]) == 3;
    // The layer that holds a position along the plane's normal, else the middle one.
    for (int plane = 0; plane < 3; ++plane)
    {
        const int n = PlaneNormal(plane);
        m_PlaneEnabled[plane] = true;
        m_PlaneLayer[plane] = placed ? BinAt(n, at[n]) : BinCount(n) / 2;
    }
    if (const int palette = PaletteByName(options.Get("palette")); palette >= 0)
        SelectPalette(palette);
    double lo = 0, hi = 0;
    if (std::sscanf(options.Get("range").c_str(), "%lf:%lf", &lo, &hi) == 2 && lo < hi)
        m_RangeMin = lo, m_RangeMax = hi;
    if (options.Get("linear") == "1") m_ScaleMode = ScaleLinear;
    if (m_ScaleMode == ScaleLogarithmic && m_RangeMin <= 0) m_RangeMin = 1e-12;
    SetSlidersFromState();
    RefreshControls();
    RebuildLegend();
    ShowWindow(SW_SHOW);
    Redraw();
    return 1;
}

void CVolumira3DDlg::AfterLoad()
{
    m_SliderZ.SetRange(0, m_NrZBins - 1);
    m_SliderX.SetRange(0, m_NrXBins - 1);
    m_SliderY.SetRange(0, m_NrYBins - 1);
    m_TransparencySlider.SetRange(0, 100);
    CDataOptionsDlg options(this, this);
    options.m_Min = m_KeepRange ? m_SavedRangeMin : m_RangeMin;
    options.m_Max = m_KeepRange ? m_SavedRangeMax : m_RangeMax;
    m_KeepRange = false;
    options.m_ScaleMode = m_ScaleMode;
    options.m_UnitText = m_UnitText;
    options.DoModal();
    TakeBackDataOptions(options, MB_ICONWARNING);
    RefreshControls();
}

void CVolumira3DDlg::TakeBackDataOptions(const CDataOptionsDlg& dlg, UINT overflowIcon)
{
    if (m_RangeMax > dlg.m_Max) AfxMessageBox(OverflowMessage, overflowIcon);
    double min = dlg.m_Min;
    if (dlg.m_ScaleMode == ScaleLogarithmic && min <= 0)
    {
        // A logarithm needs a positive bound; a negative one is refused as 0 is.
        AfxMessageBox(min == 0 ? LogZeroMessage : LogNegativeMessage, MB_ICONINFORMATION);
        min = 1e-12;
    }
    m_RangeMin = min;
    m_ScaleMode = dlg.m_ScaleMode;
    m_RangeMax = dlg.m_Max;
    m_UnitText = dlg.m_UnitText;
}

void CVolumira3DDlg::OnLegendSettings()
{
    CDataOptionsDlg options(this, this);
    options.m_Min = m_RangeMin;
    options.m_Max = m_RangeMax;
    options.m_ScaleMode = m_ScaleMode;
    options.m_UnitText = m_UnitText;
    options.DoModal();
    TakeBackDataOptions(options, MB_ICONINFORMATION);
    RebuildLegend();
    Redraw();
}

void CVolumira3DDlg::Box(CVector& min, CVector& max) const
{
    if (!m_DataLoaded || !AnyPlaneEnabled())
    {
        min = CVector(1e12, 1e12, 1e12);
        max = CVector(-1e12, -1e12, -1e12);
        return;
    }
    min = CVector(m_GridMin[0], m_GridMin[1], m_GridMin[2]);
    max =
        CVector(m_GridMin[0] + m_NrXBins * m_BinWidth[0], m_GridMin[1] + m_NrYBins * m_BinWidth[1],
                m_GridMin[2] + m_NrZBins * m_BinWidth[2]);
}
} // namespace volumira3d

namespace volumira3d
{
namespace
{
// Host draw modes other than 0, 1, 8 and 9 leave polygons drawn as lines.
bool HostDrawsLines(int mode)
{
    return mode != 0 && mode != 1 && mode != 8 && mode != 9;
}
} // namespace

bool CVolumira3DDlg::RenderState(HDC dc, HGLRC rc, int mode) const
{
    if (!m_DataLoaded || !AnyPlaneEnabled() || !HasGrid()) return false;
    wglMakeCurrent(dc, rc);
    if (HostDrawsLines(mode)) glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return true;
}

void CVolumira3DDlg::OnRender(HDC dc, HGLRC rc, int mode)
{
    if (!RenderState(dc, rc, mode)) return;
    if (m_Transparency == 0) m_Renderer.DrawScene();
    if (HostDrawsLines(mode)) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}

void CVolumira3DDlg::OnPostRender(HDC dc, HGLRC rc, int mode)
{
    if (!RenderState(dc, rc, mode)) return;
    if (m_Transparency > 0) m_Renderer.DrawScene();
    m_Renderer.DrawOverlay();
    if (m_ShowGeometry && AnyPlaneEnabled() && !IsPointCloud())
        m_GeometryOverlay.Draw(HostGeometry(), *this, *this);
    if (HostWantsLegend() && m_DataLoaded && AnyPlaneEnabled())
    {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        DrawViewLegend(m_Legend, viewport[2], viewport[3]);
    }
    if (HostDrawsLines(mode)) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}
} // namespace volumira3d
