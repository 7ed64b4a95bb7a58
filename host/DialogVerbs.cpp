// The host's dialog verbs: act on the addressed dialog's controls as a user would, and print
// them.
#include "host/HostVerbs.h"

#include "platform/Dialog.h"
#include "platform/ScriptedAnswers.h"

namespace
{
CDialog& Dlg(CBatchRunner& r)
{
    return *r.CurrentDialog(); // the runner checked it before the handler runs
}

// Parses the control id (argument 1) and checks that the dialog has it.
bool Control(CBatchRunner& r, const CScriptCommand& cmd, int& id)
{
    if (!r.Int(cmd, 1, id)) return false;
    if (Dlg(r).FindItem(id)) return true;
    return r.Fail(cmd, "no control " + std::to_string(id) + " in \"" + Dlg(r).GetCaption() + "\"");
}

bool Set(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id;
    if (!Control(r, cmd, id)) return false;
    return Dlg(r).UserSetText(id, cmd.m_Args[2]) || r.Fail(cmd, "the control does not take text");
}

bool Click(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id;
    if (!Control(r, cmd, id)) return false;
    return Dlg(r).UserClick(id) || r.Fail(cmd, "the control cannot be clicked");
}

bool Check(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id, on;
    if (!Control(r, cmd, id) || !r.Int(cmd, 2, on)) return false;
    return Dlg(r).UserSetCheck(id, on) || r.Fail(cmd, "the control cannot be checked");
}

bool CheckItem(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id, index, on;
    if (!Control(r, cmd, id) || !r.Int(cmd, 2, index) || !r.Int(cmd, 3, on)) return false;
    return Dlg(r).UserCheckItem(id, index, on) || r.Fail(cmd, "no such item");
}

bool Select(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id, index;
    if (!Control(r, cmd, id) || !r.Int(cmd, 2, index)) return false;
    return Dlg(r).UserSelect(id, index) || r.Fail(cmd, "no such item");
}

bool RightClick(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id, index;
    if (!Control(r, cmd, id) || !r.Int(cmd, 2, index)) return false;
    return Dlg(r).UserRightClick(id, index) || r.Fail(cmd, "no such item");
}

bool Slider(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id, pos;
    if (!Control(r, cmd, id) || !r.Int(cmd, 2, pos)) return false;
    return Dlg(r).UserSlider(id, pos) || r.Fail(cmd, "not a slider");
}

bool SysMenu(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id;
    if (!r.Int(cmd, 1, id)) return false;
    return Dlg(r).UserSysCommand(static_cast<UINT>(id)) || r.Fail(cmd, "no such menu item");
}

bool Close(CBatchRunner& r, const CScriptCommand&)
{
    Dlg(r).UserClose();
    return true;
}

bool Print(CBatchRunner& r, const CScriptCommand& cmd)
{
    int id;
    if (!Control(r, cmd, id)) return false;
    r.PrintControl(Dlg(r), id);
    return true;
}

bool Dump(CBatchRunner& r, const CScriptCommand&)
{
    r.PrintDump(Dlg(r));
    return true;
}

CScriptVerb OnDialog(const std::string& name, const std::string& usage, CHostVerbArgs args,
                     HostVerbHandler run)
{
    return HostVerb(name, usage, args, run, true);
}

const CScriptVerbRegistration registration({
    OnDialog("set", "set ID TEXT", {2, 2}, Set),
    OnDialog("click", "click ID", {1, 1}, Click),
    OnDialog("check", "check ID 0|1", {2, 2}, Check),
    OnDialog("checkitem", "checkitem ID INDEX 0|1", {3, 3}, CheckItem),
    OnDialog("select", "select ID INDEX", {2, 2}, Select),
    OnDialog("slider", "slider ID POS", {2, 2}, Slider),
    OnDialog("rightclick", "rightclick ID INDEX", {2, 2}, RightClick),
    OnDialog("sysmenu", "sysmenu ID", {1, 1}, SysMenu),
    OnDialog("close", "close", {0, 0}, Close),
    OnDialog("print", "print ID", {1, 1}, Print),
    OnDialog("dump", "dump", {0, 0}, Dump),
});
} // namespace
