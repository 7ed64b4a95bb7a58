#include "host/BatchRunner.h"

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/ScriptedAnswers.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

class CBatchRunner::CRenderContextImpl : public CRenderContext
{
public:
    explicit CRenderContextImpl(COffscreenGL& gl) : m_GL(gl) {}
    bool MakeCurrent(HDC) override { return m_GL.MakeCurrent(); }

private:
    COffscreenGL& m_GL;
};

namespace
{
constexpr int DefaultViewWidth = 320, DefaultViewHeight = 240;

std::string EnvValue(const std::string& name)
{
    const char* v = std::getenv(name.c_str());
    return v ? v : "";
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

CBatchRunner::CBatchRunner(CHost& host, std::ostream& out, std::ostream& err)
    : m_Host(host), m_Out(out), m_Err(err), m_OwnScene(host)
{
    m_OwnScene.Camera().SetProjection(CCamera::EProjection::Orthographic);
    CScriptedAnswers::Instance().SetEcho(true);
}

CBatchRunner::~CBatchRunner() = default;

void CBatchRunner::UseView(CScene& scene, std::function<void()> refresh)
{
    m_pScene = &scene;
    m_OnViewChanged = std::move(refresh);
}

void CBatchRunner::ViewChanged()
{
    if (m_OnViewChanged) m_OnViewChanged();
}

bool CBatchRunner::Tokenize(const std::string& line, std::vector<std::string>& args,
                            std::string& error)
{
    args.clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n)
    {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i >= n || line[i] == '#') break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t' && line[i] != '\r')))
        {
            const char c = line[i];
            if (c == '"')
            {
                quoted = !quoted;
                ++i;
            }
            else if (quoted && c == '\\' && i + 1 < n &&
                     (line[i + 1] == '"' || line[i + 1] == '\\'))
            {
                arg += line[i + 1];
                i += 2;
            }
            else if (c == '$' && i + 1 < n && line[i + 1] == '$')
            {
                arg += '$'; // "$$" writes a dollar that names no variable: dollar$$HOME.usrbin
                i += 2;
            }
            else if (c == '$' && i + 1 < n && (line[i + 1] == '{' || IsNameChar(line[i + 1])))
            {
                size_t start = i + 1, end;
                if (line[start] == '{')
                {
                    end = line.find('}', start);
                    if (end == std::string::npos)
                    {
                        error = "unterminated ${";
                        return false;
                    }
                    arg += EnvValue(line.substr(start + 1, end - start - 1));
                    i = end + 1;
                }
                else
                {
                    end = start;
                    while (end < n && IsNameChar(line[end]))
                        ++end;
                    arg += EnvValue(line.substr(start, end - start));
                    i = end;
                }
            }
            else
            {
                arg += c;
                ++i;
            }
        }
        if (quoted)
        {
            error = "unterminated quote";
            return false;
        }
        args.push_back(arg);
    }
    return true;
}

// Only "end" is syntax here: which verbs open a block the verb table says.
bool CBatchRunner::Parse(const std::vector<std::string>& lines, size_t& index,
                         const std::string& file, std::vector<CCommand>& out,
                         const std::string& block, std::string& error)
{
    while (index < lines.size())
    {
        CCommand cmd;
        cmd.m_File = file;
        cmd.m_Line = static_cast<int>(index) + 1;
        if (!Tokenize(lines[index++], cmd.m_Args, error))
        {
            error = file + ":" + std::to_string(cmd.m_Line) + ": " + error;
            return false;
        }
        if (cmd.m_Args.empty()) continue;
        if (cmd.m_Args[0] == "end")
        {
            if (!block.empty()) return true;
            error = file + ":" + std::to_string(cmd.m_Line) + ": \"end\" outside a block";
            return false;
        }
        const CScriptVerb* verb = CScriptVerbs::Find(cmd.m_Args[0]);
        if (verb && verb->m_Block && !Parse(lines, index, file, cmd.m_Block, cmd.m_Args[0], error))
            return false;
        out.push_back(std::move(cmd));
    }
    if (!block.empty())
    {
        error = file + ": \"" + block + "\" without \"end\"";
        return false;
    }
    return true;
}

int CBatchRunner::RunFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        m_Err << "cannot read the batch script " << path << "\n";
        return -1;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    return RunText(ss.str(), path);
}

bool CBatchRunner::ParseScript(const std::string& text, const std::string& name,
                               std::vector<CCommand>& commands, std::string& error)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    size_t index = 0;
    return Parse(lines, index, name, commands, "", error);
}

int CBatchRunner::RunText(const std::string& text, const std::string& name)
{
    std::vector<CCommand> commands;
    std::string error;
    if (!ParseScript(text, name, commands, error))
    {
        m_Err << error << "\n";
        return -1;
    }
    m_Failures = 0;
    m_Stopped = false;
    RunAll(commands);
    m_Out.flush();
    return m_Failures;
}

void CBatchRunner::RunAll(const std::vector<CCommand>& commands)
{
    for (const auto& cmd : commands)
    {
        if (m_Stopped) return;
        if (!RunOne(cmd)) ++m_Failures;
    }
}

// A block runs inside a dialog that is already up; none of its commands is tried again.
void CBatchRunner::RunBlock(const std::vector<CCommand>& block)
{
    const bool mayRetry = m_MayRetry;
    m_MayRetry = false;
    RunAll(block);
    m_MayRetry = mayRetry;
}

