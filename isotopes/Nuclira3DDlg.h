// The main dialog of the isotope viewer: loads a collector file or a FLUKA isodump, switches
// elements and nuclides on and off, holds the display settings the render routine reads and
// opens the statistics. It owns the reader and with it the emitters.
#pragma once
#include "frame/HostApi.h"
#include "isodump/PointCloudDlg.h"
#include "isotopes/IsotopeDataReader.h"
#include "isotopes/IsotopeRenderer.h"

#include <memory>
#include <string>

namespace nuclira3d
{
using namespace isodump::pointcloud;
enum : int
{
    IDD_NUCLIRA3D = 1300,
    IDC_ELEMENTS = 1003,
    IDC_MASSES = 1004,
};

enum class EDataKind
{
    Isodump,
    Collector,
};
// By extension, without regard to case: "dat" is a collector file, anything else an isodump.
EDataKind KindFromPath(const std::string& path);
std::unique_ptr<CIsotopeDataReader> MakeReader(EDataKind kind);

class CNuclira3DDlg : public isodump::CPointCloudDlg
{
public:
    CNuclira3DDlg(CHostInterface* pHost, CProfile* pProfile);

    void DoDataExchange(CDataExchange* pDX) override;

    // The loaded emitters, or null.
    const CIsotopeDataReader* Reader() const { return m_pReader.get(); }
    const CIsotopeDrawSettings& DrawSettings() const { return m_Draw; }
    bool HasData() const override { return m_DataLoaded && m_pReader; }

private:
    isodump::CPointDisplay& Display() override { return m_Draw; }
    bool ReadData(CProgressCtrl* pProgress) override;
    void OnDataRead() override;
    const std::vector<std::string>& Warnings() const override { return m_pReader->Warnings(); }
    size_t WarningCount() const override { return m_pReader->WarningCount(); }
    void ClearData() override;
    void FillLists() override;
    void SetAllVisible(bool visible) override;
    void OnVisualize() override;
    void OnConfigure() override;
    void OnStatistics() override;
    void ExportVtk() override;

    void OnScaleWeight();
    void OnElementCheck();
    void OnElementSelect();
    void OnMassCheck();

    void ShowIsotopeTable(CDialog& parent);
    void ShowIsotopeChart(CDialog& parent);
    void ShowWeightStatistics(CDialog& parent, bool chart);
    int SelectedElement() const;
    void FillElementList();
    void FillMassList(bool keepSelection);

    std::unique_ptr<CIsotopeDataReader> m_pReader;
    CIsotopeDrawSettings m_Draw;
    bool m_DataLoaded = false;
    CCheckListBox m_Elements, m_Masses;
};
} // namespace nuclira3d
