// The main dialog of the volume plug-in: chooses and loads the input file, owns the voxel grid
// and the display range, and keeps the message log every data operation writes to.
#pragma once
#include "frame/HostApi.h"
#include "frame/PlugInApp.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "volume/ProbingControls.h"
#include "volume/Volumira3DIds.h"
#include "volume/display/DisplayCtrl.h"
#include "volume/display/GeometryOverlay.h"
#include "volume/display/PlotLegend.h"
#include "volume/display/SliceRenderer.h"
#include "volume/loading/FormatDispatch.h"
#include "volume/model/DisplayState.h"
#include "volume/model/LoadLog.h"
#include "volume/model/VolumeSettings.h"
#include "volume/model/VoxelGrid.h"

#include <string>

class CProfile;

namespace volumira3d
{
class CDataOptionsDlg;

const CDlgTemplate& Volumira3DTemplate();

class CVolumira3DDlg : public CDialog, public CVoxelGrid, public CDisplayState, public ILoadLog
{
public:
    CVolumira3DDlg(CHostInterface* pHost, CProfile* pProfile);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnHScroll(UINT nSBCode, UINT nPos, int nCtrlId) override;
    void OnSysCommand(UINT nID) override;

    // The message log.
    int AddLine(const std::string& text, int icon = IconInformation) override;
    void SetLine(int index, const std::string& text) override;

    // Runs the loader named by the path, or the one the content identifies; false after the
    // failure has been reported.
    bool LoadFile(const std::string& path);
    // How surely a file the host opens for the user (command line, drop, File > Open) is of a
    // format this plug-in reads: 2 by its content, 1 by its name, 0 not.
    static int Claim(const std::string& path);
    // Loads it with the dialogs' defaults (the host accepts them) and its values, not its errors,
    // then shows the three planes through the middle (or at the positions options give), the
    // palette, range and scale options give; 1, or -1 with the reason in message.
    int OpenFromHost(const std::string& path, const CFileOpenOptions& options,
                     std::string& message);
    // The box around the grid while data are loaded and a plane is shown; else the empty box.
    void Box(CVector& min, CVector& max) const;
    // The render passes of the host: opaque planes in the first, transparent ones and the
    // threshold overlay in the second.
    void OnRender(HDC dc, HGLRC rc, int mode);
    void OnPostRender(HDC dc, HGLRC rc, int mode);
    const CPlotLegend& Legend() const { return m_Legend; }
    CTexDisplayCtrl& LegendCtrl() { return m_LegendCtrl; }

    std::string m_InputFile;
    bool m_KeepRange = false;
    double m_SavedRangeMin = 0, m_SavedRangeMax = 0;
    std::string m_UnitText;

private:
    void OnBrowse();
    void OnLoadData();
    void OnClearData();
    void OnPostProcess();
    void OnLegendSettings();
    void OnPlaneXY() { TogglePlane(0); }
    void OnPlaneYZ() { TogglePlane(1); }
    void OnPlaneZX() { TogglePlane(2); }
    void OnDisplayMode();
    void OnPalette();
    void OnTransparent();
    void OnEmphasizeThresholds();
    void OnNonInterpolated();
    void OnSaveLegend();
    void OnExtract();
    void OnSettings();
    void OnShowGeometry();
    // The host's geometry (interface 2.4 on); null when the host has none or is older.
    bool HostOffersGeometry() const;
    CHostGeometryView* HostGeometry() const;
    static constexpr double GeometryInterfaceVersion = 2.4;
    // The host asks for the colour legend in its view (interface 2.5 on).
    bool HostWantsLegend() const;
    static constexpr double ViewOptionsInterfaceVersion = 2.5;

    bool AskClear();
    void SaveRangeForNextLoad();
    void ClearAll();
    // Runs the format's loader; on failure problem is empty when the loader showed its own box,
    // else what its log says went wrong (possibly nothing).
    bool RunLoader(const CVolumeFormat& format, const std::string& path, std::string& problem);
    // Ends a failed load: one error box (unless text is empty) and "Loading stopped".
    bool StopLoading(const std::string& text);
    void AfterLoad();
    void TakeBackDataOptions(const CDataOptionsDlg& dlg, UINT overflowIcon);
    void SelectPalette(int item);
    void InstallUserPalette();
    void RebuildLegend();
    void TogglePlane(int plane);
    void TakeSliders();
    void SetSlidersFromState();
    void UpdatePlanePositions();
    bool RenderState(HDC dc, HGLRC rc, int mode) const;
    void RefreshControls();
    void Redraw();

    CHostInterface* m_pHost;
    CVolumeSettings m_Settings;
    CListCtrl m_MessageLog;
    CSliderCtrl m_SliderZ, m_SliderX, m_SliderY, m_TransparencySlider;
    CTexDisplayCtrl m_LegendCtrl;
    CPlotLegend m_Legend;
    CSliceRenderer m_Renderer{*this, *this};
    CProbingControls m_Probing{*this, *this, *this, [this] { SetSlidersFromState(); },
                               [this] { Redraw(); }};
    CGeometryOverlay m_GeometryOverlay;
    bool m_ShowGeometry = false;
    bool m_ValuesOnly = false;    // the next load does not ask for the statistics
    std::string m_StoppedBecause; // what the last stopped load said
};
} // namespace volumira3d
