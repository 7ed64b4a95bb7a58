#include "tracks/Trakor3DDlg.h"

#include "common/ConfigDlg.h"
#include "common/FileSystem.h"
#include "common/ParticleNames.h"
#include "common/TextCase.h"
#include "common/VtkExport.h"
#include "platform/DataExchange.h"
#include "platform/UiServices.h"
#include "tracks/ParticleDataReader.h"
#include "tracks/TrackVtkExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>

namespace trakor3d
{
const CDlgTemplate& Trakor3DTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_TRAKOR3D, "Trakor 3D", 320, 300)
            .Label("Track file", 7, 7, 100, 8)
            .Add(K::Edit, IDC_FILENAME, "", 7, 17, 226, 14)
            .Add(K::Button, IDC_BROWSE, "...", 237, 17, 20, 14)
            .Add(K::Button, IDC_LOAD, "Load", 261, 17, 52, 14)
            .Add(K::CheckBox, IDC_VISUALIZE, "Visualize", 7, 37, 60, 16, BS_PUSHLIKE)
            .Add(K::CheckBox, IDC_OVERLAY, "Overlay", 71, 37, 60, 16, BS_PUSHLIKE)
            .Add(K::Button, IDC_CLEAR, "Clear", 135, 37, 50, 16)
            .Add(K::Button, IDC_CONFIGURE, "Configure", 189, 37, 60, 16)
            .Label("Energy binning", 7, 60, 150, 8)
            .Add(K::CheckListBox, IDC_GROUPLIST, "Energy binning", 7, 70, 150, 100)
            .Add(K::Button, IDC_GROUPS_CHECKALL, "Check all", 7, 173, 73, 14)
            .Add(K::Button, IDC_GROUPS_UNCHECKALL, "Uncheck all", 84, 173, 73, 14)
            .Label("Particle type", 163, 60, 150, 8)
            .Add(K::CheckListBox, IDC_TYPELIST, "Particle type", 163, 70, 150, 100, LBS_SORT)
            .Add(K::Button, IDC_TYPES_CHECKALL, "Check all", 163, 173, 73, 14)
            .Add(K::Button, IDC_TYPES_UNCHECKALL, "Uncheck all", 240, 173, 73, 14)
            .Add(K::Progress, IDC_PROGRESS, "", 7, 192, 306, 10)
            .Add(K::GroupBox, -1, "Time evolution", 7, 206, 306, 64)
            .Add(K::CheckBox, IDC_SHOWEVOLUTION, "Show evolution", 14, 218, 80, 10)
            .Add(K::CheckBox, IDC_FADETRACKS, "Fade tracks", 100, 218, 70, 10)
            .Add(K::CheckBox, IDC_LOGSCALE, "logarithmic time scale", 175, 218, 120, 10)
            .Add(K::Slider, IDC_TIMESLIDER, "", 14, 234, 196, 16)
            .Add(K::Edit, IDC_CURRENTTIME, "", 214, 234, 60, 14)
            .Add(K::CheckBox, IDC_PLAY, "Play >", 278, 234, 30, 14, BS_PUSHLIKE)
            .Add(K::Button, IDCANCEL, "Close", 263, 278, 50, 14);
    return t;
}

CTrakor3DDlg::CTrakor3DDlg(CParticleDataReader* pStore, CHostInterface* pHost)
    : CDialog(Trakor3DTemplate()), m_pStore(pStore), m_pHost(pHost)
{
    OnClicked(IDC_BROWSE, &CTrakor3DDlg::OnBrowse);
    OnClicked(IDC_LOAD, &CTrakor3DDlg::OnLoad);
    OnClicked(IDC_VISUALIZE, &CTrakor3DDlg::OnVisualize);
    OnClicked(IDC_OVERLAY, &CTrakor3DDlg::OnOverlay);
    OnClicked(IDC_CLEAR, &CTrakor3DDlg::OnClear);
    OnClicked(IDC_GROUPS_CHECKALL, &CTrakor3DDlg::OnGroupsCheckAll);
    OnClicked(IDC_GROUPS_UNCHECKALL, &CTrakor3DDlg::OnGroupsUncheckAll);
    OnClicked(IDC_TYPES_CHECKALL, &CTrakor3DDlg::OnTypesCheckAll);
    OnClicked(IDC_TYPES_UNCHECKALL, &CTrakor3DDlg::OnTypesUncheckAll);
    MapCommand(IDC_GROUPLIST, CLBN_CHKCHANGE, &CTrakor3DDlg::OnGroupCheckChange);
    MapCommand(IDC_TYPELIST, CLBN_CHKCHANGE, &CTrakor3DDlg::OnTypeCheckChange);
    MapCommand(IDC_GROUPLIST, LBN_SELCHANGE, &CTrakor3DDlg::OnGroupSelChange);
    OnClicked(IDC_CONFIGURE, &CTrakor3DDlg::OnConfigure);
    OnClicked(IDC_SHOWEVOLUTION, &CTrakor3DDlg::OnShowEvolution);
    OnClicked(IDC_FADETRACKS, &CTrakor3DDlg::OnFadeTracks);
    OnClicked(IDC_LOGSCALE, &CTrakor3DDlg::OnLogScale);
    OnClicked(IDC_PLAY, &CTrakor3DDlg::OnPlay);
}

