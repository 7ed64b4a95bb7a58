// Batch mode: runs a script of user actions against the loaded plug-ins on the headless backend,
// drawing into an offscreen GL context. One command per line; see README.md for the vocabulary.
#pragma once
#include "host/Host.h"
#include "host/Scene.h"
#include "platform/Offscreen.h"
#include "platform/ScriptVerbs.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CDialog;

class CBatchRunner
{
public:
    struct CCommand
    {
        std::string m_File;
        int m_Line = 0;
        std::vector<std::string> m_Args;
        std::vector<CCommand> m_Block; // the actions of a "modal" block
    };

    CBatchRunner(CHost& host, std::ostream& out, std::ostream& err);
    ~CBatchRunner();

    // Runs the script; returns the number of commands that failed (0 = success), or -1 when the
    // script cannot be read or parsed.
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

    // Splits a line into arguments: blanks separate, double quotes group (\" and \\ escape),
    // $NAME and ${NAME} are replaced from the environment, # starts a comment.
    static bool Tokenize(const std::string& line, std::vector<std::string>& args,
                         std::string& error);

private:
    class CRenderContextImpl;
    class CVerbContext;

    static bool Parse(const std::vector<std::string>& lines, size_t& index, const std::string& file,
                      std::vector<CCommand>& out, bool inBlock, std::string& error);
    void RunAll(const std::vector<CCommand>& commands);
    bool Execute(const CCommand& cmd);
    bool Fail(const CCommand& cmd, const std::string& message);
    // A verb of the shared table (platform/ScriptVerbs.h), registered by control kinds.
    bool RunTableVerb(const CScriptVerb& verb, const CCommand& cmd);

    CDialog* Current(const CCommand& cmd);
    bool ParseInt(const CCommand& cmd, size_t index, int& value);
    bool ParseDouble(const CCommand& cmd, size_t index, double& value);
    bool EnsureGL(int width, int height);
    bool RenderTo(int width, int height);
    void RedrawIfPending();

    void PrintControl(const CDialog& dlg, int id);
    void PrintDump(const CDialog& dlg);
    void PrintMessages();
    void PrintBox();

    CHost& m_Host;
    std::ostream& m_Out;
    std::ostream& m_Err;
    CScene m_Scene;
    std::unique_ptr<COffscreenGL> m_pGL;
    std::unique_ptr<CRenderContextImpl> m_pRC;
    bool m_GLFailed = false;
    bool m_RedrawOffscreen = true;
    CDialog* m_pCurrent = nullptr;
    std::vector<std::uint8_t> m_Image; // last render, RGBA rows top first
    int m_ImageWidth = 0, m_ImageHeight = 0;
    int m_Failures = 0;
};
