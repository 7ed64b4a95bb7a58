#include "isotopes/Nuclira3DDlg.h"

#include "isodump/LogDlg.h"
#include "isodump/StatisticsMenuDlg.h"
#include "isotopes/BarChartDlg.h"
#include "isotopes/Elements.h"
#include "isotopes/IsodumpReader.h"
#include "isotopes/IsotopeConfigDlg.h"
#include "isotopes/IsotopeStatistics.h"
#include "isotopes/NucVecCollectorReader.h"
#include "isotopes/NuclideVtkExport.h"
#include "isotopes/WeightStatConfigDlg.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

#include <algorithm>

namespace nuclira3d
{
namespace
{
constexpr const char* NoDataMessage = "Sorry, but there are no data available!";

constexpr const char* FileFilter =
    "FLUKA isodump (*.out)|*.out|NucVec collector (*.dat)|*.dat|All Files (*.*)|*.*|";

const CDlgTemplate& Nuclira3DTemplate()
{
    using K = ECtrlKind;
    using Dlg = isodump::CPointCloudDlg;
    static const CDlgTemplate t = Dlg::Template(
        IDD_NUCLIRA3D, "Nuclira 3D",
        [](CDlgTemplate& d)
        {
            d.Label("Element", 7, 60, 70, 8)
                .Add(K::CheckListBox, IDC_ELEMENTS, "Element", 7, 70, 73, 120, LBS_SORT)
                .Label("Mass", 84, 60, 70, 8)
                .Add(K::CheckListBox, IDC_MASSES, "Mass", 84, 70, 73, 120, LBS_SORT);
        },
        {Dlg::TransparentOption, Dlg::ScaleWeightOption, Dlg::WeightFilterOption});
    return t;
}

std::string ElementLabel(int z)
{
    const std::string symbol = ElementSymbol(z);
    return symbol.empty() ? Format("Z%d", z) : symbol;
}
} // namespace

EDataKind KindFromPath(const std::string& path)
{
    return isodump::LowerExtension(path) == "dat" ? EDataKind::Collector : EDataKind::Isodump;
}

std::unique_ptr<CIsotopeDataReader> MakeReader(EDataKind kind)
{
    if (kind == EDataKind::Collector) return std::make_unique<CNucVecCollectorReader>();
    return std::make_unique<CIsodumpReader>();
}

CNuclira3DDlg::CNuclira3DDlg(CHostInterface* pHost, CProfile* pProfile)
    : CPointCloudDlg(
          Nuclira3DTemplate(),
          {"*.out", FileFilter, "Nuclira3D", {"Point", "Sphere", "Box", "Shaded sphere"}}, pHost,
          pProfile)
{
    OnClicked(IDC_SCALEWEIGHT, &CNuclira3DDlg::OnScaleWeight);
    MapCommand(IDC_ELEMENTS, CLBN_CHKCHANGE, &CNuclira3DDlg::OnElementCheck);
    MapCommand(IDC_ELEMENTS, LBN_SELCHANGE, &CNuclira3DDlg::OnElementSelect);
    MapCommand(IDC_MASSES, CLBN_CHKCHANGE, &CNuclira3DDlg::OnMassCheck);
}

void CNuclira3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CPointCloudDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ELEMENTS, m_Elements);
    DDX_Control(pDX, IDC_MASSES, m_Masses);
}

void CNuclira3DDlg::ExportVtk()
{
    ExportNuclideVtk(*this);
}

bool CNuclira3DDlg::ReadData(CProgressCtrl* pProgress)
{
    m_pReader.reset();
    // A typed name is read by its extension as a chosen one is.
    auto reader = MakeReader(KindFromPath(m_FileName));
    m_DataLoaded = reader->Read(m_FileName, pProgress);
    if (m_DataLoaded) m_pReader = std::move(reader);
    return m_DataLoaded;
}

void CNuclira3DDlg::OnDataRead()
{
    m_Draw.m_FilterMin = m_pReader->m_MinWeight;
    m_Draw.m_FilterMax = m_pReader->m_MaxWeight;
    m_Draw.m_Mode = DrawPoint;
    m_Draw.m_ScaleWithWeight = false;
    CheckDlgButton(IDC_SCALEWEIGHT, 0);
}

void CNuclira3DDlg::ClearData()
{
    if (m_pReader) m_pReader->Clear();
    m_DataLoaded = false;
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

void CNuclira3DDlg::SetAllVisible(bool visible)
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

void CNuclira3DDlg::FillLists()
{
    FillElementList();
    FillMassList(false);
}
} // namespace nuclira3d
