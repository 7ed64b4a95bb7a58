#include "cloud/Nebulo3DDlg.h"

#include "cloud/CloudConfigDlg.h"
#include "cloud/CloudVtkExport.h"
#include "cloud/EnergyHistoDlg.h"
#include "cloud/IsodumpReader.h"
#include "cloud/MCNPXReader.h"
#include "cloud/ParticleTypes.h"
#include "cloud/Statistics.h"
#include "common/VtkExport.h"
#include "isodump/LogDlg.h"
#include "isodump/StatisticsMenuDlg.h"
#include "platform/DataExchange.h"
#include "platform/Profile.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace nebulo3d
{
namespace
{
constexpr const char* FileFilter =
    "Nebulo3D (*.dat)|*.dat|MCNPX (*.mout)|*.mout|MCNPX (*.*)|*.*|FLUKA isodump "
    "(*.out)|*.out|All Files (*.*)|*.*|";

const CDlgTemplate& Nebulo3DTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_NEBULO3D;
        d.m_Caption = "Nebulo 3D";
        d.m_Width = 320;
        d.m_Height = 262;
        using K = ECtrlKind;
        d.Label("Data file", 7, 7, 100, 8)
            .Add(K::Edit, IDC_FILENAME, "", 7, 17, 226, 14)
            .Add(K::Button, IDC_BROWSE, "...", 237, 17, 20, 14)
            .Add(K::Button, IDC_LOAD, "Load", 261, 17, 52, 14)
            .Add(K::CheckBox, IDC_VISUALIZE, "Visualize", 7, 37, 60, 16, BS_PUSHLIKE)
            .Add(K::Button, IDC_CLEAR, "Clear", 71, 37, 50, 16)
            .Add(K::Button, IDC_CONFIGURE, "Configure", 125, 37, 60, 16)
            .Add(K::Button, IDC_STATISTICS, "Statistics", 189, 37, 60, 16)
            .Label("Particle type", 7, 60, 150, 8)
            .Add(K::CheckListBox, IDC_TYPELIST, "Particle type", 7, 70, 150, 120, LBS_SORT)
            .Add(K::Button, IDC_CHECKALL, "Check all", 7, 193, 73, 14)
            .Add(K::Button, IDC_UNCHECKALL, "Uncheck all", 84, 193, 73, 14)
            .Label("Drawing mode", 163, 60, 100, 8)
            .Add(K::ComboBox, IDC_MODE, "", 163, 70, 150, 60)
            .Add(K::CheckBox, IDC_SHOWDIRECTIONS, "Show directions", 163, 90, 150, 10)
            .Add(K::CheckBox, IDC_SCALEENERGY, "Scale with energy", 163, 104, 150, 10)
            .Add(K::CheckBox, IDC_SCALEWEIGHT, "Scale with weight", 163, 118, 150, 10)
            .Add(K::CheckBox, IDC_TRANSPARENT, "Render transparent", 163, 132, 150, 10)
            .Add(K::CheckBox, IDC_WEIGHTFILTER, "Apply weight filter (set via \"configure\")", 163,
                 146, 150, 10)
            .Add(K::Progress, IDC_PROGRESS, "", 7, 214, 306, 10)
            .Add(K::Button, IDCANCEL, "Close", 263, 240, 50, 14);
        return d;
    }();
    return t;
}

std::string LowerExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}
} // namespace

ESource SourceFromPath(const std::string& path)
{
    const std::string ext = LowerExtension(path);
    if (ext.empty() || ext == "mout") return ESource::MCNPX;
    if (ext == "out") return ESource::Isodump;
    return ESource::Own;
}

std::unique_ptr<CParticleDataReader> MakeReader(ESource source)
{
    switch (source)
    {
    case ESource::MCNPX:
        return std::make_unique<CMCNPXReader>();
    case ESource::Isodump:
        return std::make_unique<CIsodumpReader>();
    case ESource::Own:
        break;
    }
    return std::make_unique<CParticleDataReader>();
}

