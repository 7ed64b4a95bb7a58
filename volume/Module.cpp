// The one application object of libVolumira3D.so.
#include "volume/Volumira3D_App.h"

#include <dlfcn.h>

namespace
{
// The OpenMP runtime comes in with this library, and its worker threads outlive our parallel
// loops. Unloading the plug-in must not unload the runtime under those threads.
const bool g_OpenMPPinned =
    dlopen("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;

volumira3d::CVolumira3D_App theApp;
} // namespace

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
