#include "host/BatchRunner.h"

#include "host/Options.h"

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/HeadlessBackend.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

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
CScriptCommand ToScript(const CBatchRunner::CCommand& cmd)
{
    CScriptCommand out{cmd.m_File, cmd.m_Line, cmd.m_Args, {}};
    for (const auto& sub : cmd.m_Block)
        out.m_Block.push_back(ToScript(sub));
    return out;
}

CBatchRunner::CCommand FromScript(const CScriptCommand& cmd)
{
    CBatchRunner::CCommand out{cmd.m_File, cmd.m_Line, cmd.m_Args, {}};
    for (const auto& sub : cmd.m_Block)
        out.m_Block.push_back(FromScript(sub));
    return out;
}
} // namespace

class CBatchRunner::CVerbContext : public CScriptContext
{
public:
    explicit CVerbContext(CBatchRunner& runner) : m_Runner(runner) {}
    std::ostream& Out() override { return m_Runner.m_Out; }
    bool Fail(const CScriptCommand& cmd, const std::string& message) override
    {
        return m_Runner.Fail(FromScript(cmd), message);
    }
    CDialog* CurrentDialog() override { return m_Runner.m_pCurrent; }
    void SetCurrentDialog(CDialog* pDlg) override { m_Runner.m_pCurrent = pDlg; }
    void RunBlock(const std::vector<CScriptCommand>& block) override
    {
        for (const auto& cmd : block)
            if (!m_Runner.RunOne(FromScript(cmd))) ++m_Runner.m_Failures;
    }

private:
    CBatchRunner& m_Runner;
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

std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

std::string Num(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

const std::map<std::string, int>& Answers()
{
    static const std::map<std::string, int> answers = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    return answers;
}
} // namespace

CBatchRunner::CBatchRunner(CHost& host, std::ostream& out, std::ostream& err)
    : m_Host(host), m_Out(out), m_Err(err), m_Scene(host)
{
    m_Scene.Camera().SetProjection(CCamera::EProjection::Orthographic);
    CHeadlessBackend::Instance().SetEcho(true);
}

CBatchRunner::~CBatchRunner() = default;

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

bool CBatchRunner::Parse(const std::vector<std::string>& lines, size_t& index,
                         const std::string& file, std::vector<CCommand>& out, bool inBlock,
                         std::string& error)
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
            if (inBlock) return true;
            error = file + ":" + std::to_string(cmd.m_Line) + ": \"end\" without \"modal\"";
            return false;
        }
        if (cmd.m_Args[0] == "modal" && !Parse(lines, index, file, cmd.m_Block, true, error))
            return false;
        out.push_back(std::move(cmd));
    }
    if (inBlock)
    {
        error = file + ": \"modal\" without \"end\"";
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
    return Parse(lines, index, name, commands, false, error);
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
    RunAll(commands);
    m_Out.flush();
    return m_Failures;
}

void CBatchRunner::RunAll(const std::vector<CCommand>& commands)
{
    for (const auto& cmd : commands)
        if (!RunOne(cmd)) ++m_Failures;
}

bool CBatchRunner::RunOne(const CCommand& cmd)
{
    const bool ok = Execute(cmd);
    RedrawIfPending();
    return ok;
}

bool CBatchRunner::Fail(const CCommand& cmd, const std::string& message)
{
    m_Err << cmd.m_File << ":" << cmd.m_Line << ": " << cmd.m_Args[0] << ": " << message << "\n";
    return false;
}

bool CBatchRunner::RunTableVerb(const CScriptVerb& verb, const CCommand& cmd)
{
    const size_t count = cmd.m_Args.size() - 1;
    if (count < verb.m_MinArgs || count > verb.m_MaxArgs)
        return Fail(cmd, "usage: " + verb.m_Usage);
    if (verb.m_OnDialog && !Current(cmd)) return false;
    CVerbContext context(*this);
    return verb.m_Run(context, ToScript(cmd));
}

CDialog* CBatchRunner::Current(const CCommand& cmd)
{
    const auto& all = CDialog::AllDialogs();
    if (m_pCurrent && std::find(all.begin(), all.end(), m_pCurrent) != all.end()) return m_pCurrent;
    m_pCurrent = nullptr;
    Fail(cmd, "no dialog is addressed (use toolbar or dialog first)");
    return nullptr;
}

bool CBatchRunner::ParseInt(const CCommand& cmd, size_t index, int& value)
{
    if (index >= cmd.m_Args.size()) return Fail(cmd, "missing argument " + std::to_string(index));
    char* end = nullptr;
    const long v = std::strtol(cmd.m_Args[index].c_str(), &end, 10);
    if (end == cmd.m_Args[index].c_str() || *end)
        return Fail(cmd, "not an integer: " + cmd.m_Args[index]);
    value = static_cast<int>(v);
    return true;
}

