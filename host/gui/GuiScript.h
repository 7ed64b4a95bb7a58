// Runs a batch script in the window, one command per timer tick, so that commands go on inside
// the modal loops of dialogs they open. Besides the batch verbs the window adds its own to the
// verb table: "screenshot PATH.png", "escape" (dismiss the innermost modal window), "wait" (one
// tick) and "quit". A command whose window is not up yet ("dialog CAPTION", "escape") waits for
// it up to MaxWaitTicks before it fails. While it runs, message boxes and file and colour
// dialogs take the script's queued answers (or their defaults) instead of waiting for a user.
#pragma once
#include "host/BatchRunner.h"

#include <wx/timer.h>

#include <sstream>
#include <vector>

class CMainFrame;

class CGuiScript
{
public:
    CGuiScript(CHost& host, CMainFrame& frame);
    ~CGuiScript();
    // False when the script cannot be read or parsed.
    bool Start(const std::string& path, std::string& error);
    int Failures() const { return m_Failures; }

private:
    void OnTick();
    void Finish();

    static constexpr int TickMs = 400;
    // How many more ticks a command may wait for the window it acts on.
    static constexpr int MaxWaitTicks = 10;

    CMainFrame& m_Frame;
    CBatchRunner m_Runner;
    std::vector<CBatchRunner::CCommand> m_Commands;
    size_t m_Next = 0;
    int m_Waited = 0; // ticks the next command has waited so far
    int m_Failures = 0;
    wxTimer m_Timer;
};