void CTrakor3DDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUPLIST, m_GroupList);
    DDX_Control(pDX, IDC_TYPELIST, m_TypeList);
    DDX_Control(pDX, IDC_PROGRESS, m_Progress);
    DDX_Control(pDX, IDC_TIMESLIDER, m_TimeSlider);
    DDX_Text(pDX, IDC_FILENAME, m_FileName);
    DDX_Check(pDX, IDC_OVERLAY, m_Overlay);
    DDX_Check(pDX, IDC_SHOWEVOLUTION, m_ShowEvolution);
    DDX_Check(pDX, IDC_FADETRACKS, m_FadeTracks);
    DDX_Check(pDX, IDC_LOGSCALE, m_LogScale);
    DDX_Text(pDX, IDC_CURRENTTIME, m_CurrentTime);
}

BOOL CTrakor3DDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_TimeSlider.SetRange(0, 100);
    AppendSystemMenuItem(IDM_EXPORT_VTK, ExportVtkMenuText);
    AppendSystemMenuItem(IDM_EXPORT_VTK_SHOWN, ExportVtkShownMenuText);
    RefreshControls();
    return TRUE;
}

void CTrakor3DDlg::OnSysCommand(UINT nID)
{
    if (nID == IDM_EXPORT_VTK || nID == IDM_EXPORT_VTK_SHOWN)
        ExportTracksVtk(*this, *m_pStore,
                        nID == IDM_EXPORT_VTK ? ETrackSelection::All : ETrackSelection::Shown);
}

void CTrakor3DDlg::Redraw()
{
    if (m_pHost) m_pHost->RedrawView();
}

void CTrakor3DDlg::OnBrowse()
{
    CFileDialog dlg(TRUE, "*.tracks", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, nullptr, this);
    if (dlg.DoModal() != IDOK) return;
    m_FileName = dlg.GetPathName();
    UpdateData(FALSE);
}

void CTrakor3DDlg::OnLoad()
{
    if (!UpdateData(TRUE)) return;
    m_Transparency = 0;
    Redraw();
    CWaitCursor wait;
    m_Visualize = false;
    m_pStore->Clear();
    if (m_FileName.empty() || !m_pStore->ReadFile(m_FileName, &m_Progress))
    {
        // The store was emptied: nothing of the old data is drawn any more either.
        m_Loaded = false;
        wait.End();
        AfxMessageBox("Error reading data", MB_ICONERROR);
        RefreshControls();
        return;
    }
    m_Loaded = true;
    m_TimeSlider.SetRange(0, m_pStore->m_NrTimeSteps);
    RefreshControls();
    ShowWindow(SW_SHOW);
}

int CTrakor3DDlg::Claim(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!IsRegularFile(path) || !in) return 0;
    std::string line;
    for (int i = 0; i < 10 && std::getline(in, line); ++i)
    {
        const std::string upper = UpperCase(line);
        if (upper.find("ENERGYGROUP_TOT") != std::string::npos ||
            upper.find("ENERGYGROUP_KIN") != std::string::npos)
            return 2;
    }
    return path.ends_with(".tracks") ? 1 : 0;
}

int CTrakor3DDlg::OpenFromHost(const std::string& path, std::string& message)
{
    m_FileName = path;
    UpdateData(FALSE);
    OnLoad();
    if (!m_Loaded)
    {
        message = "Error reading data";
        return -1;
    }
    if (!m_Visualize) OnVisualize();
    return 1;
}

void CTrakor3DDlg::OnVisualize()
{
    m_Visualize = !m_Visualize;
    RefreshControls();
    Redraw();
}

void CTrakor3DDlg::OnOverlay()
{
    m_Overlay = !m_Overlay;
    Redraw();
}

void CTrakor3DDlg::OnClear()
{
    m_pStore->Clear();
    m_Loaded = false;
    m_Visualize = false;
    Redraw();
    RefreshControls();
}

