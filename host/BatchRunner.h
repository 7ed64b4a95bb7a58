// Runs a script of user actions against the loaded plug-ins, one command per line (see README.md
// for the vocabulary). Headless it draws into an offscreen GL context; in the window it acts on
// the window's view. The verbs themselves come from the table in platform/ScriptVerbs.h.
#pragma once
#include "host/Host.h"
#include "host/Scene.h"
#include "platform/Offscreen.h"
#include "platform/ScriptVerbs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CDialog;

class CBatchRunner : public CScriptContext
{
public:
    using CCommand = CScriptCommand;

    CBatchRunner(CHost& host, std::ostream& out, std::ostream& err);
    ~CBatchRunner() override;

    // Runs the script; returns the number of commands that failed (0 = success), or -1 when the
    // script cannot be read or parsed. A command that shows an error message box the script did
    // not expect has failed.
    int RunFile(const std::string& path);
    int RunText(const std::string& text, const std::string& name);

    // Parses a whole script; false with the error naming file and line.
    static bool ParseScript(const std::string& text, const std::string& name,
                            std::vector<CCommand>& commands, std::string& error);
    // Runs one parsed command (and redraws when a plug-in asked for it); false on failure.
    bool RunOne(const CCommand& cmd);
    // In a windowed host the window redraws itself; the offscreen view then only renders on
    // "render".
    void SetRedrawOffscreen(bool redraw) { m_RedrawOffscreen = redraw; }
    // View verbs act on this scene (a window's) and call refresh after changing it.
    void UseView(CScene& scene, std::function<void()> refresh);
    // The next command shows an error message box on purpose (a bad-input test): it is then
    // a failure when none appears, instead of when one does.
    void ExpectError() { m_ExpectError = true; }
    // Whether a command whose window is not up yet (Awaiting) may be tried again: it then
    // fails silently and RetryWanted says so until the next command runs.
    void AllowRetry(bool allow) { m_MayRetry = allow; }
    bool RetryWanted() const { return m_RetryWanted; }
    // Asks that no further commands run (a "quit").
    void Stop() { m_Stopped = true; }
    bool Stopped() const { return m_Stopped; }

    // Splits a line into arguments: blanks separate, double quotes group (\" and \\ escape),
    // $NAME and ${NAME} are replaced from the environment, # starts a comment.
    static bool Tokenize(const std::string& line, std::vector<std::string>& args,
                         std::string& error);

    // CScriptContext
    std::ostream& Out() override { return m_Out; }
    bool Fail(const CCommand& cmd, const std::string& message) override;
    CDialog* CurrentDialog() override;
    void SetCurrentDialog(CDialog* pDlg) override { m_pCurrent = pDlg; }
    void RunBlock(const std::vector<CCommand>& block) override;
    bool Awaiting(const CCommand& cmd, const std::string& message) override;

    // What the host's verbs act on.
    CHost& Host() { return m_Host; }
    CScene& Scene() { return *m_pScene; }
    void ViewChanged();
    // Draws the scene, fitted to the data, into an offscreen image of this size.
    bool RenderTo(int width, int height);
    // The last rendered image, RGBA rows top first.
    const std::vector<std::uint8_t>& Image() const { return m_Image; }
    int ImageWidth() const { return m_ImageWidth; }
    int ImageHeight() const { return m_ImageHeight; }
    void RedrawIfPending();

    void PrintControl(const CDialog& dlg, int id);
    void PrintDump(const CDialog& dlg);

private:
    class CRenderContextImpl;

    static bool Parse(const std::vector<std::string>& lines, size_t& index, const std::string& file,
                      std::vector<CCommand>& out, const std::string& block, std::string& error);
    void RunAll(const std::vector<CCommand>& commands);
    bool Execute(const CCommand& cmd);
    // Whether the error message boxes shown since message number `shown` agree with the script.
    bool CheckErrorBoxes(const CCommand& cmd, size_t shown, bool expected);
    bool EnsureGL(int width, int height);

    CHost& m_Host;
    std::ostream& m_Out;
    std::ostream& m_Err;
    CScene m_OwnScene;
    CScene* m_pScene = &m_OwnScene;
    std::function<void()> m_OnViewChanged;
    std::unique_ptr<COffscreenGL> m_pGL;
    std::unique_ptr<CRenderContextImpl> m_pRC;
    bool m_GLFailed = false;
    bool m_RedrawOffscreen = true;
    bool m_Stopped = false;
    bool m_MayRetry = false;
    bool m_RetryWanted = false;
    CDialog* m_pCurrent = nullptr;
    std::vector<std::uint8_t> m_Image;
    int m_ImageWidth = 0, m_ImageHeight = 0;
    int m_Failures = 0;
    int m_Depth = 0; // commands running: blocks run inside their command
    bool m_ExpectError = false;
};
