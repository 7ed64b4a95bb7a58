#include "isotopes/Nuclira3DDlg.h"

#include "isodump/LogDlg.h"
#include "isodump/StatisticsMenuDlg.h"
#include "isotopes/BarChartDlg.h"
#include "isotopes/Elements.h"
#include "isotopes/IsodumpReader.h"
#include "isotopes/IsotopeConfigDlg.h"
#include "isotopes/IsotopeStatistics.h"
#include "isotopes/NucVecCollectorReader.h"
#include "isotopes/WeightStatConfigDlg.h"
#include "platform/DataExchange.h"
#include "platform/Profile.h"
#include "platform/UiServices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace nuclira3d
{
namespace
{
constexpr const char* FileFilter =
    "FLUKA isodump (*.out)|*.out|NucVec collector (*.dat)|*.dat|All Files (*.*)|*.*|";
constexpr const char* NoDataMessage = "Sorry, but there are no data available!";

const CDlgTemplate& Nuclira3DTemplate()
{
    static const CDlgTemplate t = []
    {
        CDlgTemplate d;
        d.m_Id = IDD_NUCLIRA3D;
        d.m_Caption = "Nuclira 3D";
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
            .Label("Element", 7, 60, 70, 8)
            .Add(K::CheckListBox, IDC_ELEMENTS, "Element", 7, 70, 73, 120, LBS_SORT)
            .Label("Mass", 84, 60, 70, 8)
            .Add(K::CheckListBox, IDC_MASSES, "Mass", 84, 70, 73, 120, LBS_SORT)
            .Add(K::Button, IDC_CHECKALL, "Check all", 7, 193, 73, 14)
            .Add(K::Button, IDC_UNCHECKALL, "Uncheck all", 84, 193, 73, 14)
            .Label("Drawing mode", 163, 60, 100, 8)
            .Add(K::ComboBox, IDC_MODE, "", 163, 70, 150, 60)
            .Add(K::CheckBox, IDC_TRANSPARENT, "Render transparent", 163, 90, 150, 10)
            .Add(K::CheckBox, IDC_SCALEWEIGHT, "Scale with weight", 163, 104, 150, 10)
            .Add(K::CheckBox, IDC_WEIGHTFILTER, "Apply weight filter (set via \"configure\")", 163,
                 118, 150, 10)
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

std::string ElementLabel(int z)
{
    const std::string symbol = ElementSymbol(z);
    return symbol.empty() ? Format("Z%d", z) : symbol;
}
} // namespace

EDataKind KindFromPath(const std::string& path)
{
    return LowerExtension(path) == "dat" ? EDataKind::Collector : EDataKind::Isodump;
}

std::unique_ptr<CIsotopeDataReader> MakeReader(EDataKind kind)
{
    if (kind == EDataKind::Collector) return std::make_unique<CNucVecCollectorReader>();
    return std::make_unique<CIsodumpReader>();
}

CNuclira3DDlg::CNuclira3DDlg(CHostInterface* pHost, CProfile* pProfile)
    : CDialog(Nuclira3DTemplate()), m_pHost(pHost), m_pProfile(pProfile)
{
    OnClicked(IDC_BROWSE, &CNuclira3DDlg::OnBrowse);
    OnClicked(IDC_LOAD, &CNuclira3DDlg::OnLoad);
    OnClicked(IDC_CLEAR, &CNuclira3DDlg::OnClear);
    OnClicked(IDC_VISUALIZE, &CNuclira3DDlg::OnVisualize);
    MapCommand(IDC_MODE, CBN_SELCHANGE, &CNuclira3DDlg::OnMode);
    OnClicked(IDC_TRANSPARENT, &CNuclira3DDlg::OnTransparent);
    OnClicked(IDC_SCALEWEIGHT, &CNuclira3DDlg::OnScaleWeight);
    OnClicked(IDC_WEIGHTFILTER, &CNuclira3DDlg::OnWeightFilter);
    MapCommand(IDC_ELEMENTS, CLBN_CHKCHANGE, &CNuclira3DDlg::OnElementCheck);
    MapCommand(IDC_ELEMENTS, LBN_SELCHANGE, &CNuclira3DDlg::OnElementSelect);
    MapCommand(IDC_MASSES, CLBN_CHKCHANGE, &CNuclira3DDlg::OnMassCheck);
    OnClicked(IDC_CHECKALL, &CNuclira3DDlg::OnCheckAll);
    OnClicked(IDC_UNCHECKALL, &CNuclira3DDlg::OnUncheckAll);
    OnClicked(IDC_CONFIGURE, &CNuclira3DDlg::OnConfigure);
    OnClicked(IDC_STATISTICS, &CNuclira3DDlg::OnStatistics);
}

void CNuclira3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ELEMENTS, m_Elements);
    DDX_Control(pDX, IDC_MASSES, m_Masses);
    DDX_Control(pDX, IDC_PROGRESS, m_Progress);
    DDX_Text(pDX, IDC_FILENAME, m_FileName);
    DDX_CBIndex(pDX, IDC_MODE, m_Draw.m_Mode);
}

BOOL CNuclira3DDlg::OnInitDialog()
{
    CComboBox mode(this, IDC_MODE);
    for (const char* text : {"Point", "Sphere", "Box", "Shaded sphere"})
        mode.AddString(text);
    CDialog::OnInitDialog();
    RefreshControls();
    return TRUE;
}

void CNuclira3DDlg::Redraw()
{
    if (m_pHost) m_pHost->RedrawView();
}

void CNuclira3DDlg::OnBrowse()
{
    CFileDialog dlg(TRUE, "*.out", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, FileFilter, this);
    const std::string folder =
        m_pProfile ? m_pProfile->GetProfileString("Nuclira3D", "ImportPath", "") : "";
    dlg.SetInitialDir(folder);
    const bool chosen = dlg.DoModal() == IDOK;
    if (m_pProfile) m_pProfile->WriteProfileString("Nuclira3D", "ImportPath", folder);
    if (!chosen) return;
    m_FileName = dlg.GetPathName();
    SetDlgItemText(IDC_FILENAME, m_FileName);
}

void CNuclira3DDlg::OnLoad()
{
    if (!UpdateData(TRUE)) return;
    CWaitCursor wait;
    m_Visualize = false;
    m_pReader.reset();
    // A typed name is read by its extension as a chosen one is.
    auto reader = MakeReader(KindFromPath(m_FileName));
    m_DataLoaded = reader->Read(m_FileName, &m_Progress);
    wait.End();
    if (!m_DataLoaded)
    {
        AfxMessageBox("Error reading data", MB_ICONERROR);
        RefreshControls();
        Redraw();
        return;
    }
    m_pReader = std::move(reader);
    m_Draw.m_FilterMin = m_pReader->m_MinWeight;
    m_Draw.m_FilterMax = m_pReader->m_MaxWeight;
    m_Draw.m_Mode = DrawPoint;
    m_Draw.m_ScaleWithWeight = false;
    CheckDlgButton(IDC_SCALEWEIGHT, 0);
    ReportWarnings();
    RefreshControls();
    Redraw();
}

void CNuclira3DDlg::ReportWarnings()
{
    const auto& warnings = m_pReader->Warnings();
    if (warnings.empty()) return;
    std::string text = Format("%zu problem(s) while reading the file:", m_pReader->WarningCount());
    for (size_t i = 0; i < std::min<size_t>(warnings.size(), 5); ++i)
        text += "\n" + warnings[i];
    if (m_pReader->WarningCount() > 5) text += "\n...";
    AfxMessageBox(text, MB_ICONWARNING);
}

void CNuclira3DDlg::OnClear()
{
    if (m_pReader) m_pReader->Clear();
    m_Visualize = false;
    m_DataLoaded = false;
    Redraw();
    RefreshControls();
}

void CNuclira3DDlg::OnVisualize()
{
    if (!RequireData(NoDataMessage))
    {
        CheckDlgButton(IDC_VISUALIZE, 0);
        return;
    }
    m_Visualize = IsDlgButtonChecked(IDC_VISUALIZE) != 0;
    Redraw();
}

void CNuclira3DDlg::OnMode()
{
    m_Draw.m_Mode = std::clamp(CComboBox(this, IDC_MODE).GetCurSel(), 0, 3);
    Redraw();
}

void CNuclira3DDlg::OnTransparent()
{
    m_Draw.m_Transparent = IsDlgButtonChecked(IDC_TRANSPARENT) != 0;
    Redraw();
}

void CNuclira3DDlg::OnWeightFilter()
{
    m_Draw.m_Filter = IsDlgButtonChecked(IDC_WEIGHTFILTER) != 0;
    Redraw();
}

void CNuclira3DDlg::OnScaleWeight()
{
    m_Draw.m_ScaleWithWeight = IsDlgButtonChecked(IDC_SCALEWEIGHT) != 0;
    if (m_pReader) m_pReader->ScaleWithWeight(m_Draw.m_ScaleWithWeight);
    Redraw();
}

int CNuclira3DDlg::SelectedElement() const
{
    const int item = m_Elements.GetCurSel();
    return item < 0 ? -1 : static_cast<int>(m_Elements.GetItemData(item));
}

void CNuclira3DDlg::OnElementCheck()
{
    const int item = m_Elements.GetCurSel();
    if (!m_pReader || item < 0) return;
    const int z = SelectedElement();
    const bool visible = m_Elements.GetCheck(item) != 0;
    // The element's nuclides follow it, so that the mass list shows what is drawn.
    const auto element = m_pReader->Masses().find(z);
    if (element != m_pReader->Masses().end())
        for (const auto& [a, shown] : element->second)
            m_pReader->SetMassVisible(z, a, visible);
    m_pReader->SetElementVisible(z, visible);
    FillMassList(true);
    Redraw();
}

void CNuclira3DDlg::OnElementSelect()
{
    FillMassList(false);
}

void CNuclira3DDlg::OnMassCheck()
{
    const int item = m_Masses.GetCurSel();
    const int z = SelectedElement();
    if (!m_pReader || item < 0 || z < 0) return;
    const int a = static_cast<int>(m_Masses.GetItemData(item));
    m_pReader->SetMassVisible(z, a, m_Masses.GetCheck(item) != 0);
    Redraw();
}

void CNuclira3DDlg::SetAllElements(bool visible)
{
    for (int i = 0; i < m_Elements.GetCount(); ++i)
        m_Elements.SetCheck(i, visible ? 1 : 0);
    if (m_pReader)
    {
        for (const auto& [z, masses] : m_pReader->Masses())
            for (const auto& [a, shown] : masses)
                m_pReader->SetMassVisible(z, a, visible);
        m_pReader->SetAllVisible(visible);
    }
    FillMassList(true);
    Redraw();
}

bool CNuclira3DDlg::RequireData(const char* message)
{
    if (HasData()) return true;
    AfxMessageBox(message, MB_ICONINFORMATION);
    return false;
}

void CNuclira3DDlg::OnConfigure()
{
    if (!RequireData(NoDataMessage)) return;
    CIsotopeConfigDlg dlg(this);
    dlg.m_FilterMin = m_Draw.m_FilterMin;
    dlg.m_FilterMax = m_Draw.m_FilterMax;
    dlg.m_DataMinWeight = m_pReader->m_MinWeight;
    dlg.m_DataMaxWeight = m_pReader->m_MaxWeight;
    dlg.m_ScaleFactor = m_Draw.m_ScaleFactor;
    if (dlg.DoModal() != IDOK) return;
    m_Draw.m_FilterMin = dlg.m_FilterMin;
    m_Draw.m_FilterMax = dlg.m_FilterMax;
    m_Draw.m_ScaleFactor = dlg.m_ScaleFactor;
    Redraw();
}

void CNuclira3DDlg::OnStatistics()
{
    if (!RequireData("Sorry, but there no data are available yet!")) return;
    isodump::CStatisticsMenuDlg menu(
        {{"By isotope (table)", [this](CDialog& parent) { ShowIsotopeTable(parent); }},
         {"By isotope (graph)", [this](CDialog& parent) { ShowIsotopeChart(parent); }},
         {"By weight (table)", [this](CDialog& parent) { ShowWeightStatistics(parent, false); }},
         {"By weight (graph)", [this](CDialog& parent) { ShowWeightStatistics(parent, true); }}},
        this);
    menu.DoModal();
}

void CNuclira3DDlg::ShowIsotopeTable(CDialog& parent)
{
    CWaitCursor wait;
    std::string text = IsotopeTable(*m_pReader);
    wait.End();
    isodump::CLogDlg log(std::move(text), m_pProfile, &parent);
    log.DoModal();
}

void CNuclira3DDlg::ShowIsotopeChart(CDialog& parent)
{
    CBarChartDlg chart("Relative abundance of isotopes", IsotopeBars(*m_pReader), &parent);
    chart.DoModal();
}

void CNuclira3DDlg::ShowWeightStatistics(CDialog& parent, bool chart)
{
    CWeightStatSettings defaults{m_pReader->m_MinWeight, m_pReader->m_MaxWeight, 1, LinearBinning};
    CWeightStatConfigDlg dlg(defaults, &parent);
    if (dlg.DoModal() != IDOK) return;
    CWeightStatSettings settings = dlg.m_Settings;
    const EWeightCheck check = CheckWeightSettings(settings);
    if (check != EWeightCheck::Ok)
    {
        const bool refused = check != EWeightCheck::LogMinimumRaised;
        AfxMessageBox(WeightCheckMessage(check), refused ? MB_ICONWARNING : MB_ICONINFORMATION);
        if (refused) return;
    }
    CWaitCursor wait;
    const CWeightHistogram histogram = WeightHistogram(*m_pReader, settings);
    if (chart)
    {
        std::vector<CBarObject> bars = WeightBars(histogram);
        wait.End();
        CBarChartDlg chartDlg("Normalized weight statistics", std::move(bars), &parent);
        chartDlg.DoModal();
        return;
    }
    std::string text = WeightTable(histogram, settings);
    wait.End();
    isodump::CLogDlg log(std::move(text), m_pProfile, &parent);
    log.DoModal();
}

void CNuclira3DDlg::FillElementList()
{
    m_Elements.ResetContent();
    if (!m_pReader) return;
    for (const auto& [z, masses] : m_pReader->Masses())
    {
        const auto emitter = m_pReader->AllEmitters().find(z);
        const bool visible =
            emitter != m_pReader->AllEmitters().end() && emitter->second->m_Visible;
        const int i = m_Elements.AddString(ElementLabel(z));
        m_Elements.SetItemData(i, static_cast<std::uintptr_t>(z));
        m_Elements.SetCheck(i, visible ? 1 : 0);
    }
    m_Elements.SetCurSel(0);
}

void CNuclira3DDlg::FillMassList(bool keepSelection)
{
    const int keep = keepSelection ? m_Masses.GetCurSel() : 0;
    m_Masses.ResetContent();
    const int z = SelectedElement();
    if (!m_pReader || m_Elements.GetCurSel() < 0) return;
    const auto element = m_pReader->Masses().find(z);
    if (element == m_pReader->Masses().end()) return;
    for (const auto& [a, shown] : element->second)
    {
        const int i = m_Masses.AddString(std::to_string(a));
        m_Masses.SetItemData(i, static_cast<std::uintptr_t>(a));
        m_Masses.SetCheck(i, shown ? 1 : 0);
    }
    m_Masses.SetCurSel(keep >= 0 && keep < m_Masses.GetCount() ? keep : 0);
}

void CNuclira3DDlg::RefreshControls()
{
    UpdateData(FALSE);
    FillElementList();
    FillMassList(false);
    CheckDlgButton(IDC_VISUALIZE, m_Visualize ? 1 : 0);
}
} // namespace nuclira3d
