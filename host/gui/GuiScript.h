// Runs a batch script in the window, one command per timer tick, so that commands go on inside
// the modal loops of dialogs they open. Besides the batch commands: "screenshot PATH.png",
// "escape" (dismiss the innermost modal window), "wait" (one tick) and "quit".
#pragma once
#include "host/BatchRunner.h"

#include <wx/timer.h>

#include <sstream>
#include <vector>

class wxFrame;

class CGuiScript
{
public:
    CGuiScript(CHost& host, wxFrame& frame);
    // False when the script cannot be read or parsed.
    bool Start(const std::string& path, std::string& error);
    int Failures() const { return m_Failures; }

private:
    void OnTick();
    bool Execute(const CBatchRunner::CCommand& cmd);
    static bool SaveScreenshot(const std::string& path);
    static bool EscapeModal();

    static constexpr int TickMs = 400;

    wxFrame& m_Frame;
    CBatchRunner m_Runner;
    std::vector<CBatchRunner::CCommand> m_Commands;
    size_t m_Next = 0;
    int m_Failures = 0;
    wxTimer m_Timer;
};
