#include "common/ConfigDlg.h"

#include "common/ColorLUTFile.h"
#include "common/ColorTable.h"
#include "common/ParticleNames.h"
#include "platform/DataExchange.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr const char* LutFilter = "Color configuration (*.lut)|*.lut|All Files (*.*)|*.*|";
}

const CDlgTemplate& ConfigTemplate()
{
    using K = ECtrlKind;
    static const CDlgTemplate t =
        CDlgTemplate::Dialog(IDD_CONFIG, "Configuration", 330, 262)
            .Label("Color configuration file", 7, 7, 150, 8)
            .Add(K::Edit, IDC_CFG_FILENAME, "Color configuration file", 7, 17, 214, 14)
            .Add(K::Button, IDC_CFG_BROWSE, "...", 225, 17, 20, 14)
            .Add(K::Button, IDC_CFG_LOAD, "Load", 249, 17, 35, 14)
            .Add(K::Button, IDC_CFG_SAVE, "Save", 288, 17, 35, 14)
            .Label("Particle", 7, 38, 100, 8)
            .Add(K::ListBox, IDC_CFG_PARTICLES, "Particle", 7, 48, 130, 110)
            .Label("Preview", 145, 38, 60, 8)
            .Custom("ColorPicker", IDC_CFG_PICKER, 145, 48, 60, 16)
            .Label("Transparency", 145, 72, 80, 8)
            .Add(K::Slider, IDC_CFG_TRANSPARENCY_SLIDER, "Transparency", 145, 82, 120, 16)
            .Add(K::Edit, IDC_CFG_TRANSPARENCY, "", 269, 82, 54, 14, ES_READONLY)
            .Add(K::CheckBox, IDC_CFG_ANTIALIASING, "Anti aliasing", 145, 106, 80, 10)
            .Add(K::ComboBox, IDC_CFG_LINEWIDTH, "", 229, 104, 94, 60)
            .Label("Number of time steps used between min && max time", 7, 166, 240, 8)
            .Add(K::Edit, IDC_CFG_TIMESTEPS, "", 253, 164, 70, 14)
            .Label("Nr. of time steps used to fade out aging track segments", 7, 184, 240, 8)
            .Add(K::Edit, IDC_CFG_FADESTEPS, "", 253, 182, 70, 14)
            .Label("Total length of animation (seconds)", 7, 202, 240, 8)
            .Add(K::Edit, IDC_CFG_ANIMATION, "", 253, 200, 70, 14)
            .Label("Start time t0 used for evolution display", 7, 220, 150, 8)
            .Add(K::Edit, IDC_CFG_T0, "", 161, 218, 88, 14)
            .Add(K::Button, IDC_CFG_RESET_T0, "Reset", 253, 218, 70, 14)
            .Label("End time t_max used for evolution display", 7, 238, 150, 8)
            .Add(K::Edit, IDC_CFG_TMAX, "", 161, 236, 88, 14)
            .Add(K::Button, IDC_CFG_RESET_TMAX, "Reset", 253, 236, 70, 14)
            .Add(K::Button, IDOK, "OK", 145, 140, 55, 14, BS_DEFPUSHBUTTON)
            .Add(K::Button, IDCANCEL, "Cancel", 206, 140, 55, 14);
    return t;
}

CDlgTemplate ColorEditorTemplate()
{
    CDlgTemplate d = ConfigTemplate();
    const int trackOnly[] = {IDC_CFG_TRANSPARENCY_SLIDER,
                             IDC_CFG_TRANSPARENCY,
                             IDC_CFG_ANTIALIASING,
                             IDC_CFG_LINEWIDTH,
                             IDC_CFG_TIMESTEPS,
                             IDC_CFG_FADESTEPS,
                             IDC_CFG_ANIMATION,
                             IDC_CFG_T0,
                             IDC_CFG_RESET_T0,
                             IDC_CFG_TMAX,
                             IDC_CFG_RESET_TMAX};
    for (CCtrlTemplate& c : d.m_Controls)
    {
        const bool trackLabel = c.m_Id == -1 && c.m_Rect.top >= 72;
        if (trackLabel ||
            std::find(std::begin(trackOnly), std::end(trackOnly), c.m_Id) != std::end(trackOnly))
            c.m_Style |= WS_HIDDEN;
    }
    return d;
}