CNebulo3DDlg::CNebulo3DDlg(CHostInterface* pHost, CProfile* pProfile)
    : CDialog(Nebulo3DTemplate()), m_pHost(pHost), m_pProfile(pProfile)
{
    OnClicked(IDC_BROWSE, &CNebulo3DDlg::OnBrowse);
    OnClicked(IDC_LOAD, &CNebulo3DDlg::OnLoad);
    OnClicked(IDC_CLEAR, &CNebulo3DDlg::OnClear);
    OnClicked(IDC_VISUALIZE, &CNebulo3DDlg::OnVisualize);
    MapCommand(IDC_MODE, CBN_SELCHANGE, &CNebulo3DDlg::OnMode);
    OnClicked(IDC_SHOWDIRECTIONS, &CNebulo3DDlg::OnShowDirections);
    OnClicked(IDC_SCALEENERGY, &CNebulo3DDlg::OnScaleEnergy);
    OnClicked(IDC_SCALEWEIGHT, &CNebulo3DDlg::OnScaleWeight);
    OnClicked(IDC_TRANSPARENT, &CNebulo3DDlg::OnTransparent);
    OnClicked(IDC_WEIGHTFILTER, &CNebulo3DDlg::OnWeightFilter);
    MapCommand(IDC_TYPELIST, CLBN_CHKCHANGE, &CNebulo3DDlg::OnTypeCheckChange);
    OnClicked(IDC_CHECKALL, &CNebulo3DDlg::OnCheckAll);
    OnClicked(IDC_UNCHECKALL, &CNebulo3DDlg::OnUncheckAll);
    OnClicked(IDC_CONFIGURE, &CNebulo3DDlg::OnConfigure);
    OnClicked(IDC_STATISTICS, &CNebulo3DDlg::OnStatistics);
}

void CNebulo3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TYPELIST, m_TypeList);
    DDX_Control(pDX, IDC_PROGRESS, m_Progress);
    DDX_Text(pDX, IDC_FILENAME, m_FileName);
    DDX_CBIndex(pDX, IDC_MODE, m_Draw.m_Mode);
}

BOOL CNebulo3DDlg::OnInitDialog()
{
    CComboBox mode(this, IDC_MODE);
    for (const char* text : {"Point", "Sphere", "Box"})
        mode.AddString(text);
    CDialog::OnInitDialog();
    AppendSystemMenuItem(IDM_EXPORT_VTK, ExportVtkMenuText);
    RefreshControls();
    return TRUE;
}

void CNebulo3DDlg::OnSysCommand(UINT nID)
{
    if (nID == IDM_EXPORT_VTK) ExportCloudVtk(*this);
}

void CNebulo3DDlg::Redraw()
{
    if (m_pHost) m_pHost->RedrawView();
}

void CNebulo3DDlg::OnBrowse()
{
    CFileDialog dlg(TRUE, "*.dat", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, FileFilter, this);
    const std::string folder =
        m_pProfile ? m_pProfile->GetProfileString("Nebulo", "ImportPath", "") : "";
    dlg.SetInitialDir(folder);
    const bool chosen = dlg.DoModal() == IDOK;
    if (m_pProfile) m_pProfile->WriteProfileString("Nebulo", "ImportPath", folder);
    if (!chosen) return;
    m_FileName = dlg.GetPathName();
    m_Source = SourceFromPath(m_FileName);
    SetDlgItemText(IDC_FILENAME, m_FileName);
}

void CNebulo3DDlg::OnLoad()
{
    if (!UpdateData(TRUE)) return;
    CWaitCursor wait;
    m_Visualize = false;
    m_pReader.reset();
    // A typed name is read by its extension as a chosen one is.
    m_Source = SourceFromPath(m_FileName);
    auto reader = MakeReader(m_Source);
    if (m_FileName.empty() || !reader->Read(m_FileName, &m_Progress))
    {
        wait.End();
        AfxMessageBox("Error reading data", MB_ICONERROR);
        RefreshControls();
        Redraw();
        return;
    }
    m_pReader = std::move(reader);
    m_Draw.m_FilterMin = m_pReader->m_MinWeight;
    m_Draw.m_FilterMax = m_pReader->m_MaxWeight;
    m_Draw.m_Mode = DrawPoint;
    CheckDlgButton(IDC_SCALEENERGY, 0);
    CheckDlgButton(IDC_SCALEWEIGHT, 0);
    wait.End();
    ReportWarnings();
    RefreshControls();
    Redraw();
}

void CNebulo3DDlg::ReportWarnings()
{
    const auto& warnings = m_pReader->Warnings();
    if (warnings.empty()) return;
    std::string text = Format("%zu problem(s) while reading the file:", warnings.size());
    for (size_t i = 0; i < std::min<size_t>(warnings.size(), 5); ++i)
        text += "\n" + warnings[i];
    if (warnings.size() > 5) text += "\n...";
    AfxMessageBox(text, MB_ICONWARNING);
}

void CNebulo3DDlg::OnClear()
{
    if (m_pReader) m_pReader->Clear();
    m_Visualize = false;
    Redraw();
    RefreshControls();
}

void CNebulo3DDlg::OnVisualize()
{
    m_Visualize = IsDlgButtonChecked(IDC_VISUALIZE) != 0 && HasData();
    RefreshControls();
    Redraw();
}

