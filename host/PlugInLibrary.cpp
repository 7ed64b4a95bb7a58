#include "host/PlugInLibrary.h"

#include <dlfcn.h>

CPlugInLibrary::~CPlugInLibrary()
{
    Unload();
}

namespace
{
template <class T> bool Resolve(void* handle, const char* name, T& fn, std::string& error)
{
    dlerror();
    fn = reinterpret_cast<T>(dlsym(handle, name));
    if (fn) return true;
    const char* why = dlerror();
    error = std::string("cannot resolve ") + name + ": " + (why ? why : "symbol is null");
    return false;
}
} // namespace

bool CPlugInLibrary::Load(const std::string& path)
{
    Unload();
    m_Path = path;
    m_Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_Handle)
    {
        const char* why = dlerror();
        m_Error = why ? why : ("cannot load " + path);
        return false;
    }
    const bool ok = Resolve(m_Handle, "InitPlugIn", InitPlugIn, m_Error) &&
                    Resolve(m_Handle, "DestroyPlugIn", DestroyPlugIn, m_Error) &&
                    Resolve(m_Handle, "GetPlugInName", GetPlugInName, m_Error) &&
                    Resolve(m_Handle, "GetPlugInResources", GetPlugInResources, m_Error) &&
                    Resolve(m_Handle, "OnRender", OnRender, m_Error) &&
                    Resolve(m_Handle, "OnPostRender", OnPostRender, m_Error) &&
                    Resolve(m_Handle, "PlugInEventHandler", PlugInEventHandler, m_Error) &&
                    Resolve(m_Handle, "Box", Box, m_Error) &&
                    Resolve(m_Handle, "ExportVRML", ExportVRML, m_Error);
    if (ok)
    {
        OpenFile = reinterpret_cast<PFN_OpenFile>(dlsym(m_Handle, "OpenFile"));
        GetFileFormats = reinterpret_cast<PFN_GetFileFormats>(dlsym(m_Handle, "GetFileFormats"));
    }
    if (!ok)
    {
        dlclose(m_Handle);
        m_Handle = nullptr;
    }
    return ok;
}

void CPlugInLibrary::Unload()
{
    if (!m_Handle) return;
    if (m_Initialised && DestroyPlugIn) DestroyPlugIn();
    dlclose(m_Handle);
    m_Handle = nullptr;
    m_CommandId = 0;
    m_Initialised = false;
}