CConfigDlg::CConfigDlg(CDialog* pParent) : CConfigDlg(ConfigTemplate(), pParent) {}

CConfigDlg::CConfigDlg(const CDlgTemplate& tmpl, CDialog* pParent) : CDialog(tmpl, pParent)
{
    OnClicked(IDC_CFG_BROWSE, &CConfigDlg::OnBrowse);
    OnClicked(IDC_CFG_LOAD, &CConfigDlg::OnLoad);
    OnClicked(IDC_CFG_SAVE, &CConfigDlg::OnSave);
    OnClicked(IDC_CFG_RESET_T0, &CConfigDlg::OnResetT0);
    OnClicked(IDC_CFG_RESET_TMAX, &CConfigDlg::OnResetTMax);
    OnClicked(IDC_CFG_ANTIALIASING, &CConfigDlg::OnAntiAliasing);
    MapCommand(IDC_CFG_PARTICLES, LBN_SELCHANGE, &CConfigDlg::OnParticleSelChange);
    MapMessage(CPN_SELENDOK, [this](WPARAM color, LPARAM) { return OnColorChosen(color); });
}

void CConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CFG_PARTICLES, m_Particles);
    DDX_Control(pDX, IDC_CFG_TRANSPARENCY_SLIDER, m_Slider);
    DDX_Text(pDX, IDC_CFG_FILENAME, m_FileName);
    DDX_Text(pDX, IDC_CFG_TRANSPARENCY, m_Transparency);
    DDX_Text(pDX, IDC_CFG_TIMESTEPS, m_NrTimeSteps);
    DDV_MinMaxInt(pDX, m_NrTimeSteps, 10, 1661992960);
    DDX_Text(pDX, IDC_CFG_FADESTEPS, m_FadeSteps);
    DDX_Text(pDX, IDC_CFG_ANIMATION, m_AnimationLength);
    DDV_MinMaxFloat(pDX, m_AnimationLength, 2.f, 1e7f);
    DDX_Text(pDX, IDC_CFG_T0, m_T0);
    DDV_MinMaxDouble(pDX, m_T0, 0, 1e30);
    DDX_Text(pDX, IDC_CFG_TMAX, m_TMax);
    DDV_MinMaxDouble(pDX, m_TMax, 1e-30, 1e30);
    DDX_Check(pDX, IDC_CFG_ANTIALIASING, m_AntiAliasing);
}

BOOL CConfigDlg::OnInitDialog()
{
    m_PassedIn = {m_FileName, m_FadeSteps,       m_NrTimeSteps, m_T0,
                  m_TMax,     m_AnimationLength, m_LineWidth};
    if (!m_Picker.IsAttached()) m_Picker.Attach(this, IDC_CFG_PICKER);
    CDialog::OnInitDialog();
    FillParticleList();
    m_Slider.SetRange(0, 100);
    m_Slider.SetPos(static_cast<int>(m_Transparency * 100));
    CComboBox lineWidth(this, IDC_CFG_LINEWIDTH);
    for (const char* text :
         {"Normal tracks", "Thick tracks", "Very thick tracks", "Extremely thick tracks"})
        lineWidth.AddString(text);
    lineWidth.SetCurSel(std::clamp(m_LineWidth, 1, 4) - 1);
    return TRUE;
}

void CConfigDlg::FillParticleList()
{
    m_Particles.ResetContent();
    for (int type = 1; type < particles::NrParticleTypes; ++type)
    {
        const char* name = particles::ParticleName(type);
        if (std::strcmp(name, "---") == 0) continue;
        const int i = m_Particles.AddString(name);
        m_Particles.SetItemData(i, static_cast<std::uintptr_t>(type));
    }
    m_Particles.SetCurSel(0);
    ShowSelectedColor();
}

int CConfigDlg::SelectedEntry() const
{
    const int sel = m_Particles.GetCurSel();
    return sel < 0 ? -1 : static_cast<int>(m_Particles.GetItemData(sel));
}