void CTrakor3DDlg::SetAllGroups(bool enabled)
{
    for (int i = 0; i < m_GroupList.GetCount(); ++i)
        m_GroupList.SetCheck(i, enabled ? 1 : 0);
    for (auto& group : m_pStore->m_EnergyGroups)
        group.m_Enabled = enabled;
    Redraw();
}

void CTrakor3DDlg::SetAllTypes(bool visible)
{
    const int group = m_GroupList.GetCurSel();
    if (group < 0 || group >= static_cast<int>(m_pStore->m_Particles.size())) return;
    for (int i = 0; i < m_TypeList.GetCount(); ++i)
        m_TypeList.SetCheck(i, visible ? 1 : 0);
    for (auto& [type, particle] : m_pStore->m_Particles[group])
        particle.m_Visible = visible;
    Redraw();
}

void CTrakor3DDlg::OnGroupCheckChange()
{
    const int item = m_GroupList.GetCurSel();
    if (item < 0 || item >= static_cast<int>(m_pStore->m_EnergyGroups.size())) return;
    m_pStore->m_EnergyGroups[item].m_Enabled = m_GroupList.GetCheck(item) != 0;
    Redraw();
}

void CTrakor3DDlg::OnTypeCheckChange()
{
    const int group = m_GroupList.GetCurSel();
    const int item = m_TypeList.GetCurSel();
    if (group < 0 || group >= static_cast<int>(m_pStore->m_Particles.size()) || item < 0) return;
    const int type = static_cast<int>(m_TypeList.GetItemData(item));
    const bool visible = m_TypeList.GetCheck(item) != 0;
    auto range = m_pStore->m_Particles[group].equal_range(type);
    for (auto it = range.first; it != range.second; ++it)
        it->second.m_Visible = visible;
    Redraw();
}

void CTrakor3DDlg::OnGroupSelChange()
{
    FillTypeList();
    UpdateEnables();
}

void CTrakor3DDlg::FillGroupList()
{
    m_GroupList.ResetContent();
    for (const auto& group : m_pStore->m_EnergyGroups)
    {
        const int i =
            m_GroupList.AddString(Format("%.3e GeV --> %.3e GeV", group.m_Lower, group.m_Upper));
        m_GroupList.SetCheck(i, group.m_Enabled ? 1 : 0);
    }
    m_GroupList.SetCurSel(0);
}

void CTrakor3DDlg::FillTypeList()
{
    m_TypeList.ResetContent();
    const int group = m_GroupList.GetCurSel();
    if (m_Loaded && group >= 0 && group < static_cast<int>(m_pStore->m_Particles.size()))
    {
        for (const auto& [type, particle] : m_pStore->m_Particles[group])
        {
            const char* name = particles::ParticleName(type);
            if (!name || m_TypeList.FindString(-1, name) != LB_ERR) continue;
            const int i = m_TypeList.AddString(name);
            m_TypeList.SetItemData(i, static_cast<std::uintptr_t>(type));
            m_TypeList.SetCheck(i, particle.m_Visible ? 1 : 0);
        }
    }
    m_TypeList.SetCurSel(0);
}

void CTrakor3DDlg::UpdateEnables()
{
    CheckDlgButton(IDC_VISUALIZE, m_Visualize ? 1 : 0);
    EnableDlgItem(IDC_SHOWEVOLUTION, m_Visualize);
    const bool evolving = m_Visualize && m_ShowEvolution;
    EnableDlgItem(IDC_FADETRACKS, evolving);
    EnableDlgItem(IDC_LOGSCALE, evolving);
    EnableDlgItem(IDC_PLAY, evolving);
    EnableDlgItem(IDC_TIMESLIDER, m_ShowEvolution != 0);
    EnableDlgItem(IDC_CURRENTTIME, m_ShowEvolution != 0);
}

void CTrakor3DDlg::OnConfigure()
{
    CConfigDlg dlg(this);
    dlg.m_FileName = m_ColorFileName;
    dlg.m_Transparency = m_Transparency;
    dlg.m_FadeSteps = m_pStore->m_FadeSteps;
    dlg.m_NrTimeSteps = m_pStore->m_NrTimeSteps;
    dlg.m_EarliestTime = m_pStore->m_EarliestTime;
    dlg.m_LatestTime = m_pStore->m_LatestTime;
    dlg.m_T0 = m_pStore->m_T0;
    dlg.m_TMax = m_pStore->m_TMax;
    dlg.m_AnimationLength = m_AnimationLength;
    dlg.m_AntiAliasing = m_AntiAliasing;
    dlg.m_LineWidth = m_LineWidth;
    dlg.DoModal();
    // OK or Cancel alike: what the dialog holds now is taken over.
    m_ColorFileName = dlg.m_FileName;
    m_AnimationLength = dlg.m_AnimationLength;
    m_Transparency = dlg.m_Transparency;
    m_pStore->SetTransparency(m_Transparency);
    m_pStore->m_FadeSteps = dlg.m_FadeSteps;
    m_pStore->m_T0 = dlg.m_T0;
    m_pStore->m_TMax = dlg.m_TMax;
    m_pStore->m_NrTimeSteps = dlg.m_NrTimeSteps;
    m_TimeSlider.SetRange(0, m_pStore->m_NrTimeSteps);
    UpdateTimeStep();
    m_AntiAliasing = dlg.m_AntiAliasing;
    m_LineWidth = std::clamp(dlg.m_LineWidth, 1, 4);
    Redraw();
}

