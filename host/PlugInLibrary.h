// One plug-in library loaded with dlopen, its nine exports resolved by name (and the two
// optional ones for files where it has them).
#pragma once
#include "frame/HostApi.h"

#include <string>

class CPlugInLibrary
{
public:
    CPlugInLibrary() = default;
    ~CPlugInLibrary();
    CPlugInLibrary(const CPlugInLibrary&) = delete;
    CPlugInLibrary& operator=(const CPlugInLibrary&) = delete;

    // dlopen and dlsym of the nine exports; false with Error() quoting dlerror().
    bool Load(const std::string& path);
    // DestroyPlugIn (when initialised) and dlclose.
    void Unload();
    const std::string& Error() const { return m_Error; }
    const std::string& Path() const { return m_Path; }

    PFN_InitPlugIn InitPlugIn = nullptr;
    PFN_DestroyPlugIn DestroyPlugIn = nullptr;
    PFN_GetPlugInName GetPlugInName = nullptr;
    PFN_GetPlugInResources GetPlugInResources = nullptr;
    PFN_OnRender OnRender = nullptr;
    PFN_OnPostRender OnPostRender = nullptr;
    PFN_PlugInEventHandler PlugInEventHandler = nullptr;
    PFN_Box Box = nullptr;
    PFN_ExportVRML ExportVRML = nullptr;
    // Optional: null when the plug-in opens no files for the host.
    PFN_OpenFile OpenFile = nullptr;
    PFN_GetFileFormats GetFileFormats = nullptr;

    bool m_Initialised = false; // InitPlugIn was called, so DestroyPlugIn is owed
    int m_CommandId = 0;        // what InitPlugIn returned; 0 = refused
    std::string m_Name;
    std::string m_IconName;

private:
    void* m_Handle = nullptr;
    std::string m_Path;
    std::string m_Error;
};
