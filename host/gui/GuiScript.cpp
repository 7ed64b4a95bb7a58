#include "host/gui/GuiScript.h"

#include "host/HostVerbs.h"
#include "host/gui/MainFrame.h"
#include "platform/ScriptedAnswers.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cairo.h>

#include <fstream>
#include <iostream>

namespace
{
// Every window repaints before the grab: a capture must show the screen as it is now, not as
// it was when the windows last painted on their own.
void RepaintAll()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (w->IsShown())
        {
            w->Refresh();
            w->Update();
        }
    wxTheApp->SafeYieldFor(nullptr, wxEVT_CATEGORY_UI);
    for (wxWindow* w : wxTopLevelWindows)
        if (w->IsShown()) w->Update();
}

bool SaveScreenshot(const std::string& path)
{
    RepaintAll();
    wxScreenDC screen;
    // Cairo keeps a snapshot of the root window's surface from the first grab and would hand it
    // out again: the surface is marked as changed behind its back.
    if (wxGraphicsContext* gc = screen.GetGraphicsContext())
        if (auto* cr = static_cast<cairo_t*>(gc->GetNativeContext()))
            cairo_surface_mark_dirty(cairo_get_target(cr));
    const wxSize size = screen.GetSize();
    wxBitmap bitmap(size.x, size.y);
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

bool EscapeModal()
{
    wxDialog* innermost = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal()) innermost = d;
    if (!innermost) return false;
    innermost->EndModal(wxID_CANCEL);
    return true;
}

bool Screenshot(CBatchRunner& r, const CScriptCommand& cmd)
{
    return SaveScreenshot(cmd.m_Args[1]) || r.Fail(cmd, "cannot write " + cmd.m_Args[1]);
}

bool Escape(CBatchRunner& r, const CScriptCommand& cmd)
{
    return EscapeModal() || r.Awaiting(cmd, "no modal window");
}

bool Wait(CBatchRunner&, const CScriptCommand&)
{
    return true; // one tick for the window to catch up
}

bool Quit(CBatchRunner& r, const CScriptCommand&)
{
    r.Stop();
    return true;
}

void RegisterWindowVerbs()
{
    CScriptVerbs::Register(HostVerb("screenshot", "screenshot PATH.png", {1, 1}, Screenshot));
    CScriptVerbs::Register(HostVerb("escape", "escape", {0, 0}, Escape));
    CScriptVerbs::Register(HostVerb("wait", "wait", {0, 0}, Wait));
    CScriptVerbs::Register(HostVerb("quit", "quit", {0, 0}, Quit));
}
} // namespace

CGuiScript::CGuiScript(CHost& host, CMainFrame& frame)
    : m_Frame(frame), m_Runner(host, std::cout, std::cerr)
{
    RegisterWindowVerbs();
    m_Runner.SetRedrawOffscreen(false);
    m_Runner.UseView(frame.Scene(), [&frame] { frame.RefreshView(); });
    m_Timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnTick(); });
}

CGuiScript::~CGuiScript()
{
    CScriptedAnswers::Instance().SetScriptRunning(false);
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
    wxInitAllImageHandlers();
    CScriptedAnswers::Instance().SetScriptRunning(true);
    m_Timer.StartOnce(TickMs);
    return true;
}

// A command that opens a modal dialog returns only when it closes; meanwhile the next ticks
// arrive inside the dialog's loop and run the commands that act on it. The next tick is armed
// before the command runs: a timer cannot fire again while its own callback is still running.
void CGuiScript::OnTick()
{
    if (m_Next >= m_Commands.size() || m_Runner.Stopped())
    {
        Finish();
        return;
    }
    m_Timer.StartOnce(TickMs);
    // m_Next moves on before the command runs: the ticks inside a dialog it opens run the next.
    const size_t index = m_Next++;
    m_Runner.AllowRetry(m_Waited < MaxWaitTicks);
    const bool ok = m_Runner.RunOne(m_Commands[index]);
    m_Runner.AllowRetry(false);
    if (m_Runner.RetryWanted())
    {
        // Its window is still coming up (a busy machine): the same command on the next tick.
        // It changed nothing and opened nothing, so no nested tick ran meanwhile.
        m_Next = index;
        ++m_Waited;
        return;
    }
    m_Waited = 0;
    if (!ok) ++m_Failures;
    std::cout.flush();
}

void CGuiScript::Finish()
{
    // Modal windows left open are dismissed first, one a tick, innermost first.
    if (EscapeModal())
    {
        m_Timer.StartOnce(TickMs);
        return;
    }
    CScriptedAnswers::Instance().SetScriptRunning(false);
    m_Frame.Close(true);
}
