// The configuration dialog: the colour table editor (entries, colour picker, .lut files) and the
// display and evolution settings. The opener fills the members, runs the dialog and takes the
// members back, after OK and Cancel alike.
#pragma once
#include "common/ColorPicker.h"
#include "platform/Dialog.h"

#include <string>

enum : int
{
    IDD_CONFIG = 1007,
    IDC_CFG_RESET_T0 = 3,
    IDC_CFG_RESET_TMAX = 4,
    IDC_CFG_BROWSE = 1002,
    IDC_CFG_FILENAME = 1009,
    IDC_CFG_PICKER = 1010,
    IDC_CFG_PARTICLES = 1011,
    IDC_CFG_LOAD = 1012,
    IDC_CFG_SAVE = 1013,
    IDC_CFG_TRANSPARENCY_SLIDER = 1016,
    IDC_CFG_TRANSPARENCY = 1017,
    IDC_CFG_FADESTEPS = 1018,
    IDC_CFG_TIMESTEPS = 1019,
    IDC_CFG_T0 = 1020,
    IDC_CFG_TMAX = 1021,
    IDC_CFG_ANIMATION = 1022,
    IDC_CFG_ANTIALIASING = 1025,
    IDC_CFG_LINEWIDTH = 1026,
};

const CDlgTemplate& ConfigTemplate();
// The same dialog with only the colour editor showing (the track settings hidden), for viewers
// that add settings of their own below it (from dialog unit 164 down).
CDlgTemplate ColorEditorTemplate();

class CConfigDlg : public CDialog
{
public:
    explicit CConfigDlg(CDialog* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnHScroll(UINT nSBCode, UINT nPos, int nCtrlId) override;

    std::string m_FileName;
    double m_Transparency = 0;
    int m_FadeSteps = 25;
    int m_NrTimeSteps = 100;
    double m_EarliestTime = 0, m_LatestTime = 0;
    double m_T0 = 0, m_TMax = 0;
    float m_AnimationLength = 15.0f;
    bool m_AntiAliasing = false;
    int m_LineWidth = 1;
    COLORREF m_Color = 0;

protected:
    // For configuration dialogs that show the colour editor with controls of their own.
    CConfigDlg(const CDlgTemplate& tmpl, CDialog* pParent);

private:
    // What the opener passed in and a refused OK may already have overwritten.
    struct CPassedIn
    {
        std::string m_FileName;
        int m_FadeSteps, m_NrTimeSteps;
        double m_T0, m_TMax;
        float m_AnimationLength;
        int m_LineWidth;
    };

    void OnBrowse();
    void OnLoad();
    void OnSave();
    void OnResetT0();
    void OnResetTMax();
    void OnAntiAliasing();
    void OnParticleSelChange();
    LRESULT OnColorChosen(WPARAM color);
    void FillParticleList();
    void ShowSelectedColor();
    int SelectedEntry() const;
    CFileDialog LutFileDialog(BOOL bOpen);

    CListBox m_Particles;
    CColorPicker m_Picker;
    CSliderCtrl m_Slider;
    CPassedIn m_PassedIn{};
};
