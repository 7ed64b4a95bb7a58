#include "host/gui/GuiScript.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <fstream>
#include <iostream>

CGuiScript::CGuiScript(CHost& host, wxFrame& frame)
    : m_Frame(frame), m_Runner(host, std::cout, std::cerr)
{
    m_Runner.SetRedrawOffscreen(false);
    m_Timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });
}

bool CGuiScript::Start(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        error = "cannot read the script " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!CBatchRunner::ParseScript(text.str(), path, m_Commands, error)) return false;
    m_Timer.StartOnce(TickMs);
    return true;
}

// A command that opens a modal dialog returns only when it closes; meanwhile the next ticks
// arrive inside the dialog's loop and run the commands that act on it. The next tick is armed
// before the command runs: a timer cannot fire again while its own callback is still running.
void CGuiScript::OnTick()
{
    if (m_Next >= m_Commands.size())
    {
        // Modal windows left open are dismissed first, one a tick, innermost first.
        if (EscapeModal())
            m_Timer.StartOnce(TickMs);
        else
            m_Frame.Close(true);
        return;
    }
    m_Timer.StartOnce(TickMs);
    const CBatchRunner::CCommand cmd = m_Commands[m_Next++];
    if (!Execute(cmd)) ++m_Failures;
    std::cout.flush();
}

bool CGuiScript::Execute(const CBatchRunner::CCommand& cmd)
{
    const std::string& verb = cmd.m_Args[0];
    if (verb == "screenshot" && cmd.m_Args.size() > 1)
    {
        if (SaveScreenshot(cmd.m_Args[1])) return true;
        std::cerr << cmd.m_File << ":" << cmd.m_Line << ": cannot write " << cmd.m_Args[1] << "\n";
        return false;
    }
    if (verb == "escape")
    {
        if (EscapeModal()) return true;
        std::cerr << cmd.m_File << ":" << cmd.m_Line << ": escape: no modal window\n";
        return false;
    }
    if (verb == "wait") // one tick for the window to catch up
        return true;

    if (verb == "quit")
    {
        m_Next = m_Commands.size();
        return true;
    }
    return m_Runner.RunOne(cmd);
}

bool CGuiScript::SaveScreenshot(const std::string& path)
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

bool CGuiScript::EscapeModal()
{
    wxDialog* innermost = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal()) innermost = d;
    if (!innermost) return false;
    innermost->EndModal(wxID_CANCEL);
    return true;
}
