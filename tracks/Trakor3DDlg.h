// The main dialog of the track viewer: loads a track file, switches energy groups and particle
// types on and off, and holds the flags the render routine reads.
#pragma once
#include "frame/HostApi.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <string>

namespace trakor3d
{
class CParticleDataReader;

// Control ids of template 1005.
enum : int
{
    IDD_TRAKOR3D = 1005,
    IDC_CLEAR = 1000,
    IDC_FILENAME = 1001,
    IDC_BROWSE = 1002,
    IDC_TYPELIST = 1003,
    IDC_GROUPLIST = 1004,
    IDC_LOAD = 1005,
    IDC_GROUPS_CHECKALL = 1006,
    IDC_TYPES_CHECKALL = 1007,
    IDC_CONFIGURE = 1008,
    IDC_GROUPS_UNCHECKALL = 1009,
    IDC_TYPES_UNCHECKALL = 1010,
    IDC_VISUALIZE = 1014,
    IDC_PROGRESS = 1015,
    IDC_OVERLAY = 1016,
    IDC_TIMESLIDER = 1018,
    IDC_SHOWEVOLUTION = 1019,
    IDC_CURRENTTIME = 1020,
    IDC_FADETRACKS = 1021,
    IDC_LOGSCALE = 1022,
    IDC_PLAY = 1024,
};

const CDlgTemplate& Trakor3DTemplate();

class CTrakor3DDlg : public CDialog
{
public:
    CTrakor3DDlg(CParticleDataReader* pStore, CHostInterface* pHost);

    static constexpr UINT_PTR PlayTimerId = 1253235;
    // Milliseconds between two animation steps: the animation length spread over the steps.
    static UINT PlaybackInterval(float animationLength, int nrTimeSteps);

    // A track file the host opens for the user: loaded and shown whole, every track visible;
    // 1, or -1 with the reason.
    int OpenFromHost(const std::string& path, std::string& message);
    // 2 when the first lines declare energy groups (a track file's content), 1 for the name
    // ".tracks" alone, 0 otherwise.
    static int Claim(const std::string& path);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnHScroll(UINT nSBCode, UINT nPos, int nCtrlId) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnSysCommand(UINT nID) override;

    // Read by the render routine and the frame.
    bool m_Visualize = false;
    bool m_Loaded = false;
    int m_Overlay = 0;
    int m_ShowEvolution = 0;
    int m_FadeTracks = 0;
    int m_LogScale = 0;
    double m_Transparency = 0;
    double m_CurrentTime = 0;
    float m_AnimationLength = 15.0f;
    UINT_PTR m_TimerId = 0;
    bool m_Playing = false;
    bool m_AntiAliasing = false;
    int m_LineWidth = 1;
    std::string m_FileName;
    std::string m_ColorFileName; // the colour table file last used in the configuration dialog

private:
    void OnBrowse();
    void OnLoad();
    void OnVisualize();
    void OnOverlay();
    void OnClear();
    void OnGroupsCheckAll() { SetAllGroups(true); }
    void OnGroupsUncheckAll() { SetAllGroups(false); }
    void OnTypesCheckAll() { SetAllTypes(true); }
    void OnTypesUncheckAll() { SetAllTypes(false); }
    void OnGroupCheckChange();
    void OnTypeCheckChange();
    void OnGroupSelChange();
    void OnConfigure();
    void OnShowEvolution();
    void OnFadeTracks();
    void OnLogScale();
    void OnPlay();

    void SetAllGroups(bool enabled);
    void SetAllTypes(bool visible);
    void RefreshControls();
    void FillGroupList();
    void FillTypeList();
    void UpdateEnables();
    void Redraw();
    void UpdateTimeStep();
    void CheckLogStart();
    void SetTimeFromSlider(int pos);

    CParticleDataReader* m_pStore;
    CHostInterface* m_pHost;
    CCheckListBox m_GroupList, m_TypeList;
    CProgressCtrl m_Progress;
    CSliderCtrl m_TimeSlider;
};
} // namespace trakor3d
