// The main dialog of the cloud viewer: loads a particle file of one of three kinds, switches
// particle types on and off, and holds the display settings the render routine reads. It owns
// the reader and with it the particles.
#pragma once
#include "cloud/CloudFormats.h"
#include "cloud/CloudRenderer.h"
#include "cloud/ParticleDataReader.h"
#include "frame/HostApi.h"
#include "isodump/PointCloudDlg.h"

#include <memory>
#include <string>

namespace nebulo3d
{
using namespace isodump::pointcloud;
enum : int
{
    IDD_NEBULO3D = 1200,
    IDC_TYPELIST = 1003,
    IDC_SHOWDIRECTIONS = 1031,
    IDC_SCALEENERGY = 1032,
};

class CNebulo3DDlg : public isodump::CPointCloudDlg
{
public:
    CNebulo3DDlg(CHostInterface* pHost, CProfile* pProfile);

    void DoDataExchange(CDataExchange* pDX) override;

    // The loaded cloud, or null.
    const CParticleDataReader* Reader() const { return m_pReader.get(); }
    const CCloudDrawSettings& DrawSettings() const { return m_Draw; }
    bool HasData() const override { return m_pReader && m_pReader->Count() > 0; }
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID) override;
    // As last chosen with "...", and by the typed name at each load.
    const CCloudFormat* m_pFormat = &CloudFormats()[0];

private:
    isodump::CPointDisplay& Display() override { return m_Draw; }
    bool ReadData(CProgressCtrl* pProgress) override;
    void OnDataRead() override;
    const std::vector<std::string>& Warnings() const override { return m_pReader->Warnings(); }
    void ClearData() override;
    void FillLists() override;
    void SetAllVisible(bool visible) override;
    void OnVisualize() override;
    void OnConfigure() override;
    void OnStatistics() override;
    void ExportVtk() override;
    void OnFileChosen() override { m_pFormat = &CloudFormatOf(m_FileName); }
    void RefreshControls() override;

    void OnShowDirections();
    void OnScaleEnergy() { OnScale(IDC_SCALEENERGY, IDC_SCALEWEIGHT); }
    void OnScaleWeight() { OnScale(IDC_SCALEWEIGHT, IDC_SCALEENERGY); }
    void OnScale(int id, int otherId);
    void OnTypeCheckChange();
    bool RequireData() { return CPointCloudDlg::RequireData("Please load a file!"); }

    std::unique_ptr<CParticleDataReader> m_pReader;
    CCloudDrawSettings m_Draw;
    CCheckListBox m_TypeList;
};
} // namespace nebulo3d
