// The main dialog of the isotope viewer: loads a collector file or a FLUKA isodump, switches
// elements and nuclides on and off, holds the display settings the render routine reads and
// opens the statistics. It owns the reader and with it the emitters.
#pragma once
#include "frame/HostApi.h"
#include "isotopes/IsotopeDataReader.h"
#include "isotopes/IsotopeRenderer.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <memory>
#include <string>

class CProfile;

namespace nuclira3d
{
enum : int
{
    IDD_NUCLIRA3D = 1300,
    IDC_CLEAR = 1000,
    IDC_FILENAME = 1001,
    IDC_BROWSE = 1002,
    IDC_ELEMENTS = 1003,
    IDC_MASSES = 1004,
    IDC_LOAD = 1005,
    IDC_CHECKALL = 1007,
    IDC_CONFIGURE = 1008,
    IDC_UNCHECKALL = 1010,
    IDC_VISUALIZE = 1014,
    IDC_PROGRESS = 1015,
    IDC_MODE = 1030,
    IDC_TRANSPARENT = 1033,
    IDC_SCALEWEIGHT = 1034,
    IDC_WEIGHTFILTER = 1035,
    IDC_STATISTICS = 1036,
};

enum class EDataKind
{
    Isodump,
    Collector,
};
// By extension, without regard to case: "dat" is a collector file, anything else an isodump.
EDataKind KindFromPath(const std::string& path);
std::unique_ptr<CIsotopeDataReader> MakeReader(EDataKind kind);

class CNuclira3DDlg : public CDialog
{
public:
    CNuclira3DDlg(CHostInterface* pHost, CProfile* pProfile);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The loaded emitters, or null.
    const CIsotopeDataReader* Reader() const { return m_pReader.get(); }
    const CIsotopeDrawSettings& DrawSettings() const { return m_Draw; }
    bool HasData() const { return m_DataLoaded && m_pReader; }
    bool m_Visualize = false;
    std::string m_FileName;

private:
    void OnBrowse();
    void OnLoad();
    void OnClear();
    void OnVisualize();
    void OnMode();
    void OnTransparent();
    void OnWeightFilter();
    void OnScaleWeight();
    void OnElementCheck();
    void OnElementSelect();
    void OnMassCheck();
    void OnCheckAll() { SetAllElements(true); }
    void OnUncheckAll() { SetAllElements(false); }
    void OnConfigure();
    void OnStatistics();

    void ShowIsotopeTable(CDialog& parent);
    void ShowIsotopeChart(CDialog& parent);
    void ShowWeightStatistics(CDialog& parent, bool chart);
    bool RequireData(const char* message);
    void SetAllElements(bool visible);
    int SelectedElement() const;
    void FillElementList();
    void FillMassList(bool keepSelection);
    void ReportWarnings();
    void RefreshControls();
    void Redraw();

    CHostInterface* m_pHost;
    CProfile* m_pProfile;
    std::unique_ptr<CIsotopeDataReader> m_pReader;
    CIsotopeDrawSettings m_Draw;
    bool m_DataLoaded = false;
    CCheckListBox m_Elements, m_Masses;
    CProgressCtrl m_Progress;
};
} // namespace nuclira3d
