// The GUI host's window: menu, toolbar with the plug-ins' buttons, and the GL view.
#pragma once
#include "host/Host.h"
#include "host/Options.h"
#include "host/Scene.h"
#include "platform/DialogPlacement.h"
#include "platform/Profile.h"

#include <wx/frame.h>

class CViewCanvas;
class wxToolBar;

class CMainFrame : public wxFrame
{
public:
    CMainFrame(CHost& host, const CHostOptions& options);
    void LoadPlugIn(const std::string& path);
    // Shows the geometry of an input (the previous one stays when it cannot be read).
    void LoadGeometry(const std::string& path);
    // Opens a data file with the plug-in that reads it and fits the view; a message box says
    // why when none does.
    void OpenDataFile(const std::string& path);
    CScene& Scene() { return m_Scene; }
    void RefreshView();

private:
    void BuildMenu();
    void RebuildToolbar();
    void OnTool(wxCommandEvent& event);
    void OnLoadPlugIn(wxCommandEvent&);
    void OnExportVRML(wxCommandEvent&);
    void OnOpenGeometry(wxCommandEvent&);
    void OnOpenFile(wxCommandEvent&);
    void OnSectionPositions(wxCommandEvent&);
    void OnCheckGeometry(wxCommandEvent&);
    void OnRegionVolume(wxCommandEvent&);
    bool NeedGeometry();
    void OnInterfaceVersion(wxCommandEvent&);
    void OnSnapPointSize(wxCommandEvent&);
    void OnBackground(wxCommandEvent&);
    void ViewSettingChanged();
    void OnClose(wxCloseEvent& event);
    void ShowError(const std::string& text);

    CHost& m_Host;
    CProfile m_Profile; // the host's own settings: the view's look and the dialogs' places
    CDialogPlacement m_Placement{m_Profile};
    CScene m_Scene;
    CViewCanvas* m_pCanvas = nullptr;
    wxToolBar* m_pToolBar = nullptr;
};
