// The nine entry points the host resolves by name, and the two optional ones for opening files.
// Compiled into each plug-in module; nothing thrown inside a plug-in crosses this wall.
#include "frame/PlugInApp.h"

#include <cstdio>
#include <exception>

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
template <class R, class F> R Guarded(const char* name, R fallback, F&& call)
{
    try
    {
        return call();
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "%s: unexpected failure\n", name);
    }
    return fallback;
}

template <class F> void Guarded(const char* name, F&& call)
{
    Guarded(name, 0,
            [&]
            {
                call();
                return 0;
            });
}
} // namespace

PLUGIN_EXPORT int InitPlugIn(CHostToolbar* pToolbar, CHostInterface* pHost)
{
    return Guarded("InitPlugIn", 0, [&] { return AfxGetPlugInApp().InitPlugIn(pToolbar, pHost); });
}

PLUGIN_EXPORT void DestroyPlugIn()
{
    Guarded("DestroyPlugIn", [] { AfxGetPlugInApp().DestroyPlugIn(); });
}

PLUGIN_EXPORT void GetPlugInName(std::string& name)
{
    Guarded("GetPlugInName", [&] { AfxGetPlugInApp().GetPlugInName(name); });
}

PLUGIN_EXPORT void GetPlugInResources(void*, std::string& iconName)
{
    Guarded("GetPlugInResources", [&] { AfxGetPlugInApp().GetPlugInResources(iconName); });
}

PLUGIN_EXPORT void OnRender(HDC dc, HGLRC rc, int pass, int mode)
{
    Guarded("OnRender", [&] { AfxGetPlugInApp().OnRender(dc, rc, pass, mode); });
}

PLUGIN_EXPORT void OnPostRender(HDC dc, HGLRC rc, int pass, int mode)
{
    Guarded("OnPostRender", [&] { AfxGetPlugInApp().OnPostRender(dc, rc, pass, mode); });
}

PLUGIN_EXPORT bool PlugInEventHandler(int id, int code, void* pExtra, void* pHandlerInfo)
{
    return Guarded(
        "PlugInEventHandler", true,
        [&] { return AfxGetPlugInApp().PlugInEventHandler(id, code, pExtra, pHandlerInfo); });
}

PLUGIN_EXPORT void Box(CVector& min, CVector& max)
{
    Guarded("Box", [&] { AfxGetPlugInApp().Box(min, max); });
}

PLUGIN_EXPORT std::ostream& ExportVRML(std::ostream& os)
{
    Guarded("ExportVRML", [&] { AfxGetPlugInApp().ExportVRML(os); });
    return os;
}

PLUGIN_EXPORT int OpenFile(const char* path, int probe, const char* options, std::string& message)
{
    return Guarded("OpenFile", -1,
                   [&]
                   {
                       return AfxGetPlugInApp().OpenFile(
                           path, probe != 0, CFileOpenOptions(options ? options : ""), message);
                   });
}

PLUGIN_EXPORT void GetFileFormats(std::string& formats)
{
    Guarded("GetFileFormats", [&] { formats = AfxGetPlugInApp().FileFormats(); });
}
