// The smallest plug-in the host accepts, built in variants that fail to load in one way each:
// TINY_NO_BOX leaves out an export, TINY_UNRESOLVED needs a symbol no library defines.
// TINY_VERBS loads and registers a script verb and a control kind whose code lives only here.
#include "frame/HostApi.h"

#ifdef TINY_VERBS
#include "platform/ControlKind.h"
#include "platform/ScriptVerbs.h"
#endif

#include <ostream>

#define TINY_EXPORT extern "C" __attribute__((visibility("default")))

#ifdef TINY_UNRESOLVED
extern "C" int TinySymbolNobodyDefines();
#endif

namespace
{
CToolbarButton g_Button(42, 0, "Tiny");

#ifdef TINY_VERBS
class CTinyKind : public CControlKind
{
public:
    std::string Name() const override { return "TinyKind"; }
    std::string Describe(const CControlState&) const override { return "tiny"; }
};

bool RunTiny(CScriptContext& context, const CScriptCommand&)
{
    context.Out() << "tiny verb\n";
    return true;
}

const CScriptVerbRegistration g_Verbs({{"tinyverb", "tinyverb", 0, 0, false, false, RunTiny}});
const CControlKindRegistration g_Kind(std::make_shared<CTinyKind>());
#endif
} // namespace

TINY_EXPORT int InitPlugIn(CHostToolbar* pToolbar, CHostInterface* pHost)
{
#ifdef TINY_UNRESOLVED
    if (TinySymbolNobodyDefines()) return 0;
#endif
    if (pHost->GetInterfaceVersion() < 2.3) return 0; // too old a host: refused
    pToolbar->AddToolbarButton(&g_Button, 0);
    return 42;
}
TINY_EXPORT void DestroyPlugIn() {}
TINY_EXPORT void GetPlugInName(std::string& name)
{
    name = "Tiny";
}
TINY_EXPORT void GetPlugInResources(void*, std::string& icon)
{
    icon = "tiny";
}
TINY_EXPORT void OnRender(HDC, HGLRC, int, int) {}
TINY_EXPORT void OnPostRender(HDC, HGLRC, int, int) {}
TINY_EXPORT bool PlugInEventHandler(int, int, void*, void*)
{
    return true;
}
#ifndef TINY_NO_BOX
TINY_EXPORT void Box(CVector&, CVector&) {}
#endif
TINY_EXPORT std::ostream& ExportVRML(std::ostream& os)
{
    return os;
}
