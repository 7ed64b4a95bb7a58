#include "cloud/Nebulo3DDlg.h"

#include "cloud/CloudConfigDlg.h"
#include "cloud/CloudVtkExport.h"
#include "cloud/EnergyHistoDlg.h"
#include "cloud/McplExport.h"
#include "cloud/ParticleTypes.h"
#include "cloud/Statistics.h"
#include "isodump/LogDlg.h"
#include "isodump/StatisticsMenuDlg.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"

#include <algorithm>

namespace nebulo3d
{
namespace
{
const CDlgTemplate& Nebulo3DTemplate()
{
    using K = ECtrlKind;
    using Dlg = isodump::CPointCloudDlg;
    static const CDlgTemplate t = Dlg::Template(
        IDD_NEBULO3D, "Nebulo 3D",
        [](CDlgTemplate& d)
        {
            d.Label("Particle type", 7, 60, 150, 8)
                .Add(K::CheckListBox, IDC_TYPELIST, "Particle type", 7, 70, 150, 120, LBS_SORT);
        },
        {{IDC_SHOWDIRECTIONS, "Show directions"},
         {IDC_SCALEENERGY, "Scale with energy"},
         Dlg::ScaleWeightOption,
         Dlg::TransparentOption,
         Dlg::WeightFilterOption});
    return t;
}
const std::string& Filter()
{
    static const std::string filter = CloudFileFilter();
    return filter;
}
} // namespace

CNebulo3DDlg::CNebulo3DDlg(CHostInterface* pHost, CProfile* pProfile)
    : CPointCloudDlg(Nebulo3DTemplate(),
                     {"*.dat", Filter().c_str(), "Nebulo", {"Point", "Sphere", "Box"}}, pHost,
                     pProfile)
{
    OnClicked(IDC_SHOWDIRECTIONS, &CNebulo3DDlg::OnShowDirections);
    OnClicked(IDC_SCALEENERGY, &CNebulo3DDlg::OnScaleEnergy);
    OnClicked(IDC_SCALEWEIGHT, &CNebulo3DDlg::OnScaleWeight);
    MapCommand(IDC_TYPELIST, CLBN_CHKCHANGE, &CNebulo3DDlg::OnTypeCheckChange);
}

void CNebulo3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CPointCloudDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TYPELIST, m_TypeList);
}

BOOL CNebulo3DDlg::OnInitDialog()
{
    const BOOL result = CPointCloudDlg::OnInitDialog();
    AppendSystemMenuItem(IDM_EXPORT_MCPL, "Export MCPL...");
    AppendSystemMenuItem(IDM_EXPORT_MCPL_SHOWN, "Export MCPL (shown only)...");
    return result;
}

void CNebulo3DDlg::OnSysCommand(UINT nID)
{
    if (nID == IDM_EXPORT_MCPL || nID == IDM_EXPORT_MCPL_SHOWN)
        ExportCloudMcpl(*this, nID == IDM_EXPORT_MCPL_SHOWN);
    else
        CPointCloudDlg::OnSysCommand(nID);
}

void CNebulo3DDlg::ExportVtk()
{
    ExportCloudVtk(*this);
}

bool CNebulo3DDlg::ReadData(CProgressCtrl* pProgress)
{
    m_pReader.reset();
    // A typed name is read by its extension as a chosen one is.
    m_pFormat = &CloudFormatOf(m_FileName);
    auto reader = m_pFormat->m_Make(this);
    if (m_FileName.empty() || !reader->Read(m_FileName, pProgress)) return false;
    m_pReader = std::move(reader);
    return true;
}

void CNebulo3DDlg::OnDataRead()
{
    m_Draw.m_FilterMin = m_pReader->m_MinWeight;
    m_Draw.m_FilterMax = m_pReader->m_MaxWeight;
    m_Draw.m_Mode = DrawPoint;
    CheckDlgButton(IDC_SCALEENERGY, 0);
    CheckDlgButton(IDC_SCALEWEIGHT, 0);
}

void CNebulo3DDlg::ClearData()
{
    if (m_pReader) m_pReader->Clear();
}

void CNebulo3DDlg::OnVisualize()
{
    m_Visualize = IsDlgButtonChecked(IDC_VISUALIZE) != 0 && HasData();
    RefreshControls();
    Redraw();
}

void CNebulo3DDlg::OnShowDirections()
{
    m_Draw.m_ShowDirections = IsDlgButtonChecked(IDC_SHOWDIRECTIONS) != 0;
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

void CNebulo3DDlg::SetAllVisible(bool visible)
{
    for (int i = 0; i < m_TypeList.GetCount(); ++i)
        m_TypeList.SetCheck(i, visible ? 1 : 0);
    if (m_pReader) m_pReader->SetAllVisible(visible);
    Redraw();
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

void CNebulo3DDlg::FillLists()
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
    CPointCloudDlg::RefreshControls();
    EnableDlgItem(IDC_VISUALIZE, HasData());
}
} // namespace nebulo3d
