// The one application object of libTrakor3D.so.
#include "common/OpenMPPin.h"
#include "tracks/Trakor3D_App.h"

namespace
{
const bool g_OpenMPPinned = PinOpenMPRuntime();
trakor3d::CTrakor3D_App theApp;
} // namespace

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
