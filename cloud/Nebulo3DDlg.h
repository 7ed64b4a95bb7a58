// The main dialog of the cloud viewer: loads a particle file of one of three kinds, switches
// particle types on and off, and holds the display settings the render routine reads. It owns
// the reader and with it the particles.
#pragma once
#include "cloud/CloudRenderer.h"
#include "cloud/ParticleDataReader.h"
#include "frame/HostApi.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"

#include <memory>
#include <string>

class CProfile;

namespace nebulo3d
{
enum : int
{
    IDD_NEBULO3D = 1200,
    IDC_CLEAR = 1000,
    IDC_FILENAME = 1001,
    IDC_BROWSE = 1002,
    IDC_TYPELIST = 1003,
    IDC_LOAD = 1005,
    IDC_CHECKALL = 1007,
    IDC_CONFIGURE = 1008,
    IDC_UNCHECKALL = 1010,
    IDC_VISUALIZE = 1014,
    IDC_PROGRESS = 1015,
    IDC_MODE = 1030,
    IDC_SHOWDIRECTIONS = 1031,
    IDC_SCALEENERGY = 1032,
    IDC_TRANSPARENT = 1033,
    IDC_SCALEWEIGHT = 1034,
    IDC_WEIGHTFILTER = 1035,
    IDC_STATISTICS = 1036,
};

enum class ESource
{
    Own,
    MCNPX,
    Isodump,
};
// By extension, without regard to case: none or "mout" MCNPX, "out" isodump, else own format.
ESource SourceFromPath(const std::string& path);
std::unique_ptr<CParticleDataReader> MakeReader(ESource source);

class CNebulo3DDlg : public CDialog
{
public:
    CNebulo3DDlg(CHostInterface* pHost, CProfile* pProfile);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSysCommand(UINT nID) override;

    // The loaded cloud, or null.
    const CParticleDataReader* Reader() const { return m_pReader.get(); }
    const CCloudDrawSettings& DrawSettings() const { return m_Draw; }
    bool m_Visualize = false;
    std::string m_FileName;
    ESource m_Source = ESource::Own;

private:
    void OnBrowse();
    void OnLoad();
    void OnClear();
    void OnVisualize();
    void OnMode();
    void OnShowDirections();
    void OnTransparent();
    void OnWeightFilter();
    void OnScaleEnergy() { OnScale(IDC_SCALEENERGY, IDC_SCALEWEIGHT); }
    void OnScaleWeight() { OnScale(IDC_SCALEWEIGHT, IDC_SCALEENERGY); }
    void OnScale(int id, int otherId);
    void OnTypeCheckChange();
    void OnCheckAll() { SetAllTypes(true); }
    void OnUncheckAll() { SetAllTypes(false); }
    void OnConfigure();
    void OnStatistics();

    bool HasData() const { return m_pReader && m_pReader->Count() > 0; }
    bool RequireData();
    void SetAllTypes(bool visible);
    void FillTypeList();
    void ReportWarnings();
    void RefreshControls();
    void Redraw();

    CHostInterface* m_pHost;
    CProfile* m_pProfile;
    std::unique_ptr<CParticleDataReader> m_pReader;
    CCloudDrawSettings m_Draw;
    CCheckListBox m_TypeList;
    CProgressCtrl m_Progress;
};
} // namespace nebulo3d
