// The one application object of libVolumira3D.so.
#include "common/OpenMPPin.h"
#include "volume/Volumira3D_App.h"

namespace
{
const bool g_OpenMPPinned = PinOpenMPRuntime();

volumira3d::CVolumira3D_App theApp;
} // namespace

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
