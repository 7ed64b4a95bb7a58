// The host side of the plug-in interface: loads plug-ins, keeps the toolbar buttons they add,
// answers the host-interface calls and drives their render, box and VRML exports.
#pragma once
#include "frame/HostApi.h"
#include "host/HostGeometry.h"
#include "host/PlugInLibrary.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CHost : public CHostToolbar, public CHostInterface
{
public:
    struct CButton
    {
        int m_CommandId;
        std::string m_Caption;
        CPlugInLibrary* m_pPlugIn;
        bool m_Removed = false; // slots stay, so the indices handed out stay valid
    };

    CHost();
    ~CHost();

    void SetInterfaceVersion(double version) { m_InterfaceVersion = version; }
    // Called on RedrawView; the view decides when to draw.
    void SetRedrawHandler(std::function<void()> handler) { m_OnRedraw = std::move(handler); }

    // Loads the library, resolves the exports and calls InitPlugIn. A plug-in that refuses (0)
    // is destroyed and unloaded again; the result is then still true, with refused set.
    bool LoadPlugIn(const std::string& path, std::string& error, bool& refused);
    void UnloadAll();
    const std::vector<std::unique_ptr<CPlugInLibrary>>& PlugIns() const { return m_PlugIns; }
    const std::vector<CButton>& Buttons() const { return m_Buttons; }
    // Presses the toolbar button with this caption; false if there is none.
    bool PressButton(const std::string& caption);
    bool PressButton(const CButton& button);

    // Opens a data file with the plug-in that reads it: the one most sure of it (by content
    // before by name, then in load order), with the defaults of its dialogs. False with the
    // reason: the plug-in's, or that no plug-in reads it, naming the formats they read.
    bool OpenDataFile(const std::string& path, const std::string& options, std::string& message,
                      std::string* pPlugIn = nullptr);
    // The formats the plug-ins open, as they name them ("no plug-in opens files" for none).
    std::string FileFormats() const;

    // OnRender for every plug-in, then OnPostRender for every plug-in.
    void RenderPlugIns(HDC dc, HGLRC rc, int pass = 0, int mode = 0);
    // The union of the plug-ins' boxes; false when none reports a non-empty box.
    bool Box(CVector& min, CVector& max) const;
    // A VRML97 file: the header, then each plug-in appends its scene.
    void ExportVRML(std::ostream& os) const;
    bool RedrawPending() const { return m_RedrawPending; }
    // The geometry shown under the data (File > Open geometry..., --geometry, batch geometry).
    CHostGeometry& Geometry() { return m_Geometry; }
    void ClearRedrawPending() { m_RedrawPending = false; }

    // CHostToolbar
    int AddToolbarButton(CToolbarButton* pButton, int position) override;
    void RecalcToolbarLayout() override {}
    void ResizeToolbar(BOOL) override {}
    void RemoveToolbarButton(int index) override;
    // CHostInterface
    double GetInterfaceVersion() override { return m_InterfaceVersion; }
    void RedrawView() override;
    CHostGeometryView* GetGeometry() override
    {
        return m_Geometry.Loaded() ? &m_Geometry : nullptr;
    }

    int GetViewOption(const std::string& name) override
    {
        return name == "legend" ? (m_ShowLegend ? 1 : 0) : 0;
    }
    // Whether plug-ins draw their colour legends into the view.
    void SetShowLegend(bool show) { m_ShowLegend = show; }
    bool ShowLegend() const { return m_ShowLegend; }

    // 2.4: the geometry (GetGeometry); 2.5: view options (GetViewOption).
    static constexpr double DefaultInterfaceVersion = 2.5;

private:
    std::vector<std::unique_ptr<CPlugInLibrary>> m_PlugIns;
    std::vector<CButton> m_Buttons;
    CPlugInLibrary* m_pLoading = nullptr;
    double m_InterfaceVersion = DefaultInterfaceVersion;
    std::function<void()> m_OnRedraw;
    bool m_RedrawPending = false;
    CHostGeometry m_Geometry;
    bool m_ShowLegend = true;
};