bool CBatchRunner::Awaiting(const CCommand& cmd, const std::string& message)
{
    if (!m_MayRetry) return Fail(cmd, message);
    m_RetryWanted = true;
    return false;
}

bool CBatchRunner::RunOne(const CCommand& cmd)
{
    // A block's commands run inside the command that opened its dialog, which answers for them.
    const bool top = m_Depth == 0;
    const bool expected = top && std::exchange(m_ExpectError, false);
    const size_t shown = CScriptedAnswers::Instance().Messages().size();
    m_RetryWanted = false;
    ++m_Depth;
    bool ok = Execute(cmd);
    RedrawIfPending();
    --m_Depth;
    // A command tried again later keeps what the script expects of it.
    if (top && m_RetryWanted) m_ExpectError = expected;
    if (top && !m_RetryWanted) ok = CheckErrorBoxes(cmd, shown, expected) && ok;
    return ok;
}

bool CBatchRunner::CheckErrorBoxes(const CCommand& cmd, size_t shown, bool expected)
{
    const auto& messages = CScriptedAnswers::Instance().Messages();
    const CMessageRecord* first = nullptr;
    for (size_t i = std::min(shown, messages.size()); i < messages.size() && !first; ++i)
        if ((messages[i].m_Type & MB_ICONMASK) == MB_ICONERROR) first = &messages[i];
    if (first && !expected) return Fail(cmd, "an error message box appeared: " + first->m_Text);
    if (!first && expected) return Fail(cmd, "an error message box was expected, none appeared");
    return true;
}

bool CBatchRunner::Execute(const CCommand& cmd)
{
    const CScriptVerb* verb = CScriptVerbs::Find(cmd.m_Args[0]);
    if (!verb) return Fail(cmd, "unknown command (tessaron-host --batch-help lists them)");
    if (!CScriptVerbs::CountFits(*verb, cmd)) return Wrong(cmd, "wrong number of arguments");
    if (verb->m_OnDialog && !CurrentDialog())
        return Fail(cmd, "no dialog is addressed (use toolbar or dialog first)");
    return verb->m_Run(*this, cmd);
}

bool CBatchRunner::Fail(const CCommand& cmd, const std::string& message)
{
    m_Err << cmd.m_File << ":" << cmd.m_Line << ": " << cmd.m_Args[0] << ": " << message << "\n";
    return false;
}

CDialog* CBatchRunner::CurrentDialog()
{
    const auto& all = CDialog::AllDialogs();
    if (m_pCurrent && std::find(all.begin(), all.end(), m_pCurrent) == all.end())
        m_pCurrent = nullptr;
    return m_pCurrent;
}

bool CBatchRunner::EnsureGL(int width, int height)
{
    if (m_GLFailed) return false;
    if (!m_pGL)
    {
        m_pGL = std::make_unique<COffscreenGL>();
        if (!m_pGL->Create(width, height))
        {
            m_Err << "offscreen OpenGL unavailable: " << m_pGL->Error() << "\n";
            m_GLFailed = true;
            return false;
        }
        m_pRC = std::make_unique<CRenderContextImpl>(*m_pGL);
        return true;
    }
    if (m_pGL->Width() == width && m_pGL->Height() == height) return m_pGL->MakeCurrent();
    return m_pGL->Resize(width, height);
}

bool CBatchRunner::RenderTo(int width, int height)
{
    if (!EnsureGL(width, height)) return false;
    m_pScene->FitCamera(width, height);
    m_pScene->Draw(width, height, nullptr, m_pRC.get());
    m_pGL->MakeCurrent();
    m_Image = m_pGL->ReadPixels();
    m_ImageWidth = width;
    m_ImageHeight = height;
    m_Host.ClearRedrawPending();
    return true;
}

void CBatchRunner::RedrawIfPending()
{
    if (!m_Host.RedrawPending() || !m_RedrawOffscreen) return;
    m_Host.ClearRedrawPending();
    // As the real view would: every redraw request runs the plug-ins' render calls.
    const int w = m_pGL ? m_pGL->Width() : DefaultViewWidth;
    const int h = m_pGL ? m_pGL->Height() : DefaultViewHeight;
    RenderTo(w, h);
}

void CBatchRunner::PrintControl(const CDialog& dlg, int id)
{
    const CControlState* s = dlg.FindItem(id);
    if (!s) return;
    m_Out << id << ": " << s->Describe() << "\n";
    s->ControlKind().PrintDetails(*s, m_Out);
}

void CBatchRunner::PrintDump(const CDialog& dlg)
{
    m_Out << "dialog \"" << dlg.GetCaption() << "\"\n";
    for (const auto& s : dlg.Items())
    {
        const CControlKind& kind = s->ControlKind();
        m_Out << s->Id() << " " << kind.DumpName();
        if (!s->m_Template.m_Text.empty()) m_Out << " \"" << s->m_Template.m_Text << "\"";
        if (!s->m_Enabled) m_Out << " disabled";
        if (!s->m_Visible) m_Out << " hidden";
        kind.DumpValue(*s, m_Out);
        m_Out << "\n";
        kind.DumpDetails(*s, m_Out);
    }
}