void CNebulo3DDlg::OnMode()
{
    m_Draw.m_Mode = std::clamp(CComboBox(this, IDC_MODE).GetCurSel(), 0, 2);
    Redraw();
}

void CNebulo3DDlg::OnShowDirections()
{
    m_Draw.m_ShowDirections = IsDlgButtonChecked(IDC_SHOWDIRECTIONS) != 0;
    Redraw();
}

void CNebulo3DDlg::OnTransparent()
{
    m_Draw.m_Transparent = IsDlgButtonChecked(IDC_TRANSPARENT) != 0;
    Redraw();
}

void CNebulo3DDlg::OnWeightFilter()
{
    m_Draw.m_Filter = IsDlgButtonChecked(IDC_WEIGHTFILTER) != 0;
    Redraw();
}

// Energy and weight scaling exclude each other.
void CNebulo3DDlg::OnScale(int id, int otherId)
{
    const bool on = IsDlgButtonChecked(id) != 0;
    if (on) CheckDlgButton(otherId, 0);
    using S = CParticleDataReader::EDirectionScale;
    const S scale = !on ? S::None : id == IDC_SCALEENERGY ? S::Energy : S::Weight;
    if (m_pReader) m_pReader->ScaleDirections(scale);
    Redraw();
    RefreshControls();
}

void CNebulo3DDlg::OnTypeCheckChange()
{
    const int item = m_TypeList.GetCurSel();
    if (!m_pReader || item < 0) return;
    const int type = static_cast<int>(m_TypeList.GetItemData(item));
    m_pReader->SetTypeVisible(type, m_TypeList.GetCheck(item) != 0);
    Redraw();
}

void CNebulo3DDlg::SetAllTypes(bool visible)
{
    for (int i = 0; i < m_TypeList.GetCount(); ++i)
        m_TypeList.SetCheck(i, visible ? 1 : 0);
    if (m_pReader) m_pReader->SetAllVisible(visible);
    Redraw();
}

bool CNebulo3DDlg::RequireData()
{
    if (HasData()) return true;
    AfxMessageBox("Please load a file!", MB_ICONINFORMATION);
    return false;
}

void CNebulo3DDlg::OnConfigure()
{
    if (!RequireData()) return;
    CCloudConfigDlg dlg(this);
    dlg.m_FilterMin = m_Draw.m_FilterMin;
    dlg.m_FilterMax = m_Draw.m_FilterMax;
    dlg.m_DataMinWeight = m_pReader->m_MinWeight;
    dlg.m_DataMaxWeight = m_pReader->m_MaxWeight;
    dlg.m_DirectionScale = m_Draw.m_Scale;
    dlg.m_DrawArrows = m_Draw.m_DrawArrows;
    dlg.DoModal();
    // OK or Cancel alike: what the dialog holds now is taken over.
    m_Draw.m_FilterMin = dlg.m_FilterMin;
    m_Draw.m_FilterMax = dlg.m_FilterMax;
    m_Draw.m_Scale = std::clamp(dlg.m_DirectionScale, 0.0, 1e7);
    m_Draw.m_DrawArrows = dlg.m_DrawArrows;
    Redraw();
}

void CNebulo3DDlg::OnStatistics()
{
    if (!RequireData()) return;
    const CParticleDataReader& reader = *m_pReader;
    isodump::CStatisticsMenuDlg menu(
        [&](CDialog& parent)
        {
            isodump::CLogDlg log(TypeReport(reader), m_pProfile, &parent);
            log.DoModal();
        },
        [&](CDialog& parent)
        {
            CEnergyHistoDlg histo(reader, m_pProfile, &parent);
            histo.DoModal();
        },
        this);
    menu.DoModal();
}

void CNebulo3DDlg::FillTypeList()
{
    m_TypeList.ResetContent();
    if (!m_pReader) return;
    // One row per type number: types that share a name (52/54, 53/55, "---") keep their rows.
    for (int type : m_pReader->Types())
    {
        const int i = m_TypeList.AddString(PaddedTypeName(type));
        m_TypeList.SetItemData(i, static_cast<std::uintptr_t>(type));
        m_TypeList.SetCheck(i, m_pReader->TypeVisible(type) ? 1 : 0);
    }
    m_TypeList.SetCurSel(0);
}

void CNebulo3DDlg::RefreshControls()
{
    UpdateData(FALSE);
    FillTypeList();
    CheckDlgButton(IDC_VISUALIZE, m_Visualize ? 1 : 0);
    EnableDlgItem(IDC_VISUALIZE, HasData());
}
} // namespace nebulo3d