void CConfigDlg::ShowSelectedColor()
{
    const int entry = SelectedEntry();
    if (!CColorTable::ValidIndex(entry)) return;
    const CVector& c = CColorTable::Instance().Get(entry);
    auto byte = [](double v) { return static_cast<int>(std::lround(v * 255)); };
    m_Color = RGB(byte(c.x), byte(c.y), byte(c.z));
    m_Picker.SetColor(m_Color);
}

void CConfigDlg::OnParticleSelChange()
{
    ShowSelectedColor();
}

LRESULT CConfigDlg::OnColorChosen(WPARAM color)
{
    m_Color = static_cast<COLORREF>(color);
    const int entry = SelectedEntry();
    if (CColorTable::ValidIndex(entry))
        CColorTable::Instance().Set(entry, {GetRValue(m_Color) / 255.0, GetGValue(m_Color) / 255.0,
                                            GetBValue(m_Color) / 255.0});
    return 0;
}

void CConfigDlg::OnHScroll(UINT, UINT, int nCtrlId)
{
    if (nCtrlId != IDC_CFG_TRANSPARENCY_SLIDER) return;
    const int max = m_Slider.GetRangeMax();
    m_Transparency = std::clamp(max > 0 ? double(m_Slider.GetPos()) / max : 0.0, 0.0, 1.0);
    SetDlgItemText(IDC_CFG_TRANSPARENCY, Format("%.15g", m_Transparency));
}

void CConfigDlg::OnAntiAliasing()
{
    m_AntiAliasing = !m_AntiAliasing;
}

CFileDialog CConfigDlg::LutFileDialog(BOOL bOpen)
{
    const DWORD flags =
        bOpen ? DWORD(OFN_HIDEREADONLY) : DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    return CFileDialog(bOpen, "lut", nullptr, flags, LutFilter, GetParent());
}

void CConfigDlg::OnBrowse()
{
    CFileDialog dlg = LutFileDialog(TRUE);
    if (dlg.DoModal() == IDOK) SetDlgItemText(IDC_CFG_FILENAME, dlg.GetPathName());
}

void CConfigDlg::OnLoad()
{
    m_FileName = GetDlgItemText(IDC_CFG_FILENAME);
    if (!ColorLUTFile::Load(m_FileName, CColorTable::Instance())) return;
    FillParticleList();
}

void CConfigDlg::OnSave()
{
    CFileDialog dlg = LutFileDialog(FALSE);
    if (dlg.DoModal() != IDOK) return;
    m_FileName = dlg.GetPathName();
    SetDlgItemText(IDC_CFG_FILENAME, m_FileName);
    ColorLUTFile::Save(m_FileName, CColorTable::Instance());
}

void CConfigDlg::OnResetT0()
{
    m_T0 = m_EarliestTime;
    SetDlgItemText(IDC_CFG_T0, Format("%.15g", m_T0));
}

void CConfigDlg::OnResetTMax()
{
    m_TMax = m_LatestTime;
    SetDlgItemText(IDC_CFG_TMAX, Format("%.15g", m_TMax));
}

void CConfigDlg::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_FadeSteps == 0)
    {
        AfxMessageBox("The minimum number fading steps was set to 1|", MB_ICONINFORMATION);
        m_FadeSteps = 1;
    }
    m_LineWidth = CComboBox(this, IDC_CFG_LINEWIDTH).GetCurSel() + 1;
    EndDialog(IDOK);
}

void CConfigDlg::OnCancel()
{
    // A refused OK may have stored some fields already: Cancel gives back what was passed in,
    // keeping only what the dialog applies at once (transparency, anti-aliasing, colours).
    const double transparency = m_Transparency;
    const bool antiAliasing = m_AntiAliasing;
    m_FileName = m_PassedIn.m_FileName;
    m_FadeSteps = m_PassedIn.m_FadeSteps;
    m_NrTimeSteps = m_PassedIn.m_NrTimeSteps;
    m_T0 = m_PassedIn.m_T0;
    m_TMax = m_PassedIn.m_TMax;
    m_AnimationLength = m_PassedIn.m_AnimationLength;
    m_LineWidth = m_PassedIn.m_LineWidth;
    m_Transparency = transparency;
    m_AntiAliasing = antiAliasing;
    CDialog::OnCancel();
}
