// A host for plug-in tests: its toolbar and interface record what a plug-in asks of them.
#pragma once
#include "frame/HostApi.h"

#include <string>

namespace testkit
{
class CFakeHost : public CHostToolbar, public CHostInterface
{
public:
    // Every toolbar call and version query, as "add CAPTION ID IMAGE POS;recalc;resize 0;...".
    const std::string& Log() const { return m_Log; }
    int Redraws() const { return m_Redraws; }

    void SetInterfaceVersion(double version) { m_Version = version; }
    void SetSnapPointSize(float size) { m_SnapPointSize = size; }
    // The index AddToolbarButton hands out.
    void SetButtonIndex(int index) { m_ButtonIndex = index; }

    int AddToolbarButton(CToolbarButton* pButton, int position) override;
    void RecalcToolbarLayout() override;
    void ResizeToolbar(BOOL bRedraw) override;
    void RemoveToolbarButton(int index) override;
    double GetInterfaceVersion() override;
    void RedrawView() override { ++m_Redraws; }
    // The geometry a test offers (none unless set).
    void SetGeometry(CHostGeometryView* pGeometry) { m_pGeometry = pGeometry; }
    CHostGeometryView* GetGeometry() override { return m_pGeometry; }
    int GetViewOption(const std::string& name) override { return name == "legend" ? m_Legend : 0; }
    void SetLegendOption(int legend) { m_Legend = legend; }

private:
    std::string m_Log;
    int m_Redraws = 0;
    double m_Version = 2.3;
    int m_ButtonIndex = 4;
    CHostGeometryView* m_pGeometry = nullptr;
    int m_Legend = 0;
};
} // namespace testkit
