#include "common/wx/WxColorPicker.h"
#include "host/Host.h"
#include "host/Options.h"
#include "host/gui/GuiScript.h"
#include "host/gui/MainFrame.h"
#include "platform/wx/WxBackend.h"

#include <wx/app.h>
#include <wx/init.h>

#include <iostream>
#include <memory>

namespace
{
class CHostApp : public wxApp
{
public:
    CHostApp(CHost& host, const CHostOptions& options) : m_Host(host), m_Options(options) {}

    bool OnInit() override
    {
        SetUiBackend(&m_Backend);
        RegisterWxColorPicker();
        auto* frame = new CMainFrame(m_Host, m_Options);
        frame->Show();
        // The script starts first: a plug-in's message box while loading already takes its
        // answer from it.
        if (!m_Options.m_GuiScript.empty())
        {
            m_pScript = std::make_unique<CGuiScript>(m_Host, *frame);
            std::string error;
            if (!m_pScript->Start(m_Options.m_GuiScript, error))
            {
                std::cerr << error << "\n";
                m_ExitCode = 1;
                frame->Close(true);
                return true;
            }
        }
        const auto plugIns = m_Options.m_PlugIns.empty() ? PlugInsBeside() : m_Options.m_PlugIns;
        for (const auto& path : plugIns)
            frame->LoadPlugIn(path);
        for (const auto& file : m_Options.m_Files)
            frame->OpenDataFile(file);
        return true;
    }

    int OnRun() override
    {
        const int rc = wxApp::OnRun();
        if (m_pScript && m_pScript->Failures() > 0)
        {
            std::cerr << m_pScript->Failures() << " command(s) failed\n";
            return 1;
        }
        return rc != 0 ? rc : m_ExitCode;
    }

    int OnExit() override
    {
        m_Host.UnloadAll();
        SetUiBackend(nullptr);
        return wxApp::OnExit();
    }

private:
    CHost& m_Host;
    const CHostOptions& m_Options;
    CWxBackend m_Backend;
    std::unique_ptr<CGuiScript> m_pScript;
    int m_ExitCode = 0;
};
} // namespace

int RunGui(int argc, char** argv, CHost& host, const CHostOptions& options)
{
    // Options are ours; wx sees only the program name.
    int wxArgc = 1;
    wxApp::SetInstance(new CHostApp(host, options));
    if (!wxEntryStart(wxArgc, argv)) return 1;
    int rc = 1;
    if (wxTheApp->CallOnInit()) rc = wxTheApp->OnRun();
    wxTheApp->OnExit();
    wxEntryCleanup();
    (void)argc;
    return rc;
}
