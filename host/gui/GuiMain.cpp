#include "host/Host.h"
#include "host/Options.h"
#include "host/gui/MainFrame.h"
#include "platform/wx/WxBackend.h"

#include <wx/app.h>
#include <wx/dcscreen.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <iostream>

namespace
{
class CHostApp : public wxApp
{
public:
    CHostApp(CHost& host, const CHostOptions& options) : m_Host(host), m_Options(options) {}

    bool OnInit() override
    {
        SetUiBackend(&m_Backend);
        auto* frame = new CMainFrame(m_Host, m_Options);
        frame->Show();
        const auto plugIns = m_Options.m_PlugIns.empty() ? PlugInsBeside(argv[0].ToStdString())
                                                         : m_Options.m_PlugIns;
        for (const auto& path : plugIns)
            frame->LoadPlugIn(path);
        if (!m_Options.m_Press.empty() || !m_Options.m_Screenshot.empty())
            StartSmokeRun(frame);
        return true;
    }

    int OnExit() override
    {
        m_Host.UnloadAll();
        SetUiBackend(nullptr);
        return wxApp::OnExit();
    }

private:
    // Presses the requested buttons once the window is up, then photographs the screen and quits.
    void StartSmokeRun(wxFrame* frame)
    {
        m_Timer.Bind(wxEVT_TIMER, [this, frame](wxTimerEvent&) {
            if (m_Step++ == 0)
            {
                for (const auto& caption : m_Options.m_Press)
                    if (!m_Host.PressButton(caption))
                        std::cerr << "no toolbar button \"" << caption << "\"\n";
                return;
            }
            m_Timer.Stop();
            if (!m_Options.m_Screenshot.empty() && !SaveScreenshot(m_Options.m_Screenshot))
                std::cerr << "cannot write " << m_Options.m_Screenshot << "\n";
            frame->Close(true);
        });
        m_Timer.Start(1500);
    }

    static bool SaveScreenshot(const std::string& path)
    {
        wxInitAllImageHandlers();
        wxScreenDC screen;
        const wxSize size = screen.GetSize();
        wxBitmap bitmap(size.x, size.y);
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
        memory.SelectObject(wxNullBitmap);
        return bitmap.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
    }

    wxTimer m_Timer;
    int m_Step = 0;
    CHost& m_Host;
    const CHostOptions& m_Options;
    CWxBackend m_Backend;
};
} // namespace

int RunGui(int argc, char** argv, CHost& host, const CHostOptions& options)
{
    // Options are ours; wx sees only the program name.
    int wxArgc = 1;
    wxApp::SetInstance(new CHostApp(host, options));
    if (!wxEntryStart(wxArgc, argv))
        return 1;
    int rc = 1;
    if (wxTheApp->CallOnInit())
        rc = wxTheApp->OnRun();
    wxTheApp->OnExit();
    wxEntryCleanup();
    (void)argc;
    return rc;
}