void CTrakor3DDlg::OnShowEvolution()
{
    m_ShowEvolution = !m_ShowEvolution;
    m_pStore->m_ShowEvolution = m_ShowEvolution != 0;
    RefreshControls();
}

void CTrakor3DDlg::OnFadeTracks()
{
    m_FadeTracks = !m_FadeTracks;
    m_pStore->m_FadeTracks = m_FadeTracks != 0;
    UpdateData(FALSE);
    Redraw();
}

// A logarithmic scale needs t0 > 0.
void CTrakor3DDlg::CheckLogStart()
{
    if (m_pStore->m_T0 >= 1e-30) return;
    AfxMessageBox("The start time t0 for logarithmic scaling cannot be 0! Thus, it was reset to "
                  "3E-12 ~ 1 mm of movement.",
                  MB_ICONINFORMATION);
    m_pStore->m_T0 = 3e-12;
}

void CTrakor3DDlg::OnLogScale()
{
    m_LogScale = !m_LogScale;
    UpdateTimeStep();
}

void CTrakor3DDlg::UpdateTimeStep()
{
    CParticleDataReader& s = *m_pStore;
    const double steps = std::max(s.m_NrTimeSteps, 1);
    if (m_LogScale)
    {
        CheckLogStart();
        if (s.m_TMax > s.m_T0)
        {
            s.m_TimeStep = (std::log10(s.m_TMax) - std::log10(s.m_T0)) / steps;
            return;
        }
        // No decade lies between t0 and t_max: the logarithmic scale has nothing to show.
        AfxMessageBox("The end time t_max must be larger than the start time t0 for logarithmic "
                      "scaling! The linear time scale is used instead.",
                      MB_ICONINFORMATION);
        m_LogScale = 0;
        CheckDlgButton(IDC_LOGSCALE, 0);
    }
    s.m_TimeStep = (s.m_TMax - s.m_T0) / steps;
}

void CTrakor3DDlg::SetTimeFromSlider(int pos)
{
    const CParticleDataReader& s = *m_pStore;
    m_CurrentTime =
        m_LogScale ? s.m_T0 * std::pow(10.0, pos * s.m_TimeStep) : s.m_T0 + pos * s.m_TimeStep;
    m_pStore->m_CurrentTime = m_CurrentTime;
    SetDlgItemText(IDC_CURRENTTIME, Format("%.15g", m_CurrentTime));
    Redraw();
}

void CTrakor3DDlg::OnHScroll(UINT, UINT, int)
{
    if (!UpdateData(TRUE)) return;
    SetTimeFromSlider(m_TimeSlider.GetPos());
}

UINT CTrakor3DDlg::PlaybackInterval(float animationLength, int nrTimeSteps)
{
    const double ms = double(animationLength) * 1000.0 / std::max(nrTimeSteps, 1);
    return static_cast<UINT>(std::max(ms, 1.0));
}

void CTrakor3DDlg::OnPlay()
{
    m_Playing = !m_Playing;
    if (m_Playing)
        m_TimerId =
            SetTimer(PlayTimerId, PlaybackInterval(m_AnimationLength, m_pStore->m_NrTimeSteps));
    else
    {
        KillTimer(m_TimerId);
        m_TimerId = 0;
    }
}

void CTrakor3DDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_TimerId || m_TimerId == 0) return;
    if (!m_Playing)
    {
        KillTimer(m_TimerId);
        m_TimerId = 0;
        CheckDlgButton(IDC_PLAY, 0);
        return;
    }
    const int pos = m_TimeSlider.GetPos();
    if (pos < m_TimeSlider.GetRangeMax())
    {
        m_TimeSlider.SetPos(pos + 1);
        SetTimeFromSlider(pos + 1);
    }
    else
        m_Playing = false;
}

void CTrakor3DDlg::RefreshControls()
{
    FillGroupList();
    FillTypeList();
    UpdateEnables();
}
} // namespace trakor3d