bool CBatchRunner::ParseDouble(const CCommand& cmd, size_t index, double& value)
{
    if (index >= cmd.m_Args.size()) return Fail(cmd, "missing argument " + std::to_string(index));
    char* end = nullptr;
    value = std::strtod(cmd.m_Args[index].c_str(), &end);
    if (end == cmd.m_Args[index].c_str() || *end)
        return Fail(cmd, "not a number: " + cmd.m_Args[index]);
    return true;
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
    m_Scene.FitCamera();
    m_Scene.Draw(width, height, nullptr, m_pRC.get());
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

void CBatchRunner::PrintMessages()
{
    for (const auto& text : CHeadlessBackend::Instance().MessageTexts(true))
        m_Out << OneLine(text) << "\n";
}

void CBatchRunner::PrintBox()
{
    CVector min, max;
    if (!m_Host.Box(min, max))
    {
        m_Out << "box empty\n";
        return;
    }
    m_Out << "box min " << Num(min.x) << " " << Num(min.y) << " " << Num(min.z) << " max "
          << Num(max.x) << " " << Num(max.y) << " " << Num(max.z) << "\n";
}

bool CBatchRunner::Execute(const CCommand& cmd)
{
    const std::string& verb = cmd.m_Args[0];
    const auto& a = cmd.m_Args;
    auto need = [&](size_t n)
    { return a.size() >= n + 1 ? true : Fail(cmd, "needs " + std::to_string(n) + " argument(s)"); };
    CHeadlessBackend& ui = CHeadlessBackend::Instance();

    if (verb == "plugin")
    {
        if (!need(1)) return false;
        std::string path = a[1], error;
        if (path.find('/') == std::string::npos) // a bare name: where the plug-ins are
            path = (std::getenv("PLUGINS") ? EnvValue("PLUGINS") : ExecutableDir()) + "/" + path;
        bool refused = false;
        if (!m_Host.LoadPlugIn(path, error, refused)) return Fail(cmd, error);
        m_Out << "plugin " << a[1] << (refused ? ": refused (InitPlugIn returned 0)" : ": loaded")
              << "\n";
        return true;
    }
    if (verb == "toolbar")
    {
        if (!need(1)) return false;
        if (!m_Host.PressButton(a[1])) return Fail(cmd, "no toolbar button \"" + a[1] + "\"");
        m_pCurrent = CDialog::TopmostShown();
        return true;
    }
    if (verb == "dialog")
    {
        if (!need(1)) return false;
        CDialog* d = CDialog::FindShown(a[1]);
        if (!d) return Fail(cmd, "no shown dialog \"" + a[1] + "\"");
        m_pCurrent = d;
        return true;
    }
    if (verb == "answer")
    {
        if (!need(1)) return false;
        auto it = Answers().find(a[1]);
        if (it == Answers().end()) return Fail(cmd, "answer must be ok, cancel, yes or no");
        ui.QueueAnswer(it->second);
        return true;
    }
    if (verb == "file")
    {
        if (!need(1)) return false;
        ui.QueueFile(a[1]);
        return true;
    }
    if (verb == "color")
    {
        int r, g, b;
        if (!ParseInt(cmd, 1, r) || !ParseInt(cmd, 2, g) || !ParseInt(cmd, 3, b)) return false;
        ui.QueueColor(RGB(r, g, b));
        return true;
    }
    if (verb == "modal")
    {
        if (!need(1)) return false;
        const std::vector<CCommand> block = cmd.m_Block;
        ui.QueueModal(a[1],
                      [this, block](CDialog& dlg)
                      {
                          CDialog* previous = m_pCurrent;
                          m_pCurrent = &dlg;
                          RunAll(block);
                          m_pCurrent = previous;
                      });
        return true;
    }
    if (verb == "timer")
    {
        int count;
        if (!ParseInt(cmd, 1, count)) return false;
        for (int i = 0; i < count; ++i)
        {
            ui.DeliverTimerTicks(1);
            RedrawIfPending();
        }
        return true;
    }
    if (verb == "messages")
    {
        PrintMessages();
        return true;
    }
    if (verb == "clearmessages")
    {
        ui.ClearMessages();
        return true;
    }
    if (verb == "box")
    {
        PrintBox();
        return true;
    }
    if (verb == "echo")
    {
        for (size_t i = 1; i < a.size(); ++i)
            m_Out << (i > 1 ? " " : "") << a[i];
        m_Out << "\n";
        return true;
    }
    if (verb == "camera")
    {
        double yaw, pitch;
        if (!ParseDouble(cmd, 1, yaw) || !ParseDouble(cmd, 2, pitch)) return false;
        m_Scene.Camera().SetAngles(yaw, pitch);
        return true;
    }
    if (verb == "projection")
    {
        if (!need(1)) return false;
        if (a[1] != "ortho" && a[1] != "perspective")
            return Fail(cmd, "projection must be ortho or perspective");
        m_Scene.Camera().SetProjection(a[1] == "ortho" ? CCamera::EProjection::Orthographic
                                                       : CCamera::EProjection::Perspective);
        return true;
    }
    if (verb == "solid")
    {
        double v[9] = {0, 0, 0, 0, 0, 0, 0.6, 0.6, 0.6};
        const size_t count = a.size() >= 10 ? 9 : 6;
        for (size_t i = 0; i < count; ++i)
            if (!ParseDouble(cmd, i + 1, v[i])) return false;
        m_Scene.AddSolid({CVector::Min({v[0], v[1], v[2]}, {v[3], v[4], v[5]}),
                          CVector::Max({v[0], v[1], v[2]}, {v[3], v[4], v[5]}),
                          {v[6], v[7], v[8]}});
        return true;
    }
    if (verb == "render")
    {
        int w, h;
        if (!need(3) || !ParseInt(cmd, 2, w) || !ParseInt(cmd, 3, h)) return false;
        if (!RenderTo(w, h)) return Fail(cmd, "cannot render offscreen");
        if (!WritePng(a[1], w, h, m_Image)) return Fail(cmd, "cannot write " + a[1]);
        m_Out << "rendered " << a[1] << " " << w << "x" << h << "\n";
        return true;
    }
    if (verb == "pixel")
    {
        int x, y;
        if (!ParseInt(cmd, 1, x) || !ParseInt(cmd, 2, y)) return false;
        if (x < 0 || y < 0 || x >= m_ImageWidth || y >= m_ImageHeight)
            return Fail(cmd, "outside the last rendered image");
        const std::uint8_t* p = &m_Image[(static_cast<size_t>(y) * m_ImageWidth + x) * 4];
        m_Out << "pixel " << x << " " << y << ": " << int(p[0]) << " " << int(p[1]) << " "
              << int(p[2]) << "\n";
        return true;
    }
    if (verb == "count")
    {
        int r, g, b, tol = 8;
        if (!ParseInt(cmd, 1, r) || !ParseInt(cmd, 2, g) || !ParseInt(cmd, 3, b)) return false;
        if (a.size() > 4 && !ParseInt(cmd, 4, tol)) return false;
        long n = 0;
        for (size_t i = 0; i + 3 < m_Image.size(); i += 4)
            n += std::abs(m_Image[i] - r) <= tol && std::abs(m_Image[i + 1] - g) <= tol &&
                 std::abs(m_Image[i + 2] - b) <= tol;
        m_Out << "count " << r << " " << g << " " << b << ": " << (n > 0 ? "some" : "none") << " ("
              << n << ")\n";
        return true;
    }
    if (verb == "vrml")
    {
        if (!need(1)) return false;
        std::ofstream out(a[1], std::ios::binary);
        if (!out) return Fail(cmd, "cannot write " + a[1]);
        m_Host.ExportVRML(out);
        out.close();
        if (!out) return Fail(cmd, "cannot write " + a[1]);
        m_Out << "exported " << a[1] << "\n";
        return true;
    }

    if (const CScriptVerb* tableVerb = CScriptVerbs::Find(verb))
        return RunTableVerb(*tableVerb, cmd);

    // Everything else acts on the addressed dialog.
    static const std::map<std::string, size_t> dialogVerbs = {
        {"set", 2},        {"click", 1},   {"check", 2}, {"checkitem", 3},
        {"select", 2},     {"slider", 2},  {"print", 1}, {"dump", 0},
        {"rightclick", 2}, {"sysmenu", 1}, {"close", 0}};
    auto verbIt = dialogVerbs.find(verb);
    if (verbIt == dialogVerbs.end()) return Fail(cmd, "unknown command");
    if (!need(verbIt->second)) return false;
    CDialog* dlg = Current(cmd);
    if (!dlg) return false;
    if (verb == "dump")
    {
        PrintDump(*dlg);
        return true;
    }
    if (verb == "close")
    {
        dlg->UserClose();
        return true;
    }
    int id = 0, i1 = 0, i2 = 0;
    if (!ParseInt(cmd, 1, id)) return false;
    if (verb == "sysmenu")
        return dlg->UserSysCommand(static_cast<UINT>(id)) || Fail(cmd, "no such menu item");
    if (!dlg->FindItem(id))
        return Fail(cmd, "no control " + std::to_string(id) + " in \"" + dlg->GetCaption() + "\"");
    if (verb == "print")
    {
        PrintControl(*dlg, id);
        return true;
    }
    if (verb == "set")
        return dlg->UserSetText(id, a[2]) || Fail(cmd, "the control does not take text");
    if (verb == "click") return dlg->UserClick(id) || Fail(cmd, "the control cannot be clicked");
    if (verb == "check")
        return (ParseInt(cmd, 2, i1) && dlg->UserSetCheck(id, i1)) ||
               Fail(cmd, "the control cannot be checked");
    if (verb == "checkitem")
        return (ParseInt(cmd, 2, i1) && ParseInt(cmd, 3, i2) && dlg->UserCheckItem(id, i1, i2)) ||
               Fail(cmd, "no such item");
    if (verb == "select")
        return (ParseInt(cmd, 2, i1) && dlg->UserSelect(id, i1)) || Fail(cmd, "no such item");
    if (verb == "rightclick")
        return (ParseInt(cmd, 2, i1) && dlg->UserRightClick(id, i1)) || Fail(cmd, "no such item");
    if (verb == "slider")
        return (ParseInt(cmd, 2, i1) && dlg->UserSlider(id, i1)) || Fail(cmd, "not a slider");
    return Fail(cmd, "unknown command");
}
