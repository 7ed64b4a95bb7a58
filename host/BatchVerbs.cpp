// The host's general verbs: plug-ins, the toolbar, addressing dialogs, scripted answers, timers,
// the message log and echo.
#include "host/HostVerbs.h"
#include "host/Options.h"

#include "platform/Dialog.h"
#include "platform/ScriptedAnswers.h"
#include "platform/UiServices.h"

#include <cstdio>
#include <cstdlib>
#include <map>

CScriptVerb HostVerb(const std::string& name, const std::string& usage, CHostVerbArgs args,
                     HostVerbHandler run, bool onDialog)
{
    CScriptVerb verb;
    verb.m_Name = name;
    verb.m_Usage = usage;
    verb.m_MinArgs = args.m_Min;
    verb.m_MaxArgs = args.m_Max;
    verb.m_OnDialog = onDialog;
    verb.m_Run = [run](CScriptContext& ctx, const CScriptCommand& cmd)
    {
        auto* runner = dynamic_cast<CBatchRunner*>(&ctx);
        return runner ? run(*runner, cmd) : ctx.Fail(cmd, "needs the host's script runner");
    };
    return verb;
}

std::string NumberText(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

namespace
{
CScriptedAnswers& Script()
{
    return CScriptedAnswers::Instance();
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

bool PlugIn(CBatchRunner& r, const CScriptCommand& cmd)
{
    const std::string& name = cmd.m_Args[1];
    std::string path = name, error;
    if (path.find('/') == std::string::npos) // a bare name: where the plug-ins are
    {
        const char* dir = std::getenv("PLUGINS");
        path = (dir ? std::string(dir) : ExecutableDir()) + "/" + path;
    }
    bool refused = false;
    if (!r.Host().LoadPlugIn(path, error, refused)) return r.Fail(cmd, error);
    r.Out() << "plugin " << name << (refused ? ": refused (InitPlugIn returned 0)" : ": loaded")
            << "\n";
    return true;
}

// "open FILE [planes=X,Y,Z] [palette=NAME] [range=MIN:MAX] [linear]": the options go to the
// plug-in as key=value lines.
bool Open(CBatchRunner& r, const CScriptCommand& cmd)
{
    std::string options, problem;
    for (size_t i = 2; i < cmd.m_Args.size(); ++i)
        if (!CHostOptions::CheckOpenOption(cmd.m_Args[i], problem)) return r.Wrong(cmd, problem);
    for (size_t i = 2; i < cmd.m_Args.size(); ++i)
        options +=
            (cmd.m_Args[i].find('=') == std::string::npos ? cmd.m_Args[i] + "=1" : cmd.m_Args[i]) +
            "\n";
    std::string message, plugIn;
    if (!r.Host().OpenDataFile(cmd.m_Args[1], options, message, &plugIn))
        return r.Fail(cmd, message);
    r.Out() << "open " << cmd.m_Args[1] << ": " << plugIn << "\n";
    // The plug-in's dialog shows what was opened: it is the addressed one now, as after toolbar.
    r.SetCurrentDialog(CDialog::TopmostShown());
    r.RedrawIfPending();
    return true;
}

bool Toolbar(CBatchRunner& r, const CScriptCommand& cmd)
{
    if (!r.Host().PressButton(cmd.m_Args[1]))
        return r.Fail(cmd, "no toolbar button \"" + cmd.m_Args[1] + "\"");
    r.SetCurrentDialog(CDialog::TopmostShown());
    return true;
}

bool Dialog(CBatchRunner& r, const CScriptCommand& cmd)
{
    CDialog* d = CDialog::FindShown(cmd.m_Args[1]);
    if (!d) return r.Awaiting(cmd, "no shown dialog \"" + cmd.m_Args[1] + "\"");
    r.SetCurrentDialog(d);
    return true;
}

bool Answer(CBatchRunner& r, const CScriptCommand& cmd)
{
    static const std::map<std::string, int> answers = {
        {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
    auto it = answers.find(cmd.m_Args[1]);
    if (it == answers.end()) return r.Wrong(cmd, "answer must be ok, cancel, yes or no");
    Script().QueueAnswer(it->second);
    return true;
}

bool File(CBatchRunner&, const CScriptCommand& cmd)
{
    Script().QueueFile(cmd.m_Args[1]);
    return true;
}

bool Menu(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id = 0;
    if (!r.Int(cmd, 1, id)) return false;
    Script().QueueMenuChoice(static_cast<UINT>(id));
    return true;
}

bool Color(CBatchRunner& r, const CScriptCommand& cmd)
{
    COLORREF color = 0;
    if (!r.Rgb(cmd, 1, color)) return false;
    Script().QueueColor(color);
    return true;
}

bool Modal(CBatchRunner& r, const CScriptCommand& cmd)
{
    const std::vector<CScriptCommand> block = cmd.m_Block;
    Script().QueueModal(cmd.m_Args[1],
                        [&r, block](CDialog& dlg)
                        {
                            CDialog* previous = r.CurrentDialog();
                            r.SetCurrentDialog(&dlg);
                            r.RunBlock(block);
                            r.SetCurrentDialog(previous);
                        });
    return true;
}

bool Expect(CBatchRunner& r, const CScriptCommand& cmd)
{
    if (cmd.m_Args[1] != "error") return r.Wrong(cmd, "only \"expect error\" is known");
    r.ExpectError();
    return true;
}

bool Timer(CBatchRunner& r, const CScriptCommand& cmd)
{
    int count;
    if (!r.Int(cmd, 1, count)) return false;
    if (count < 0) return r.Wrong(cmd, "the count cannot be negative");
    for (int i = 0; i < count; ++i)
    {
        UiBackend().DeliverTimerTicks(1);
        r.RedrawIfPending();
    }
    return true;
}

bool Messages(CBatchRunner& r, const CScriptCommand&)
{
    for (const auto& text : Script().MessageTexts(true))
        r.Out() << OneLine(text) << "\n";
    return true;
}

bool ClearMessages(CBatchRunner&, const CScriptCommand&)
{
    Script().ClearMessages();
    return true;
}

bool Echo(CBatchRunner& r, const CScriptCommand& cmd)
{
    for (size_t i = 1; i < cmd.m_Args.size(); ++i)
        r.Out() << (i > 1 ? " " : "") << cmd.m_Args[i];
    r.Out() << "\n";
    return true;
}

constexpr size_t Any = std::numeric_limits<size_t>::max();

const CScriptVerbRegistration registration({
    HostVerb("plugin", "plugin PATH", {1, 1}, PlugIn),
    HostVerb("open", "open FILE [planes=X,Y,Z] [palette=NAME] [range=MIN:MAX] [linear]", {1, 5},
             Open),
    HostVerb("toolbar", "toolbar CAPTION", {1, 1}, Toolbar),
    HostVerb("dialog", "dialog CAPTION", {1, 1}, Dialog),
    HostVerb("answer", "answer ok|cancel|yes|no", {1, 1}, Answer),
    HostVerb("expect", "expect error", {1, 1}, Expect),
    HostVerb("file", "file PATH", {1, 1}, File),
    HostVerb("color", "color R G B", {3, 3}, Color),
    HostVerb("menu", "menu ITEMID", {1, 1}, Menu),
    []
    {
        CScriptVerb v = HostVerb("modal", "modal CAPTION ... end", {1, 1}, Modal);
        v.m_Block = true;
        return v;
    }(),
    HostVerb("timer", "timer COUNT", {1, 1}, Timer),
    HostVerb("messages", "messages", {0, 0}, Messages),
    HostVerb("clearmessages", "clearmessages", {0, 0}, ClearMessages),
    HostVerb("echo", "echo [TEXT ...]", {0, Any}, Echo),
});
} // namespace
