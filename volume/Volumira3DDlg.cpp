#include "volume/Volumira3DDlg.h"

#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "volume/DataOptionsDlg.h"
#include "volume/NormalizationDlg.h"
#include "volume/VolumeLoader.h"

#include <omp.h>

#include <algorithm>
#include <new>

namespace volumira3d
{
const char* const InputFileFilter =
    "FLUKA average USRBIN - ASCII (*.avg)|*.avg|FLUKA error USRBIN - ASCII (*.err)|*.err|FLUKA "
    "cartesian USRBIN - ASCII (*.usrbin)|*.usrbin|FLUKA RZ symmetric USRBIN - ASCII "
    "(*.rz)|*.rz|FLUKA R-Phi-Z USRBIN - ASCII (*.rpz)|*.rpz|FLUKA USRBIN - BINARY "
    "(*.bin)|*.bin|XYZ voxel files (*.xyz)|*.xyz|PHITS (*.out)|*.out|MCNPX gridconv file "
    "(*.mcnpx)|*.mcnpx|Volumix3D/FLUKA averaged file (*.avg)|*.avg|Volumix3D/FLUKA error of "
    "average file (*.err)|*.err|FLUKA voxel file (*.vxl)|*.vxl|All Files (*.*)|*.*|";

namespace
{
constexpr const char* ClearQuestion =
    "Are you sure that you want to clear the current data set & the settings?";
constexpr const char* OverflowMessage =
    "Value overflow might occur as the upper bound is set below the maximum value in the data set!";
constexpr const char* LogZeroMessage =
    "0 is not allowed as a range limit in log scale. A default of 1e-12 will be set!";
constexpr int RainbowColors = 21;

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
        auto d = CDlgTemplate::Dialog(IDD_VOLUMIRA3D, "Volumix3D", 320, 330);
        using K = ECtrlKind;
        d.Label("File name", 7, 7, 100, 8)
            .Add(K::Edit, IDC_INPUT_FILE, "", 7, 17, 226, 14)
            .Add(K::Button, IDC_BROWSE, "...", 237, 17, 20, 14)
            .Add(K::Button, IDC_LOAD_DATA, "&Load data", 261, 17, 52, 14)
            .Add(K::Button, IDC_CLEAR_DATA, "Clear data", 7, 36, 60, 14)
            .Add(K::Button, IDC_POSTPROCESS, "Post-process data", 71, 36, 76, 14, WS_DISABLED)
            .Add(K::Button, IDC_LEGEND_SETTINGS, "Legend settings", 151, 36, 70, 14);
        AddPlaneRow(d, IDC_PLANE_XY, "XY - plane", IDC_SLIDER_Z, "Pos Z", IDC_POS_Z, 58);
        AddPlaneRow(d, IDC_PLANE_YZ, "YZ - plane", IDC_SLIDER_X, "Pos X", IDC_POS_X, 76);
        AddPlaneRow(d, IDC_PLANE_ZX, "ZX - plane", IDC_SLIDER_Y, "Pos Y", IDC_POS_Y, 94);
        d.Label("Transparency", 7, 112, 60, 8)
            .Add(K::Slider, IDC_TRANSPARENCY, "", 70, 110, 150, 14, WS_DISABLED)
            .Add(K::Edit, IDC_TRANSPARENCY_PERCENT, "", 224, 110, 30, 12, ES_READONLY)
            .Label("%", 256, 112, 10, 8);
        AddReadOnlyField(d, "Nr of X - bins", IDC_NR_X_BINS, 7, 132);
        AddReadOnlyField(d, "Nr of Y - bins", IDC_NR_Y_BINS, 110, 132);
        AddReadOnlyField(d, "Nr of Z - bins", IDC_NR_Z_BINS, 213, 132);
        AddReadOnlyField(d, "Origin X", IDC_ORIGIN_X, 7, 148);
        AddReadOnlyField(d, "Origin Y", IDC_ORIGIN_Y, 110, 148);
        AddReadOnlyField(d, "Origin Z", IDC_ORIGIN_Z, 213, 148);
        AddReadOnlyField(d, "Bin - size X", IDC_BIN_SIZE_X, 7, 164);
        AddReadOnlyField(d, "Bin - size Y", IDC_BIN_SIZE_Y, 110, 164);
        AddReadOnlyField(d, "Bin - size Z", IDC_BIN_SIZE_Z, 213, 164);
        d.Add(K::Button, IDC_FIND_MAX, "&Find max. value", 7, 182, 70, 14, WS_DISABLED)
            .Label("Source-format", 90, 184, 50, 8)
            .Add(K::ComboBox, IDC_SOURCE_FORMAT, "", 142, 182, 90, 60, WS_DISABLED)
            .Add(K::Button, IDC_EXTRACT, "Extract", 236, 182, 50, 14, WS_DISABLED)
            .Add(K::ListView, IDC_MESSAGE_LOG, "", 7, 202, 306, 100)
            .Add(K::Button, IDCANCEL, "Close", 263, 308, 50, 14);
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
    OnClicked(IDC_LEGEND_SETTINGS, &CVolumira3DDlg::OnLegendSettings);
    OnClicked(IDC_PLANE_XY, &CVolumira3DDlg::OnPlaneXY);
    OnClicked(IDC_PLANE_YZ, &CVolumira3DDlg::OnPlaneYZ);
    OnClicked(IDC_PLANE_ZX, &CVolumira3DDlg::OnPlaneZX);
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
    CDialog::OnInitDialog();
    AppendSystemMenuItem(IDM_SETTINGS, "Settings...");
    m_MessageLog.InsertColumn(0, "Message", LVCFMT_LEFT, 580);
    AddLine("Initializing Volumix3D...");
    AddLine(Format("Using %d cores", omp_get_num_procs()));
    m_ExpNotation = m_Settings.GetExpNotation();
    RebuildColorTable();
    RefreshControls();
    return TRUE;
}

void CVolumira3DDlg::OnSysCommand(UINT)
{
    // "Settings..." opens the settings dialog of the display side, which this build lacks.
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
    for (int id : {IDC_PLANE_XY, IDC_PLANE_YZ, IDC_PLANE_ZX, IDC_SLIDER_Z, IDC_SLIDER_X,
                   IDC_SLIDER_Y, IDC_LEGEND_SETTINGS})
        EnableDlgItem(id, m_DataLoaded);
    CheckDlgButton(IDC_PLANE_XY, m_PlaneEnabled[0]);
    CheckDlgButton(IDC_PLANE_YZ, m_PlaneEnabled[1]);
    CheckDlgButton(IDC_PLANE_ZX, m_PlaneEnabled[2]);
    UpdatePlanePositions();
    SetDlgItemText(IDC_TRANSPARENCY_PERCENT, std::to_string(m_TransparencySlider.GetPos()));
}

void CVolumira3DDlg::UpdatePlanePositions()
{
    // A plane lies at the lower edge of the voxel layer its slider selects.
    SetDlgItemText(IDC_POS_Z, Format("%g", m_SliderZ.GetPos() * m_BinWidth[2] + m_GridMin[2]));
    SetDlgItemText(IDC_POS_X, Format("%g", m_SliderX.GetPos() * m_BinWidth[0] + m_GridMin[0]));
    SetDlgItemText(IDC_POS_Y, Format("%g", m_SliderY.GetPos() * m_BinWidth[1] + m_GridMin[1]));
}

void CVolumira3DDlg::OnHScroll(UINT, UINT, int nCtrlId)
{
    if (nCtrlId == IDC_TRANSPARENCY)
        SetDlgItemText(IDC_TRANSPARENCY_PERCENT, std::to_string(m_TransparencySlider.GetPos()));
    else
        UpdatePlanePositions();
    Redraw();
}

void CVolumira3DDlg::TogglePlane(int plane)
{
    const int ids[3] = {IDC_PLANE_XY, IDC_PLANE_YZ, IDC_PLANE_ZX};
    m_PlaneEnabled[plane] = IsDlgButtonChecked(ids[plane]) != 0;
    Redraw();
}

void CVolumira3DDlg::OnBrowse()
{
    UpdateData(TRUE);
    CFileDialog dlg(TRUE, "usrbin", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, InputFileFilter,
                    this);
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

void CVolumira3DDlg::ClearAll()
{
    ClearDataSet();
    std::fill(std::begin(m_PlaneEnabled), std::end(m_PlaneEnabled), false);
    m_ShowContours = false;
    m_DataLoaded = false;
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
        AddLine("Loading successful");
        RebuildColorTable();
        Redraw();
    }
    RefreshControls();
}

bool CVolumira3DDlg::LoadFile(const std::string& path)
{
    EVolumeFormat format = FormatFromPath(path);
    const bool byName = format != EVolumeFormat::Unknown;
    if (!byName)
    {
        format = IdentifyContent(path);
        if (format != EVolumeFormat::Unknown) AddLine(IdentifiedLogLine(format));
    }
    if (format != EVolumeFormat::Unknown && RunLoader(format, path)) return true;
    AfxMessageBox(byName ? "Sorry, but the file format was not recognized or the contents is "
                           "corrupted!"
                         : "Invalid file type!",
                  MB_ICONERROR);
    AddLine("Loading stopped", IconError);
    return false;
}

bool CVolumira3DDlg::RunLoader(EVolumeFormat format, const std::string& path)
{
    CVolumeLoader loader(*this, *this);
    try
    {
        switch (format)
        {
        case EVolumeFormat::XYZ:
            return loader.LoadXYZ(path);
        case EVolumeFormat::FlukaCartesian:
            return loader.LoadFlukaCartesian(path);
        case EVolumeFormat::FlukaRZ:
            return loader.LoadFlukaRZ(path);
        case EVolumeFormat::FlukaRPhiZ:
            return loader.LoadFlukaRPhiZ(path);
        default:
            AddLine("This build cannot read MCNPX, PHITS, FLUKA binary or FLUKA voxel files yet.",
                    IconError);
            return false;
        }
    }
    catch (const std::bad_alloc&)
    {
        // The loaders check sizes before they allocate; this is the last line of defence.
        ClearDataSet();
        AddLine("Not enough memory to load " + path, IconError);
        return false;
    }
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
    if (dlg.m_ScaleMode == ScaleLogarithmic && min == 0)
    {
        AfxMessageBox(LogZeroMessage, MB_ICONINFORMATION);
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
    RebuildColorTable();
    Redraw();
}

void CVolumira3DDlg::RebuildColorTable()
{
    // The colour map itself belongs to the display side; the range always gets the rainbow
    // table of 21 colours.
    m_ColorCount = RainbowColors;
}

void CVolumira3DDlg::Box(CVector& min, CVector& max) const
{
    const bool anyPlane = m_PlaneEnabled[0] || m_PlaneEnabled[1] || m_PlaneEnabled[2];
    if (!m_DataLoaded || !anyPlane)
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
